#include "qrEffectReader.h"

#include "qrEffectXMLElement.h"
#include "qrXMLRootElement.h"
#include "qrXMLStackedParser.h"

namespace Quarn::XML {

namespace {

using EffectRoot = RootElement<auto_ref<Wrapper::EffectI>, EffectXMLElement>;

template <class Input> void readInto(Wrapper::EffectI& effect, Input&& input)
{
    EffectRoot root("effect", auto_ref<Wrapper::EffectI>::share(&effect));
    StackedParser parser(root);
    parser.parse(std::forward<Input>(input));
}

}  // namespace

void readEffect(Wrapper::EffectI& effect, const std::string& document)
{
    readInto(effect, document);
}

void readEffect(Wrapper::EffectI& effect, std::FILE* file)
{
    readInto(effect, file);
}

void EffectReader::parse(Wrapper::EffectI& effect, const std::string& document)
{
    readEffect(effect, document);
}

void EffectReader::parse(Wrapper::EffectI& effect, std::FILE* file)
{
    readEffect(effect, file);
}

}  // namespace Quarn::XML
