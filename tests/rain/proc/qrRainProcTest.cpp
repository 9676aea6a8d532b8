// The rain processor end to end, at every depth. Failures here mean rain that
// changes with the thread count, a drop density that is not the one asked
// for, drops that differ from what the noise processor would add, streaks in
// the wrong direction, or a source altered where no rain should reach it.
#include "noise/qrRGBNoiseProc.h"
#include "proc/qrRainProcHighlight.h"
#include "proc/qrRainProcImpl.h"
#include "qrRainProcTestImages.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

using namespace QrRainTest;

template <class D> class QrRainProcTest : public ::testing::Test {
protected:
    using S = typename D::Storage;
    using M = typename D::MatteStorage;
    using Proc = QrRainProc<D>;
    static constexpr float white = float(D::kWhite);

    // The defaults of the effect, scaled to this depth.
    static QrRainSettings defaults()
    {
        QrRainSettings s;
        s.seed = 3;
        s.frame = 7;
        s.density = 0.6f;
        s.angle = -std::numbers::pi_v<float> / 2;
        s.intensity = 1.0f;
        s.dropLength = 12.0f;
        s.minThreshold = 0.9f * white;
        s.maxThreshold = 1.0f * white;
        return s;
    }

    static QrTexture<S> render(Proc& p, const QrTexture<S>& source)
    {
        auto out = filled(source.width(), source.height(), pixel<S>(0.5, 0.5, 0.5, 0.5));
        p.process(source, out);
        return out;
    }

    static QrTexture<M> matteOf(int32_t w, int32_t h, double value)
    {
        auto m = QrTexture<M>::allocate(w, h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                m.pixelAtIndex(x, y)->c[0] = typename M::Component(value * white);
        return m;
    }
};

using Depths = ::testing::Types<Depth8, Depth16, DepthF>;
TYPED_TEST_SUITE(QrRainProcTest, Depths);

TYPED_TEST(QrRainProcTest, ResultIsIdenticalWhateverTheThreadCount)
{
    using Proc = typename TestFixture::Proc;
    const auto source = nightImage<typename TestFixture::S>(131, 89);
    QrRainMotion moving;  // travelling drops, gusts and three depth layers
    moving.fallSpeed = 6.5;
    moving.windVariation = 25.0;
    moving.gustRate = 30.0;
    moving.depthLayers = 3;
    for (const QrRainMotion& motion : {QrRainMotion {}, moving}) {
        QrRainSettings settings = TestFixture::defaults();
        settings.motion = motion;
        Proc reference(settings);
        reference.setMultiThreaded(false);
        const auto expected = TestFixture::render(reference, source);

        struct Setting {
            const char* limit;
            int32_t processors;  // 0: the machine's own count
        };
        for (const Setting& s : {Setting {"1", 0}, Setting {"2", 0}, Setting {nullptr, 0},
                 Setting {nullptr, 3}, Setting {"2", 5}, Setting {nullptr, 7}}) {
            ScopedMaxProcessors limit(s.limit);
            QrMultiProcessor::overrideProcessorCount(s.processors);
            Proc p(settings);
            const auto got = TestFixture::render(p, source);
            QrMultiProcessor::overrideProcessorCount(0);
            EXPECT_EQ(differingPixels(got, expected), 0)
                << "QUARN_MAX_PROCESSORS " << (s.limit ? s.limit : "unset") << ", processors " << s.processors
                << ", layers " << motion.depthLayers;
        }
    }
}

TYPED_TEST(QrRainProcTest, DropsLightAboutATenthOfTheDensityOfPixels)
{
    using S = typename TestFixture::S;
    const auto black = filled(160, 120, pixel<S>(1, 0, 0, 0));
    for (float density : {0.6f, 2.0f, 5.0f, 12.0f}) {
        QrRainSettings s = TestFixture::defaults();
        s.density = density;
        s.dropLength = 0.0f;
        typename TestFixture::Proc p(s);
        const auto out = TestFixture::render(p, black);
        int64_t lit = 0;
        for (int32_t y = 0; y < out.height(); ++y)
            for (int32_t x = 0; x < out.width(); ++x) {
                const S& q = *out.pixelAtIndex(x, y);
                lit += q.r() > 0;
                ASSERT_TRUE(q.r() == q.g() && q.g() == q.b()) << "drops are grey";
            }
        const double expected = std::min(1.0, density / 10.0);
        // Integer depths lose the faintest drops to truncation.
        EXPECT_NEAR(double(lit) / (160 * 120), expected, 0.01 + expected * 0.06) << "density " << density;
    }
}

TYPED_TEST(QrRainProcTest, NoRainReachesTheOutputWithoutIntensityOrUnderABlackMatte)
{
    using S = typename TestFixture::S;
    const auto source = nightImage<S>(70, 50);
    const auto blackMatte = TestFixture::matteOf(70, 50, 0.0);
    for (int variant = 0; variant < 3; ++variant) {
        QrRainSettings s = TestFixture::defaults();
        s.density = 3.0f;
        if (variant < 2)
            s.intensity = 0.0f;
        typename TestFixture::Proc p(s, variant > 0 ? &blackMatte : nullptr);
        EXPECT_EQ(differingPixels(TestFixture::render(p, source), source), 0) << "variant " << variant;
    }
}

TYPED_TEST(QrRainProcTest, WhiteMatteEqualsNoMatteAndGreyHalvesTheRain)
{
    using S = typename TestFixture::S;
    const auto black = filled(60, 60, pixel<S>(1, 0, 0, 0));
    const auto whiteMatte = TestFixture::matteOf(60, 60, 1.0);
    const auto greyMatte = TestFixture::matteOf(60, 60, 0.5);
    QrRainSettings s = TestFixture::defaults();
    s.density = 4.0f;
    typename TestFixture::Proc plain(s), matted(s, &whiteMatte), halved(s, &greyMatte);
    const auto a = TestFixture::render(plain, black);
    const auto b = TestFixture::render(matted, black);
    const auto c = TestFixture::render(halved, black);
    EXPECT_EQ(differingPixels(a, b), 0);
    const double k = double(typename S::Component(0.5 * TestFixture::white)) / TestFixture::white;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 60; ++x)
            ASSERT_NEAR(double(c.pixelAtIndex(x, y)->r()), double(a.pixelAtIndex(x, y)->r()) * k,
                S::kInteger ? 1.0 : 1e-5)
                << x << "," << y;
}

TYPED_TEST(QrRainProcTest, DropsAreThoseTheNoiseProcessorAddsToTheHighlights)
{
    using S = typename TestFixture::S;
    const auto source = nightImage<S>(90, 60);
    QrRainSettings s = TestFixture::defaults();
    s.density = 1.7f;
    s.dropLength = 0.0f;  // the streak blur leaves the layer as it is
    typename TestFixture::Proc p(s);
    TestFixture::render(p, source);

    // The same layer built step by step: highlights, then the configured
    // noise processor in place.
    const QrRainProcHighlight<S, TypeParam::kWhite> highlight(s.minThreshold, s.maxThreshold);
    auto layer =
        image<S>(90, 60, [&](int32_t x, int32_t y) { return highlight.lit(*source.pixelAtIndex(x, y)); });
    QrRGBNoiseProc<S, typename TypeParam::Work, TypeParam::kWhite> noise;
    noise.noiseMode = decltype(noise)::kMonochrome;
    noise.seed = int32_t(std::trunc(std::fabs(s.frame * 12541.0))) + s.seed;
    for (int c = 0; c < 4; ++c) {
        noise.minimum[c] = 0.0f;
        noise.maximum[c] = s.density;
    }
    noise.cutoff = 1.0f - s.density * 0.1f;
    noise.affectAlpha = true;
    noise.process(layer, layer);
    EXPECT_EQ(differingPixels(p.layer(), layer), 0);
}

TYPED_TEST(QrRainProcTest, StreaksRunAlongTheRainDirection)
{
    using S = typename TestFixture::S;
    // One light above the diffusion maximum in the middle of a black frame.
    const auto source = image<S>(61, 61, [](int32_t x, int32_t y) {
        return x == 30 && y == 30 ? pixel<S>(1, 1, 1, 1) : pixel<S>(1, 0, 0, 0);
    });
    const float pi = std::numbers::pi_v<float>;
    struct Row {
        float angle;
        int along[2], across[2];  // offsets that must and must not be lit
    };
    for (const Row& row :
        {Row {-pi / 2, {0, 1}, {1, 0}}, Row {0.0f, {1, 0}, {0, 1}}, Row {pi / 4, {1, 1}, {1, -1}}}) {
        QrRainSettings s = TestFixture::defaults();
        s.density = 0.0f;
        s.dropLength = 16.0f;
        s.angle = row.angle;
        typename TestFixture::Proc p(s);
        TestFixture::render(p, source);
        for (int d : {-5, 5}) {
            EXPECT_GT(double(p.layer().pixelAt(30 + d * row.along[0], 30 + d * row.along[1]).r()), 0.0)
                << "angle " << row.angle << " offset " << d;
            EXPECT_EQ(double(p.layer().pixelAt(30 + d * row.across[0], 30 + d * row.across[1]).r()), 0.0)
                << "angle " << row.angle << " offset " << d;
        }
    }
}

TYPED_TEST(QrRainProcTest, NegativeDropLengthTurnsTheStreakByHalfATurn)
{
    using S = typename TestFixture::S;
    const auto source = nightImage<S>(80, 80);
    QrRainSettings f = TestFixture::defaults(), t = f;
    f.angle = 0.4f;
    f.dropLength = 9.0f;
    t.angle = 0.4f + std::numbers::pi_v<float>;
    t.dropLength = -9.0f;
    typename TestFixture::Proc forward(f), turned(t);
    const auto a = TestFixture::render(forward, source);
    const auto b = TestFixture::render(turned, source);
    for (int32_t y = 0; y < 80; ++y)
        for (int32_t x = 0; x < 80; ++x)
            for (int c = 0; c < 4; ++c)
                ASSERT_NEAR(double(a.pixelAtIndex(x, y)->c[c]), double(b.pixelAtIndex(x, y)->c[c]),
                    S::kInteger ? 1.0 : 1e-4)
                    << x << "," << y;
}

TYPED_TEST(QrRainProcTest, EachFrameHasItsOwnDrops)
{
    using S = typename TestFixture::S;
    const auto black = filled(100, 60, pixel<S>(1, 0, 0, 0));
    auto drops = [&](int32_t frame, int32_t seed) {
        QrRainSettings s = TestFixture::defaults();
        s.frame = frame;
        s.seed = seed;
        s.density = 3.0f;
        s.dropLength = 0.0f;
        typename TestFixture::Proc p(s);
        return TestFixture::render(p, black);
    };
    const auto base = drops(4, 10);
    EXPECT_EQ(differingPixels(drops(4, 10), base), 0);
    // About 30 % of pixels hold a drop; unrelated patterns overlap on ~9 %.
    for (const auto& other : {drops(5, 10), drops(4, 11)})
        EXPECT_GT(differingPixels(other, base), 100 * 60 * 4 / 10);
    EXPECT_EQ(TestFixture::Proc::noiseSeed(-3, 8), TestFixture::Proc::noiseSeed(3, 8));
}

TYPED_TEST(QrRainProcTest, OnlyTheRegionIsWritten)
{
    using S = typename TestFixture::S;
    const auto source = nightImage<S>(64, 48);
    QrRainSettings s = TestFixture::defaults();
    s.density = 5.0f;
    s.region = QrRect {8, 6, 41, 31};
    typename TestFixture::Proc p(s);
    const auto out = TestFixture::render(p, source);
    const S untouched = pixel<S>(0.5, 0.5, 0.5, 0.5);
    int64_t changedInside = 0;
    for (int32_t y = 0; y < 48; ++y)
        for (int32_t x = 0; x < 64; ++x) {
            const bool inside = x >= 8 && x <= 40 && y >= 6 && y <= 30;
            if (!inside) {
                ASSERT_EQ(*out.pixelAtIndex(x, y), untouched) << x << "," << y;
            } else {
                changedInside += !(*out.pixelAtIndex(x, y) == untouched);
            }
        }
    EXPECT_GT(changedInside, 33 * 25 / 2);
}

TYPED_TEST(QrRainProcTest, HighlightsAreAddedToTheSource)
{
    using S = typename TestFixture::S;
    const double white = TestFixture::white;
    // A light between the thresholds on a dark ground, no drops, no streak.
    const auto source = filled(9, 9, pixel<S>(0.5, 0.92, 0.2, 0.0));
    QrRainSettings s = TestFixture::defaults();
    s.density = 0.0f;
    s.dropLength = 0.0f;
    s.intensity = 0.5f;
    typename TestFixture::Proc p(s);
    const auto out = TestFixture::render(p, source);
    const S& in = *source.pixelAtIndex(4, 4);
    const S& got = *out.pixelAtIndex(4, 4);
    const double m = double(in.r());
    const double ramp = white * (m - 0.9 * white) / (0.1 * white);  // brightest channel in the layer
    // Integer depths clamp the sum to white; float keeps it.
    auto stored = [&](double v) { return S::kInteger ? std::min(v, white) : v; };
    const double tolerance = S::kInteger ? 2.0 : 1e-3;
    EXPECT_NEAR(double(got.r()), stored(m + 0.5 * ramp), tolerance);
    EXPECT_NEAR(double(got.g()), stored(double(in.g()) * (1.0 + 0.5 * ramp / m)), tolerance);
    EXPECT_NEAR(double(got.a()), stored(double(in.a()) * (1.0 + 0.5 * ramp / m)), tolerance);
    EXPECT_EQ(double(got.b()), 0.0);
}

}  // namespace
