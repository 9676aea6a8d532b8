#pragma once
// The two float images a vector blur deposits into: colour sums (ARGB float)
// and the weight image, which starts at K and loses every weight deposited
// at its pixel. A pixel whose weight has fallen to 0 or below has been
// covered and starts no path of its own. The finish divides the colour sum
// by the total deposited weight, K - weight.
//
// Both cover the output's window (`area`, placed coordinates) but hold only
// a band of its rows at a time: row y lives in slot (y - area.y0) mod rows,
// so the schedule must finish with a row before the row `rows` further down
// is cleared. Addressing goes through rows, never across them, because two
// neighbouring rows need not be neighbours in memory.
#include "qrPixel.h"
#include "qrProcRegion.h"
#include "qrTexture.h"
#include "blur/qrVectorBlurLanes.h"

#include <cstddef>
#include <cstdint>

class QrVectorBlurAccumulator {
public:
    // Covers `area`, `rows` of its rows at a time; the contents are undefined
    // until clearRows. Memory of an earlier run is kept when it is large
    // enough. Throws OutOfMemory.
    void allocate(const QrRect& area, int32_t rows, float k);
    void release();

    // Colour sums 0, weights K, on rows [first, end).
    void clearRows(int32_t first, int32_t end) const;

    const QrRect& area() const { return area_; }
    float k() const { return k_; }
    bool contains(int32_t x, int32_t y) const
    {
        return x >= area_.x0 && x < area_.x1 && y >= area_.y0 && y < area_.y1;
    }
    // Inclusive corners, as a path's box has them.
    bool containsBox(int32_t bx0, int32_t by0, int32_t bx1, int32_t by1) const
    {
        return bx0 >= area_.x0 && by0 >= area_.y0 && bx1 < area_.x1 && by1 < area_.y1;
    }

    // Row y's colours (four floats a pixel) and weights, from column area.x0.
    float* colourRow(int32_t y) const { return colourBase_ + slot(y) * colourStride_; }
    float* weightRow(int32_t y) const { return weightBase_ + slot(y) * weightStride_; }
    float* colourAt(int32_t x, int32_t y) const { return colourRow(y) + std::ptrdiff_t(x - area_.x0) * 4; }
    float* weightAt(int32_t x, int32_t y) const { return weightRow(y) + (x - area_.x0); }

    // Adds `colour` times w at (x, y) when the pixel is covered.
    void addColour(int32_t x, int32_t y, QrLanes colour, float w) const
    {
        if (!contains(x, y))
            return;
        float* c = colourAt(x, y);
        qrStoreLanes(c, qrLoadFloats(c) + colour * w);
    }
    // Takes w off the weight at (x, y) when the pixel is covered.
    void takeWeight(int32_t x, int32_t y, float w) const
    {
        if (contains(x, y))
            *weightAt(x, y) -= w;
    }

    // The normalised colours of row y from x0 to x1 handed to
    // store(x, colour): colour sum / (K - weight), or all 0 where nothing was
    // deposited. Four reciprocals are taken at once.
    template <class Store> void normaliseRow(int32_t y, int32_t x0, int32_t x1, Store&& store) const
    {
        const float* weight = weightAt(x0, y);
        const float* colour = colourAt(x0, y);
        int32_t x = x0;
        for (; x + 4 <= x1; x += 4, weight += 4, colour += 16) {
            const QrLanes w = qrSplat(k_) - qrLoadFloats(weight);
            const QrLanes r = qrSplat(1.0f) / w;
            for (int j = 0; j < 4; ++j)
                store(x + j, w[j] == 0.0f ? qrSplat(0.0f) : qrLoadFloats(colour + 4 * j) * r[j]);
        }
        for (; x < x1; ++x, ++weight, colour += 4) {
            const float w = k_ - *weight;
            store(x, w == 0.0f ? qrSplat(0.0f) : qrLoadFloats(colour) * (1.0f / w));
        }
    }

private:
    std::ptrdiff_t slot(int32_t y) const { return (y - area_.y0) % rows_; }

    QrTexture<Quarn::Pixel::ARGBF> colour_;
    QrTexture<Quarn::Pixel::SingleF> weight_;
    float* colourBase_ = nullptr;
    float* weightBase_ = nullptr;
    std::ptrdiff_t colourStride_ = 0, weightStride_ = 0;
    QrRect area_;
    int32_t rows_ = 1;
    float k_ = 1.0f;
};
