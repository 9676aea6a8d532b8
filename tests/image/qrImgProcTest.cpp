// Processor regions, band walks over the output, the window stack, the
// general per-pixel pass and the single-colour filler.
#include "qrGeneralProc.h"
#include "qrIPWindowStack.h"
#include "qrImgFiller.h"
#include "qrImgProc1.h"
#include "qrImgProc2.h"
#include "qrTestImage.h"
#include "qrTexture.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

using namespace Quarn::Pixel;

namespace {

using Tex8 = QrTexture<ARGB8>;

// Adds 1 to the red channel of every pixel it is handed and remembers the
// coordinates, so the tests see exactly which pixels a run touched.
class VisitCounter : public QrImgProc1<Tex8> {
public:
    void processBand() override
    {
        const bool outputKnown = output() != nullptr && outputImage() == output();
        forEachBandRow([&](int32_t y, ARGB8* row, int32_t count) {
            std::lock_guard<std::mutex> lock(mutex_);
            seenOutput = outputKnown;
            for (int32_t k = 0; k < count; ++k) {
                ++row[k].r();
                visited.insert({region().x0 + k, y});
            }
        });
    }
    std::set<std::pair<int32_t, int32_t>> visited;
    bool seenOutput = false;

private:
    std::mutex mutex_;  // bands of one run share this object
};

std::set<std::pair<int32_t, int32_t>> rectangle(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    std::set<std::pair<int32_t, int32_t>> s;
    for (int32_t y = y0; y < y1; ++y)
        for (int32_t x = x0; x < x1; ++x)
            s.insert({x, y});
    return s;
}

TEST(ImgProcRegion, WithoutARegionTheDataWindowIsProcessed)
{
    Tex8 t = blackImage<ARGB8>(12, 9);
    t.setPlacement(100, 50);
    t.setWindow(2, 7, 1, 5);
    VisitCounter p;
    p.setMultiThreaded(false);
    p.process(&t);
    EXPECT_EQ(p.visited, rectangle(102, 51, 108, 56));
    EXPECT_EQ(t.pixelAtIndex(2, 1)->r(), 1);
    EXPECT_EQ(t.pixelAtIndex(7, 5)->r(), 1);
    EXPECT_TRUE(p.seenOutput);
}

// The region is set by inclusive corners, kept as set, copied whole from
// another processor, and fitted to the image by the region mode.
TEST(ImgProcRegion, RegionIsFittedToTheImageByItsMode)
{
    struct {
        const char* what;
        QrRegionMode mode;
        int32_t x0, y0, x1, y1;  // inclusive corners as set
        QrRect visited;
    } cases[] = {
        {"corners are inclusive", kRegionClamp, 2, 3, 4, 3, {2, 3, 5, 4}},
        {"clamp cuts the region to the image", kRegionClamp, -3, 6, 4, 20, {0, 6, 5, 8}},
        {"keep replaces only the offending axis", kRegionKeep, -3, 2, 4, 5, {0, 2, 10, 6}},
        {"keep keeps a region inside the image", kRegionKeep, 1, 2, 4, 5, {1, 2, 5, 6}},
        {"a region outside the image is empty", kRegionClamp, 20, 20, 30, 30, {}},
    };
    Tex8 t = blackImage<ARGB8>(10, 8);
    for (const auto& c : cases) {
        VisitCounter p, q;
        p.setRegion(c.x0, c.y0, c.x1, c.y1);
        q.copyRegion(p);
        q.setRegionMode(c.mode);
        q.process(t);
        int32_t x0, y0, x1, y1;
        p.getRegion(x0, y0, x1, y1);
        EXPECT_EQ(std::tuple(x0, y0, x1, y1), std::tuple(c.x0, c.y0, c.x1, c.y1)) << c.what;
        EXPECT_EQ(q.visited, rectangle(c.visited.x0, c.visited.y0, c.visited.x1, c.visited.y1)) << c.what;
        EXPECT_TRUE(c.visited.isEmpty() || q.region() == c.visited) << c.what;
    }
}

TEST(ImgProcRun, NullOutputAndInterruptedRunsTouchNothing)
{
    VisitCounter p;
    p.process(static_cast<Tex8*>(nullptr));
    EXPECT_TRUE(p.visited.empty());
    Tex8 t = blackImage<ARGB8>(4, 4);
    QrInterruptRecord record;
    record.interrupted = 1;
    VisitCounter q;
    q.setInterruptRecord(&record);
    q.process(t);
    EXPECT_TRUE(q.visited.empty());
    EXPECT_EQ(t.pixelAtIndex(0, 0)->r(), 0);
}

TEST(ImgProcRun, EveryRowIsProcessedOnceWhateverTheThreads)
{
    QrMultiProcessor::overrideProcessorCount(3);
    Tex8 t = blackImage<ARGB8>(5, 17);
    VisitCounter p;
    p.process(t);
    QrMultiProcessor::overrideProcessorCount(0);
    expectPixels(t, [](int32_t, int32_t) { return ARGB8 {{0, 1, 0, 0}}; });
}

// Copies its input into the output through the input's addressing.
class InputCopy : public QrImgProc2<Tex8> {
public:
    void processBand() override
    {
        forEachBandRow([this](int32_t y, ARGB8* out, int32_t) {
            input()->forEachRun(y, region().x0, region().x1, [&](const ARGB8* p, int32_t step, int32_t n) {
                for (int32_t k = 0; k < n; ++k, p += step)
                    *out++ = *p;
            });
        });
    }
};

TEST(ImgProcRun, SecondImageIsReadThroughItsOwnAddressing)
{
    Tex8 in = imageFrom<ARGB8>(4, 3, [](int32_t i, int32_t j) {
        return ARGB8 {{255, uint8_t(i), uint8_t(j), 0}};
    });
    in.setEdgeMethods(kEdgeWrap, kEdgeRepeat);
    in.setOrigin(int32_t(1), int32_t(0));
    Tex8 out = blackImage<ARGB8>(9, 5);
    InputCopy p;
    p.process(in, out);
    expectPixels(out, [&](int32_t x, int32_t y) { return in.pixelAt(x, y); });
}

// A filler that writes its row and column into each pixel.
class CoordinateFiller : public QrImgFiller<ARGB8, ARGBW255> {
public:
    void fillRow(ARGB8* row, int32_t y, int32_t x0, int32_t count) const override
    {
        for (int32_t k = 0; k < count; ++k)
            row[k] = ARGB8 {{1, uint8_t(x0 + k), uint8_t(y), 0}};
    }
};

TEST(ImgProcWindowStack, SavesTenRegionsAndRestoresThemInReverse)
{
    CoordinateFiller f;
    f.setRegion(0, 0, 1, 1);
    for (int32_t k = 0; k < QrIPWindowStack::kCapacity; ++k)
        EXPECT_TRUE(f.pushWindow(k, k, k + 2, k + 2)) << "push " << k;
    EXPECT_FALSE(f.pushWindow()) << "an eleventh region was accepted";
    EXPECT_FALSE(f.pushWindow(5, 5, 6, 6));
    int32_t x0, y0, x1, y1;
    f.getRegion(x0, y0, x1, y1);
    EXPECT_EQ(x0, 9) << "a refused push must not change the region";
    for (int32_t k = QrIPWindowStack::kCapacity - 1; k >= 0; --k) {
        EXPECT_TRUE(f.popWindow());
        f.getRegion(x0, y0, x1, y1);
        EXPECT_EQ(x0, k > 0 ? k - 1 : 0);
        EXPECT_EQ(x1, k > 0 ? k + 1 : 1);
    }
    EXPECT_FALSE(f.popWindow());
    EXPECT_EQ(f.storedWindows(), 0);
}

TEST(ImgProcWindowStack, FillerFillsEachPushedRectangle)
{
    Tex8 t = blackImage<ARGB8>(8, 8);
    CoordinateFiller f;
    f.pushWindow(1, 1, 2, 2);
    f.process(t);
    f.popWindow();
    f.pushWindow(5, 6, 7, 6);
    f.process(t);
    expectPixels(t, [](int32_t x, int32_t y) {
        const bool inside = (x >= 1 && x <= 2 && y >= 1 && y <= 2) || (x >= 5 && y == 6);
        return inside ? ARGB8 {{1, uint8_t(x), uint8_t(y), 0}} : ARGB8::black();
    });
}

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
