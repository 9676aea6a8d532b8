#include "motion/qrRainGust.h"

#include "noise/qrHash.h"

#include <cmath>

QrRainGust::QrRainGust(int32_t seed, double gustsPer100Frames) : seed_(seed), rate_(gustsPer100Frames / 100.0)
{
}

// Knot k's value from the hash of its index; the knots lie on one row of
// the hash's key plane, so a 64-bit index wraps like a pixel column would.
double QrRainGust::knot(int64_t k) const
{
    const int32_t key = QrHash::key(int32_t(uint32_t(uint64_t(k))), 0, seed_);
    return double(QrHash::unit(QrHash::hash(key))) * 2.0 - 1.0;
}

double QrRainGust::at(int64_t frame) const
{
    const double u = double(frame) * rate_;
    const double k = std::floor(u);
    const double f = u - k;
    const double ease = f * f * (3.0 - 2.0 * f);
    const double a = knot(int64_t(k));
    return a + (knot(int64_t(k) + 1) - a) * ease;
}
