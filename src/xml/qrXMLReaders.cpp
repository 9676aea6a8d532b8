#include "qrXMLReaders.h"

#include "qrEffectReader.h"
#include "qrParamSetReader.h"

namespace Quarn::XML {

void installXMLReaders()
{
    // Stateless readers that live as long as the program.
    static ParamSetReader paramSetReader;
    static EffectReader effectReader;
    Param::ParamSet::setXMLReader(&paramSetReader);
    Wrapper::EffectI::setXMLReader(&effectReader);
}

}  // namespace Quarn::XML
