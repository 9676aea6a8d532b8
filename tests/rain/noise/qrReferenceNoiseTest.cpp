// The noise processor's monochrome mode against a slow pixel-by-pixel
// reference. A failure means a drop value that differs from the defined
// noise somewhere: a wrong hash or key, a cut-off that silences
// or keeps the wrong values, a response lookup at the wrong brightness, or
// clamping and truncation that differ in the last storage value.
#include "noise/qrNoiseMonoKernel.h"
#include "noise/qrRGBNoiseProc.h"
#include "qrRainTestImages.h"
#include "qrReferenceRain.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

using namespace QrReference;
using namespace QrRainTest;

// Hashes the kernel declares silent (so that the noise loop skips them) must
// give exactly 0 by the reference arithmetic: a wrong interval would drop or
// invent the faintest drops.
TEST(QrReferenceNoiseKernel, HashesSkippedAsSilentGiveNoNoise)
{
    struct Setting {
        float lo, hi, cutoff, white;
    };
    std::vector<Setting> settings;
    for (float white : {255.0f, 32768.0f, 1.0f})
        for (float density : {0.001f, 0.6f, 1.7f, 5.0f, 9.99f}) {
            settings.push_back({0.0f, density, 1.0f - density * 0.1f, white});
        }
    settings.push_back({-0.3f, 0.1f, 0.5f, 255.0f});
    settings.push_back({-0.05f, 0.05f, 0.2f, 32768.0f});
    settings.push_back({-1.0f, 1.0f, 0.9f, 1.0f});
    for (const Setting& s : settings) {
        const float lo[3] = {s.lo, s.lo, s.lo}, hi[3] = {s.hi, s.hi, s.hi};
        const QrNoiseMonoKernel kernel = QrNoiseMonoKernel::make(lo, hi, s.cutoff, s.white);
        MonoNoise n;
        for (int c = 0; c < 3; ++c)
            n.minimum[c] = s.lo, n.maximum[c] = s.hi;
        n.cutoff = s.cutoff;
        const MonoValue value = MonoValue::make(n, s.white);

        std::vector<int64_t> probes;
        for (int64_t edge : {int64_t(kernel.quietFirst), int64_t(kernel.quietLast)})
            for (int64_t d = -3000; d <= 3000; ++d)
                probes.push_back(edge + d);
        for (int64_t h = 0; h < (int64_t(1) << 31); h += 65521)
            probes.push_back(h);
        for (int64_t h : probes) {
            if (h < 0 || h > INT_MAX)
                continue;
            const float expected = value(int32_t(h));
            if (kernel.isQuiet(int32_t(h)))
                ASSERT_EQ(expected, 0.0f) << "hash " << h << " white " << s.white << " range " << s.lo << ".."
                                          << s.hi << " cutoff " << s.cutoff;
            else
                ASSERT_EQ(kernel.cut(kernel.rawFromHash(int32_t(h))), expected) << "hash " << h;
        }
    }
}

// One configuration of the monochrome noise processor.
struct NoiseCase {
    const char* name;
    float minimum[3], maximum[3];
    float alphaMin, alphaMax;  // ignored by monochrome noise
    float cutoff;
    bool affectAlpha;
    bool response;
    int32_t seed;
};

const NoiseCase kNoiseCases[] = {
    {"defaults", {-0.05f, -0.05f, -0.05f}, {0.05f, 0.05f, 0.05f}, -0.05f, 0.05f, 0.0f, false, false, 0},
    {"drops-like", {0, 0, 0}, {1.7f, 1.7f, 1.7f}, 0, 1.7f, 0.83f, true, false, 94105},
    {"one-tenth", {0, 0, 0}, {1, 1, 1}, 0, 1, 0.9f, false, false, 4242},
    {"lopsided", {-0.3f, -0.3f, -0.3f}, {0.1f, 0.1f, 0.1f}, -0.3f, 0.1f, 0.5f, true, false, -123456789},
    {"unequal channels", {-0.2f, 0, 0.1f}, {0.3f, 0.5f, 0.05f}, 0.7f, 0.9f, 0.25f, false, false, 17},
    {"negative cut-off", {-0.1f, -0.1f, -0.1f}, {0.2f, 0.2f, 0.2f}, 0, 0, -0.5f, true, false, INT_MAX},
    {"reversed range", {0.2f, 0.2f, 0.2f}, {-0.1f, -0.1f, -0.1f}, 0, 0, 0.4f, true, false, 5},
    {"wide and clamped", {-2, -2, -2}, {3, 3, 3}, 0, 0, 0.1f, true, false, INT_MIN},
    {"response", {-0.4f, -0.4f, -0.4f}, {0.6f, 0.6f, 0.6f}, 0, 0, 0.3f, true, true, 8},
    {"response, no cut", {0, 0, 0}, {0.5f, 0.5f, 0.5f}, 0, 0, 0.0f, false, true, 99},
    {"no noise at cut-off 1", {-1, -1, -1}, {1, 1, 1}, 0, 0, 1.0f, true, false, 3},
    {"no noise above cut-off 1", {-1, -1, -1}, {1, 1, 1}, 0, 0, 1.5f, true, false, 3},
};

template <class D> class QrReferenceNoise : public ::testing::Test {
protected:
    using S = typename D::Storage;
    using Proc = QrRGBNoiseProc<S, typename D::Work, D::kWhite>;

    static std::vector<float> responseTable()
    {
        std::vector<float> table(766);
        for (int i = 0; i < 766; ++i)
            table[i] = 2.0f * unit(hash(i + 31));
        return table;
    }

    static void configure(Proc& p, MonoNoise& r, const NoiseCase& c, const float* table)
    {
        p.noiseMode = Proc::kMonochrome;
        p.seed = r.seed = c.seed;
        p.cutoff = r.cutoff = c.cutoff;
        p.affectAlpha = r.affectAlpha = c.affectAlpha;
        p.responseTable = r.responseTable = c.response ? table : nullptr;
        for (int k = 0; k < 3; ++k) {
            p.minimum[k] = r.minimum[k] = c.minimum[k];
            p.maximum[k] = r.maximum[k] = c.maximum[k];
        }
        p.minimum[3] = r.minimum[3] = c.alphaMin;
        p.maximum[3] = r.maximum[3] = c.alphaMax;
    }
};

TYPED_TEST_SUITE(QrReferenceNoise, Depths);

// In place over whole images and windows, and from a source read through its
// own addressing: shifted, cropped and mirrored against the output, which
// starts with other content.
TYPED_TEST(QrReferenceNoise, MonochromeNoiseEqualsTheReference)
{
    using S = typename TestFixture::S;
    const float white = float(TypeParam::kWhite);
    const std::vector<float> table = TestFixture::responseTable();
    auto check = [&](const NoiseCase& c, const QrTexture<S>* source, const QrTexture<S>& start,
                     const QrRect& region, bool window, const std::string& where) {
        auto expected = copyOf(start), got = copyOf(start);
        typename TestFixture::Proc proc;
        MonoNoise ref;
        TestFixture::configure(proc, ref, c, table.data());
        if (window)
            proc.setRegion(region.x0, region.y0, region.x1 - 1, region.y1 - 1);
        monoNoise(source ? *source : expected, expected, region, ref);
        proc.process(source ? *source : got, got);
        EXPECT_EQ(differences(expected, got), "") << c.name << ", " << where;
    };
    for (const NoiseCase& c : kNoiseCases) {
        for (auto [w, h] : {std::pair {1, 1}, {7, 5}, {41, 19}}) {
            const auto start = picture<S>(w, h, 3, 0.4f * white, 0.8f * white);
            check(c, nullptr, start, {0, 0, w, h}, false, std::to_string(w) + "x" + std::to_string(h));
            if (w > 2 && h > 2)
                check(c, nullptr, start, {1, 2, w - 1, h}, true,
                    std::to_string(w) + "x" + std::to_string(h) + ", window");
        }
        auto source = picture<S>(13, 9, 11, 0.3f * white, 0.7f * white);
        source.setOrigin(2, -1);
        source.setCrop(1, 10, 1, 7);
        source.setEdgeMethods(2, 3);  // reflect in x, wrap in y
        const auto start = picture<S>(23, 14, 12, 0.3f * white, 0.7f * white);
        check(c, &source, start, {0, 0, 23, 14}, false, "edge-addressed source");
    }
}

}  // namespace
