#pragma once
// Event-driven XML reading over expat. The parser turns expat's callbacks into
// virtual operations, collects each start tag's attributes into a list that
// the element handlers read from, refuses attributes nobody read, and ends
// every failure in one Quarn::Exceptions::XML::Parse naming line and column.
#include "qrAttributeList.h"
#include "qrXMLAttributes.h"

#include <cstddef>
#include <cstdio>
#include <exception>
#include <string>

struct XML_ParserStruct;

namespace Quarn::XML {

class Parser {
public:
    Parser();
    Parser(const Parser&) = delete;
    Parser& operator=(const Parser&) = delete;

    virtual void startElement(const std::string& name, AttributeList& attributes) = 0;
    virtual void endElement(const std::string& name) = 0;
    virtual void characterData(const char* text, int length) = 0;
    virtual ~Parser();
    virtual void parse(const std::string& text);
    virtual void parse(const char* text, std::size_t length);
    // Reads an open file to its end in blocks of kBlockSize bytes.
    void parse(std::FILE* file);

    static constexpr int kBlockSize = 10240;

    // Attribute accessors for handlers: each answers whether the attribute was
    // present, stores its value when it was, and marks it read. A present text
    // that is not a number leaves a numeric target unchanged.
    bool getAttribute(AttributeList& attributes, const std::string& name, std::string& value) const;
    bool getAttribute(AttributeList& attributes, const std::string& name, bool& value) const;
    bool getAttribute(AttributeList& attributes, const std::string& name, double& value) const;
    bool getAttribute(AttributeList& attributes, const std::string& name, int& value) const;

    // Records "At line<N>, element '<element>' <message>", marks the parse as
    // failed and stops expat; everything after it is ignored.
    void reportError(const std::string& element, const std::string& message);

    bool failed() const { return failed_; }
    const std::string& errorText() const { return errorText_; }
    int depth() const { return depth_; }
    long currentLine() const;
    long currentColumn() const;
    void setFoldAttributeNames(bool fold) { foldAttributeNames_ = fold; }

protected:
    // Raises what the last expat call left behind: a handler's exception, a
    // reported error, or a malformed document. expat's "no element found"
    // raises nothing, so empty and unfinished documents read as far as they go.
    void throwParsingException();

private:
    struct Callbacks;
    friend struct Callbacks;

    bool ignoring() const { return failed_ || handlerException_ != nullptr; }
    void keepHandlerException();
    AttributeList collectAttributes(const char** pairs) const;
    std::string lookupName(const std::string& name) const;

    XML_ParserStruct* expat_;
    int depth_ = 0;
    std::string errorText_;
    bool failed_ = false;
    bool foldAttributeNames_ = true;
    // An exception thrown by a handler inside an expat callback is held here
    // and rethrown once expat has returned: it must not unwind through C code.
    std::exception_ptr handlerException_;
};

}  // namespace Quarn::XML
