#pragma once
// How the rain moves from frame to frame and how deep it is: one settings
// value that the rain effect holds and hands to the rain processor. With
// every field at its default the rain is what it has always been: a new drop
// pattern on every frame, one layer, streaks of "Drop Length".
#include <cstdint>

struct QrRainMotion {
    static constexpr int32_t kMaxLayers = 4;
    // Exposure of one frame as a fraction of the frame time (a 180-degree
    // shutter): a drop moving `fallSpeed` pixels per frame streaks over half
    // of that when the streak length follows the speed.
    static constexpr double kShutter = 0.5;

    double fallSpeed = 0.0;  // pixels per frame along the rain direction; 0: a new pattern every frame
    double windVariation = 0.0;  // degrees the direction gusts to either side of the rain direction
    double gustRate = 4.0;  // gusts per 100 frames (a new gust every 25 frames)
    int32_t depthLayers = 1;  // 1 (the nearest layer only) to kMaxLayers
    double depthFalloff = 0.4;  // 0..1: each farther layer is this much smaller, slower, fainter and sparser
    bool streakFromSpeed = false;  // streak length = speed x shutter instead of the drop length

    // The same settings at a resolution scaled by `downsample` (the vertical
    // downsample factor, as the drop length uses): speeds shrink with it.
    QrRainMotion scaled(double downsample) const;

    // The settings brought into their valid ranges (layers 1..kMaxLayers,
    // falloff 0..1, non-negative rates; non-finite values give the defaults).
    QrRainMotion clamped() const;

    bool moves() const { return fallSpeed != 0.0; }
    bool operator==(const QrRainMotion&) const = default;
};
