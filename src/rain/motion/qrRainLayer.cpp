#include "motion/qrRainLayer.h"

#include "motion/qrRainGust.h"
#include "motion/qrRainTravel.h"
#include "noise/qrHash.h"

#include <cmath>
#include <numbers>

namespace {

// A shift of the field by (tx, ty) whole pixels, folded into `seed`: the key
// of (x - tx, y - ty) under `seed` is the key of (x, y) under the result.
// The key is periodic in 2^32 pixels, so the shift is taken modulo that.
int32_t shiftedSeed(int32_t seed, double tx, double ty)
{
    auto negated = [](double t) {
        const double whole = std::fmod(std::floor(t + 0.5), 4294967296.0);
        return int32_t(0u - uint32_t(int64_t(whole)));
    };
    return QrHash::key(negated(tx), negated(ty), seed);
}

}  // namespace

int32_t rainLayerSalt(int32_t layer)
{
    return int32_t(uint32_t(layer) * 0x9E3779B1u);
}

std::vector<QrRainLayer> planRainLayers(const QrRainMotion& motion, const QrRainLayerBase& base)
{
    const QrRainMotion m = motion.clamped();
    const double wind = m.windVariation * std::numbers::pi / 180.0;
    const QrRainGust gust(base.gustSeed, m.gustRate);
    const double angle =
        wind == 0.0 ? double(base.angle) : QrRainTravel::direction(base.frame, base.angle, wind, gust);
    const QrRainTravel unit =
        m.moves() ? QrRainTravel::to(base.frame, base.angle, wind, gust) : QrRainTravel {};

    std::vector<QrRainLayer> layers(std::size_t(m.depthLayers));
    double k = 1.0;  // this layer's share of the nearest layer's size, speed, light and drops
    for (int32_t i = 0; i < m.depthLayers; ++i, k *= 1.0 - m.depthFalloff) {
        QrRainLayer& l = layers[std::size_t(i)];
        l.speed = m.fallSpeed * k;
        l.density = float(double(base.density) * k);
        l.intensity = float(double(base.intensity) * k);
        l.dropLength = m.streakFromSpeed ? float(std::fabs(l.speed) * QrRainMotion::kShutter)
                                         : float(double(base.dropLength) * k);
        l.angle = wind == 0.0 ? base.angle : float(angle);
        const int32_t salted = QrHash::offset(m.moves() ? base.fieldSeed : base.frameSeed, rainLayerSalt(i));
        l.dropSeed = m.moves() ? shiftedSeed(salted, unit.x * l.speed, unit.y * l.speed) : salted;
    }
    return layers;
}
