#pragma once
// The gusting of the wind over time: a smooth value noise of the frame
// number in -1..1. Knots every 100 / rate frames take hashed values; between
// two knots the value eases from one to the next (smoothstep), so the wind
// swings without jumps. A pure function of (seed, rate, frame): any frame can
// be evaluated alone.
#include <cstdint>

class QrRainGust {
public:
    // `gustsPer100Frames` knots per 100 frames; 0 holds the first knot's
    // value for ever (a steady turn of the wind).
    QrRainGust(int32_t seed, double gustsPer100Frames);

    // The gust at `frame`, in -1..1.
    double at(int64_t frame) const;

private:
    double knot(int64_t k) const;

    int32_t seed_;
    double rate_;  // knots per frame
};
