// Effect documents read into an empty effect: its attributes, clips,
// parameters, layout and description.
#include "qrEffect.h"
#include "qrFuzzSupport.h"
#include "qrXMLReaders.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    Quarn::XML::installXMLReaders();
    Quarn::auto_ref<Quarn::Wrapper::EffectI> effect(new Quarn::Wrapper::EffectI(false));
    QrFuzz::runParse([&] { effect->parseXML(QrFuzz::documentText(data, size)); }, true);
    std::ostringstream out;
    effect->writeXML(out, true);
    for (const auto& clip : effect->clips().hsObjects())
        clip->writeAttributes(out, true);
    return 0;
}
