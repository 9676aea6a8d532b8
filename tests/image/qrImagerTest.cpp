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

// Over the rows 1..7 of a 6 x 9 image whose alpha at (i, j) is 10 j + i, a
// whole frame samples every row and a field every other one, each once,
// between the two hooks.
TEST(SamplerRun, HooksRunAroundTheBandsAndEveryRowOfTheFieldIsSampled)
{
    const Tex8 in = imageFrom<ARGB8>(6, 9, [](int32_t i, int32_t j) {
        return ARGB8 {{uint8_t(10 * j + i), 0, 0, 0}};
    });
    for (int32_t mode : {Imager::kWholeFrame, Imager::kEvenField, Imager::kOddField}) {
        SCOPED_TRACE("mode " + std::to_string(mode));
        Matte8 out = blackImage<Single8>(6, 9);
        AlphaSampler s;
        s.setFieldMode(mode);
        s.setRegion(0, 1, 5, 7);
        s.process(in, out);
        EXPECT_EQ(s.log, "begin;end;");
        auto sampled = [mode](int32_t j) {
            return j >= 1 && j <= 7 && (mode == Imager::kWholeFrame || j % 2 == (mode == Imager::kOddField));
        };
        EXPECT_EQ(s.rows.load(), mode == Imager::kWholeFrame ? 7 : mode == Imager::kOddField ? 4 : 3);
        expectPixels(
            out, [&](int32_t i, int32_t j) { return Single8 {{uint8_t(sampled(j) ? 10 * j + i : 0)}}; });
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
