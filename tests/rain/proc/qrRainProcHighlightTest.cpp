// The highlight ramp against exact integer arithmetic. With integer
// thresholds lo < hi and a pixel whose brightest channel is m, a channel c
// becomes c·white·(m - lo) / ((hi - lo)·m) inside the ramp and c·white / m
// above it: every 8-bit (lo, hi, m) and a dense 16-bit sample must store the
// exact quotient truncated, which is white for the brightest channel at and
// above the maximum and an integer wherever the quotient is one.
#include "proc/qrRainProcHighlight.h"
#include "qrPixel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using Quarn::Pixel::ARGB16;
using Quarn::Pixel::ARGB8;
using Quarn::Pixel::ARGBF;

namespace {

// The exact layer value of channel c, truncated, for integer thresholds.
int64_t exactLayer(int64_t c, int64_t m, int64_t lo, int64_t hi, int64_t white)
{
    if (m <= lo && m <= hi)
        return 0;
    const int64_t num = m > hi ? c * white : c * white * (m - lo);
    const int64_t den = m > hi ? m : (hi - lo) * m;
    return std::min(num / den, white);
}

// Every m of `ms` for the thresholds (lo, hi): the brightest channel (red),
// another channel below it (green) and an opaque alpha.
template <class S>
void checkThresholds(int64_t lo, int64_t hi, const std::vector<int64_t>& ms, long& checked, std::string& firstWrong)
{
    constexpr int white = int(S::Desc::kWhite);
    const QrRainProcHighlight<S, white> highlight{float(lo), float(hi)};
    for (const int64_t m : ms) {
        const int64_t other = (m * 7 + lo) % (m + 1);
        S p;
        p.a() = typename S::Component(white);
        p.r() = typename S::Component(m);
        p.g() = typename S::Component(other);
        p.b() = 0;
        const S lit = highlight.lit(p);
        const int64_t expected[] = {exactLayer(white, m, lo, hi, white), exactLayer(m, m, lo, hi, white),
            exactLayer(other, m, lo, hi, white)};
        const int64_t got[] = {lit.a(), lit.r(), lit.g()};
        for (int i = 0; i < 3; ++i) {
            ++checked;
            if (got[i] != expected[i] && firstWrong.empty())
                firstWrong = "thresholds " + std::to_string(lo) + ".." + std::to_string(hi) + ", m " +
                    std::to_string(m) + ", value " + std::to_string(i) + ": stored " + std::to_string(got[i]) +
                    ", exact " + std::to_string(expected[i]);
        }
    }
}

TEST(RainHighlightExact, Every8BitThresholdPairAndBrightestValue)
{
    std::vector<int64_t> ms(256);
    for (int64_t m = 0; m < 256; ++m)
        ms[std::size_t(m)] = m;
    long checked = 0;
    std::string firstWrong;
    for (int64_t lo = 0; lo < 256; ++lo)
        for (int64_t hi = lo + 1; hi < 256; ++hi)
            checkThresholds<ARGB8>(lo, hi, ms, checked, firstWrong);
    EXPECT_EQ(firstWrong, "");
    EXPECT_EQ(checked, 32640L * 256 * 3);
}

TEST(RainHighlightExact, Dense16BitSample)
{
    std::vector<int64_t> thresholds = {0, 1, 16384, 32767, 32768};
    for (int64_t t = 97; t < 32768; t += 1693)
        thresholds.push_back(t);
    long checked = 0;
    std::string firstWrong;
    for (const int64_t lo : thresholds)
        for (const int64_t hi : thresholds) {
            if (hi <= lo)
                continue;
            // Around both thresholds, the ends and a spread between.
            std::vector<int64_t> ms = {0, 1, lo, lo + 1, hi - 1, hi, std::min<int64_t>(hi + 1, 32768), 32768};
            for (int64_t m = 3; m <= 32768; m += 211)
                ms.push_back(m);
            checkThresholds<ARGB16>(lo, hi, ms, checked, firstWrong);
        }
    EXPECT_EQ(firstWrong, "");
    EXPECT_GT(checked, 0);
}

// Thresholds as the pipeline makes them (fractions of white), where a float
// factor times the channel lands just under the exact integer.
TEST(RainHighlightExact, ThresholdsFromFractionsOfWhite)
{
    const QrRainProcHighlight<ARGB8, 255> at8 {0.3f * 255.0f, 255.0f};
    const ARGB8 lit8 = at8.lit(ARGB8 {{255, 56, 102, 0}});
    // 56·255·25.5 / (178.5·102) = 20 and 102 ramps to 36.4.
    EXPECT_EQ(lit8.r(), 20);
    EXPECT_EQ(lit8.g(), 36);
    const QrRainProcHighlight<ARGB16, 32768> at16 {0.0f, 0.5f * 32768.0f};
    const ARGB16 lit16 = at16.lit(ARGB16 {{32768, 3332, 26656, 0}});
    // Above the maximum: 3332·32768 / 26656 = 4096 exactly.
    EXPECT_EQ(lit16.r(), 4096);
    EXPECT_EQ(lit16.g(), 32768);
}

// Float layers keep the value: the brightest channel at or above the
// maximum is 1 exactly.
TEST(RainHighlightExact, FloatBrightestChannelIsWhiteAtAndAboveTheMaximum)
{
    const QrRainProcHighlight<ARGBF, 1> highlight {0.1f, 0.7f};
    for (float m : {0.7f, 0.7000001f, 0.71f, 0.9f, 0.999f, 1.0f, 3.7f}) {
        const ARGBF lit = highlight.lit(ARGBF {{1.0f, 0.2f, m, 0.05f}});
        EXPECT_EQ(lit.g(), 1.0f) << m;
    }
}

}  // namespace
