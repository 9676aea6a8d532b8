// Samplers and combiners: which rows they visit (fields included), the
// order of their hooks, and the general combiner's per-pixel rule.
#include "qrGeneralCombiner.h"
#include "qrSampler.h"
#include "qrTestImage.h"
#include "qrTexture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

using namespace Quarn::Pixel;

namespace {

using Tex8 = QrTexture<ARGB8>;
using Matte8 = QrTexture<Single8>;

TEST(ImagerFields, FieldRowsRoundToTheirParity)
{
    struct Case {
        int32_t mode, y, row;
    };
    const Case cases[] = {
        {Imager::kWholeFrame, 5, 5},
        {Imager::kEvenField, 4, 4},
        {Imager::kEvenField, 5, 6},
        {Imager::kEvenField, -3, -2},
        {Imager::kOddField, 4, 5},
        {Imager::kOddField, 5, 5},
        {Imager::kOddField, -4, -3},
        {Imager::kOddField, -3, -3},
    };
    Imager imager;
    for (const Case& c : cases) {
        imager.setFieldMode(c.mode);
        EXPECT_EQ(imager.fieldRow(c.y), c.row) << "mode " << c.mode << " row " << c.y;
        EXPECT_EQ(imager.rowStep(), c.mode == Imager::kWholeFrame ? 1 : 2);
    }
}

// Writes the alpha of each input pixel into the matte and logs its hooks.
class AlphaSampler : public Sampler<Tex8, Matte8> {
public:
    void beginSample(const Tex8&, Matte8&) override { log += "begin;"; }
    void sampleRow(const Tex8& in, Matte8& out, int32_t y, int32_t x0, int32_t x1) override
    {
        ++rows;
        for (int32_t x = x0; x < x1; ++x)
            out.placedPixel(x, y)->c[0] = in.pixelAt(x, y).a();
    }
    void endSample(const Tex8&, Matte8&) override { log += "end;"; }
    std::string log;
    std::atomic<int> rows {0};
};

// The alpha of pixel (i, j) is 10 j + i.
Tex8 source(int32_t w, int32_t h)
{
    return imageFrom<ARGB8>(w, h, [](int32_t i, int32_t j) {
        return ARGB8 {{uint8_t(10 * j + i), 0, 0, 0}};
    });
}

TEST(SamplerRun, HooksRunAroundTheBandsAndEveryRowIsSampled)
{
    const Tex8 in = source(6, 9);
    Matte8 out = blackImage<Single8>(6, 9);
    AlphaSampler s;
    s.process(in, out);
    EXPECT_EQ(s.log, "begin;end;");
    EXPECT_EQ(s.rows.load(), 9);
    expectPixels(out, [](int32_t i, int32_t j) { return Single8 {{uint8_t(10 * j + i)}}; });
}

TEST(SamplerRun, AFieldSamplesEveryOtherRowOfTheRegion)
{
    for (int32_t mode : {Imager::kEvenField, Imager::kOddField}) {
        const Tex8 in = source(4, 9);
        Matte8 out = blackImage<Single8>(4, 9);
        AlphaSampler s;
        s.setFieldMode(mode);
        s.setRegion(0, 1, 3, 7);
        s.process(in, out);
        for (int32_t j = 0; j < 9; ++j) {
            const bool inField = j >= 1 && j <= 7 && (j % 2 == (mode == Imager::kOddField ? 1 : 0));
            EXPECT_EQ(out.pixelAtIndex(2, j)->c[0], inField ? 10 * j + 2 : 0)
                << "mode " << mode << " row " << j;
        }
    }
}

struct Difference {
    ARGBWF operator()(const ARGBWF& a, const ARGBWF& b) const { return a - b; }
};

TEST(CombinerRun, GeneralCombinerAppliesItsRuleToEdgeAddressedInputs)
{
    using TexF = QrTexture<ARGBF>;
    const TexF a =
        imageFrom<ARGBF>(5, 4, [](int32_t i, int32_t j) { return ARGBF::filled(float(i + 10 * j)); });
    TexF b = imageFrom<ARGBF>(3, 2, [](int32_t i, int32_t j) { return ARGBF::filled(0.5f * float(i + j)); });
    TexF out = TexF::allocate(5, 4);
    b.setEdgeColour(ARGBF::filled(-100.0f));
    GeneralCombiner<TexF, TexF, TexF, Difference> c;
    c.process(a, b, out);
    expectPixels(out, [](int32_t i, int32_t j) {
        return ARGBF::filled(float(i + 10 * j) - (i < 3 && j < 2 ? 0.5f * float(i + j) : -100.0f));
    });
}

}  // namespace
