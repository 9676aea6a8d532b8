// Light across a streak: a bilinear path gathers from the pixels whose
// centres surround its points and deposits to the pixel under each point and
// the pixel after it, so a lit pixel's light spreads across the path to the
// following column (vertical paths) or row (horizontal paths) and never to
// the one before. Rows and columns behave alike, whichever way along the
// axis the rain runs. (The weights let only every other row start horizontal
// paths, and a row no path starts from gives its light to none: the dot on
// the odd row must then light nothing, above it least of all.)
#include "blur/qrSimpleLinearBlur.h"
#include "qrRainTestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

using namespace QrRainTest;
using Quarn::Pixel::ARGB16;

namespace {

struct Streak {
    double degrees;
    bool vertical;
};

const Streak kStreaks[] = {{0.0, false}, {90.0, true}, {180.0, false}, {-90.0, true}};

// The light of one axis line of `t` through (x, y): the column x when
// `vertical`, the row y otherwise, summed over the red channel.
int64_t lineLight(const QrTexture<ARGB16>& t, bool vertical, int32_t x, int32_t y)
{
    int64_t sum = 0;
    const int32_t n = vertical ? t.height() : t.width();
    for (int32_t i = 0; i < n; ++i)
        sum += vertical ? t.pixelAtIndex(x, i)->r() : t.pixelAtIndex(i, y)->r();
    return sum;
}

TEST(StreakAcrossPath, LightReachesTheNextLineAndNeverThePreviousOneAtEveryAngle)
{
    constexpr double kPi = 3.14159265358979323846;
    for (const Streak& streak : kStreaks)
        for (const std::pair<int32_t, int32_t>& at : {std::pair {48, 32}, {49, 33}}) {
            const int32_t dx = at.first, dy = at.second;
            const QrTexture<ARGB16> dot = image<ARGB16>(96, 64, [&](int32_t x, int32_t y) {
                return x == dx && y == dy ? ARGB16::white() : ARGB16::black();
            });
            QrTexture<ARGB16> out = QrTexture<ARGB16>::allocate(96, 64);
            // The rain's settings: bilinear, thirds, a direction in float radians.
            SimpleLinearBlur<ARGB16>({.length = 12.0f,
                                         .direction = float(streak.degrees * kPi / 180.0),
                                         .quality = 1,
                                         .thirds = true})
                .process(dot, out);
            const std::string where = std::to_string(streak.degrees) + " degrees, dot at " +
                std::to_string(dx) + "," + std::to_string(dy);
            const bool v = streak.vertical;
            // Across the path: the previous line gets no light.
            EXPECT_EQ(lineLight(out, v, dx - 1, dy - 1), 0) << where;
            if (!v && dy % 2 != 0)
                continue;
            // Along it the streak is there, a few pixels from the dot, and
            // across it the next line gets light.
            EXPECT_GT(v ? out.pixelAtIndex(dx, dy + 3)->r() : out.pixelAtIndex(dx + 3, dy)->r(), 0) << where;
            EXPECT_GT(v ? out.pixelAtIndex(dx, dy - 3)->r() : out.pixelAtIndex(dx - 3, dy)->r(), 0) << where;
            EXPECT_GT(lineLight(out, v, dx + 1, dy + 1), 0) << where;
        }
}

}  // namespace
