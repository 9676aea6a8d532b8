// A fixed set of renders through the nimbrel program whose decoded pixels
// must not change: every depth, smart and classic, a matte layer, crops with
// each edge method and a numbered sequence. The expected checksums are data
// (data/renderChecksums.txt); see the note at its top for regenerating them.
#include "qrCliRunner.h"
#include "qrImageFile.h"
#include "qrWorldFile.h"

#include <OpenImageIO/imagebufalgo.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using namespace CliTest;
using OIIO::TypeDesc;

const std::string kChecksums = NIMBREL_SOURCE_DIR "/tests/cli/data/renderChecksums.txt";

struct ChecksumCase {
    const char* name;
    const char* args;  // after "render", run beside the inputs made below
    std::vector<const char*> outputs;  // files the run writes
};

std::ostream& operator<<(std::ostream& os, const ChecksumCase& c)
{
    return os << c.name;
}

// An odd size, so that no row is a multiple of any alignment.
constexpr int kWidth = 203;
constexpr int kHeight = 117;

// in8.png, in16.tif, float.exr, matte.png, and frames f1..f3.png with
// mattes m1..m3.png that differ from frame to frame.
void makeInputs(const ScratchDir& dir)
{
    save(picture(kWidth, kHeight, 4, TypeDesc::UINT8), dir / "in8.png");
    save(picture(kWidth, kHeight, 3, TypeDesc::UINT16), dir / "in16.tif");
    save(picture(kWidth, kHeight, 4, TypeDesc::FLOAT), dir / "float.exr");
    const OIIO::ImageBuf matte =
        OIIO::ImageBufAlgo::channels(picture(kWidth / 2, kHeight / 2, 3, TypeDesc::UINT8), 1, {});
    save(matte, dir / "matte.png");
    for (int f = 1; f <= 3; ++f) {
        OIIO::ImageBuf frame = picture(kWidth, kHeight, 4, TypeDesc::UINT8);
        const float shade[4] = {0.3f * f, 0.2f, 0.1f * f, 1.0f};
        OIIO::ImageBufAlgo::fill(frame, shade, OIIO::ROI(0, kWidth / 3 * f, 0, kHeight / 2));
        save(frame, dir / ("f" + std::to_string(f) + ".png"));
        OIIO::ImageBuf level(OIIO::ImageSpec(kWidth, kHeight, 1, TypeDesc::UINT8));
        const float grey[1] = {0.4f * f - 0.3f};
        OIIO::ImageBufAlgo::fill(level, grey);
        save(level, dir / ("m" + std::to_string(f) + ".png"));
    }
}

// The decoded pixels at the file's own type, with their size and channels.
std::string pixelChecksum(const std::string& path)
{
    OIIO::ImageBuf image(path);
    if (!image.read(0, 0, true))
        return "unreadable: " + image.geterror();
    return OIIO::ImageBufAlgo::computePixelHashSHA1(image);
}

std::map<std::string, std::string> readChecksums()
{
    std::map<std::string, std::string> sums;
    std::ifstream in(kChecksums);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream words(line);
        std::string key, sum;
        words >> key >> sum;
        sums[key] = sum;
    }
    return sums;
}

const std::vector<ChecksumCase>& cases()
{
    static const std::vector<ChecksumCase> table = {
        {"smart8", "in8.png -o out.png", {"out.png"}},
        {"smart16", "in16.tif -o out.tif", {"out.tif"}},
        {"smart32", "float.exr -o out.exr --preset \"Night Time\"", {"out.exr"}},
        {"smart8At32", "in8.png -o out.exr --depth 32 --set blendMethod=Screen", {"out.exr"}},
        {"classic8", "in8.png -o out.png --render classic --set blendMethod=Overlay", {"out.png"}},
        {"classic16", "in8.png -o out.png --render classic --depth 16 --set Process=RGBA", {"out.png"}},
        {"matteLayer16",
            "in8.png -o out.png --depth 16 --matte-layer matte.png "
            "--set 'Matte=Matte Layer Inverse Luminance' --set MatteXMethod=Wrap --set MatteLeft=20",
            {"out.png"}},
        {"cropColourRepeat8",
            "in8.png -o out.png --set SourceXMethod=Colour --set SourceYMethod=Repeat "
            "--set 'SourceEdgeColour=#20A04080' --set SourceLeft=12 --set SourceRight=71 "
            "--set SourceBottom=9 --set SourceTop=83 --set Process=RGBA",
            {"out.png"}},
        {"cropReflectWrap32",
            "in8.png -o out.exr --depth 32 --set SourceXMethod=Reflect --set SourceYMethod=Wrap "
            "--set SourceLeft=30 --set SourceRight=90 --set SourceBottom=21 --set SourceTop=64",
            {"out.exr"}},
        {"cropWrapColour16",
            "in8.png -o out.tif --depth 16 --set SourceXMethod=Wrap --set SourceYMethod=Colour "
            "--set SourceLeft=5 --set SourceTop=55 --set 'SourceEdgeColour=#FFFFFF'",
            {"out.tif"}},
        {"sequence8",
            "'f#.png' -o 'seq.####.png' --frames 1-3 --matte-layer 'm#.png' "
            "--set 'Matte=Matte Layer Luminance' --set angle=-60",
            {"seq.0001.png", "seq.0002.png", "seq.0003.png"}},
        {"sequenceStill32", "float.exr -o 'still_%02d.exr' --frames 7-8", {"still_07.exr", "still_08.exr"}},
    };
    return table;
}

// Compares each output of `c` with its recorded checksum, once `toImage`
// (when given) has made the output an image file.
void expectRecordedChecksums(
    const ScratchDir& dir, const ChecksumCase& c, void (*toImage)(const std::string&) = nullptr)
{
    const std::map<std::string, std::string> expected = readChecksums();
    for (const char* output : c.outputs) {
        const std::string key = std::string(c.name) + "/" + output;
        const auto found = expected.find(key);
        ASSERT_NE(found, expected.end()) << key << " has no recorded checksum in " << kChecksums;
        if (toImage)
            toImage(dir / output);
        EXPECT_EQ(pixelChecksum(dir / output), found->second) << key;
    }
}

class RenderChecksum : public testing::TestWithParam<ChecksumCase> { };

TEST_P(RenderChecksum, DecodedPixelsMatchTheRecordedOnes)
{
    const ChecksumCase& c = GetParam();
    ScratchDir dir;
    makeInputs(dir);
    const Outcome run = nimbrel(dir, std::string("render ") + c.args + " --quiet");
    ASSERT_EQ(run.status, 0) << run.err;
    expectRecordedChecksums(dir, c);
}

INSTANTIATE_TEST_SUITE_P(Table, RenderChecksum, testing::ValuesIn(cases()),
    [](const auto& info) { return std::string(info.param.name); });

// The same renders by the Windows build of nimbrel, run as
// NIMBREL_WINDOWS_CLI says (e.g. "wine .../nimbrel.exe"; unset: skipped).
// That build reads and writes world files, the host's own pixels: each
// input is decoded here into one, at every depth, as this program's image
// reader decodes it, and each output is written into its image file as
// this program writes it. So the render alone runs on Windows, and its
// pixels must give the very checksums of the native renders.
void inputsAsWorldFiles(const ScratchDir& dir)
{
    using Quarn::Host::Depth;
    for (const std::string& name : dir.files()) {
        const std::string path = dir / name;
        Quarn::Host::WorldFile world {Quarn::Cli::naturalDepth(path), {}};
        for (Depth depth : {Depth::Bits8, Depth::Bits16, Depth::Float})
            world.images.push_back(Quarn::Cli::readImage(path, depth));
        Quarn::Host::writeWorldFile(path, world);
    }
}

void outputFromWorldFile(const std::string& path)
{
    const Quarn::Host::WorldFile world = Quarn::Host::readWorldFile(path);
    if (world.images.size() != 1)
        throw std::runtime_error(path + ": a rendered world file holds one image");
    Quarn::Cli::writeImage(world.images.front(), path);
}

class RenderChecksumOnWindows : public RenderChecksum { };

TEST_P(RenderChecksumOnWindows, DecodedPixelsMatchTheRecordedOnes)
{
    const char* windowsCli = std::getenv("NIMBREL_WINDOWS_CLI");
    if (!windowsCli || !*windowsCli)
        GTEST_SKIP() << "set NIMBREL_WINDOWS_CLI to the command that runs the Windows nimbrel";
    const ChecksumCase& c = GetParam();
    ScratchDir dir;
    makeInputs(dir);
    inputsAsWorldFiles(dir);
    const Outcome run = shell(dir, std::string(windowsCli) + " render " + c.args + " --quiet");
    ASSERT_EQ(run.status, 0) << run.err;
    expectRecordedChecksums(dir, c, &outputFromWorldFile);
}

INSTANTIATE_TEST_SUITE_P(Table, RenderChecksumOnWindows, testing::ValuesIn(cases()),
    [](const auto& info) { return std::string(info.param.name); });

// Writes the checksums of the current program's renders to stdout in the
// data file's format; run only when asked for (see the data file's note).
TEST(RenderChecksumRecord, PrintsTheTable)
{
    if (!std::getenv("NIMBREL_RECORD_CHECKSUMS"))
        GTEST_SKIP() << "set NIMBREL_RECORD_CHECKSUMS=1";
    for (const ChecksumCase& c : cases()) {
        ScratchDir dir;
        makeInputs(dir);
        const Outcome run = nimbrel(dir, std::string("render ") + c.args + " --quiet");
        ASSERT_EQ(run.status, 0) << c.name << "\n" << run.err;
        for (const char* output : c.outputs)
            std::printf("%s/%s %s\n", c.name, output, pixelChecksum(dir / output).c_str());
    }
}

}  // namespace
