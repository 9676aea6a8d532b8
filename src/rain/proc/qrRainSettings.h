#pragma once
// Everything the rain processor is told about one run, as one value. Lengths
// and thresholds are already in the run's units: pixels at the render
// resolution, thresholds in work units (0..white), the motion's speeds in
// pixels per frame at the render resolution.
#include "motion/qrRainMotion.h"
#include "qrProcRegion.h"

#include <cstdint>
#include <optional>

struct QrRainSettings {
    int32_t seed = 1;
    int32_t frame = 0;  // whole frames; the drops change (or travel) with it
    float density = 0.0f;  // density / 10 of the layer's pixels get a drop
    float angle = 0.0f;  // rain direction, radians
    float intensity = 0.0f;  // weight of the layer added to the source
    float dropLength = 0.0f;  // streak length in pixels
    float minThreshold = 0.0f;  // diffusion minimum, work units
    float maxThreshold = 1.0f;  // diffusion maximum, work units
    float pixelAspect = 1.0f;  // width / height of a pixel; the streaks follow it
    // The rectangle written (x1, y1 exclusive); none: the output's data window.
    std::optional<QrRect> region;
    // Drop motion and depth layers; the defaults (a new pattern every frame,
    // one layer) change nothing.
    QrRainMotion motion;
};
