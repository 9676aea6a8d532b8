#pragma once
// The weights that paths take off the weight image: path by path
// (takePath), or for a row of start pixels whose paths all follow one
// bilinear plan: which pixels of the row start paths, and the weights all
// those paths take.
//
// Traced path by path, every pixel loses its weights in the order (start
// pixel, tap, corner). A row makes the same subtractions pixel by pixel in
// that order: every target row keeps the plan's deposits that land on it
// as a stencil of (column offset, weight), sorted by start pixel, then tap,
// then corner. A pixel takes an entry's weight when the entry's start pixel
// starts a path. The results are the same to the last bit, and a whole row
// of pixels is worked at once.
#include "blur/qrVectorBlurAccumulator.h"
#include "blur/qrVectorBlurPlan.h"

#include <cstdint>
#include <vector>

class QrVectorBlurWeights {
public:
    // Takes the bilinear weights of every deposit of the path of (x, y)
    // off the weight image, tap by tap, in the order w00, w10, w01, w11.
    static void takePath(
        const QrVectorBlurAccumulator& acc, const QrVectorBlurPlan& plan, int32_t x, int32_t y);

    // For start pixels in columns [x0, x1).
    QrVectorBlurWeights(const QrVectorBlurPlan& plan, int32_t x0, int32_t x1);

    // Tests the pixels of row y from left to right (a pixel starts a path
    // when its weight, less the weights of the paths started to its left on
    // this row, is above 0), lists those that start in `starts` and takes
    // their paths' weights off `acc`.
    void startRow(const QrVectorBlurAccumulator& acc, int32_t y, std::vector<int32_t>& starts);

private:
    struct Entry {
        int32_t dx;  // column of the target pixel less the start pixel's
        float w;
    };
    struct TargetRow {
        int32_t dy;
        int32_t dxMin, dxMax;
        std::vector<Entry> entries;  // in the order a target pixel takes them
    };

    float started(int32_t x) const { return started_[std::size_t(x - x0_ + pad_)]; }
    void takeRow(const QrVectorBlurAccumulator& acc, int32_t y, const TargetRow& row, int32_t firstStart,
        int32_t lastStart) const;

    const QrVectorBlurPlan* plan_;
    std::vector<TargetRow> rows_;
    std::vector<Entry> fromLeft_;  // the start row's entries from pixels to the left
    std::vector<float> started_;  // 1 where a pixel of the current row starts, else 0
    int32_t x0_, x1_, pad_ = 0;
};
