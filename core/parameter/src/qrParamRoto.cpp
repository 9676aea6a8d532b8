#include "qrParamRoto.h"

#include "qrParamTypeName.h"

namespace Quarn::Param {

void Roto::writeXML(std::ostream& os, bool full) const
{
    os << "  <" << typeName();
    writeAttributes(os, full);
    os << "/>\n";
}

QUARN_PARAM_TYPE_NAME(Roto, "roto")

}  // namespace Quarn::Param
