#pragma once
// How far the rain has carried its drops by a frame. The velocity of frame i
// points along the rain direction turned by the gust of frame i; the travel
// to frame n is the sum of the velocities of frames 0..n-1 (for a negative n,
// minus the sum over n..-1), summed in double in one fixed order. So frame n
// rendered alone has exactly the travel it has inside a sequence, and frame
// n + 1's travel is frame n's plus frame n's velocity.
#include "motion/qrRainGust.h"

#include <cstdint>

struct QrRainTravel {
    double x = 0.0, y = 0.0;  // pixels, per unit of speed

    // Image rows run down the picture, and the streak blur's direction
    // (cos, sin) of the default -90 degrees points up it. Drops move along
    // the streak's axis in the opposite sense, so that -90 degrees falls
    // straight down (and 0 degrees moves to the left).
    static constexpr double kSense = -1.0;

    // The direction of frame `frame`: `angle` turned by `windRadians` times
    // the gust (exactly `angle` without wind).
    static double direction(int64_t frame, double angle, double windRadians, const QrRainGust& gust);

    // The travel to `frame` at unit speed.
    static QrRainTravel to(int64_t frame, double angle, double windRadians, const QrRainGust& gust);
};
