#include "motion/qrRainMotion.h"

#include <algorithm>
#include <cmath>

namespace {

double finiteOr(double value, double fallback)
{
    return std::isfinite(value) ? value : fallback;
}

}  // namespace

QrRainMotion QrRainMotion::scaled(double downsample) const
{
    QrRainMotion m = *this;
    m.fallSpeed = fallSpeed * downsample;
    return m;
}

QrRainMotion QrRainMotion::clamped() const
{
    const QrRainMotion defaults;
    QrRainMotion m = *this;
    m.fallSpeed = finiteOr(fallSpeed, defaults.fallSpeed);
    m.windVariation = finiteOr(windVariation, defaults.windVariation);
    m.gustRate = std::max(finiteOr(gustRate, defaults.gustRate), 0.0);
    m.depthLayers = std::clamp(depthLayers, int32_t(1), kMaxLayers);
    m.depthFalloff = std::clamp(finiteOr(depthFalloff, defaults.depthFalloff), 0.0, 1.0);
    return m;
}
