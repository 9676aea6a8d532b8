#pragma once
// Helpers shared by the XML tests: reading an exception's text arguments and
// running a parse that is expected to fail with a reported error.
#include "qrException.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>

#include <unistd.h>

namespace QrXMLTest {

// The text of argument `index`, or "<not text>" when it is not a text.
inline std::string argumentText(const Quarn::Exceptions::ExceptionI& e, std::size_t index)
{
    if (index >= e.arguments().size())
        return "<missing>";
    const auto* text = std::get_if<std::string>(&e.arguments()[index].value());
    return text ? *text : "<not text>";
}

// True when one of the exception's arguments is exactly `text`.
inline bool hasTextArgument(const Quarn::Exceptions::ExceptionI& e, const std::string& text)
{
    for (std::size_t i = 0; i < e.arguments().size(); ++i)
        if (argumentText(e, i) == text)
            return true;
    return false;
}

// Runs `parse`, which must throw XML::Parse for a reported error; answers the
// reported text ("At line..."), or a note saying what happened instead.
inline std::string reportedError(const std::function<void()>& parse)
{
    try {
        parse();
    } catch (const Quarn::Exceptions::XML::Parse& e) {
        if (e.line() != 114)
            return "<malformed XML: " + argumentText(e, 0) + ">";
        return argumentText(e, 0);
    }
    return "<no exception>";
}

// A temporary file holding `text`, removed when the object goes.
class TempFile {
public:
    explicit TempFile(const std::string& text) : path_(makePath())
    {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        EXPECT_NE(f, nullptr);
        if (f) {
            std::fwrite(text.data(), 1, text.size(), f);
            std::fclose(f);
        }
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    static std::string makePath()
    {
        static int counter = 0;
        return std::string(NIMBREL_BINARY_DIR) + "/xml-test-" + std::to_string(::getpid()) + "-" +
            std::to_string(++counter) + ".xml";
    }
    std::string path_;
};

}  // namespace QrXMLTest
