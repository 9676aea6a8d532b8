// The rain processor end to end, at every depth, for what its exact values
// (checked against the literal reference) do not show: rain that changes with
// the thread count, drops that do not travel as one field (flicker instead
// of fall) or travel other than the velocities summed frame by frame, and
// farther layers that are not smaller, slower and fainter than nearer ones.
#include "motion/qrRainTravel.h"
#include "proc/qrRainProcImpl.h"
#include "qrRainTestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

using namespace QrRainTest;

template <class D> class QrRainProcTest : public ::testing::Test {
protected:
    using S = typename D::Storage;
    using Proc = QrRainProc<D>;
    using T = QrTexture<S>;
    static constexpr int32_t kSize = 120;

    // The defaults of the effect, scaled to this depth.
    static QrRainSettings defaults()
    {
        const float white = float(D::kWhite);
        return {3, 7, 0.6f, -std::numbers::pi_v<float> / 2, 1.0f, 12.0f, 0.9f * white, white, 1.0f,
            std::nullopt, {}};
    }

    // Drops (and nothing else) on black, moving straight down unless changed.
    static QrRainSettings moving(int32_t frame, const QrRainMotion& motion, float dropLength = 0.0f)
    {
        const float white = float(D::kWhite);
        return {9, frame, 1.5f, -std::numbers::pi_v<float> / 2, 1.0f, dropLength, 0.9f * white, white, 1.0f,
            std::nullopt, motion};
    }

    static T render(Proc& p, const T& source)
    {
        auto out = filled(source.width(), source.height(), pixel<S>(0.5, 0.5, 0.5, 0.5));
        p.process(source, out);
        return out;
    }

    static T renderOnBlack(Proc& p)
    {
        static const auto black = filled(kSize, kSize, pixel<S>(1, 0, 0, 0));
        return render(p, black);
    }

    static double at(const T& t, int32_t x, int32_t y) { return double(t.pixelAtIndex(x, y)->r()); }

    // Sum over the inner pixels of f(x, y).
    static double inner(int32_t margin, const std::function<double(int32_t, int32_t)>& f)
    {
        double sum = 0.0;
        for (int32_t y = margin; y < kSize - margin; ++y)
            for (int32_t x = margin; x < kSize - margin; ++x)
                sum += f(x, y);
        return sum;
    }
};

TYPED_TEST_SUITE(QrRainProcTest, Depths);

TYPED_TEST(QrRainProcTest, ResultIsIdenticalWhateverTheThreadCount)
{
    const auto source = nightImage<typename TestFixture::S>(131, 89);
    // Still, then travelling drops with gusts and three depth layers.
    for (const QrRainMotion& motion : {QrRainMotion {}, QrRainMotion {6.5, 25.0, 30.0, 3}}) {
        QrRainSettings settings = TestFixture::defaults();
        settings.motion = motion;
        expectSameForEveryThreadCount(source, [&] {
            typename TestFixture::Proc p(settings);
            return TestFixture::render(p, source);
        });
    }
}

TYPED_TEST(QrRainProcTest, NextFramesDropsAreThisFramesShiftedByWholePixels)
{
    using Proc = typename TestFixture::Proc;
    struct Row {
        float angle;
        double speed, wind;
        int32_t frame;
    } const rows[] = {{-std::numbers::pi_v<float> / 2, 5.0, 0.0, 0}, {0.0f, 3.0, 0.0, -4},
        {-1.9f, 4.6, 0.0, 11}, {-1.2f, 7.3, 40.0, 23}};
    for (const Row& r : rows) {
        const QrRainMotion m {r.speed, r.wind, 20.0};
        QrRainSettings s = TestFixture::moving(r.frame, m);
        s.angle = r.angle;
        Proc now(s);
        ++s.frame;
        Proc next(s);
        TestFixture::renderOnBlack(now);
        TestFixture::renderOnBlack(next);

        // The velocity of this frame, and the whole-pixel shift of the field.
        const QrRainGust gust(now.layerBase().gustSeed, m.gustRate);
        const double wind = r.wind * std::numbers::pi / 180.0;
        const double d = QrRainTravel::direction(r.frame, r.angle, wind, gust);
        const QrRainTravel a = QrRainTravel::to(r.frame, r.angle, wind, gust);
        const QrRainTravel b = QrRainTravel::to(r.frame + 1, r.angle, wind, gust);
        const int32_t dx = int32_t(std::floor(b.x * r.speed + 0.5) - std::floor(a.x * r.speed + 0.5));
        const int32_t dy = int32_t(std::floor(b.y * r.speed + 0.5) - std::floor(a.y * r.speed + 0.5));
        EXPECT_NEAR(dx, -std::cos(d) * r.speed, 1.0) << "frame " << r.frame;
        EXPECT_NEAR(dy, -std::sin(d) * r.speed, 1.0) << "frame " << r.frame;
        EXPECT_NEAR(b.x - a.x, QrRainTravel::kSense * std::cos(d), 1e-9) << "travel sums the velocities";

        int64_t moved = 0, mismatched = 0;
        for (int32_t y = 10; y < TestFixture::kSize - 10; ++y)
            for (int32_t x = 10; x < TestFixture::kSize - 10; ++x) {
                const double was = TestFixture::at(now.layer(), x, y);
                moved += was != TestFixture::at(next.layer(), x, y);
                mismatched += was != TestFixture::at(next.layer(), x + dx, y + dy);
            }
        EXPECT_EQ(mismatched, 0) << "frame " << r.frame << " shift " << dx << "," << dy;
        EXPECT_GT(moved, 500) << "frame " << r.frame;
    }
}

// Speed: the vertical shift that best lines the next frame up with this one.
// Streak: how far down a layer stays correlated with itself (above half of
// its variance). Light: what the layer adds to the output, from renders with
// one layer fewer.
TYPED_TEST(QrRainProcTest, FartherLayersAreShorterSlowerAndFainter)
{
    using F = TestFixture;
    using T = typename F::T;
    const QrRainMotion m {10.0, 0.0, 4.0, 3, 0.4};  // speed 10, three layers, falloff 0.4
    typename F::Proc now(F::moving(2, m, 14.0f)), next(F::moving(3, m, 14.0f));
    F::renderOnBlack(now);
    F::renderOnBlack(next);
    ASSERT_EQ(now.layerCount(), 3u);
    auto product = [](const T& a, const T& b, int32_t shift) {
        return F::inner(20, [&](int32_t x, int32_t y) { return F::at(a, x, y) * F::at(b, x, y + shift); });
    };
    double lastSpeed = 1e9, lastStreak = 1e9, lastLight = 1e9, lightBelow = 0.0;
    for (int i = 0; i < 3; ++i) {
        const T& a = now.layer(std::size_t(i));
        const T& b = next.layer(std::size_t(i));
        int32_t speed = 0;
        for (int32_t s = 1; s <= 15; ++s)
            if (product(a, b, s) > product(a, b, speed))
                speed = s;
        const double mean = F::inner(20, [&](int32_t x, int32_t y) { return F::at(a, x, y); }) /
            ((F::kSize - 40) * (F::kSize - 40));
        auto covariance = [&](int32_t s) {
            return F::inner(20,
                [&](int32_t x, int32_t y) { return (F::at(a, x, y) - mean) * (F::at(a, x, y + s) - mean); });
        };
        int32_t streak = 0;
        while (streak < 19 && covariance(streak + 1) > 0.5 * covariance(0))
            ++streak;
        QrRainMotion fewer = m;
        fewer.depthLayers = i + 1;
        typename F::Proc below(F::moving(2, fewer, 14.0f));
        const T out = F::renderOnBlack(below);
        const double all = F::inner(0, [&](int32_t x, int32_t y) { return F::at(out, x, y); });
        const double light = all - lightBelow;
        lightBelow = all;

        EXPECT_NEAR(speed, 10.0 * std::pow(0.6, i), 1.0) << "layer " << i;
        EXPECT_LT(speed, lastSpeed) << "layer " << i;
        EXPECT_LT(streak, lastStreak) << "layer " << i;
        EXPECT_GT(light, 0.0) << "layer " << i;
        EXPECT_LT(light, 0.8 * lastLight) << "layer " << i;
        lastSpeed = speed;
        lastStreak = streak;
        lastLight = light;
    }
}

}  // namespace
