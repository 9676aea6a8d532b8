#include "blur/qrVectorBlurPlan.h"

#include <algorithm>
#include <cmath>

QrVectorBlurShape QrVectorBlurShape::make(float magnitude, bool thirds, float stepScale, int32_t quality)
{
    QrVectorBlurShape s;
    s.magnitude = magnitude * (thirds ? 0.3333f : 1.0f);
    const int32_t half = static_cast<int32_t>(std::ceil(std::fabs(s.magnitude) * 0.5f));
    s.pointsPerSide = thirds ? 3 * half : half;
    // With thirds the samples are first smoothed over a third of the path,
    // which softens both ends of the streak; then every sample is replaced by
    // the mean over the whole regular path, centred on it.
    s.smoothWindow = thirds ? 2 * half + 1 : 1;
    s.averageWindow = 2 * s.pointsPerSide + 1;
    s.segmentShift = 0.5f * stepScale * s.magnitude;
    s.nearest = quality <= 0;
    return s;
}

int32_t QrVectorBlurShape::rowReach() const
{
    return pointsPerSide + static_cast<int32_t>(std::ceil(std::fabs(segmentShift))) + 2;
}

int32_t QrVectorBlurShape::gatherRowReach() const
{
    return rowReach() + margin();
}

void QrVectorBlurBox::include(int32_t x, int32_t y)
{
    x0 = std::min(x0, x);
    y0 = std::min(y0, y);
    x1 = std::max(x1, x);
    y1 = std::max(y1, y);
}

void QrVectorBlurPlan::trace(const VectorGenerator& generator, const QrVectorBlurShape& shape, int32_t x,
    int32_t y, float ox, float oy)
{
    float vx, vy;
    generator.vectorAt(static_cast<float>(x) + ox, static_cast<float>(y) + oy, vx, vy);
    taps_.clear();
    depositTaps_.clear();
    gatherBox_ = depositBox_ = QrVectorBlurBox {};
    spreads_ = (vx * vx + vy * vy) * shape.magnitude >= 0.01f;
    if (!spreads_)
        return;
    // A uniform path is planned relative to its start pixel, so that the
    // fractions (and therefore the weights) are exact for every pixel.
    const bool uniform = generator.isUniform();
    const double sx = uniform ? ox : double(x) + ox;
    const double sy = uniform ? oy : double(y) + oy;
    tracePoints(generator, shape, sx, sy, vx, vy);

    // A bilinear sample reads the four pixels whose centres (index + 0.5)
    // surround its point; a deposit goes to the pixel under the point and
    // its right, lower and lower-right neighbours. So light gathered from a
    // pixel is given back to it and to pixels right of and below it only,
    // the same across a path in x as in y.
    const int32_t count = shape.gatherCount();
    const double baseX = uniform ? 0.0 : double(x), baseY = uniform ? 0.0 : double(y);
    const double centre = shape.nearest ? 0.0 : 0.5;
    for (int32_t i = 0; i < count; ++i)
        taps_.push_back(tapAt(pointsX_[i] - baseX - centre, pointsY_[i] - baseY - centre, shape.nearest));
    depositFirst_ = shape.margin();
    for (int32_t i = 0; i < shape.depositCount(); ++i)
        depositTaps_.push_back(
            tapAt(pointsX_[depositFirst_ + i] - baseX, pointsY_[depositFirst_ + i] - baseY, shape.nearest));
    // Both boxes hold the start pixel too: the fast walks address every
    // sample from it.
    const int32_t reach = shape.nearest ? 0 : 1;
    for (const QrVectorBlurTap& t : taps_) {
        gatherBox_.include(t.dx + reach, t.dy + reach);
        gatherBox_.include(t.dx, t.dy);
    }
    for (const QrVectorBlurTap& t : depositTaps_) {
        depositBox_.include(t.dx + reach, t.dy + reach);
        depositBox_.include(t.dx, t.dy);
    }
}

// Points one vector apart through the start point, backward end first. A
// uniform vector places point k at start + k * v directly; otherwise each
// point steps from its neighbour by the vector found there, cut to one pixel
// so that no path reaches further than its point count.
void QrVectorBlurPlan::tracePoints(const VectorGenerator& generator, const QrVectorBlurShape& shape,
    double sx, double sy, float vx, float vy)
{
    const int32_t side = shape.pointsPerSide + shape.margin();
    const int32_t count = 2 * side + 1;
    pointsX_.assign(count, 0.0);
    pointsY_.assign(count, 0.0);
    const double shiftX = shape.segmentShift * vx, shiftY = shape.segmentShift * vy;
    if (generator.isUniform()) {
        for (int32_t k = -side; k <= side; ++k) {
            pointsX_[k + side] = sx + k * double(vx) + shiftX;
            pointsY_[k + side] = sy + k * double(vy) + shiftY;
        }
        return;
    }
    auto step = [&](double px, double py, double& ux, double& uy) {
        float gx, gy;
        generator.vectorAt(float(px), float(py), gx, gy);
        const double len = std::sqrt(double(gx) * gx + double(gy) * gy);
        const double cut = len > 1.0 ? 1.0 / len : 1.0;
        ux = gx * cut;
        uy = gy * cut;
    };
    double px = sx, py = sy, ux, uy;
    pointsX_[side] = sx;
    pointsY_[side] = sy;
    for (int32_t k = side + 1; k < count; ++k) {
        step(px, py, ux, uy);
        px += ux;
        py += uy;
        pointsX_[k] = px;
        pointsY_[k] = py;
    }
    px = sx;
    py = sy;
    for (int32_t k = side - 1; k >= 0; --k) {
        step(px, py, ux, uy);
        px -= ux;
        py -= uy;
        pointsX_[k] = px;
        pointsY_[k] = py;
    }
    for (int32_t k = 0; k < count; ++k) {
        pointsX_[k] += shiftX;
        pointsY_[k] += shiftY;
    }
}

// A point (px, py) lies in pixel (floor(px), floor(py)). Without
// interpolation it stands for that pixel; with it, for that pixel and its
// right, lower and lower-right neighbours, weighted by the fractions
// px - floor(px) and py - floor(py).
QrVectorBlurTap QrVectorBlurPlan::tapAt(double px, double py, bool nearest)
{
    QrVectorBlurTap t;
    const double fx0 = std::floor(px), fy0 = std::floor(py);
    t.dx = static_cast<int32_t>(fx0);
    t.dy = static_cast<int32_t>(fy0);
    if (nearest) {
        t.w00 = 1.0f;
        t.w10 = t.w01 = t.w11 = 0.0f;
        return t;
    }
    const float fx = static_cast<float>(px - fx0), fy = static_cast<float>(py - fy0);
    t.w00 = (1.0f - fx) * (1.0f - fy);
    t.w10 = fx * (1.0f - fy);
    t.w01 = (1.0f - fx) * fy;
    t.w11 = fx * fy;
    return t;
}
