// The general per-pixel pass and the single-colour filler.
#include "qrGeneralProc.h"
#include "qrImgFiller.h"
#include "qrTestImage.h"
#include "qrTexture.h"

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

using namespace Quarn::Pixel;

namespace {

// Replaces each value v by `value - v` and records the bands it was given.
template <class S, class W> class Inverter : public QrGeneralProc<S, W> {
public:
    explicit Inverter(float value) : value_(value) { }
    void generalPixel(W& p) const override { p[0] = value_ - p[0]; }
    void generalBand(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        bands.push_back({x0, y0, x1, y1});
    }
    mutable std::vector<QrRect> bands;

private:
    float value_;
    mutable std::mutex mutex_;
};

TEST(GeneralProc, EveryPixelOfTheRegionIsRewrittenAndStored)
{
    auto m =
        imageFrom<Single16>(7, 5, [](int32_t i, int32_t j) { return Single16 {{uint16_t(1000 * i + j)}}; });
    Inverter<Single16, SingleW32768> invert(32768.0f);
    invert.setRegion(1, 0, 5, 3);
    invert.process(m);
    expectPixels(m, [](int32_t i, int32_t j) {
        return Single16 {{uint16_t((i >= 1 && i <= 5 && j <= 3) ? 32768 - (1000 * i + j) : 1000 * i + j)}};
    });
    int32_t rows = 0;
    for (const QrRect& band : invert.bands) {
        EXPECT_EQ(band.x0, 1);
        EXPECT_EQ(band.x1, 6);
        rows += band.height();
    }
    EXPECT_EQ(rows, 4) << "the band hook must see each region row once";
}

TEST(GeneralProc, FloatMattesAreNotClamped)
{
    auto m = imageFrom<SingleF>(2, 1, [](int32_t i, int32_t) { return SingleF {{i ? 0.25f : 1.5f}}; });
    Inverter<SingleF, SingleWF>(1.0f).process(m);
    expectPixels(m, [](int32_t i, int32_t) { return SingleF {{i ? 0.75f : -0.5f}}; });
}

TEST(ColouredFrame, ColourIsRescaledFromItsOwnWhiteToTheImage)
{
    auto t8 = QrTexture<ARGB8>::allocate(3, 2);
    ColouredFrameGenerator<ARGB8, ARGBW255, 1> unitScale(ARGBW255 {{1.0f, 0.5f, 0.0f, 0.25f}});
    unitScale.process(t8);
    expectPixels(t8, [](int32_t, int32_t) { return ARGB8 {{255, 127, 0, 63}}; });

    auto tf = QrTexture<ARGBF>::allocate(2, 2);
    ColouredFrameGenerator<ARGBF, ARGBWF, 255> byteScale(ARGBWF {{255.0f, 51.0f, 0.0f, 510.0f}});
    byteScale.setRegion(1, 0, 1, 1);
    *tf.pixelAtIndex(0, 0) = ARGBF::black();
    byteScale.process(tf);
    EXPECT_FLOAT_EQ(tf.pixelAtIndex(1, 1)->r(), 0.2f);
    EXPECT_FLOAT_EQ(tf.pixelAtIndex(1, 0)->b(), 2.0f) << "float images keep values above white";
    EXPECT_EQ(*tf.pixelAtIndex(0, 0), ARGBF::black()) << "outside the region nothing changes";
}

}  // namespace
