// Hostile use of nimbrel: full disks, damaged and special files, outputs
// that would replace inputs, values past every range, signals and too
// little memory. Whatever happens, a run ends with a "nimbrel:" message
// that says what happened, the right exit status, the inputs untouched,
// only whole images under their real names and no temporary file left.
#include "qrCliRunner.h"

#include <gtest/gtest.h>

#include <OpenImageIO/deepdata.h>
#include <OpenImageIO/imageio.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <sstream>

namespace {

using namespace CliTest;
using OIIO::TypeDesc;
namespace fs = std::filesystem;

std::string readBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeBytes(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// An uncompressed RGB TIFF with its directory before the pixels, as many
// writers lay it out: cut short, it still opens and only its strips are
// missing.
std::string directoryFirstTiff(int width, int height)
{
    std::string out = std::string("II*\0", 4);
    const auto put = [&out](std::uint32_t v, int size) {
        for (int i = 0; i < size; ++i)
            out += char((v >> (8 * i)) & 0xFF);
    };
    put(8, 4);
    const std::uint32_t entries = 10, bits = 8 + 2 + entries * 12 + 4, pixels = bits + 6;
    put(entries, 2);
    const std::uint32_t table[][3] = {{256, 4, std::uint32_t(width)}, {257, 4, std::uint32_t(height)},
        {258, 3, bits}, {259, 3, 1}, {262, 3, 2}, {273, 4, pixels}, {277, 3, 3},
        {278, 4, std::uint32_t(height)}, {279, 4, std::uint32_t(width * height * 3)}, {284, 3, 1}};
    for (const auto& [tag, type, value] : table) {
        put(tag, 2);
        put(type, 2);
        put(tag == 258 ? 3 : 1, 4);
        put(value, 4);
    }
    put(0, 4);
    put(8, 2), put(8, 2), put(8, 2);
    for (int i = 0; i < width * height * 3; ++i)
        out += char((i * 7) & 0xFF);
    return out;
}

void saveDeep(const std::string& path)
{
    OIIO::ImageSpec spec(8, 8, 4, TypeDesc::FLOAT);
    spec.channelnames = {"R", "G", "B", "A"};
    spec.deep = true;
    OIIO::DeepData deep(spec);
    for (int p = 0; p < 64; ++p)
        deep.set_samples(p, 1);
    auto out = OIIO::ImageOutput::create(path);
    if (!out || !out->open(path, spec) || !out->write_deep_image(deep) || !out->close())
        throw std::runtime_error("cannot write the deep test image");
}

// NaN in 7 channel values and infinities in 3.
void saveNonFinite(const std::string& path)
{
    OIIO::ImageBuf image = picture(16, 12, 4, TypeDesc::FLOAT);
    float pixel[4];
    for (int i = 0; i < 10; ++i) {
        image.getpixel(i, i, pixel);
        pixel[i % 3] = i < 7 ? NAN : (i == 8 ? -INFINITY : INFINITY);
        image.setpixel(i, i, pixel);
    }
    save(image, path);
}

// The folder every case runs in.
void makeFixture(const ScratchDir& dir)
{
    save(picture(40, 30, 4, TypeDesc::UINT8), dir / "in.png");
    save(picture(40, 30, 4, TypeDesc::UINT8), dir / "mask.png");
    for (const char* frame : {"f1.png", "f2.png", "f3.png", "f4.png", "f5.png"})
        save(picture(40, 30, 4, TypeDesc::UINT8), dir / frame);
    save(picture(40, 30, 4, TypeDesc::FLOAT), dir / "float.exr");
    saveNonFinite(dir / "nan.exr");
    saveDeep(dir / "deep.exr");
    const std::string tiff = directoryFirstTiff(40, 30);
    writeBytes(dir / "whole.tif", tiff);
    writeBytes(dir / "cut.tif", tiff.substr(0, tiff.size() / 2));
    save(picture(40, 30, 3, TypeDesc::UINT8), dir / "pic.jpg");
    const std::string jpeg = readBytes(dir / "pic.jpg");
    writeBytes(dir / "cut.jpg", jpeg.substr(0, jpeg.size() / 2));
    const std::string exr = readBytes(dir / "float.exr");
    writeBytes(dir / "cut.exr", exr.substr(0, exr.size() * 2 / 3));
    std::ofstream(dir / "note.txt") << "not an image";
}

// Every file below the folder (folders themselves left out), with its bytes.
std::map<std::string, std::string> snapshot(const ScratchDir& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        if (entry.is_regular_file() || entry.is_symlink())
            files[entry.path().lexically_relative(dir.path()).string()] =
                entry.is_regular_file() ? readBytes(entry.path()) : "";
    return files;
}

struct Hostile {
    const char* name;
    const char* command;  // shell; $NIMBREL is the program, run in the fixture
    int status;
    std::vector<const char*> mentions;  // in the messages
    std::vector<const char*> creates = {};  // the new files; each must be a whole image
};

// Setting a case up (links, FIFOs) is part of its command; these are the
// files that set-up makes, not outputs.
bool madeBySetUp(const std::string& name)
{
    return name.rfind("link", 0) == 0 || name == "fifo";
}

void check(const Hostile& c, const ScratchDir& dir, const std::map<std::string, std::string>& before,
    const Outcome& run)
{
    SCOPED_TRACE(c.name);
    EXPECT_EQ(run.status, c.status) << c.command << "\n" << run.err;
    for (const char* text : c.mentions)
        EXPECT_NE(run.err.find(text), std::string::npos) << "missing \"" << text << "\" in:\n" << run.err;
    std::istringstream lines(run.err);
    for (std::string line; std::getline(lines, line);)
        EXPECT_EQ(line.rfind("nimbrel", 0), 0u) << "a message without the program's name: " << line;
    std::vector<std::string> created;
    for (const auto& [name, bytes] : snapshot(dir)) {
        EXPECT_NE(fs::path(name).filename().string()[0], '.') << "temporary file left: " << name;
        const auto old = before.find(name);
        if (old != before.end()) {
            EXPECT_EQ(bytes, old->second) << "an input changed: " << name;
        } else if (!madeBySetUp(name)) {
            created.push_back(name);
        }
    }
    EXPECT_EQ(created, std::vector<std::string>(c.creates.begin(), c.creates.end()));
    for (const std::string& name : created)
        EXPECT_GT(load(dir / name).spec().width, 0) << name;
}

const Hostile kHostile[] = {
    // A full disk (a file-size limit): exit 1 naming the file and the reason, nothing written.
    {"FullDiskPng", "prlimit --fsize=10000 \"$NIMBREL\" render big.png -o out.png", 1, {"out.png", "File too large"}},
    {"FullDiskJpeg", "prlimit --fsize=10000 \"$NIMBREL\" render big.png -o out.jpg", 1, {"out.jpg", "File too large"}},
    {"FullDiskTiff", "prlimit --fsize=10000 \"$NIMBREL\" render big.png -o out.tif", 1, {"out.tif", "File too large"}},
    {"FullDiskExr", "prlimit --fsize=10000 \"$NIMBREL\" render big.png -o out.exr", 1, {"out.exr", "File too large"}},
    {"FullDiskSequence", "prlimit --fsize=10000 \"$NIMBREL\" render big.png -o 'o#.png' --frames 1-4", 1,
        {"o1.png", "File too large"}},
    {"FullDiskAbout", "prlimit --fsize=2000 \"$NIMBREL\" about -o about.png", 1, {"about.png", "File too large"}},
    {"FullDiskSample", "prlimit --fsize=10000 \"$(dirname \"$NIMBREL\")/nimbrel-sample\" s.png 400 300", 1,
        {"s.png", "File too large"}},
    {"FullDiskReplacesNothing", "cp in.png old.png && prlimit --fsize=10000 \"$NIMBREL\" render big.png -o old.png", 1,
        {"old.png", "File too large"}, {"old.png"}},
    // JPEG 2000 goes through as any other format.
    {"Jpeg2000", "\"$NIMBREL\" render big.png -o out.jp2", 0, {}, {"out.jp2"}},
    {"Jpeg2000Codestream", "\"$NIMBREL\" render big.png -o out.j2k", 0, {}, {"out.j2k"}},
    // OpenJPEG cannot read back what it writes under 32 pixels a side.
    {"Jpeg2000TooSmall", "\"$NIMBREL\" render in.png -o out.jp2", 1, {"out.jp2", "does not read back"}},
    {"Jpeg2000About", "\"$NIMBREL\" about -o about.jp2", 0, {}, {"about.jp2"}},
    // The output would replace an input: refused before rendering, naming both.
    {"OutputIsInput", "\"$NIMBREL\" render in.png -o in.png", 2, {"in.png", "replace the input"}},
    {"OutputIsInputDotted", "\"$NIMBREL\" render in.png -o ./in.png", 2, {"./in.png", "replace the input in.png"}},
    {"OutputIsInputAbsolute", "\"$NIMBREL\" render in.png -o \"$PWD/in.png\"", 2, {"replace the input in.png"}},
    {"OutputIsInputThroughParent", "mkdir sub && \"$NIMBREL\" render in.png -o sub/../in.png", 2,
        {"sub/../in.png", "replace the input"}},
    {"OutputIsInputSymbolicLink", "ln -s in.png link.png && \"$NIMBREL\" render link.png -o in.png", 2,
        {"replace the input link.png"}},
    {"OutputIsInputHardLink", "ln in.png link.png && \"$NIMBREL\" render in.png -o link.png", 2,
        {"link.png", "replace the input in.png"}},
    {"SequenceOntoItself", "\"$NIMBREL\" render 'f#.png' -o 'f#.png' --frames 1-5", 2, {"f1.png", "input f1.png"}},
    {"SequenceOntoShiftedInput", "\"$NIMBREL\" render 'f#.png' -o 'f%d.png' --frames 2-5", 2, {"replace the input"}},
    {"StillInsideOutputSequence", "\"$NIMBREL\" render f3.png -o 'f#.png' --frames 1-5", 2, {"f3.png", "input f3.png"}},
    {"OutputIsMatte", "\"$NIMBREL\" render in.png -o mask.png --matte-layer mask.png", 2,
        {"mask.png", "--matte-layer file mask.png"}},
    {"SequenceOverMatte", "\"$NIMBREL\" render in.png -o 'f#.png' --frames 4-6 --matte-layer f5.png", 2,
        {"f5.png", "--matte-layer"}},
    // Values past a control's range clamp to the near end, and say so.
    {"IntensityAboveRange", "\"$NIMBREL\" render in.png -o out.png --set intensity=40000", 0,
        {"\"Rain Intensity\": 40000", "clamped to 5000"}, {"out.png"}},
    {"IntensityFarBelowRange", "\"$NIMBREL\" render in.png -o out.png --set intensity=-1e9", 0, {"clamped to 0"},
        {"out.png"}},
    {"DropLengthFarAbove", "\"$NIMBREL\" render in.png -o out.png --set dropLength=1e12", 0, {"clamped to 10000"},
        {"out.png"}},
    {"SeedPast32Bits", "\"$NIMBREL\" render in.png -o out.png --set seed=2147483648", 0, {"clamped to 5000"},
        {"out.png"}},
    {"AnglePastFixedPoint", "\"$NIMBREL\" render in.png -o out.png --set angle=1e6", 0, {"clamped to 32767"},
        {"out.png"}},
    {"InfiniteDensity", "\"$NIMBREL\" render in.png -o out.png --set density=1e400", 0, {"clamped to 5000"},
        {"out.png"}},
    {"TinyIntensityIsZero", "\"$NIMBREL\" render in.png -o out.png --set intensity=1e-320", 0, {}, {"out.png"}},
    {"NotANumber", "\"$NIMBREL\" render in.png -o out.png --set intensity=nan", 2, {"Rain Intensity", "nan"}},
    // Option values past 32 bits are refused with the valid range.
    {"FramePast32Bits", "\"$NIMBREL\" render in.png -o out.png --frame 2147483648", 2,
        {"--frame \"2147483648\"", "0 to 2147483647"}},
    {"NegativeFrame", "\"$NIMBREL\" render in.png -o out.png --frame -1", 2, {"--frame \"-1\"", "0 to"}},
    {"DownsamplePast32Bits", "\"$NIMBREL\" render in.png -o out.png --downsample 4294967296", 2,
        {"--downsample", "1 to 2147483647"}},
    {"PixelAspectPast32Bits", "\"$NIMBREL\" render in.png -o out.png --pixel-aspect 4294967296/1", 2,
        {"--pixel-aspect", "2147483647"}},
    {"EndlessFrames", "\"$NIMBREL\" render in.png -o 'o#.png' --frames 0-9223372036854775807", 2,
        {"--frames", "at most 1000000 frames"}},
    {"HugeFiniteFrames", "\"$NIMBREL\" render in.png -o 'o#.png' --frames 0-2000000000", 2, {"at most"}},
    {"WideFrameField", "\"$NIMBREL\" render in.png -o 'w%040d.png' --frames 1-2 --quiet", 0, {},
        {"w0000000000000000000000000000000000000001.png", "w0000000000000000000000000000000000000002.png"}},
    // Damaged, deep and special inputs are input errors naming the file and the reason.
    {"WholeDirectoryFirstTiff", "\"$NIMBREL\" render whole.tif -o out.png", 0, {}, {"out.png"}},
    {"TruncatedTiff", "\"$NIMBREL\" render cut.tif -o out.png", 2, {"cut.tif", "cut short"}},
    {"TruncatedJpeg", "\"$NIMBREL\" render cut.jpg -o out.png", 2, {"cut.jpg", "Premature end"}},
    {"TruncatedExr", "\"$NIMBREL\" render cut.exr -o out.exr", 2, {"cut.exr", "cut short"}},
    {"TruncatedMatte", "\"$NIMBREL\" render in.png -o out.png --matte-layer cut.tif", 2, {"cut.tif"}},
    {"DeepExr", "\"$NIMBREL\" render deep.exr -o out.exr", 2, {"deep.exr", "deep image"}},
    {"NonFinitePixels", "\"$NIMBREL\" render nan.exr -o out.exr", 0, {"nan.exr", "10 channel values are not finite"},
        {"out.exr"}},
    {"Fifo", "mkfifo fifo && \"$NIMBREL\" render fifo -o out.png", 2, {"fifo", "a FIFO"}},
    {"DeviceZero", "\"$NIMBREL\" render /dev/zero -o out.png", 2, {"/dev/zero", "a device"}},
    {"LinkToRandomDevice", "ln -s /dev/urandom link.png && \"$NIMBREL\" render link.png -o out.png", 2,
        {"link.png", "a device"}},
    {"FolderAsInput", "mkdir sub && \"$NIMBREL\" render sub -o out.png", 2, {"sub", "a folder"}},
    {"FifoAsMatte", "mkfifo fifo && \"$NIMBREL\" render in.png -o out.png --matte-layer fifo", 2, {"a FIFO"}},
    // Messages that say what happened.
    {"MissingOutputOption", "\"$NIMBREL\" render in.png", 2, {"nimbrel: --output is required"}},
    {"CheckBoxNamed", "\"$NIMBREL\" render in.png -o out.png --set clampBlendAtFloat=maybe", 2,
        {"\"Clamp 0-1 (32 bpc)\": \"maybe\""}},
    {"MisspeltKey", "\"$NIMBREL\" render in.png -o out.png --set densty=80", 2, {"did you mean density?"}},
    {"MisspeltLabel", "\"$NIMBREL\" render in.png -o out.png --set 'Rain Intensty=80'", 2,
        {"did you mean \"Rain Intensity\"?"}},
    {"UnrelatedName", "\"$NIMBREL\" render in.png -o out.png --set rainfall=3", 2, {"\"nimbrel params\" lists"}},
    {"PresetListHasNoPlaceholder", "\"$NIMBREL\" render in.png -o out.png --preset Hail", 2,
        {"Valid presets: \"Drizzle\""}},
    {"IffWrittenWhole", "\"$NIMBREL\" render in.png -o out.iff", 0, {}, {"out.iff"}},
    {"RenameOntoAFolder", "mkdir out.png && \"$NIMBREL\" render in.png -o out.png", 1,
        {"out.png", "Is a directory"}},
    {"ReplacedOutputKeepsItsMode",
        "cp in.png old.png && chmod 444 old.png && \"$NIMBREL\" render in.png -o old.png && "
        "stat -c 'nimbrel: mode %a' old.png >&2",
        0, {"nimbrel: mode 444"}, {"old.png"}},
    {"EmptyMatteLayer", "\"$NIMBREL\" render in.png -o out.png --matte-layer ''", 2, {"--matte-layer \"\""}},
    {"UnwritableFormatNamed", "\"$NIMBREL\" render in.png -o out.qqq", 2, {"out.qqq", "no image format"}},
    // The first ten minutes.
    {"OutputFolderMade", "\"$NIMBREL\" render in.png -o 'loop/rain_%04d.png' --frames 0-1 --quiet", 0, {},
        {"loop/rain_0000.png", "loop/rain_0001.png"}},
    {"EntriesIgnoreCase", "\"$NIMBREL\" render in.png -o out.png --set process=rgba --set blendMethod=screen", 0,
        {}, {"out.png"}},
    {"PresetIgnoresCase", "\"$NIMBREL\" render in.png -o out.png --preset 'night time'", 0, {}, {"out.png"}},
    {"SourceMatteWithoutLayer", "\"$NIMBREL\" render in.png -o out.png --set 'Matte=Source Luminance'", 0,
        {"no --matte-layer is given", "not matted"}, {"out.png"}},
};

// The cases run a few at a time side by side: each is a short process
// that mostly waits for the plug-in to load.
TEST(Hostile, EveryCaseFailsCleanlyOrSucceedsWhole)
{
    constexpr std::size_t kAtOnce = 6;
    const std::size_t count = std::size(kHostile);
    EXPECT_GE(count, 50u);
    for (std::size_t first = 0; first < count; first += kAtOnce) {
        std::vector<std::unique_ptr<ScratchDir>> dirs;
        std::vector<std::map<std::string, std::string>> before;
        std::vector<std::future<Outcome>> outcomes;
        for (std::size_t i = first; i < std::min(count, first + kAtOnce); ++i) {
            dirs.push_back(std::make_unique<ScratchDir>());
            makeFixture(*dirs.back());
            // Its PNG outgrows the file-size limits above many times over.
            save(picture(400, 300, 4, TypeDesc::UINT16), *dirs.back() / "big.png");
            before.push_back(snapshot(*dirs.back()));
            outcomes.push_back(std::async(std::launch::async,
                [command = kHostile[i].command, dir = dirs.back().get()] { return shell(*dir, command); }));
        }
        for (std::size_t k = 0; k < outcomes.size(); ++k)
            check(kHostile[first + k], *dirs[k], before[k], outcomes[k].get());
    }
}

}  // namespace
