// The rain processor at every depth. Against a slow pixel-by-pixel reference
// of its highlight pass, drop noise and rain pass, with the product's own
// streak blur run on the reference layer between the stages (or a drop length
// too short to move anything), so that a failure points at the highlights, the
// drops or the combination. Beyond the exact values: the thread count, drops
// that travel as one field by the velocities summed frame by frame, and
// farther layers smaller, slower and fainter than nearer ones.
#include "blur/qrSimpleLinearBlur.h"
#include "motion/qrRainTravel.h"
#include "proc/qrRainProcImpl.h"
#include "qrRainTestImages.h"
#include "qrReferenceRain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace {

using namespace QrReference;
using namespace QrRainTest;

struct RainCase {
    const char* name;
    int32_t seed, frame;
    float density, intensity;
    float minimum, maximum;  // thresholds in units of white
};

const RainCase kRainCases[] = {
    {"effect defaults", 3, 7, 0.6f, 1.0f, 0.9f, 1.0f},
    {"wide ramp", 1, 0, 1.7f, 0.37f, 0.2f, 0.6f},
    {"inverted thresholds", -5, -12, 5.0f, 2.5f, 0.6f, 0.2f},
    {"equal thresholds, big frame", 100, 400000, 9.99f, 1.0f, 0.5f, 0.5f},
    {"zero thresholds", 7, 3, 10.0f, 0.8f, 0.0f, 0.0f},
    {"dense", 9, 1, 12.0f, 1.0f, 0.3f, 0.95f},
    {"no drops", 2, 5, 0.0f, 1.0f, 0.1f, 0.7f},
    {"negative density", 4, 2, -1.0f, 1.3f, 0.45f, 0.55f},
    {"no intensity", 11, 8, 3.3f, 0.0f, 0.25f, 0.75f},
    {"faint drops", 6, -1, 0.001f, 1.0f, 0.05f, 0.99f},
    {"negative seed wraps", INT32_MIN + 3, -2147483647, 2.2f, 0.9f, 0.33f, 0.66f},
    {"low maximum", 12, 4, 0.9f, 1.0f, 0.0f, 0.02f},
};

template <class D> class QrRainProcTest : public ::testing::Test {
protected:
    using S = typename D::Storage;
    using M = typename D::MatteStorage;
    using Proc = QrRainProc<D>;
    using T = QrTexture<S>;
    static constexpr int32_t kSize = 120;
    static constexpr float white = float(D::kWhite);

    // The defaults of the effect, scaled to this depth.
    static QrRainSettings defaults()
    {
        return {3, 7, 0.6f, -std::numbers::pi_v<float> / 2, 1.0f, 12.0f, 0.9f * white, white, 1.0f,
            std::nullopt, {}};
    }

    // Drops (and nothing else) on black, moving straight down unless changed.
    static QrRainSettings moving(int32_t frame, const QrRainMotion& motion, float dropLength = 0.0f)
    {
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

    // Runs the product and the reference; the reference's streak step is
    // the product's blur with the settings the rain gives it, or nothing.
    // An edged source is shifted and cropped against the output with
    // mirrored and coloured edges, so that every edge case of the addressing
    // is read.
    static void compare(const RainCase& c, int32_t w, int32_t h, float dropLength, float angle, bool edged,
        int matteKind, bool window, bool runBlur, float aspect = 1.0f)
    {
        QrRainSettings r {c.seed, c.frame, c.density, angle, c.intensity, dropLength, c.minimum * white,
            c.maximum * white, aspect, std::nullopt, {}};
        auto src = picture<S>(w, h, 21, r.minThreshold, r.maxThreshold, !S::kInteger);
        if (edged) {
            src.setOrigin(1, -1);
            src.setCrop(1, w - 2, 0, h - 2);
            src.setEdgeMethods(2, 0);
            src.setEdgeColour(pixel<S>(0.5, 0.95, 0.2, 0.85));
        }
        auto matte = mattePicture<M>(std::max(1, w - 3), std::max(1, h - 2), 5);
        if (matteKind == 2) {
            matte.setOrigin(2, 1);
            matte.setEdgeColour(M {typename M::Component(0.6f * white)});
        }
        const auto start = picture<S>(w, h, 22, r.minThreshold, r.maxThreshold);

        QrRect region {0, 0, w, h};
        if (window && w > 3 && h > 3)
            r.region = region = {2, 1, w - 1, h - 1};
        Proc p(r, matteKind ? &matte : nullptr);
        auto got = copyOf(start);
        p.process(src, got);

        auto layer = layerBeforeStreaks(src, w, h, region, r);
        if (runBlur) {
            const float dx = std::cos(angle) * dropLength, dy = std::sin(angle) * dropLength;
            // Length, direction, no bias or step scale, bilinear, thirds.
            SimpleLinearBlur<S, typename D::Work> blur(
                {std::sqrt(dx * dx + dy * dy), std::atan2(dy, dx), 0, 0, 1, true});
            blur.pixelAspect = std::max(aspect, 0.001f);
            blur.inversePixelAspect = 1.0f / blur.pixelAspect;
            blur.setRegion(region.x0, region.y0, region.x1 - 1, region.y1 - 1);
            blur.process(layer, layer);
        }
        auto expected = copyOf(start);
        rainPass(src, layer, matteKind ? &matte : nullptr, region, r.intensity, expected);

        SCOPED_TRACE(testing::Message() << c.name << ", " << w << "x" << h << ", drop length " << dropLength
                                        << (edged ? ", edged source" : "") << ", matte " << matteKind
                                        << (window ? ", window" : "") << ", aspect " << aspect);
        EXPECT_EQ(differences(layer, p.layer()), "") << "layer";
        EXPECT_EQ(differences(expected, got), "") << "output";
    }
};

TYPED_TEST_SUITE(QrRainProcTest, Depths);

// Without streaks; a drop length below 0.03 must leave the layer exactly as
// it is.
TYPED_TEST(QrRainProcTest, WithoutStreaksEqualsTheReference)
{
    for (const RainCase& c : kRainCases) {
        for (auto [w, h] : {std::pair {1, 1}, {9, 7}, {37, 23}})
            for (int matteKind : {0, 1, 2})
                for (bool edged : {false, true})
                    TestFixture::compare(c, w, h, 0.0f, 0.0f, edged, matteKind, matteKind == 1, false);
        TestFixture::compare(c, 19, 11, 0.02f, 0.7f, true, 1, false, false);
    }
}

TYPED_TEST(QrRainProcTest, WithStreaksBetweenTheStagesEqualsTheReference)
{
    // Length, angle and pixel aspect; the last aspect is below the smallest
    // the blur may be given.
    for (const RainCase& c : kRainCases)
        for (auto [length, angle, aspect] : {std::tuple {5.5f, 1.1f, 1.0f}, {-7.0f, 0.3f, 0.5f},
                 {12.0f, -1.5707964f, 1.0f}, {6.0f, 2.5f, 0.0001f}})
            for (bool window : {false, true})
                TestFixture::compare(c, 29, 21, length, angle, true, window ? 2 : 0, window, true, aspect);
}

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

// Building the nearest layer in the output's memory changes no value: over
// the whole output (where it is used), over part of it (where it is not) and
// with farther layers beside it.
TYPED_TEST(QrRainProcTest, LayerInTheOutputGivesTheSameResult)
{
    const auto source = nightImage<typename TestFixture::S>(97, 71);
    for (int32_t layers : {1, 3})
        for (const std::optional<QrRect>& region :
            {std::optional<QrRect> {}, std::optional(QrRect {5, 3, 90, 60})}) {
            QrRainSettings settings = TestFixture::defaults();
            settings.motion.depthLayers = layers;
            settings.region = region;
            typename TestFixture::Proc reference(settings), p(settings);
            p.setLayerInOutput(true);
            const auto got = TestFixture::render(p, source);
            EXPECT_EQ(differences(TestFixture::render(reference, source), got), "")
                << "layers " << layers << ", region " << !!region;
            EXPECT_EQ(p.layer().data() == got.data(), !region) << "layer in the output";
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
