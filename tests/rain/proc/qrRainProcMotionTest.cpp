// Moving and layered rain at every depth. Failures here mean drops that do
// not travel as one field (flicker instead of fall), a travel that differs
// from the velocities summed frame by frame, or farther layers that are not
// smaller, slower and fainter than nearer ones.
#include "motion/qrRainTravel.h"
#include "proc/qrRainProcImpl.h"
#include "qrRainProcTestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>

namespace {

using namespace QrRainTest;

template <class D> class QrRainProcMotionTest : public ::testing::Test {
protected:
    using S = typename D::Storage;
    using Proc = QrRainProc<D>;
    static constexpr int32_t kSize = 120;

    // Drops (and nothing else) on black, moving straight down unless changed.
    static QrRainSettings settings(int32_t frame, const QrRainMotion& motion)
    {
        QrRainSettings s;
        s.seed = 9;
        s.frame = frame;
        s.density = 1.5f;
        s.angle = -std::numbers::pi_v<float> / 2;
        s.intensity = 1.0f;
        s.dropLength = 0.0f;
        s.minThreshold = 0.9f * float(D::kWhite);
        s.maxThreshold = float(D::kWhite);
        s.motion = motion;
        return s;
    }

    static QrTexture<S> render(Proc& p)
    {
        static const auto black = filled(kSize, kSize, pixel<S>(1, 0, 0, 0));
        auto out = filled(kSize, kSize, pixel<S>(0, 0, 0, 0));
        p.process(black, out);
        return out;
    }

    static double at(const QrTexture<S>& t, int32_t x, int32_t y)
    {
        return double(t.pixelAtIndex(x, y)->r());
    }

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

using Depths = ::testing::Types<Depth8, Depth16, DepthF>;
TYPED_TEST_SUITE(QrRainProcMotionTest, Depths);

TYPED_TEST(QrRainProcMotionTest, NextFramesDropsAreThisFramesShiftedByWholePixels)
{
    using Proc = typename TestFixture::Proc;
    struct Row {
        float angle;
        double speed, wind;
        int32_t frame;
    };
    const Row rows[] = {{-std::numbers::pi_v<float> / 2, 5.0, 0.0, 0}, {0.0f, 3.0, 0.0, -4},
        {-1.9f, 4.6, 0.0, 11}, {-1.2f, 7.3, 40.0, 23}};
    for (const Row& r : rows) {
        QrRainMotion m;
        m.fallSpeed = r.speed;
        m.windVariation = r.wind;
        m.gustRate = 20.0;
        QrRainSettings s = TestFixture::settings(r.frame, m);
        s.angle = r.angle;
        Proc now(s);
        ++s.frame;
        Proc next(s);
        TestFixture::render(now);
        TestFixture::render(next);

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

TYPED_TEST(QrRainProcMotionTest, FartherLayersAreShorterSlowerAndFainter)
{
    using Proc = typename TestFixture::Proc;
    using T = QrTexture<typename TestFixture::S>;
    QrRainMotion m;
    m.fallSpeed = 10.0;
    m.depthLayers = 3;
    m.depthFalloff = 0.4;
    QrRainSettings s = TestFixture::settings(2, m);
    s.dropLength = 14.0f;
    Proc now(s);
    ++s.frame;
    Proc next(s);
    TestFixture::render(now);
    TestFixture::render(next);
    ASSERT_EQ(now.layerCount(), 3u);
    auto product = [](const T& a, const T& b, int32_t shift) {
        return TestFixture::inner(20, [&](int32_t x, int32_t y) {
            return TestFixture::at(a, x, y) * TestFixture::at(b, x, y + shift);
        });
    };

    // Speed: the vertical shift that best lines the next frame up with this
    // one. Streak: how far down a layer stays correlated with itself (above
    // half of its variance). Light: what the layer adds to the output, from
    // renders with one layer fewer.
    double lastSpeed = 1e9, lastStreak = 1e9, lastLight = 1e9, lightBelow = 0.0;
    for (int i = 0; i < 3; ++i) {
        const T& a = now.layer(std::size_t(i));
        const T& b = next.layer(std::size_t(i));
        int32_t speed = 0;
        for (int32_t s = 1; s <= 15; ++s)
            if (product(a, b, s) > product(a, b, speed))
                speed = s;
        const double mean = TestFixture::inner(20, [&](int32_t x, int32_t y) {
            return TestFixture::at(a, x, y);
        }) / ((TestFixture::kSize - 40) * (TestFixture::kSize - 40));
        auto covariance = [&](int32_t s) {
            return TestFixture::inner(20, [&](int32_t x, int32_t y) {
                return (TestFixture::at(a, x, y) - mean) * (TestFixture::at(a, x, y + s) - mean);
            });
        };
        int32_t streak = 0;
        while (streak < 19 && covariance(streak + 1) > 0.5 * covariance(0))
            ++streak;
        QrRainSettings f = TestFixture::settings(2, m);
        f.dropLength = 14.0f;
        f.motion.depthLayers = i + 1;
        Proc fewer(f);
        const T out = TestFixture::render(fewer);
        const double all =
            TestFixture::inner(0, [&](int32_t x, int32_t y) { return TestFixture::at(out, x, y); });
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
