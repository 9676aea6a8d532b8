#include "qrParamNumeric.h"

#include "qrParamTypeName.h"

#include <limits>

namespace Quarn::Param {

namespace {
constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
}  // namespace

Int::Int(std::string name) : BoundParamTemplate(std::move(name), kIntMin, kIntMax)
{
}

Double::Double(std::string name, Kind kind)
    : BoundParamTemplate(std::move(name), double(kIntMin), double(kIntMax)), kind_(kind)
{
}

double Double::integrate(double t0, double t1) const
{
    if (HostI* host = hostIfHosted())
        return host->integrateDoubleParam(name(), t0, t1);
    return (t1 - t0) * value();
}

double Double::differentiate(double time) const
{
    if (HostI* host = hostIfHosted())
        return host->differentiateDoubleParam(name(), time);
    return 0.0;
}

QUARN_PARAM_TYPE_NAME(Int, "int")
QUARN_PARAM_TYPE_NAME(Double, "double")
QUARN_PARAM_TYPE_NAME(XSize, "xsize")
QUARN_PARAM_TYPE_NAME(YSize, "ysize")
QUARN_PARAM_TYPE_NAME(XPos, "xpos")
QUARN_PARAM_TYPE_NAME(YPos, "ypos")
QUARN_PARAM_TYPE_NAME(Scale, "scale")
QUARN_PARAM_TYPE_NAME(Angle, "angle")
QUARN_PARAM_TYPE_NAME(TimePos, "timepos")
QUARN_PARAM_TYPE_NAME(TimeSize, "timesize")

}  // namespace Quarn::Param
