#include "blur/qrVectorBlurSchedule.h"

#include <limits>
#include <tuple>

namespace {
constexpr int32_t kNever = std::numeric_limits<int32_t>::max();
}

// Phase k of strip s (k and s of one parity) runs at time
// (s + (m + 1) k) / m, where each phase moves m strips down the image a
// time: phase k - 1 of strip s + 1 runs one time before, and strips next to
// each other never share a time. A strip is held from its first phase to
// its last, (m + 1) (phases - 1) / m times while the wave moves m strips a
// time, so the held rows grow with m.
int32_t QrVectorBlurSchedule::time(int32_t k, int32_t s) const
{
    return (s + (stride_ + 1) * k) / stride_;
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
      phases_(2 * std::max(subPasses, 0))
{
    // A time holds about m / 2 strips of every phase: the smallest m that
    // gives every lane a strip, so that the wave is as steep as the threads
    // allow.
    stride_ = std::max(1, (2 * std::max(lanes, 1) + phases_ - 1) / std::max(phases_, 1));
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
    // A pass's strips in rounds of one strip of every phase, even phases
    // first: a split of the pass into `lanes` parts spreads the phases over
    // the parts, and with them the paths each phase starts.
    struct Keyed {
        int32_t round, parity, phase;
        Strip strip;
    };
    std::vector<std::vector<Keyed>> keyed(passes_.size());
    for (int32_t k = 0; k < phases_; ++k) {
        int32_t round = 0, last = -1;
        for (int32_t s = k % 2; s < strips; s += 2) {
            const int32_t pass = time(k, s) + 1;
            round = pass == last ? round + 1 : 0;
            last = pass;
            keyed[std::size_t(pass)].push_back({round, k % 2, k, {k / 2 + 1, stripFirst(s), stripEnd(s)}});
        }
    }
    for (std::size_t p = 0; p < passes_.size(); ++p) {
        std::sort(keyed[p].begin(), keyed[p].end(), [](const Keyed& a, const Keyed& b) {
            return std::tie(a.round, a.parity, a.phase) < std::tie(b.round, b.parity, b.phase);
        });
        for (const Keyed& e : keyed[p])
            passes_[p].strips.push_back(e.strip);
    }
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
