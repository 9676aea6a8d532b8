// One filter instance end to end: parameters reach the rain effect, frames
// come back with rain that follows time, density and "Process".
#include "qrFrei0rFilter.h"
#include "qrFrei0rTestFrames.h"

#include <gtest/gtest.h>

#include <numbers>

using namespace QrFrei0rTest;
using Quarn::Frei0r::Filter;
using Quarn::Frei0r::findFilterParam;

namespace {

constexpr int kW = 96, kH = 64;

int indexOf(const char* name)
{
    const int index = findFilterParam(name);
    EXPECT_GE(index, 0) << name;
    return index;
}

Frame render(Filter& filter, const Frame& in, double seconds)
{
    Frame out(in.size(), 0x12345678u);
    filter.update(seconds, in.data(), out.data());
    return out;
}

// The effect's own values, as its parameter set holds them.
double scaleOf(Filter& f, const char* key)
{
    return f.effect().getScaleParam(key, 0).value();
}
int intOf(Filter& f, const char* key)
{
    return f.effect().getIntParam(key, 0);
}

}  // namespace

TEST(Frei0rFilterParams, ValuesReadBackAsSetAndReachTheEffectMappedAndWrongOnesAreIgnored)
{
    Filter filter(kW, kH);
    filter.setNumber(indexOf("density"), 0.35);
    filter.setNumber(indexOf("seed"), 0.5);
    filter.setNumber(indexOf("direction"), 0.5);
    filter.setText(indexOf("blend_method"), "linear dodge");
    EXPECT_EQ(filter.number(indexOf("density")), 0.35);
    EXPECT_EQ(filter.number(indexOf("seed")), 0.5);
    EXPECT_STREQ(filter.text(indexOf("blend_method")), "linear dodge");
    EXPECT_DOUBLE_EQ(scaleOf(filter, "density"), 0.35);
    EXPECT_EQ(intOf(filter, "seed"), 51);
    EXPECT_EQ(intOf(filter, "blendMethod"), 11);
    EXPECT_NEAR(filter.effect().getAngleParam("angle", 0).value(), 0.0, 1e-12);

    // An unknown entry keeps the previous choice.
    filter.setText(indexOf("matte"), "Source Alpha");
    filter.setText(indexOf("matte"), "Matte Layer Alpha");
    filter.setText(indexOf("matte"), nullptr);
    EXPECT_STREQ(filter.text(indexOf("matte")), "Source Alpha");
    EXPECT_EQ(intOf(filter, "matteChannel"), 3);

    // Wrong kinds and indices change nothing.
    const int density = indexOf("density"), process = indexOf("process");
    filter.setText(density, "0.9");
    filter.setNumber(process, 1.0);
    filter.setNumber(-1, 1.0);
    filter.setNumber(Quarn::Frei0r::kFilterParamCount, 1.0);
    EXPECT_DOUBLE_EQ(scaleOf(filter, "density"), 0.35);
    EXPECT_STREQ(filter.text(process), "RGB");
    EXPECT_EQ(filter.number(process), 0.0);
    EXPECT_STREQ(filter.text(density), "");
}

TEST(Frei0rFilterRender, TheSameTimeGivesTheSamePictureAndNewFramesOrCallsNewDrops)
{
    Filter filter(kW, kH);
    const Frame in = nightFrame(kW, kH);
    const Frame first = render(filter, in, 0.08);
    EXPECT_EQ(differingPixels(render(filter, in, 0.08), first), 0);
    // Within one pattern frame (1/25 s) the drops stay; a frame later they move.
    EXPECT_EQ(differingPixels(render(filter, in, 0.09), first), 0);
    EXPECT_GT(differingPixels(render(filter, in, 0.12), first), 0);
    // A fresh instance draws the same rain: nothing depends on history.
    Filter other(kW, kH);
    EXPECT_EQ(differingPixels(render(other, in, 0.08), first), 0);

    // Without a usable time each frame gets new drops, in a repeatable order.
    const double undefinedTime = -3.6893488147419103e+20;
    Filter counting(kW, kH), again(kW, kH);
    const Frame a0 = render(counting, in, undefinedTime), a1 = render(counting, in, undefinedTime);
    EXPECT_GT(differingPixels(a0, a1), 0);
    EXPECT_EQ(differingPixels(render(again, in, undefinedTime), a0), 0);
    EXPECT_EQ(differingPixels(render(again, in, undefinedTime), a1), 0);
}

TEST(Frei0rFilterRender, DefaultsRainVisiblyAndMoreDensityMeansMoreRain)
{
    const Frame in = nightFrame(kW, kH);
    Filter light(kW, kH), heavy(kW, kH);
    light.setNumber(indexOf("density"), 0.1);
    heavy.setNumber(indexOf("density"), 1.0);
    const int lightRain = differingPixels(render(light, in, 0.0), in, 4);
    const int heavyRain = differingPixels(render(heavy, in, 0.0), in, 4);
    EXPECT_GT(heavyRain, lightRain + lightRain / 4);
    Filter defaults(kW, kH);  // the defaults put visible rain on the frame
    EXPECT_GT(differingPixels(render(defaults, in, 0.0), in, 8), kW * kH / 50);
}

TEST(Frei0rFilterRender, ZeroIntensityWithoutBlendGivesTheFrameBackAndProcessRgbKeepsItsAlpha)
{
    Filter filter(kW, kH);
    filter.setNumber(indexOf("intensity"), 0.0);
    filter.setText(indexOf("blend_method"), "None");
    const Frame night = nightFrame(kW, kH);
    EXPECT_TRUE(render(filter, night, 0.0) == night);
    filter.setNumber(indexOf("intensity"), 5.0);
    const Frame in = gradientFrame(kW, kH);
    const Frame out = render(filter, in, 0.0);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            ASSERT_EQ(pixelBytes(out, kW, x, y)[3], pixelBytes(in, kW, x, y)[3]) << x << "," << y;
    // Some hosts hand the same buffer as input and output.
    Frame shared = in;
    filter.update(0.0, shared.data(), shared.data());
    EXPECT_TRUE(shared == out) << "rendering over the input frame";
}

namespace {

// The shift (dx, dy), within +-`reach`, that lines up the most lit pixels of
// `a` with lit pixels of `b` (dy counts down the picture).
std::pair<int, int> bestShift(const Frame& a, const Frame& b, int reach)
{
    std::pair<int, int> best {0, 0};
    long bestScore = -1;
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx) {
            long score = 0;
            for (int y = reach; y < kH - reach; ++y)
                for (int x = reach; x < kW - reach; ++x) {
                    const int pa = pixelBytes(a, kW, x, y)[0], pb = pixelBytes(b, kW, x + dx, y + dy)[0];
                    score += long(pa) * long(pb);
                }
            if (score > bestScore) {
                bestScore = score;
                best = {dx, dy};
            }
        }
    return best;
}

}  // namespace

TEST(Frei0rFilterMotion, DropsTravelAcrossThePictureAlongTheRainDirection)
{
    struct Row {
        double direction;  // frei0r value: degrees = value x 360 - 180
        double speed;  // frei0r value: 1.0 = 100 pixels per frame
        std::pair<int, int> shift;  // expected per frame, dy down the picture
    };
    const Frame black(std::size_t(kW) * kH, 0xFF000000u);
    for (const Row& r : {Row {0.25, 0.06, {0, 6}}, Row {0.5, 0.04, {-4, 0}}, Row {0.75, 0.05, {0, -5}}}) {
        Filter filter(kW, kH);
        filter.setNumber(indexOf("drop_length"), 0.0);
        filter.setNumber(indexOf("intensity"), 3.0);
        filter.setNumber(indexOf("direction"), r.direction);
        filter.setNumber(indexOf("fall_speed"), r.speed);
        const Frame a = render(filter, black, 0.4), b = render(filter, black, 0.44);
        EXPECT_EQ(bestShift(a, b, 8), r.shift) << "direction " << r.direction;
    }
}

TEST(Frei0rFilterMotion, AFrameRenderedAloneEqualsTheSameFrameOfASequence)
{
    auto moving = [](Filter& f) {
        f.setNumber(indexOf("fall_speed"), 0.08);
        f.setNumber(indexOf("wind_variation"), 0.3);
        f.setNumber(indexOf("gust_rate"), 0.4);
        f.setNumber(indexOf("depth_layers"), 0.67);
    };
    const Frame in = nightFrame(kW, kH);
    Filter sequence(kW, kH);
    moving(sequence);
    Frame inSequence;
    for (int frame = 0; frame <= 60; ++frame) {
        Frame out = render(sequence, in, frame / 25.0);
        if (frame == 57)
            inSequence = out;
    }
    Filter alone(kW, kH);
    moving(alone);
    const Frame single = render(alone, in, 57 / 25.0);
    EXPECT_TRUE(single == inSequence);
    EXPECT_GT(differingPixels(single, render(alone, in, 56 / 25.0)), 0) << "the rain moves";
}

TEST(Frei0rFilterMotion, TheRainsFrameIsTheVideoFrameOfTheHostsTimeInItsUnitAtTheFrameRate)
{
    using Quarn::Frei0r::TimeUnit;
    const Frame black(std::size_t(kW) * kH, 0xFF000000u);
    auto falling = [&](TimeUnit unit, double frameRate, double time) {
        Filter filter(kW, kH, unit);
        filter.setNumber(indexOf("fall_speed"), 0.06);
        filter.setNumber(indexOf("frame_rate"), frameRate);
        return render(filter, black, time);
    };
    const Frame third = falling(TimeUnit::seconds, 0.25, 3 / 25.0);
    struct Row {
        TimeUnit unit;
        double frameRate;  // frei0r value
        double time;
        bool isThird;
    };
    const Row rows[] = {
        {TimeUnit::milliseconds, 0.25, 120.0, true},  // ffmpeg at 25 frames a second
        {TimeUnit::seconds, 0.3, 0.1, true},
        {TimeUnit::milliseconds, 0.3, 100.0, true},
        {TimeUnit::seconds, 29.97, 3 * 1001 / 30000.0, true},
        {TimeUnit::seconds, 0.25, 0.16, false},  // frame 4
        {TimeUnit::seconds, 0.3, 3 / 25.0, false},  // frame 4 at 30 frames a second
        {TimeUnit::milliseconds, 0.25, 0.12, false},  // 0.12 ms is frame 0
    };
    for (const Row& r : rows)
        EXPECT_EQ(falling(r.unit, r.frameRate, r.time) == third, r.isThird)
            << r.time << (r.unit == TimeUnit::seconds ? " s" : " ms") << " at " << r.frameRate;
}
