#pragma once
// The rain layers of one frame: the nearest layer first (the rain as it has
// always been drawn, highlights included), then up to three farther layers
// of drops only. Each farther layer is smaller, slower, fainter and sparser
// than the one before by the motion's depth falloff.
//
// With a fall speed the drops of a layer live in a field that moves with the
// rain: the drop at (x, y) is the hash noise of (x, y) minus the layer's
// travel rounded to whole pixels, under a seed that does not change with the
// frame. Since the pixel key is linear in x and y, that shift folds into the
// noise seed, and the layer is drawn by the same noise code as a still one.
#include "motion/qrRainMotion.h"

#include <cstdint>
#include <vector>

struct QrRainLayer {
    int32_t dropSeed = 0;  // noise seed of the layer's drops, travel folded in
    float density = 0.0f;  // as the rain processor's density
    float dropLength = 0.0f;  // streak length, pixels (signed as the drop length)
    float angle = 0.0f;  // streak direction this frame, radians
    float intensity = 0.0f;  // weight of the layer in the rain pass
    double speed = 0.0;  // pixels per frame
};

// What the rain processor knows of the frame.
struct QrRainLayerBase {
    int32_t frame = 0;
    int32_t frameSeed = 0;  // the drop seed of a still frame (new every frame)
    int32_t fieldSeed = 0;  // the drop seed of frame 0: moving fields keep it
    int32_t gustSeed = 0;
    float density = 0.0f;
    float dropLength = 0.0f;
    float angle = 0.0f;
    float intensity = 0.0f;
};

// The layers of one frame, nearest first. With default motion: one layer
// with exactly the base's seed, density, length, angle and intensity.
std::vector<QrRainLayer> planRainLayers(const QrRainMotion& motion, const QrRainLayerBase& base);

// Each farther layer's drops come from a field of its own.
int32_t rainLayerSalt(int32_t layer);
