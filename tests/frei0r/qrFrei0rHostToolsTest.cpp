// The filter inside the real video tools: ffmpeg (-vf frei0r), melt
// (-filter frei0r.nimbrel) and GStreamer (frei0r-filter-nimbrel) find the
// built nimbrel.so through FREI0R_PATH and render raw RGBA frames of a still
// picture, so that any change between output frames is the rain's.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kW = 160, kH = 96, kFrames = 4;
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
};

std::ostream& operator<<(std::ostream& os, const Tool& t)
{
    return os << t.name;
}

// ffmpeg takes filter_params in order: density first, blend method ninth.
const std::string kFfmpegParams = "-vf frei0r=filter_name=nimbrel:filter_params=";

const Tool kTools[] = {
    {"Ffmpeg", "ffmpeg", "",
        "ffmpeg -nostdin -v error -y -f lavfi -i 'color=c=0x283040:size=160x96:rate=25' -frames:v 4 ",
        " -f rawvideo -pix_fmt rgba ", "", "-vf frei0r=nimbrel", kFfmpegParams + "1.0",
        kFfmpegParams + "'0.6|0.1|0.25|1|0.9|1|0.1212|None|Screen'",
        kFfmpegParams + "'0.6|0.1|0.25|1|0.9|1|0.1212|None|Multiply'"},
    {"Melt", "melt", "", "melt -silent -profile square_ntsc color:0x283040ff out=3 ", " -consumer avformat:",
        " f=rawvideo vcodec=rawvideo pix_fmt=rgba width=160 height=96 an=1 real_time=0",
        "-filter frei0r.nimbrel", "-filter frei0r.nimbrel density=1.0", "", ""},
    {"Gstreamer", "gst-launch-1.0", "gst-inspect-1.0 frei0r-filter-nimbrel | grep -q drop-length",
        "gst-launch-1.0 -q videotestsrc num-buffers=4 pattern=solid-color foreground-color=0xff283040 ! "
        "video/x-raw,format=RGBA,width=160,height=96,framerate=25/1 ",
        " ! filesink location=", "", "! frei0r-filter-nimbrel", "! frei0r-filter-nimbrel density=1.0", "",
        ""},
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
        std::ifstream in(dir_ / name, std::ios::binary);
        Bytes frames((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(frames.size(), kFrames * kFrameBytes) << name;
        frames.resize(kFrames * kFrameBytes);
        return frames;
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

INSTANTIATE_TEST_SUITE_P(Each, HostTools, testing::ValuesIn(kTools),
    [](const auto& info) { return std::string(info.param.name); });
