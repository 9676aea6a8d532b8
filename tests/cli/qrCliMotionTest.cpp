// Falling rain through the command line: the nimbrel host's motion controls
// reach the plug-in through its rain motion suite, drops fall by the fall
// speed from frame to frame, and a frame rendered alone is that frame of a
// sequence, byte for byte, at any thread count.
#include "qrCliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

using namespace CliTest;
using OIIO::TypeDesc;

constexpr int kW = 160, kH = 96;
// Straight down, 6 pixels a frame, in 4-pixel streaks.
const std::string kFalling = " --set \"Fall Speed=6\" --set \"Drop Length=4\" --set matteChannel=None";

void saveBlack(const ScratchDir& dir, const std::string& name)
{
    OIIO::ImageBuf black(OIIO::ImageSpec(kW, kH, 3, TypeDesc::UINT8));
    save(black, dir / name);
}

std::vector<float> redChannel(const std::string& path)
{
    const OIIO::ImageBuf image = load(path);
    std::vector<float> red(std::size_t(kW) * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            red[std::size_t(y) * kW + x] = image.getchannel(x, y, 0, 0);
    return red;
}

// Pearson correlation of `a` moved down by `shift` rows with `b`.
double correlationAtShift(const std::vector<float>& a, const std::vector<float>& b, int shift)
{
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    const double n = double(kH - shift) * kW;
    for (int y = 0; y + shift < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const double va = a[std::size_t(y) * kW + x], vb = b[std::size_t(y + shift) * kW + x];
            sa += va, sb += vb, saa += va * va, sbb += vb * vb, sab += va * vb;
        }
    const double var = (saa - sa * sa / n) * (sbb - sb * sb / n);
    return var > 0 ? (sab - sa * sb / n) / std::sqrt(var) : 0.0;
}

}  // namespace

TEST(CliMotion, DropsFallByTheFallSpeedEachFrameAndAFrameAloneIsThatFrameOfTheSequence)
{
    ScratchDir dir;
    saveBlack(dir, "black.png");
    const Outcome sequence = nimbrel(dir, "render black.png -o 'f_%d.png' --frames 0-3 --quiet" + kFalling);
    ASSERT_EQ(sequence.status, 0) << sequence.err;
    for (int k = 0; k < 3; ++k) {
        const auto a = redChannel(dir / ("f_" + std::to_string(k) + ".png"));
        const auto b = redChannel(dir / ("f_" + std::to_string(k + 1) + ".png"));
        EXPECT_GT(correlationAtShift(a, b, 6), 0.9) << "frames " << k << ", " << k + 1;
        EXPECT_LT(correlationAtShift(a, b, 0), 0.5) << "frames " << k << ", " << k + 1;
    }
    for (const char* threads : {"1", "2", "7"}) {
        const Outcome alone = shell(dir,
            std::string("QUARN_MAX_PROCESSORS=") + threads +
                " \"$NIMBREL\" render black.png -o alone.png --frame 2" + kFalling);
        ASSERT_EQ(alone.status, 0) << alone.err;
        EXPECT_EQ(maxDifference(load(dir / "alone.png"), load(dir / "f_2.png")), 0.0f)
            << threads << " threads";
    }
}

TEST(CliMotion, EachControlReachesThePluginByLabelKeyOrGroupAndDefaultsChangeNothing)
{
    ScratchDir dir;
    save(picture(kW, kH, 3, TypeDesc::UINT8), dir / "in.png");
    auto render = [&](const std::string& output, const std::string& sets) {
        const Outcome run = nimbrel(dir, "render in.png -o " + output + " --frame 5 " + sets);
        EXPECT_EQ(run.status, 0) << sets << "\n" << run.err;
        return load(dir / output);
    };
    const OIIO::ImageBuf plain = render("plain.png", "");
    const OIIO::ImageBuf defaults = render("defaults.png",
        "--set \"Fall Speed=0\" --set windVariation=0 --set \"Gust Rate=4\" --set \"Depth Layers=1\" "
        "--set depthFalloff=40 --set \"Streak From Speed=off\"");
    EXPECT_EQ(maxDifference(plain, defaults), 0.0f)
        << "the motion defaults must give the rain without motion";

    const OIIO::ImageBuf falling = render("falling.png", "--set \"Fall Speed=6\"");
    EXPECT_GT(maxDifference(plain, falling), 0.0f);
    for (const char* name : {"fallSpeed", "\"Motion and Depth/Fall Speed\""})
        EXPECT_EQ(maxDifference(falling, render("named.png", std::string("--set ") + name + "=6")), 0.0f)
            << name;

    // Every other control, moved from its default on falling rain, changes the picture.
    const char* const changes[] = {"\"Wind Variation=30\"", "\"Depth Layers=3\"", "\"Streak From Speed=on\"",
        "\"Wind Variation=30\" --set gustRate=60", "\"Depth Layers=3\" --set \"Depth Falloff=10\""};
    const OIIO::ImageBuf windy = render("windy.png", "--set \"Fall Speed=6\" --set \"Wind Variation=30\"");
    const OIIO::ImageBuf deep = render("deep.png", "--set \"Fall Speed=6\" --set \"Depth Layers=3\"");
    for (const char* change : changes) {
        const OIIO::ImageBuf changed =
            render("changed.png", std::string("--set \"Fall Speed=6\" --set ") + change);
        EXPECT_GT(maxDifference(falling, changed), 0.0f) << change;
        const std::string text = change;
        if (text.find("gustRate") != std::string::npos) {
            EXPECT_GT(maxDifference(windy, changed), 0.0f) << change;
        }
        if (text.find("Falloff") != std::string::npos) {
            EXPECT_GT(maxDifference(deep, changed), 0.0f) << change;
        }
    }
}

TEST(CliMotion, ValuesOutsideTheRangeAreClampedWithAWarningAndOthersAreUsageErrors)
{
    ScratchDir dir;
    saveBlack(dir, "black.png");
    struct Row {
        const char* set;
        int status;
        const char* message;  // in standard error
    };
    const Row rows[] = {
        {"Depth Layers=9", 0, "\"Depth Layers\": 9 is out of range; clamped to 4"},
        {"Fall Speed=-3", 0, "\"Fall Speed\": -3 is out of range; clamped to 0"},
        {"Depth Falloff=150", 0, "clamped to 100"},
        {"Fall Speed=fast", 2, "\"Fall Speed\": \"fast\" is not a value; expected a number"},
        {"Depth Layers=2.5", 2, "expected an integer"}, {"Streak From Speed=yes", 2, "use on or off"},
        {"Fall Sped=6", 2, "\"Fall Speed\""},  // the unknown name's message lists the motion controls
    };
    for (const Row& r : rows) {
        const Outcome run = nimbrel(dir, std::string("render black.png -o out.png --set \"") + r.set + "\"");
        EXPECT_EQ(run.status, r.status) << r.set << "\n" << run.err;
        EXPECT_NE(run.err.find(r.message), std::string::npos) << r.set << "\n" << run.err;
    }
}

TEST(CliMotion, ParamsListsTheMotionControlsInTheirOwnSectionAsTheHostsOwn)
{
    ScratchDir dir;
    const Outcome run = nimbrel(dir, "params");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::size_t section = run.out.find("Motion and Depth: provided by the nimbrel host");
    ASSERT_NE(section, std::string::npos) << run.out;
    std::istringstream motion(run.out.substr(section));
    std::vector<std::string> lines;
    for (std::string line; std::getline(motion, line);)
        lines.push_back(line);
    struct Row {
        const char *key, *label, *value, *range;
    };
    const Row rows[] = {
        {"fallSpeed", "Fall Speed", "0", "pixels per frame, 0..2000"},
        {"windVariation", "Wind Variation", "0", "degrees, 0..180"},
        {"gustRate", "Gust Rate", "4", "gusts per 100 frames, 0..250"},
        {"depthLayers", "Depth Layers", "1", "layers, 1..4"},
        {"depthFalloff", "Depth Falloff", "40", "%, 0..100"},
        {"streakFromSpeed", "Streak From Speed", "off", "on|off"},
    };
    for (const Row& r : rows) {
        const auto keyed = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.find(std::string(" ") + r.key + " ") != std::string::npos;
        });
        ASSERT_NE(keyed, lines.end()) << r.key;
        const std::string& line = *keyed;
        EXPECT_NE(line.find(std::string("Motion and Depth/") + r.label), std::string::npos) << line;
        EXPECT_NE(line.find(std::string(" ") + r.value + " "), std::string::npos) << line;
        EXPECT_NE(line.find(r.range), std::string::npos) << line;
    }
}
