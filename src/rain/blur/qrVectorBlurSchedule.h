#pragma once
// The order of the vector blur's work, fixed by the image and the path
// shape alone so that the result never depends on the number of threads.
//
// The rows that start paths are cut into strips at least twice as tall as a
// deposit's row reach; one thread traces a strip from top to bottom. Every
// sub-pass traces its even strips, then its odd ones: phase k = 2 (i - 1) +
// parity of sub-pass i. Two strips of one phase never touch the same row, so
// a pixel receives its sums phase by phase, in one fixed order; only strips
// next to each other touch common rows.
//
// Rather than one phase over the whole image after another, the phases run
// as a wave down the image: phase k of strip s runs after every earlier
// phase of strips s - 1 .. s + 1, so each pixel still sees the same order. Pass p clears the rows that time p
// first touches, traces time p - 1 (independent strips, split over threads) and finishes the rows that time p
// - 2 last touched. Only the rows between the clear line and the finish line are held (ringRows()). When the
// output is the input, a row is written only once no later trace reads it.
#include <algorithm>
#include <cstdint>
#include <vector>

// Rows of a strip's paths relative to its start rows.
struct QrVectorBlurReach {
    int32_t deposit = 0;  // deposits land at most this far above or below
    int32_t gatherUp = 0, gatherDown = 0;  // samples read this far above and below
    bool gatherAnywhere = false;  // edge addressing may read any row
};

class QrVectorBlurSchedule {
public:
    static constexpr int32_t kMinRows = 16;

    struct Strip {
        int32_t subPass;  // 1-based
        int32_t first, end;  // start rows
    };

    QrVectorBlurSchedule() = default;
    // Paths start on rows [first, end), over `subPasses` sub-passes; the
    // accumulator covers rows [areaFirst, areaEnd). With `inPlace` the
    // output is written only where the input is no longer read. `lanes`
    // (the threads that share a pass) only sets how many strips run at once
    // and so how many rows are held; the result is the same for any.
    QrVectorBlurSchedule(int32_t first, int32_t end, int32_t areaFirst, int32_t areaEnd, int32_t subPasses,
        const QrVectorBlurReach& reach, bool inPlace, int32_t lanes);

    int32_t rowsPerStrip() const { return rows_; }
    int32_t passCount() const { return int32_t(passes_.size()); }
    // Rows the accumulator must hold at once.
    int32_t ringRows() const { return ringRows_; }

    // Pass p's rows to clear and rows to finish, [first, end) each, and its
    // strips, which may run in any order or at the same time.
    void clearRows(int32_t pass, int32_t& first, int32_t& end) const;
    void finishRows(int32_t pass, int32_t& first, int32_t& end) const;
    const std::vector<Strip>& strips(int32_t pass) const { return passes_[pass].strips; }

private:
    struct Pass {
        int32_t clearEnd = 0, finishEnd = 0;  // lines after this pass
        std::vector<Strip> strips;
    };
    int32_t stripCount() const { return (end_ - first_ + rows_ - 1) / rows_; }
    int32_t stripFirst(int32_t s) const { return first_ + s * rows_; }
    int32_t stripEnd(int32_t s) const { return std::min(first_ + (s + 1) * rows_, end_); }
    int32_t lastPhase(int32_t s) const;
    int32_t time(int32_t k, int32_t s) const;

    int32_t first_ = 0, end_ = 0, rows_ = kMinRows, held0_ = 0, ringRows_ = 1;
    int32_t phases_ = 0, lanes_ = 1;
    std::vector<Pass> passes_;
};
