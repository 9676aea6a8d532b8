#include "qrParamPushButton.h"

#include "qrParamTypeName.h"

namespace Quarn::Param {

void PushButton::writeXML(std::ostream& os, bool full) const
{
    os << "  <" << typeName();
    writeAttributes(os, full);
    os << "/>\n";
}

QUARN_PARAM_TYPE_NAME(PushButton, "pushbutton")

}  // namespace Quarn::Param
