#include "blur/qrVectorBlurSchedule.h"

#include <limits>

namespace {
constexpr int32_t kNever = std::numeric_limits<int32_t>::max();
}

// Phase k of strip s (k and s of one parity) runs at time
// phases * floor((s + k) / 2n) + k for n lanes. The times take the phases
// in turn, each holding n strips of one phase, one a lane, so the lanes get
// like work; phases is even, so the strips of one time are of one parity
// and never next to each other. Phase k - 1 of strips s - 1 and s + 1 runs
// at least one time before phase k of strip s. Each phase trails the one
// before by about one strip, so a row is held for about as many strips as
// there are phases.
int32_t QrVectorBlurSchedule::time(int32_t k, int32_t s) const
{
    return phases_ * ((s + k) / (2 * lanes_)) + k;
}

// The last phase of strip s's parity.
int32_t QrVectorBlurSchedule::lastPhase(int32_t s) const
{
    return (phases_ - 1) % 2 == s % 2 ? phases_ - 1 : phases_ - 2;
}

QrVectorBlurSchedule::QrVectorBlurSchedule(int32_t first, int32_t end, int32_t areaFirst, int32_t areaEnd,
    int32_t subPasses, const QrVectorBlurReach& reach, bool inPlace, int32_t lanes)
    : first_(first),
      end_(std::max(first, end)),
      rows_(std::max(2 * std::max(reach.deposit, 0), kMinRows)),
      phases_(2 * std::max(subPasses, 0)),
      lanes_(std::max(lanes, 1))
{
    const int32_t d = std::max(reach.deposit, 0);
    held0_ = std::max(areaFirst, first_ - d);
    const int32_t held1 = std::max(held0_, std::min(areaEnd, end_ + d));
    const std::size_t held = std::size_t(held1 - held0_);
    // Times at which each held row is first and last touched, and last read.
    std::vector<int32_t> firstTouch(held, kNever), lastTouch(held, -1), lastRead(held, -1);
    auto over = [&](int32_t from, int32_t to, auto&& f) {
        for (int32_t y = std::max(from, held0_); y < std::min(to, held1); ++y)
            f(std::size_t(y - held0_));
    };
    const int32_t strips = phases_ > 0 ? stripCount() : 0;
    int32_t lastTime = -1;
    for (int32_t s = 0; s < strips; ++s) {
        const int32_t firstTime = time(s % 2, s), endTime = time(lastPhase(s), s);
        lastTime = std::max(lastTime, endTime);
        over(stripFirst(s) - d, stripEnd(s) + d, [&](std::size_t i) {
            firstTouch[i] = std::min(firstTouch[i], firstTime);
            lastTouch[i] = std::max(lastTouch[i], endTime);
        });
        if (inPlace)
            over(stripFirst(s) - reach.gatherUp, stripEnd(s) + reach.gatherDown,
                [&](std::size_t i) { lastRead[i] = std::max(lastRead[i], endTime); });
    }
    if (inPlace && reach.gatherAnywhere)
        std::fill(lastRead.begin(), lastRead.end(), lastTime);
    // Time t runs in pass t + 1. A row is cleared in a pass before its first
    // touch and finished in the pass after the one of its last touch (and
    // read); both lines only move down.
    std::vector<int32_t> clearPass(held), finishPass(held);
    int32_t latest = 0;
    for (std::size_t i = 0; i < held; ++i) {
        finishPass[i] = latest = std::max(latest, std::max(lastTouch[i], lastRead[i]) + 2);
    }
    int32_t earliest = kNever;
    for (std::size_t i = held; i-- > 0;) {
        const int32_t own = std::min(firstTouch[i] == kNever ? 0 : firstTouch[i], finishPass[i] - 1);
        clearPass[i] = earliest = std::min(earliest, own);
    }
    passes_.resize(std::size_t(std::max(latest + 1, 1)));
    // A pass holds strips of one phase, in the order of their rows.
    for (int32_t k = 0; k < phases_; ++k)
        for (int32_t s = k % 2; s < strips; s += 2)
            passes_[std::size_t(time(k, s) + 1)].strips.push_back({k / 2 + 1, stripFirst(s), stripEnd(s)});
    std::size_t cleared = 0, finished = 0;
    for (std::size_t p = 0; p < passes_.size(); ++p) {
        const std::size_t before = finished;
        while (cleared < held && clearPass[cleared] <= int32_t(p))
            ++cleared;
        while (finished < held && finishPass[finished] <= int32_t(p))
            ++finished;
        passes_[p].clearEnd = held0_ + int32_t(cleared);
        passes_[p].finishEnd = held0_ + int32_t(finished);
        ringRows_ = std::max(ringRows_, int32_t(cleared - before));
    }
}

void QrVectorBlurSchedule::clearRows(int32_t pass, int32_t& first, int32_t& end) const
{
    first = pass > 0 ? passes_[pass - 1].clearEnd : held0_;
    end = passes_[pass].clearEnd;
}

void QrVectorBlurSchedule::finishRows(int32_t pass, int32_t& first, int32_t& end) const
{
    first = std::max(pass > 0 ? passes_[pass - 1].finishEnd : held0_, first_);
    end = std::min(passes_[pass].finishEnd, end_);
    end = std::max(first, end);
}
