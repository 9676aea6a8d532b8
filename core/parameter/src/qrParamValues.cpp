#include "qrParamValues.h"

#include "qrParamTypeName.h"

namespace Quarn::Param {

QUARN_PARAM_TYPE_NAME(Bool, "bool")
QUARN_PARAM_TYPE_NAME(String, "string")
QUARN_PARAM_TYPE_NAME(RGBColour, "rgb")
QUARN_PARAM_TYPE_NAME(RGBAColour, "rgba")

}  // namespace Quarn::Param
