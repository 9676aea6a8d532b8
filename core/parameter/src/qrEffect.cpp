#include "qrEffect.h"

#include "qrException.h"

#include <memory>

namespace Quarn::Wrapper {

namespace {

EffectI::XMLReaderI* gXMLReader = nullptr;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

void EffectI::setXMLReader(XMLReaderI* reader)
{
    gXMLReader = reader;
}

void EffectI::setDefinitionLock(bool on)
{
    ParamSet::setDefinitionLock(on);
    clips_.setDefinitionLock(on);
}

EffectI::XMLReaderI& EffectI::reader(const char* function) const
{
    if (!gXMLReader)
        throw Exceptions::FunctionUndefined(
            function, "src/qrWrapperEffectParser", 40, "EffectI::parseXML without an XML reader");
    return *gXMLReader;
}

void EffectI::parseXML(const std::string& document)
{
    reader("Quarn::Wrapper::EffectI::parseXML").parse(*this, document);
}

void EffectI::parseXML(std::FILE* file)
{
    reader("Quarn::Wrapper::EffectI::parseXML").parse(*this, file);
}

void EffectI::parseXMLFile(const std::string& path)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "r"));
    if (!file)
        throw Exceptions::File::FileOpen("Quarn::Wrapper::EffectI::parseXMLFile", "src/qrWrapperEffectParser",
            52, "open file for reading", path);
    parseXML(file.get());
}

}  // namespace Quarn::Wrapper
