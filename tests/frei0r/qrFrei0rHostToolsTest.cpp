// The filter inside the real video tools: ffmpeg (-vf frei0r), melt
// (-filter frei0r.nimbrel) and GStreamer (frei0r-filter-nimbrel) find the
// built nimbrel.so through FREI0R_PATH and render raw RGBA frames of a still
// picture or of an encoded black video, so that any change between output
// frames is the rain's.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A width of a multiple of 64 pixels: ffmpeg 5.1 copies frames of other
// widths into buffers of its own before the filter and loses their time
// stamps on the way (the filter then counts frames).
constexpr int kW = 192, kH = 96, kFrames = 4;
constexpr size_t kFrameBytes = size_t(kW) * kH * 4;

using Bytes = std::vector<unsigned char>;

struct Tool {
    const char* name;
    const char* program;  // must be installed
    const char* probe;  // run first when not empty
    // The command rendering kFrames frames of kW x kH through a filter (its
    // arguments, empty for none) into a file: before, filter, middle, file, after.
    const char *before, *middle, *after;
    std::string rain, heavy;  // the filter with its defaults, and with density 1.0
    std::string screen, multiply;  // blend methods by name; empty when not tried
    // Rain falling kFall pixels a frame on black: a command making the input
    // (empty for none), one rendering kFrames frames into "falling.rgba" and
    // one rendering frame kAlone alone into "alone.rgba".
    std::string fallInput, fallSequence, fallAlone;
};

constexpr int kFall = 6, kAlone = 2;

std::ostream& operator<<(std::ostream& os, const Tool& t)
{
    return os << t.name;
}

// ffmpeg takes filter_params in order: density first, blend method ninth.
const std::string kFfmpegParams = "-vf frei0r=filter_name=nimbrel:filter_params=";

// Rain falling 6 pixels a frame (fall_speed 0.06), in 4-pixel streaks
// (drop_length 0.008), straight down.
const std::string kFallParams = "0.6|0.008|0.25|1|0.9|1|0.1212|None|None|0.5|0.5|0.5|RGB|0.06";
// An encoded black video of kFrames frames at 25 frames a second, as users have.
const std::string kBlackVideo =
    "ffmpeg -nostdin -v error -y -f lavfi -i color=c=black:size=192x96:rate=25 -frames:v 4 "
    "-c:v libx264 -pix_fmt yuv420p black.mp4";
// melt's picture size and rate, square pixels (melt 7.12 crashes on a
// profile without a description).
const std::string kMeltProfile = "printf 'description=nimbrel\\nwidth=192\\nheight=96\\nprogressive=1\\nsample_aspect_num=1\\n"
    "sample_aspect_den=1\\ndisplay_aspect_num=2\\ndisplay_aspect_den=1\\nframe_rate_num=25\\n"
    "frame_rate_den=1\\ncolorspace=601\\n' >p192 && " + kBlackVideo;
const std::string kMeltFall =
    "melt -silent -profile \"$PWD/p192\" black.mp4 -filter frei0r.nimbrel fall_speed=0.06 drop_length=0.008 ";
const std::string kMeltRaw = " f=rawvideo vcodec=rawvideo pix_fmt=rgba an=1 real_time=0";
const std::string kGstBlack = "gst-launch-1.0 -q videotestsrc pattern=black ";
const std::string kGstFall = " ! video/x-raw,format=RGBA,width=192,height=96,framerate=25/1 "
                             "! frei0r-filter-nimbrel fall-speed=0.06 drop-length=0.008 ! filesink location=";

const Tool kTools[] = {
    {"Ffmpeg", "ffmpeg", "",
        "ffmpeg -nostdin -v error -y -f lavfi -i 'color=c=0x283040:size=192x96:rate=25' -frames:v 4 ",
        " -f rawvideo -pix_fmt rgba ", "", "-vf frei0r=nimbrel", kFfmpegParams + "1.0",
        kFfmpegParams + "'0.6|0.1|0.25|1|0.9|1|0.1212|None|Screen'",
        kFfmpegParams + "'0.6|0.1|0.25|1|0.9|1|0.1212|None|Multiply'", kBlackVideo,
        "ffmpeg -nostdin -v error -y -i black.mp4 " + kFfmpegParams + "'" + kFallParams +
            "' -f rawvideo -pix_fmt rgba falling.rgba",
        // Frame 2 picked out of the video keeps its time stamp.
        "ffmpeg -nostdin -v error -y -i black.mp4 -vf \"select=eq(n\\,2),frei0r=nimbrel:" + kFallParams +
            "\" -frames:v 1 -f rawvideo -pix_fmt rgba alone.rgba"},
    {"Melt", "melt", "", "melt -silent -profile square_ntsc color:0x283040ff out=3 ", " -consumer avformat:",
        " f=rawvideo vcodec=rawvideo pix_fmt=rgba width=192 height=96 an=1 real_time=0",
        "-filter frei0r.nimbrel", "-filter frei0r.nimbrel density=1.0", "", "", kMeltProfile,
        kMeltFall + "-consumer avformat:falling.rgba" + kMeltRaw,
        // A render that starts at frame 2, as an editor's seek does.
        kMeltFall + "-consumer avformat:alone.rgba in=2 out=2" + kMeltRaw},
    {"Gstreamer", "gst-launch-1.0", "gst-inspect-1.0 frei0r-filter-nimbrel | grep -q drop-length",
        "gst-launch-1.0 -q videotestsrc num-buffers=4 pattern=solid-color foreground-color=0xff283040 ! "
        "video/x-raw,format=RGBA,width=192,height=96,framerate=25/1 ",
        " ! filesink location=", "", "! frei0r-filter-nimbrel", "! frei0r-filter-nimbrel density=1.0", "",
        "", "", kGstBlack + "num-buffers=4" + kGstFall + "falling.rgba",
        // Frame 2 alone: one buffer stamped 80 ms.
        kGstBlack + "num-buffers=1 timestamp-offset=80000000" + kGstFall + "alone.rgba"},
};

class HostTools : public ::testing::TestWithParam<Tool> {
protected:
    void SetUp() override
    {
#ifdef NIMBREL_FREI0R_SANITIZED
        GTEST_SKIP() << "a sanitized module cannot load into tools that start without the sanitizer runtime";
#endif
        if (std::system((std::string("command -v ") + GetParam().program + " >/dev/null 2>&1").c_str()) != 0)
            GTEST_SKIP() << GetParam().program << " is not installed";
        dir_ = fs::temp_directory_path() /
            ("nimbrel-frei0r-" + std::to_string(getpid()) + "-" + GetParam().name);
        fs::create_directories(dir_);
    }
    void TearDown() override
    {
        if (!dir_.empty())
            fs::remove_all(dir_);
    }

    // Runs `command` in the scratch folder with FREI0R_PATH at the build
    // directory and a GStreamer registry of the test's own (so that the filter
    // is found whatever a shared registry cache holds); its output goes to a
    // log shown when the command fails.
    void run(const std::string& command)
    {
        // melt now and then never exits after its last frame when the machine
        // is busy (its writer thread is gone, its main thread waits on); a
        // time limit turns that into one more try instead of a stuck suite.
        const std::string line = "cd '" + dir_.string() +
            "' && export FREI0R_PATH='" NIMBREL_FREI0R_DIR
            "' GST_REGISTRY=\"$PWD/registry.bin\" && timeout -k 5 120 env " +
            command + " >tool.log 2>&1";
        int status = std::system(line.c_str());
        if (WIFEXITED(status) && WEXITSTATUS(status) == 124)
            status = std::system(line.c_str());
        std::ifstream in(dir_ / "tool.log");
        ASSERT_EQ(status, 0) << line << "\n" << std::string(std::istreambuf_iterator<char>(in), {});
    }

    // kFrames frames through `filter`, as raw RGBA.
    Bytes render(const std::string& filter, const std::string& name)
    {
        const Tool& tool = GetParam();
        run(tool.before + filter + tool.middle + name + tool.after);
        return read(name, kFrames);
    }

    // `frames` raw RGBA frames from the file `name`.
    Bytes read(const std::string& name, int frames)
    {
        std::ifstream in(dir_ / name, std::ios::binary);
        Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(bytes.size(), frames * kFrameBytes) << name;
        bytes.resize(frames * kFrameBytes);
        return bytes;
    }

    fs::path dir_;
};

// Pixels whose colour differs by more than `tolerance` between frame `ka`
// of `a` and frame `kb` of `b`.
int differingPixels(const Bytes& a, int ka, const Bytes& b, int kb, int tolerance)
{
    int count = 0;
    for (size_t i = 0; i < kFrameBytes; i += 4) {
        bool differs = false;
        for (int c = 0; c < 3; ++c)
            differs |=
                std::abs(int(a[ka * kFrameBytes + i + c]) - int(b[kb * kFrameBytes + i + c])) > tolerance;
        count += differs;
    }
    return count;
}

// Sum of absolute colour differences over frame `k`: how much rain there is.
long rainAmount(const Bytes& a, const Bytes& b, int k)
{
    long sum = 0;
    for (size_t i = k * kFrameBytes; i < (k + 1) * kFrameBytes; i += 4)
        for (int c = 0; c < 3; ++c)
            sum += std::abs(int(a[i + c]) - int(b[i + c]));
    return sum;
}

}  // namespace

TEST_P(HostTools, DefaultsRainOnEveryFrameThatMovesRepeatsAndFollowsDensity)
{
    const Tool& tool = GetParam();
    if (*tool.probe)
        run(tool.probe);
    const Bytes plain = render("", "plain.rgba");
    const Bytes rain = render(tool.rain, "rain.rgba");
    EXPECT_TRUE(rain == render(tool.rain, "again.rgba")) << "the same command gave different pictures";
    for (int k = 0; k < kFrames; ++k) {
        EXPECT_GT(differingPixels(rain, k, plain, k, 2), kW * kH / 100) << "frame " << k;
        if (k > 0) {
            EXPECT_GT(differingPixels(rain, k - 1, rain, k, 0), 0) << "frames " << k - 1 << " and " << k;
        }
    }
    EXPECT_GT(rainAmount(render(tool.heavy, "heavy.rgba"), plain, 0), rainAmount(rain, plain, 0) * 5 / 4);
    if (!tool.screen.empty()) {
        const Bytes screen = render(tool.screen, "screen.rgba");
        EXPECT_GT(differingPixels(screen, 0, render(tool.multiply, "multiply.rgba"), 0, 8), 0);
    }
}

namespace {

// Pearson correlation of the red channel of frame `ka` of `a`, moved down by
// `shift` rows, with frame `kb` of `b`: 1 when the one is the other moved.
double correlationAtShift(const Bytes& a, int ka, const Bytes& b, int kb, int shift)
{
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
    long n = 0;
    for (int y = 0; y + shift < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const double va = a[ka * kFrameBytes + (size_t(y) * kW + x) * 4];
            const double vb = b[kb * kFrameBytes + (size_t(y + shift) * kW + x) * 4];
            sa += va, sb += vb, saa += va * va, sbb += vb * vb, sab += va * vb;
            ++n;
        }
    const double cov = sab - sa * sb / double(n);
    const double var = (saa - sa * sa / double(n)) * (sbb - sb * sb / double(n));
    return var > 0 ? cov / std::sqrt(var) : 0.0;
}

}  // namespace

TEST_P(HostTools, FallingRainMovesByTheFallSpeedEachFrameAndAFrameAloneIsThatFrameOfTheRun)
{
    const Tool& tool = GetParam();
    if (*tool.probe)
        run(tool.probe);
    if (!tool.fallInput.empty())
        run(tool.fallInput);
    run(tool.fallSequence);
    const Bytes falling = read("falling.rgba", kFrames);
    for (int k = 0; k + 1 < kFrames; ++k) {
        EXPECT_GT(correlationAtShift(falling, k, falling, k + 1, kFall), 0.9) << "frames " << k << ", " << k + 1;
        EXPECT_LT(correlationAtShift(falling, k, falling, k + 1, 0), 0.5) << "frames " << k << ", " << k + 1;
    }
    run(tool.fallAlone);
    const Bytes alone = read("alone.rgba", 1);
    EXPECT_TRUE(std::equal(alone.begin(), alone.end(), falling.begin() + kAlone * kFrameBytes))
        << "frame " << kAlone << " alone differs from the same frame of the run";
}

INSTANTIATE_TEST_SUITE_P(Each, HostTools, testing::ValuesIn(kTools),
    [](const auto& info) { return std::string(info.param.name); });
