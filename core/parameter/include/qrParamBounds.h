#pragma once
// Clamping of a value to optional bounds, component by component: below a
// present minimum gives the minimum, otherwise above a present maximum gives
// the maximum. Boxes and rectangles clamp their x edges against the bounds'
// x and their y edges against the bounds' y.
#include "qrParamValueTypes.h"

namespace Quarn::Param::Bounds {

template <class C> C clampComponent(C v, bool hasMin, C min, bool hasMax, C max)
{
    if (hasMin && v < min)
        return min;
    if (hasMax && v > max)
        return max;
    return v;
}

inline int32_t clamp(int32_t v, bool hasMin, int32_t min, bool hasMax, int32_t max)
{
    return clampComponent(v, hasMin, min, hasMax, max);
}

inline double clamp(double v, bool hasMin, double min, bool hasMax, double max)
{
    return clampComponent(v, hasMin, min, hasMax, max);
}

inline HvVec2 clamp(HvVec2 v, bool hasMin, HvVec2 min, bool hasMax, HvVec2 max)
{
    return {
        clampComponent(v.x, hasMin, min.x, hasMax, max.x), clampComponent(v.y, hasMin, min.y, hasMax, max.y)};
}

inline HvBox2 clamp(HvBox2 v, bool hasMin, HvVec2 min, bool hasMax, HvVec2 max)
{
    return {clampComponent(v.x1, hasMin, min.x, hasMax, max.x),
        clampComponent(v.x2, hasMin, min.x, hasMax, max.x),
        clampComponent(v.y1, hasMin, min.y, hasMax, max.y),
        clampComponent(v.y2, hasMin, min.y, hasMax, max.y)};
}

inline QrRectI clamp(QrRectI v, bool hasMin, QrPointI min, bool hasMax, QrPointI max)
{
    return {clampComponent(v.x1, hasMin, min.x, hasMax, max.x),
        clampComponent(v.y1, hasMin, min.y, hasMax, max.y),
        clampComponent(v.x2, hasMin, min.x, hasMax, max.x),
        clampComponent(v.y2, hasMin, min.y, hasMax, max.y)};
}

}  // namespace Quarn::Param::Bounds
