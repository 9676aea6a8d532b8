// The rain processor against a slow pixel-by-pixel reference of its
// highlight pass, drop noise and rain pass. The streak blur is either left
// out (a drop length too short to move anything) or run, as the product's
// own blur, on the reference layer between the reference stages, so that a
// failure here points at the highlights, the drops or the combination: a
// threshold compared the wrong way, a scale rounded differently, a drop seed
// that wraps differently, a matte or intensity applied in another order.
#include "proc/qrRainProcImpl.h"
#include "qrRainTestImages.h"
#include "qrReferenceRain.h"
#include "blur/qrSimpleLinearBlur.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

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

template <class D> class QrReferenceRainProc : public ::testing::Test {
protected:
    using S = typename D::Storage;
    using M = typename D::MatteStorage;
    using Proc = QrRainProc<D>;
    static constexpr float white = float(D::kWhite);

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
            SimpleLinearBlur<S, typename D::Work> blur(std::sqrt(dx * dx + dy * dy), std::atan2(dy, dx));
            blur.pixelAspect = std::max(aspect, 0.001f);
            blur.inversePixelAspect = 1.0f / blur.pixelAspect;
            blur.quality = 1;
            blur.thirds = true;
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

TYPED_TEST_SUITE(QrReferenceRainProc, Depths);

// Without streaks; a drop length below 0.03 must leave the layer exactly as
// it is.
TYPED_TEST(QrReferenceRainProc, WithoutStreaksEqualsTheReference)
{
    for (const RainCase& c : kRainCases) {
        for (auto [w, h] : {std::pair {1, 1}, {9, 7}, {37, 23}})
            for (int matteKind : {0, 1, 2})
                for (bool edged : {false, true})
                    TestFixture::compare(c, w, h, 0.0f, 0.0f, edged, matteKind, matteKind == 1, false);
        TestFixture::compare(c, 19, 11, 0.02f, 0.7f, true, 1, false, false);
    }
}

TYPED_TEST(QrReferenceRainProc, WithStreaksBetweenTheStagesEqualsTheReference)
{
    // Length, angle and pixel aspect; the last aspect is below the smallest
    // the blur may be given.
    for (const RainCase& c : kRainCases)
        for (auto [length, angle, aspect] : {std::tuple {5.5f, 1.1f, 1.0f}, {-7.0f, 0.3f, 0.5f},
                 {12.0f, -1.5707964f, 1.0f}, {6.0f, 2.5f, 0.0001f}})
            for (bool window : {false, true})
                TestFixture::compare(c, 29, 21, length, angle, true, window ? 2 : 0, window, true, aspect);
}

}  // namespace
