#include "qrXMLParser.h"

#include "qrException.h"
#include "qrParamText.h"

#include <expat.h>

#include <algorithm>
#include <climits>

namespace Quarn::XML {

namespace {
// The walk over expat's name/value array stops after this many entries
// (500 attributes), whatever the tag holds.
constexpr int kMaxAttributeEntries = 1000;
constexpr int kNoElementFound = 3;
}  // namespace

// expat's C callbacks; each forwards to the parser registered as user data
// and keeps any handler exception away from expat's frames.
struct Parser::Callbacks {
    static void XMLCALL start(void* data, const XML_Char* name, const XML_Char** pairs)
    {
        auto* parser = static_cast<Parser*>(data);
        ++parser->depth_;
        if (parser->ignoring())
            return;
        try {
            AttributeList attributes = parser->collectAttributes(pairs);
            const std::string element(name);
            parser->startElement(element, attributes);
            const std::vector<std::string> unread = attributes.unread();
            if (!parser->ignoring() && !unread.empty()) {
                std::string message = "Unknown attributes";
                for (const std::string& attribute : unread)
                    message += " '" + attribute + "'";
                parser->reportError(element, message);
            }
        } catch (...) {
            parser->keepHandlerException();
        }
    }

    static void XMLCALL end(void* data, const XML_Char* name)
    {
        auto* parser = static_cast<Parser*>(data);
        if (!parser->ignoring()) {
            try {
                parser->endElement(name);
            } catch (...) {
                parser->keepHandlerException();
            }
        }
        --parser->depth_;
    }

    static void XMLCALL text(void* data, const XML_Char* text, int length)
    {
        auto* parser = static_cast<Parser*>(data);
        if (parser->ignoring())
            return;
        try {
            parser->characterData(text, length);
        } catch (...) {
            parser->keepHandlerException();
        }
    }
};

Parser::Parser() : expat_(XML_ParserCreate("UTF-8"))
{
    if (!expat_)
        throw Exceptions::OutOfMemory("Quarn::XML::Parser::Parser", "src/qrXMLParser", 40, "XML parser");
    XML_SetUserData(expat_, this);
    XML_SetElementHandler(expat_, &Callbacks::start, &Callbacks::end);
    XML_SetCharacterDataHandler(expat_, &Callbacks::text);
}

Parser::~Parser()
{
    XML_ParserFree(expat_);
}

void Parser::parse(const std::string& text)
{
    parse(text.data(), text.size());
}

void Parser::parse(const char* text, std::size_t length)
{
    // expat takes an int length; a text beyond that goes in int-sized pieces,
    // the last one marked final.
    do {
        const int piece = int(std::min<std::size_t>(length, INT_MAX));
        length -= std::size_t(piece);
        if (XML_Parse(expat_, text, piece, length == 0) != XML_STATUS_OK || ignoring()) {
            throwParsingException();
            return;
        }
        text += piece;
    } while (length > 0);
}

void Parser::parse(std::FILE* file)
{
    for (;;) {
        void* buffer = XML_GetBuffer(expat_, kBlockSize);
        if (!buffer)
            throw Exceptions::OutOfMemory(
                "Quarn::XML::Parser::parse", "src/qrXMLParser", 159, kBlockSize, "XML parser");
        const std::size_t count = std::fread(buffer, 1, kBlockSize, file);
        const bool final = count == 0;
        if (XML_ParseBuffer(expat_, int(count), final) != XML_STATUS_OK || ignoring()) {
            throwParsingException();
            return;
        }
        if (final)
            return;
    }
}

void Parser::throwParsingException()
{
    if (handlerException_)
        std::rethrow_exception(handlerException_);
    if (failed_)
        throw Exceptions::XML::Parse(
            "Quarn::XML::Parser::throwParsingException", "src/qrXMLParser", 114, errorText_, "XML parsing,");
    const XML_Error code = XML_GetErrorCode(expat_);
    if (code == XML_ERROR_NONE || code == kNoElementFound)
        return;
    const std::string where = "XML parsing, at line/column " + std::to_string(currentLine()) + "/" +
        std::to_string(currentColumn());
    throw Exceptions::XML::Parse(
        "Quarn::XML::Parser::throwParsingException", "src/qrXMLParser", 139, where, XML_ErrorString(code));
}

void Parser::reportError(const std::string& element, const std::string& message)
{
    errorText_ += "At line" + std::to_string(currentLine()) + ", element '" + element + "' " + message;
    failed_ = true;
    XML_StopParser(expat_, XML_FALSE);
}

void Parser::keepHandlerException()
{
    handlerException_ = std::current_exception();
    XML_StopParser(expat_, XML_FALSE);
}

long Parser::currentLine() const
{
    return long(XML_GetCurrentLineNumber(expat_));
}

long Parser::currentColumn() const
{
    return long(XML_GetCurrentColumnNumber(expat_));
}

AttributeList Parser::collectAttributes(const char** pairs) const
{
    AttributeList attributes;
    for (int i = 0; i + 1 < kMaxAttributeEntries && pairs[i]; i += 2)
        attributes.set(lookupName(pairs[i]), pairs[i + 1]);
    return attributes;
}

std::string Parser::lookupName(const std::string& name) const
{
    return foldAttributeNames_ ? foldName(name) : name;
}

bool Parser::getAttribute(AttributeList& attributes, const std::string& name, std::string& value) const
{
    const std::string* text = attributes.take(lookupName(name));
    if (!text)
        return false;
    value = *text;
    return true;
}

bool Parser::getAttribute(AttributeList& attributes, const std::string& name, bool& value) const
{
    std::string text;
    if (!getAttribute(attributes, name, text))
        return false;
    value = Param::Text::parseBool(text);
    return true;
}

bool Parser::getAttribute(AttributeList& attributes, const std::string& name, double& value) const
{
    std::string text;
    if (!getAttribute(attributes, name, text))
        return false;
    Param::Text::read(text, value);
    return true;
}

bool Parser::getAttribute(AttributeList& attributes, const std::string& name, int& value) const
{
    std::string text;
    if (!getAttribute(attributes, name, text))
        return false;
    value = parseIntegerText(text);
    return true;
}

}  // namespace Quarn::XML
