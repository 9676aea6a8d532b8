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
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kW = 160, kH = 96, kFrames = 4;
constexpr size_t kFrameBytes = size_t(kW) * kH * 4;

using Bytes = std::vector<unsigned char>;

// Whether `tool` is installed and can load the module: a sanitized module
// cannot, as the tools do not start with the sanitizer runtime.
bool toolExists(const char* tool)
{
#ifdef NIMBREL_FREI0R_SANITIZED
    (void)tool;
    return false;
#else
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
#endif
}

class HostTools : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
            ("nimbrel-frei0r-" + std::to_string(getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs `command` with FREI0R_PATH at the build directory; stderr goes
    // to a log shown when the command fails.
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
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_EQ(status, 0) << line << "\n" << text;
    }

    Bytes read(const std::string& name)
    {
        std::ifstream in(dir_ / name, std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }

    // ffmpeg: `frames` frames of the lavfi `source`, filtered by `filter`
    // (empty: none), as raw RGBA.
    Bytes ffmpeg(const std::string& source, const std::string& filter, const std::string& name)
    {
        run("ffmpeg -nostdin -v error -y -f lavfi -i '" + source + "' -frames:v " + std::to_string(kFrames) +
            (filter.empty() ? "" : " -vf '" + filter + "'") + " -f rawvideo -pix_fmt rgba '" +
            (dir_ / name).string() + "'");
        return read(name);
    }

    fs::path dir_;
};

std::string testPicture()
{
    return "testsrc2=size=" + std::to_string(kW) + "x" + std::to_string(kH) + ":rate=25";
}
// A still picture, so that any change between output frames is the rain's.
std::string stillPicture()
{
    return "color=c=0x283040:size=" + std::to_string(kW) + "x" + std::to_string(kH) + ":rate=25";
}

// Pixels of frame `k` whose colour differs by more than `tolerance`.
int differingPixels(const Bytes& a, const Bytes& b, int k, int tolerance = 0)
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

// Sum of absolute colour differences over frame `k`: how much rain there is.
long rainAmount(const Bytes& a, const Bytes& b, int k)
{
    long sum = 0;
    for (size_t i = k * kFrameBytes; i < (k + 1) * kFrameBytes; i += 4)
        for (int c = 0; c < 3; ++c)
            sum += std::abs(int(a[i + c]) - int(b[i + c]));
    return sum;
}

int differingFrames(const Bytes& a, int k, int j)
{
    int count = 0;
    for (size_t i = 0; i < kFrameBytes; ++i)
        count += a[k * kFrameBytes + i] != a[j * kFrameBytes + i];
    return count;
}

}  // namespace

TEST_F(HostTools, FfmpegDefaultsRainOnEveryFrame)
{
    if (!toolExists("ffmpeg"))
        GTEST_SKIP() << "ffmpeg is not installed, or the module is sanitized";
    const Bytes plain = ffmpeg(testPicture(), "", "plain.rgba");
    const Bytes rain = ffmpeg(testPicture(), "frei0r=nimbrel", "rain.rgba");
    ASSERT_EQ(plain.size(), kFrames * kFrameBytes);
    ASSERT_EQ(rain.size(), plain.size());
    for (int k = 0; k < kFrames; ++k)
        EXPECT_GT(differingPixels(rain, plain, k, 8), kW * kH / 50) << "frame " << k;
}

TEST_F(HostTools, FfmpegFramesGetNewDropsAndRerunsRepeatExactly)
{
    if (!toolExists("ffmpeg"))
        GTEST_SKIP() << "ffmpeg is not installed, or the module is sanitized";
    const Bytes first = ffmpeg(stillPicture(), "frei0r=nimbrel", "first.rgba");
    const Bytes again = ffmpeg(stillPicture(), "frei0r=nimbrel", "again.rgba");
    ASSERT_EQ(first.size(), kFrames * kFrameBytes);
    EXPECT_TRUE(first == again) << "the same command gave different pictures";
    for (int k = 1; k < kFrames; ++k)
        EXPECT_GT(differingFrames(first, k - 1, k), 0) << "frames " << k - 1 << " and " << k;
}

TEST_F(HostTools, FfmpegDensityParameterChangesTheAmountOfRain)
{
    if (!toolExists("ffmpeg"))
        GTEST_SKIP() << "ffmpeg is not installed, or the module is sanitized";
    // filter_params in order: density first; the rest keep their defaults.
    const Bytes plain = ffmpeg(stillPicture(), "", "plain.rgba");
    const Bytes light = ffmpeg(stillPicture(), "frei0r=filter_name=nimbrel:filter_params=0.1", "light.rgba");
    const Bytes heavy = ffmpeg(stillPicture(), "frei0r=filter_name=nimbrel:filter_params=1.0", "heavy.rgba");
    ASSERT_EQ(light.size(), plain.size());
    ASSERT_EQ(heavy.size(), plain.size());
    const long lightRain = rainAmount(light, plain, 0);
    const long heavyRain = rainAmount(heavy, plain, 0);
    EXPECT_GT(heavyRain, lightRain + lightRain / 4) << lightRain << " vs " << heavyRain;
}

TEST_F(HostTools, FfmpegTakesBlendMethodsByName)
{
    if (!toolExists("ffmpeg"))
        GTEST_SKIP() << "ffmpeg is not installed, or the module is sanitized";
    const std::string params = "frei0r=filter_name=nimbrel:filter_params=0.6|0.1|0.25|1|0.9|1|0.1212|None|";
    const Bytes screen = ffmpeg(testPicture(), params + "Screen", "screen.rgba");
    const Bytes multiply = ffmpeg(testPicture(), params + "Multiply", "multiply.rgba");
    ASSERT_EQ(screen.size(), multiply.size());
    EXPECT_GT(differingPixels(screen, multiply, 0, 8), 0);
}

TEST_F(HostTools, MeltRendersRainThatMovesAndRepeats)
{
    if (!toolExists("melt"))
        GTEST_SKIP() << "melt is not installed, or the module is sanitized";
    const auto melt = [&](const std::string& filter, const std::string& name) {
        run("melt -silent -profile square_ntsc color:0x283040ff out=" + std::to_string(kFrames - 1) + " " +
            filter + " -consumer avformat:'" + (dir_ / name).string() +
            "' f=rawvideo vcodec=rawvideo pix_fmt=rgba width=" + std::to_string(kW) +
            " height=" + std::to_string(kH) + " an=1 real_time=0");
        return read(name);
    };
    const Bytes plain = melt("", "plain.rgba");
    const Bytes rain = melt("-filter frei0r.nimbrel", "rain.rgba");
    const Bytes again = melt("-filter frei0r.nimbrel", "again.rgba");
    const Bytes heavy = melt("-filter frei0r.nimbrel density=1.0", "heavy.rgba");
    ASSERT_EQ(plain.size(), kFrames * kFrameBytes);
    ASSERT_EQ(rain.size(), plain.size());
    EXPECT_GT(differingPixels(rain, plain, 0, 2), kW * kH / 100);
    EXPECT_TRUE(rain == again) << "the same melt command gave different pictures";
    EXPECT_GT(differingFrames(rain, 0, 1), 0);
    EXPECT_GT(rainAmount(heavy, plain, 0), rainAmount(rain, plain, 0));
}

TEST_F(HostTools, GstreamerRendersRainThatMovesAndRepeats)
{
    if (!toolExists("gst-launch-1.0") || !toolExists("gst-inspect-1.0"))
        GTEST_SKIP() << "GStreamer is not installed, or the module is sanitized";
    // A registry of this test's own, so that the filter is found through
    // FREI0R_PATH whatever a shared registry cache holds.
    const std::string registry = "GST_REGISTRY='" + (dir_ / "registry.bin").string() + "' ";
    const auto gst = [&](const std::string& filter, const std::string& name) {
        run(registry + "gst-launch-1.0 -q videotestsrc num-buffers=" + std::to_string(kFrames) +
            " pattern=solid-color foreground-color=0xff283040 ! video/x-raw,format=RGBA,width=" +
            std::to_string(kW) + ",height=" + std::to_string(kH) + ",framerate=25/1" +
            (filter.empty() ? "" : " ! " + filter) + " ! filesink location='" + (dir_ / name).string() + "'");
        return read(name);
    };
    run(registry + "gst-inspect-1.0 frei0r-filter-nimbrel | grep -q drop-length");
    const Bytes plain = gst("", "plain.rgba");
    const Bytes rain = gst("frei0r-filter-nimbrel", "rain.rgba");
    const Bytes again = gst("frei0r-filter-nimbrel", "again.rgba");
    const Bytes heavy = gst("frei0r-filter-nimbrel density=1.0", "heavy.rgba");
    ASSERT_EQ(plain.size(), kFrames * kFrameBytes);
    ASSERT_EQ(rain.size(), plain.size());
    ASSERT_EQ(heavy.size(), plain.size());
    EXPECT_GT(differingPixels(rain, plain, 0, 2), kW * kH / 100);
    EXPECT_TRUE(rain == again) << "the same pipeline gave different pictures";
    for (int k = 1; k < kFrames; ++k)
        EXPECT_GT(differingFrames(rain, k - 1, k), 0) << "frames " << k - 1 << " and " << k;
    EXPECT_GT(rainAmount(heavy, plain, 0), rainAmount(rain, plain, 0));
}
