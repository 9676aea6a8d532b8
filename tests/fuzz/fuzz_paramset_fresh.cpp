// Parameter-set documents read into an empty, unlocked set: the definition
// pass, which creates parameters, options and aliases (and refuses pages
// and groups, which only an effect's layout defines).
#include "qrFuzzSupport.h"
#include "qrParamSet.h"
#include "qrXMLReaders.h"

#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    Quarn::XML::installXMLReaders();
    Quarn::auto_ref<Quarn::Param::ParamSet> set(new Quarn::Param::ParamSet(false));
    QrFuzz::runParse([&] { set->parseXML(QrFuzz::documentText(data, size)); }, false);
    // Whatever was read must also write out.
    std::ostringstream out;
    set->writeXML(out, true);
    return 0;
}
