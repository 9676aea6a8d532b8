// Bad input and failures: the exit status, a message that names the file or
// parameter and the problem, and no output left behind.
#include "qrCliRunner.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace {

using namespace CliTest;
using OIIO::TypeDesc;

struct BadInvocation {
    const char* name;
    const char* args;  // run in a folder holding in.png, float.exr, broken.png, note.txt
    int status;
    std::vector<const char*> mentions;  // texts the message must contain
};

std::ostream& operator<<(std::ostream& os, const BadInvocation& c)
{
    return os << c.name;
}

class BadInput : public testing::TestWithParam<BadInvocation> { };

TEST_P(BadInput, FailsWithAMessageAndLeavesNoOutput)
{
    const BadInvocation& c = GetParam();
    ScratchDir dir;
    save(picture(32, 24, 4, TypeDesc::UINT8), dir / "in.png");
    save(picture(32, 24, 4, TypeDesc::FLOAT), dir / "float.exr");
    {
        // A PNG cut off in the middle of its pixel data.
        std::ifstream whole(dir / "in.png", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(whole)), {});
        std::ofstream(dir / "broken.png", std::ios::binary) << bytes.substr(0, bytes.size() / 2);
        std::ofstream(dir / "note.txt") << "not an image";
    }
    const std::vector<std::string> before = dir.files();
    const Outcome run = nimbrel(dir, c.args);
    EXPECT_EQ(run.status, c.status) << run.err;
    for (const char* text : c.mentions)
        EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
    EXPECT_EQ(dir.files(), before);
}

const BadInvocation kBadInvocations[] = {
    {"NoSubcommand", "", 2, {"subcommand is required"}},
    {"UnknownSubcommand", "paint x.png", 2, {"subcommand is required"}},
    {"RenderWithoutOutput", "render in.png", 2, {"--output is required"}},
    {"AboutUnderAFile", "about -o note.txt/about.png", 2, {"note.txt/about.png"}},
    {"MissingInput", "render nothing.png -o out.png", 2, {"nothing.png"}},
    {"TruncatedPng", "render broken.png -o out.png", 2, {"broken.png"}},
    {"NotAnImage", "render note.txt -o out.png", 2, {"note.txt"}},
    {"MissingMatte", "render in.png -o out.png --matte-layer gone.png", 2, {"gone.png"}},
    {"UnknownParameter", "render in.png -o out.png --set rainfall=3", 2, {"rainfall", "nimbrel params"}},
    {"UnknownPopupEntry", "render in.png -o out.png --set blendMethod=Sideways", 2,
        {"Sideways", "\"Screen\"", "\"Composite Source\""}},
    {"UnknownPreset", "render in.png -o out.png --preset Hail", 2, {"Hail", "\"Drizzle\"", "\"Night Time\""}},
    {"AmbiguousLabel", "render in.png -o out.png --set 'X Method=Wrap'", 2,
        {"Source Crops/X Method", "Matte Layer Crops/X Method"}},
    {"NotANumber", "render in.png -o out.png --set density=lots", 2, {"Rain Density", "lots"}},
    {"SeedNotWhole", "render in.png -o out.png --set seed=2.5", 2, {"Seed", "2.5"}},
    {"BadColour", "render in.png -o out.png --set 'SourceEdgeColour=red'", 2, {"red", "#RRGGBB"}},
    {"BadCheckBox", "render in.png -o out.png --set clampBlendAtFloat=maybe", 2, {"maybe", "on or off"}},
    {"LayerBySet", "render in.png -o out.png --set 'Matte Layer=in.png'", 2, {"--matte-layer"}},
    {"OutputFolderIsAFile", "render in.png -o note.txt/out.png", 2, {"note.txt/out.png"}},
    {"UnknownOutputFormat", "render in.png -o out.qqq", 2, {"out.qqq"}},
    {"ClassicAt32", "render in.png -o out.exr --depth 32 --render classic", 2, {"classic", "32"}},
    {"ClassicOnFloatInput", "render float.exr -o out.exr --render classic", 2, {"float.exr", "classic"}},
    {"BadDepth", "render in.png -o out.png --depth 12", 2, {"--depth", "12"}},
    {"BackwardsFrames", "render in.png -o 'o#.png' --frames 5-2", 2, {"--frames", "5-2"}},
    {"SequenceWithoutPattern", "render in.png -o out.png --frames 1-2", 2, {"out.png", "####"}},
    {"MissingSequenceFrame", "render 'in#.png' -o 'o#.png' --frames 1-1", 2, {"in1.png"}},
    {"BadDownsample", "render in.png -o out.png --downsample 0", 2, {"--downsample"}},
    {"BadCompression", "render in.png -o out.png --compression 12", 2, {"--compression", "12"}},
    {"BadPixelAspect", "render in.png -o out.png --pixel-aspect -1", 2, {"--pixel-aspect"}},
};

INSTANTIATE_TEST_SUITE_P(Table, BadInput, testing::ValuesIn(kBadInvocations),
    [](const auto& info) { return std::string(info.param.name); });

// Values out of range are clamped to the near end of the valid range
// before the host turns them into its integer or fixed-point form, with a
// warning naming the value used; the render is that of the limit itself.
struct Clamp {
    const char* over;  // --set NAME=VALUE beyond the range
    const char* limit;  // the same control at the end it clamps to
    const char* warning;
};

TEST(OutOfRange, ValueRendersAsTheNearEndOfTheRangeWithAWarning)
{
    const Clamp cases[] = {
        {"'Diffusion Min=150'", "'Diffusion Min=100'", "clamped to 100"},
        {"density=-5", "density=0.01", "clamped to 0.01"},
        {"intensity=40000", "intensity=5000", "clamped to 5000"},
        {"intensity=-1e9", "intensity=0", "clamped to 0"},
        {"seed=2147483648", "seed=5000", "clamped to 5000"},
        {"seed=-99999999999", "seed=1", "clamped to 1"},
        {"angle=1e6", "angle=32767", "clamped to 32767"},
        {"dropLength=1e400", "dropLength=10000", "clamped to 10000"},
    };
    ScratchDir dir;
    save(picture(48, 32, 4, TypeDesc::UINT8), dir / "in.png");
    for (const Clamp& c : cases) {
        SCOPED_TRACE(c.over);
        const Outcome over = nimbrel(dir, std::string("render in.png -o over.png --set ") + c.over);
        ASSERT_EQ(over.status, 0) << over.err;
        EXPECT_NE(over.err.find(c.warning), std::string::npos) << over.err;
        const Outcome edge = nimbrel(dir, std::string("render in.png -o edge.png --set ") + c.limit);
        ASSERT_EQ(edge.status, 0) << edge.err;
        EXPECT_EQ(edge.err.find("clamped"), std::string::npos) << edge.err;
        EXPECT_EQ(maxDifference(load(dir / "over.png"), load(dir / "edge.png")), 0.0f);
    }
}

TEST(Unwritable, ReadOnlyFolderIsRefusedBeforeRendering)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind the superuser";
    ScratchDir dir;
    save(picture(32, 24, 4, TypeDesc::UINT8), dir / "in.png");
    std::filesystem::create_directory(dir / "locked");
    std::filesystem::permissions(
        dir / "locked", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const Outcome run = nimbrel(dir, "render in.png -o locked/out.png");
    std::filesystem::permissions(dir / "locked", std::filesystem::perms::owner_all);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("locked/out.png"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(dir / "locked"));
}

// A frame that cannot be read or written in the middle of a sequence: the
// frames before it are written, in order and whole, and nothing after it.
struct BrokenFrame {
    const char* name;
    int status;  // a frame that cannot be read is an input error, one that cannot be written a failure
    const char* missingInput;  // not made, among f1..f4.png
    const char* blockedOutput;  // made a folder, so the rename onto it fails
    const char* mention;
    std::vector<std::string> outputs;
};

TEST(SequenceFailure, StopsAtTheBrokenFrameAfterWritingTheOnesBefore)
{
    for (const BrokenFrame& c : {BrokenFrame {"unreadable", 2, "f3.png", "", "f3.png", {"o1.png", "o2.png"}},
             BrokenFrame {"unwritable", 1, "", "o3.png", "o3.png", {"o1.png", "o2.png", "o3.png"}}}) {
        ScratchDir dir;
        for (const char* frame : {"f1.png", "f2.png", "f3.png", "f4.png"})
            if (std::string(frame) != c.missingInput)
                save(picture(40, 30, 4, TypeDesc::UINT8), dir / frame);
        if (*c.blockedOutput)
            std::filesystem::create_directory(dir / c.blockedOutput);
        const Outcome run = nimbrel(dir, "render 'f#.png' -o 'o#.png' --frames 1-4");
        EXPECT_EQ(run.status, c.status) << c.name << "\n" << run.err;
        EXPECT_NE(run.err.find(c.mention), std::string::npos) << c.name << "\n" << run.err;
        std::vector<std::string> outputs;
        for (const std::string& file : dir.files())
            if (file[0] != 'f')
                outputs.push_back(file);
        EXPECT_EQ(outputs, c.outputs) << c.name;
    }
}

// Ctrl-C in the middle of a sequence: the plug-in is cancelled through the
// host, the program exits 130 and the frame in progress leaves no file.
TEST(Interrupt, CancelsTheRenderAndLeavesOnlyFinishedFrames)
{
    ScratchDir dir;
    save(picture(800, 600, 4, TypeDesc::UINT8), dir / "in.png");
    const Outcome run = shell(dir,
        "\"$NIMBREL\" render in.png -o 'o####.png' --frames 0-199 & pid=$!; "
        // Once a frame is out the handler is surely in place.
        "while [ ! -e o0000.png ] && kill -0 $pid 2>/dev/null; do sleep 0.1; done; "
        "kill -INT $pid; wait $pid");
    EXPECT_EQ(run.status, 130) << run.err;
    EXPECT_NE(run.err.find("interrupted"), std::string::npos) << run.err;
    const std::vector<std::string> files = dir.files();
    EXPECT_LT(files.size(), 201u);
    for (const std::string& name : files) {
        EXPECT_NE(name[0], '.') << "temporary file left: " << name;
        if (name != "in.png") {
            EXPECT_GT(load(dir / name).spec().width, 0) << name;
        }
    }
}

}  // namespace
