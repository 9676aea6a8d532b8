#pragma once
// The shape of one traced path of the vector blur: where its samples fall
// relative to the start pixel and with which bilinear weights. Along a
// uniform vector every path of a sub-pass has the same shape, so one plan
// serves every pixel; otherwise (non-uniform generator, jitter) a plan is
// traced per path.
#include "blur/qrVectorGenerator.h"

#include <cstdint>
#include <vector>

// Settings that fix how long a path is and how its samples are averaged.
struct QrVectorBlurShape {
    float magnitude = 0.0f;  // effective magnitude M' (a third of it with thirds)
    int32_t pointsPerSide = 0;  // regular points on each side of the start point
    int32_t smoothWindow = 1;  // first running mean (a third of the path with thirds)
    int32_t averageWindow = 1;  // second running mean: the whole regular path
    float segmentShift = 0.0f;  // a segment sample sits at its centre, this far along v
    bool nearest = false;  // quality 0: the pixel under each point, no interpolation

    static QrVectorBlurShape make(float magnitude, bool thirds, float stepScale, int32_t quality);

    // Gather points beyond the regular ones on each side, so that every
    // deposited sample is averaged over whole windows.
    int32_t margin() const { return (smoothWindow - 1) / 2 + (averageWindow - 1) / 2; }
    int32_t depositCount() const { return 2 * pointsPerSide + 1; }
    int32_t gatherCount() const { return depositCount() + 2 * margin(); }
    // Rows a deposit can land away from its start row, for any start offset
    // and any vector at most one pixel long.
    int32_t rowReach() const;
    // The same for the samples a path gathers.
    int32_t gatherRowReach() const;
};

// Inclusive bounds of a set of pixel offsets.
struct QrVectorBlurBox {
    int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    void include(int32_t x, int32_t y);
};

// One sample point: the pixel (dx, dy) from the start pixel and the weights
// of that pixel and of its right, lower and lower-right neighbours.
struct QrVectorBlurTap {
    int32_t dx, dy;
    float w00, w10, w01, w11;
};

class QrVectorBlurPlan {
public:
    // Plans the path of pixel (x, y) starting at (x + ox, y + oy). A uniform
    // generator gives the same plan for every (x, y).
    void trace(const VectorGenerator& generator, const QrVectorBlurShape& shape, int32_t x, int32_t y,
        float ox, float oy);

    // False when the vector is too short to move anything: the pixel stays.
    bool spreads() const { return spreads_; }
    // Gather taps from the backward end of the path to the forward end; the
    // points of the middle depositCount of them, from depositFirst() on,
    // are deposited through depositTaps().
    const std::vector<QrVectorBlurTap>& taps() const { return taps_; }
    const QrVectorBlurTap* depositTaps() const { return depositTaps_.data(); }
    int32_t depositFirst() const { return depositFirst_; }
    int32_t depositCount() const { return static_cast<int32_t>(depositTaps_.size()); }
    // Offsets touched by gathering and by depositing, neighbours included.
    const QrVectorBlurBox& gatherBox() const { return gatherBox_; }
    const QrVectorBlurBox& depositBox() const { return depositBox_; }

private:
    void tracePoints(const VectorGenerator& generator, const QrVectorBlurShape& shape, double sx, double sy,
        float vx, float vy);
    static QrVectorBlurTap tapAt(double px, double py, bool nearest);

    std::vector<double> pointsX_, pointsY_;
    std::vector<QrVectorBlurTap> taps_, depositTaps_;
    QrVectorBlurBox gatherBox_, depositBox_;
    int32_t depositFirst_ = 0;
    bool spreads_ = false;
};
