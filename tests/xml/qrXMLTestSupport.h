#pragma once
// Helpers shared by the XML tests: an exception's text arguments, the report
// of a parse expected to fail, the exception a call throws, temporary files,
// and a fixture holding an effect and a parameter set with the XML readers
// installed.
#include "qrEffect.h"
#include "qrException.h"
#include "qrXMLReaders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <string>

#include <unistd.h>

namespace QrXMLTest {

// The text of argument `index`, or a note when it is missing or not a text.
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

// The exception of type E that `call` throws; a test failure when none.
template <class E> std::optional<E> thrown(const std::function<void()>& call)
{
    try {
        call();
    } catch (const E& e) {
        return e;
    }
    ADD_FAILURE() << "no exception";
    return std::nullopt;
}

// Runs `parse`, which must throw XML::Parse for a reported error; answers the
// reported text ("At line..."), or a note saying what happened instead.
inline std::string reportedError(const std::function<void()>& parse)
{
    try {
        parse();
    } catch (const Quarn::Exceptions::XML::Parse& e) {
        if (e.line() != 114 || e.function() != "Quarn::XML::Parser::throwParsingException" ||
            argumentText(e, 1) != "XML parsing,")
            return "<malformed XML: " + argumentText(e, 0) + ">";
        return argumentText(e, 0);
    }
    return "<no exception>";
}

// A temporary file holding `text`, removed when the object goes.
class TempFile {
public:
    explicit TempFile(const std::string& text)
    {
        static int counter = 0;
        path_ = std::string(NIMBREL_BINARY_DIR) + "/xml-test-" + std::to_string(::getpid()) + "-" +
            std::to_string(++counter) + ".xml";
        EXPECT_TRUE(std::ofstream(path_, std::ios::binary) << text) << path_;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// An unlocked effect and an unlocked parameter set, readers installed;
// fresh() starts new ones.
class Documents : public ::testing::Test {
protected:
    void SetUp() override { Quarn::XML::installXMLReaders(); }
    void fresh()
    {
        effect = Quarn::auto_ref<Quarn::Wrapper::EffectI>(new Quarn::Wrapper::EffectI(false));
        set = Quarn::auto_ref<Quarn::Param::ParamSet>(new Quarn::Param::ParamSet(false));
    }
    std::string report(const std::string& document)
    {
        return reportedError([&] { effect->parseXML(document); });
    }
    // The set's parameter `name`, of type P.
    template <class P> P& param(const std::string& name)
    {
        auto* p = dynamic_cast<P*>(set->findParam(name));
        EXPECT_NE(p, nullptr) << name;
        return *p;
    }

    Quarn::auto_ref<Quarn::Wrapper::EffectI> effect {new Quarn::Wrapper::EffectI(false)};
    Quarn::auto_ref<Quarn::Param::ParamSet> set {new Quarn::Param::ParamSet(false)};
};

}  // namespace QrXMLTest
