// The highlight pass decides which parts of the picture glow in the rain. A
// wrong ramp makes night scenes too dark or floods them with light, so the
// ramp is checked at and around both thresholds at every depth.
#include "proc/qrRainProcHighlight.h"
#include "qrDepth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

template <class D> class QrRainProcHighlightTest : public ::testing::Test {
protected:
    using S = typename D::Storage;
    using C = typename S::Component;
    static constexpr double white = D::kWhite;
    // Truncation of the integer depths loses up to one unit.
    static constexpr double kTolerance = S::kInteger ? 1.0 : 1e-5;

    static S pixel(double a, double r, double g, double b)
    {
        S p;
        p.c[S::kAlpha] = C(a * white);
        p.c[S::kRed] = C(r * white);
        p.c[S::kGreen] = C(g * white);
        p.c[S::kBlue] = C(b * white);
        return p;
    }
    static S lit(const S& p, double minFraction, double maxFraction)
    {
        const QrRainProcHighlight<S, D::kWhite> h(float(minFraction * white), float(maxFraction * white));
        return h.lit(p);
    }
};

using Depths = ::testing::Types<QrDepth8, QrDepth16, QrDepthF>;
TYPED_TEST_SUITE(QrRainProcHighlightTest, Depths);

TYPED_TEST(QrRainProcHighlightTest, BrightestChannelFollowsTheRampBetweenThresholds)
{
    using S = typename TestFixture::S;
    const double white = TestFixture::white;
    struct Row {
        double minT, maxT, m;
    };
    for (const Row& row :
        {Row {0.5, 1.0, 0.75}, Row {0.2, 0.6, 0.3}, Row {0.0, 1.0, 0.4}, Row {0.9, 1.0, 0.95}}) {
        const S p = TestFixture::pixel(1.0, row.m, row.m * 0.5, row.m * 0.25);
        const S out = TestFixture::lit(p, row.minT, row.maxT);
        // The expected ramp, from the stored channel values.
        const double m = double(p.r());
        const double minW = float(row.minT * white), maxW = float(row.maxT * white);
        const double brightest = white * (m - minW) / (maxW - minW);
        EXPECT_NEAR(double(out.r()), brightest, TestFixture::kTolerance)
            << row.minT << ".." << row.maxT << " m " << row.m;
        // The colour keeps its proportions and alpha takes the same factor.
        const double s = brightest / m;
        EXPECT_NEAR(double(out.g()), double(p.g()) * s, TestFixture::kTolerance);
        EXPECT_NEAR(double(out.b()), double(p.b()) * s, TestFixture::kTolerance);
        EXPECT_NEAR(double(out.a()), std::min(white, double(p.a()) * s), TestFixture::kTolerance);
    }
}

TYPED_TEST(QrRainProcHighlightTest, PixelAtOrBelowTheMinimumStaysOutOfTheLayer)
{
    using S = typename TestFixture::S;
    const S empty {};
    for (double m : {0.0, 0.2, 0.5}) {
        const S p = TestFixture::pixel(1.0, m * 0.3, m, m * 0.9);
        EXPECT_EQ(TestFixture::lit(p, 0.5, 0.9), empty) << "brightest " << m;
    }
    // Exactly at the minimum: "at most" counts as not above it.
    S p = TestFixture::pixel(1.0, 0.1, 0.1, 0.1);
    const double minFraction = double(p.r()) / TestFixture::white;
    EXPECT_EQ(TestFixture::lit(p, minFraction, 0.9), empty);
}

TYPED_TEST(QrRainProcHighlightTest, PixelAtOrAboveTheMaximumBecomesWhite)
{
    using S = typename TestFixture::S;
    const double white = TestFixture::white;
    for (double m : {0.8, 0.85, 0.93, 1.0}) {
        const S p = TestFixture::pixel(0.5, m * 0.5, m * 0.25, m);
        const S out = TestFixture::lit(p, 0.4, 0.8);
        EXPECT_NEAR(double(out.b()), white, TestFixture::kTolerance) << "brightest " << m;
        EXPECT_NEAR(double(out.r()), double(p.r()) * white / double(p.b()), TestFixture::kTolerance);
    }
}

TYPED_TEST(QrRainProcHighlightTest, MinimumAboveMaximumKeepsOnlyTheSaturatedPart)
{
    using S = typename TestFixture::S;
    const double white = TestFixture::white;
    const S empty {};
    // Between the thresholds and below both: nothing (a single level decides).
    EXPECT_EQ(TestFixture::lit(TestFixture::pixel(1, 0.3, 0.3, 0.3), 0.7, 0.4), empty);
    EXPECT_EQ(TestFixture::lit(TestFixture::pixel(1, 0.4, 0.1, 0.1), 0.7, 0.4 + 1e-3), empty);
    // Above the maximum: normalised to white, even below the minimum.
    for (double m : {0.5, 0.69, 0.9}) {
        const S out = TestFixture::lit(TestFixture::pixel(1, m, 0.1, 0.1), 0.7, 0.4);
        EXPECT_NEAR(double(out.r()), white, TestFixture::kTolerance) << "brightest " << m;
    }
}

TYPED_TEST(QrRainProcHighlightTest, RampNeverDecreasesAndStaysInRange)
{
    using S = typename TestFixture::S;
    const double white = TestFixture::white;
    double previous = -1.0;
    for (int step = 0; step <= 400; ++step) {
        const double m = step / 400.0;
        const S out = TestFixture::lit(TestFixture::pixel(1, m, m * 0.5, 0), 0.3, 0.7);
        const double brightest = double(out.r());
        EXPECT_GE(brightest, previous - TestFixture::kTolerance) << "brightest " << m;
        EXPECT_GE(brightest, 0.0);
        EXPECT_LE(brightest, white + 1e-6 * white);
        previous = brightest;
    }
}

TYPED_TEST(QrRainProcHighlightTest, RunsRepeatAndReverseTheirSource)
{
    using S = typename TestFixture::S;
    const QrRainProcHighlight<S, TypeParam::kWhite> h(
        float(0.2 * TestFixture::white), float(0.8 * TestFixture::white));
    const S src[3] = {TestFixture::pixel(1, 0.9, 0, 0), TestFixture::pixel(1, 0.5, 0.5, 0),
        TestFixture::pixel(0.5, 0.1, 0.1, 0.3)};
    S forward[3], backward[3], repeated[4];
    h.run(src, 1, 3, forward);
    h.run(src + 2, -1, 3, backward);
    h.run(src + 1, 0, 4, repeated);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(forward[k], h.lit(src[k]));
        EXPECT_EQ(backward[k], h.lit(src[2 - k]));
    }
    for (const S& p : repeated)
        EXPECT_EQ(p, h.lit(src[1]));
}

}  // namespace
