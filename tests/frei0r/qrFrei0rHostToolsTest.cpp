// The filter inside the real video tools: ffmpeg (-vf frei0r), melt
// (-filter frei0r.nimbrel) and GStreamer (frei0r-filter-nimbrel) find the
// built nimbrel.so through FREI0R_PATH and render raw RGBA frames that these
// tests compare.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kW = 160, kH = 96, kFrames = 4;
constexpr size_t kFrameBytes = size_t(kW) * kH * 4;
const std::string kSize = std::to_string(kW) + "x" + std::to_string(kH);

using Bytes = std::vector<unsigned char>;

// Pixels of frame `k` whose colour differs by more than `tolerance`.
int differingPixels(const Bytes& a, const Bytes& b, int k, int tolerance)
{
    int count = 0;
    for (size_t i = k * kFrameBytes; i < (k + 1) * kFrameBytes; i += 4) {
        bool differs = false;
        for (int c = 0; c < 3; ++c)
            differs |= std::abs(int(a[i + c]) - int(b[i + c])) > tolerance;
        count += differs;
    }
    return count;
}

// Sum of absolute colour differences over frame 0: how much rain there is.
long rainAmount(const Bytes& a, const Bytes& b)
{
    long sum = 0;
    for (size_t i = 0; i < kFrameBytes; i += 4)
        for (int c = 0; c < 3; ++c)
            sum += std::abs(int(a[i + c]) - int(b[i + c]));
    return sum;
}

bool framesDiffer(const Bytes& a, int k, int j)
{
    return !std::equal(
        a.begin() + k * kFrameBytes, a.begin() + (k + 1) * kFrameBytes, a.begin() + j * kFrameBytes);
}

std::string registry(const std::string& beside)
{
    return "GST_REGISTRY='" + (fs::path(beside).parent_path() / "registry.bin").string() + "' ";
}

// One tool: the programs it needs, and the command line that renders
// kFrames frames of a still dark-blue picture through `filter` (empty:
// none, "=1.0": the filter at density 1) into the raw file `out`.
struct Tool {
    const char* name;
    std::vector<const char*> programs;
    std::function<std::string(const std::string& filter, const std::string& out)> command;
};

const Tool kTools[] = {
    {"ffmpeg", {"ffmpeg"},
        [](const std::string& filter, const std::string& out) {
            const std::string vf = filter.empty() ? ""
                : filter == "=1.0"                ? " -vf 'frei0r=filter_name=nimbrel:filter_params=1.0'"
                                                  : " -vf 'frei0r=nimbrel'";
            return "ffmpeg -nostdin -v error -y -f lavfi -i 'color=c=0x283040:size=" + kSize +
                ":rate=25' -frames:v " + std::to_string(kFrames) + vf + " -f rawvideo -pix_fmt rgba '" + out +
                "'";
        }},
    {"melt", {"melt"},
        [](const std::string& filter, const std::string& out) {
            const std::string f = filter.empty() ? ""
                : filter == "=1.0"               ? "-filter frei0r.nimbrel density=1.0"
                                                 : "-filter frei0r.nimbrel";
            return "melt -silent -profile square_ntsc color:0x283040ff out=" + std::to_string(kFrames - 1) +
                " " + f + " -consumer avformat:'" + out +
                "' f=rawvideo vcodec=rawvideo pix_fmt=rgba width=" + std::to_string(kW) +
                " height=" + std::to_string(kH) + " an=1 real_time=0";
        }},
    // A registry of the test's own, so that the filter is found through
    // FREI0R_PATH whatever a shared registry cache holds.
    {"gstreamer", {"gst-launch-1.0", "gst-inspect-1.0"},
        [](const std::string& filter, const std::string& out) {
            const std::string f = filter.empty() ? ""
                : filter == "=1.0"               ? " ! frei0r-filter-nimbrel density=1.0"
                                                 : " ! frei0r-filter-nimbrel";
            return registry(out) + "gst-launch-1.0 -q videotestsrc num-buffers=" + std::to_string(kFrames) +
                " pattern=solid-color foreground-color=0xff283040 ! video/x-raw,format=RGBA,width=" +
                std::to_string(kW) + ",height=" + std::to_string(kH) + ",framerate=25/1" + f +
                " ! filesink location='" + out + "'";
        }},
};

class HostTools : public ::testing::TestWithParam<Tool> {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
            ("nimbrel-frei0r-" + std::to_string(getpid()) + "-" + GetParam().name);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Whether the tool is installed and can load the module: a sanitized
    // module cannot, as the tools do not start with the sanitizer runtime.
    static bool installed(const Tool& tool)
    {
#ifdef NIMBREL_FREI0R_SANITIZED
        (void)tool;
        return false;
#else
        for (const char* program : tool.programs)
            if (std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) != 0)
                return false;
        return true;
#endif
    }

    // Runs `command` with FREI0R_PATH at the build directory; its output
    // goes to a log shown when it fails.
    void run(const std::string& command)
    {
        const fs::path log = dir_ / "tool.log";
        // melt now and then never exits after its last frame when the machine
        // is busy (its writer thread is gone, its main thread waits on); a
        // time limit turns that into one more try instead of a stuck suite.
        const std::string line = "FREI0R_PATH='" NIMBREL_FREI0R_DIR "' timeout -k 5 120 env " + command +
            " >'" + log.string() + "' 2>&1";
        int status = std::system(line.c_str());
        if (WIFEXITED(status) && WEXITSTATUS(status) == 124)
            status = std::system(line.c_str());
        std::ifstream in(log);
        ASSERT_EQ(status, 0) << line << "\n" << std::string(std::istreambuf_iterator<char>(in), {});
    }

    Bytes render(const std::string& filter, const std::string& name)
    {
        const std::string out = (dir_ / name).string();
        run(GetParam().command(filter, out));
        std::ifstream in(out, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
};

TEST_P(HostTools, RenderRainThatMovesRepeatsAndFollowsDensity)
{
    if (!installed(GetParam()))
        GTEST_SKIP() << GetParam().name << " is not installed, or the module is sanitized";
    if (std::string(GetParam().name) == "gstreamer")  // the controls carry their names
        run(registry(dir_ / "x") + "gst-inspect-1.0 frei0r-filter-nimbrel | grep -q drop-length");
    const Bytes plain = render("", "plain.rgba");
    const Bytes rain = render("default", "rain.rgba");
    const Bytes again = render("default", "again.rgba");
    const Bytes heavy = render("=1.0", "heavy.rgba");
    ASSERT_EQ(plain.size(), kFrames * kFrameBytes);
    ASSERT_EQ(rain.size(), plain.size());
    ASSERT_EQ(heavy.size(), plain.size());
    EXPECT_TRUE(rain == again) << "the same command gave different pictures";
    for (int k = 0; k < kFrames; ++k) {
        EXPECT_GT(differingPixels(rain, plain, k, 2), kW * kH / 100) << "frame " << k;
        if (k > 0) {
            EXPECT_TRUE(framesDiffer(rain, k - 1, k)) << "frames " << k - 1 << " and " << k;
        }
    }
    EXPECT_GT(rainAmount(heavy, plain), rainAmount(rain, plain));
}

INSTANTIATE_TEST_SUITE_P(Each, HostTools, ::testing::ValuesIn(kTools),
    [](const auto& info) { return std::string(info.param.name); });

// ffmpeg hands the string parameters over by name, in filter_params order.
TEST_P(HostTools, FfmpegTakesBlendMethodsByName)
{
    if (std::string(GetParam().name) != "ffmpeg" || !installed(GetParam()))
        GTEST_SKIP() << "ffmpeg only, when installed and the module is not sanitized";
    auto blended = [&](const std::string& method) {
        const std::string out = (dir_ / (method + ".rgba")).string();
        run("ffmpeg -nostdin -v error -y -f lavfi -i 'testsrc2=size=" + kSize +
            ":rate=25' -frames:v 1 -vf "
            "'frei0r=filter_name=nimbrel:filter_params=0.6|0.1|0.25|1|0.9|1|0.1212|None|" +
            method + "' -f rawvideo -pix_fmt rgba '" + out + "'");
        std::ifstream in(out, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    };
    const Bytes screen = blended("Screen"), multiply = blended("Multiply");
    ASSERT_EQ(screen.size(), kFrameBytes);
    ASSERT_EQ(multiply.size(), kFrameBytes);
    EXPECT_GT(differingPixels(screen, multiply, 0, 8), 0);
}

}  // namespace
