#include "qrParamDouble2.h"

#include "qrParamTypeName.h"

#include <limits>

namespace Quarn::Param {

namespace {
// The widest 2D range: +-2^31 in single precision.
constexpr HvVec2 kVecMin {-2147483648.0f, -2147483648.0f};
constexpr HvVec2 kVecMax {2147483648.0f, 2147483648.0f};
constexpr QrPointI kPointMin {std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min()};
constexpr QrPointI kPointMax {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max()};
}  // namespace

Double2::Double2(std::string name, Kind kind)
    : BoundParamTemplate(std::move(name), kVecMin, kVecMax), kind_(kind)
{
}

HvVec2 Double2::integrate(double t0, double t1) const
{
    if (HostI* host = hostIfHosted())
        return host->integrate2DDoubleParam(name(), t0, t1);
    const float span = float(t1 - t0);
    return {span * value().x, span * value().y};
}

HvVec2 Double2::differentiate(double time) const
{
    if (HostI* host = hostIfHosted())
        return host->differentiate2DDoubleParam(name(), time);
    return {};
}

RectD::RectD(std::string name) : BoundParamTemplate(std::move(name), kVecMin, kVecMax)
{
}

RectI::RectI(std::string name) : BoundParamTemplate(std::move(name), kPointMin, kPointMax)
{
}

QUARN_PARAM_TYPE_NAME(Double2, "double2")
QUARN_PARAM_TYPE_NAME(Size2D, "size2d")
QUARN_PARAM_TYPE_NAME(Pos2D, "pos2d")
QUARN_PARAM_TYPE_NAME(Scale2D, "scale2d")
QUARN_PARAM_TYPE_NAME(Angle2D, "angle2d")
QUARN_PARAM_TYPE_NAME(RectD, "rectd")
QUARN_PARAM_TYPE_NAME(RectI, "recti")

}  // namespace Quarn::Param
