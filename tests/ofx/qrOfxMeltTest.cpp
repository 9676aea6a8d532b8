// The plug-in in a real OpenFX host: MLT's melt with its openfx module, built
// once from the MLT source beside the project into a cache folder. melt finds
// the bundle through OFX_PLUGIN_PATH and the frei0r filter through
// FREI0R_PATH; frames come out as raw RGBA (or RGBA64) at the profile's size.
#ifdef NIMBREL_CLI
#include "qrOfxControls.h"
#include "qrOfxTestSupport.h"

#include <OpenImageIO/imagebuf.h>
#include <OpenImageIO/imageio.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using namespace Quarn::Ofx;
using namespace Quarn::Ofx::Testing;

constexpr int kW = 160, kH = 96;
constexpr size_t kFrame8 = size_t(kW) * kH * 4;
const std::string kFilter = "openfx.org.nimbrel.rain";

class Melt : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!std::filesystem::exists(NIMBREL_MLT_OPENFX_BUILDER))
            return;
        // The builder prints its install prefix; a second run finds it built.
        std::FILE* pipe = popen((std::string(NIMBREL_MLT_OPENFX_BUILDER) + " 2>&1").c_str(), "r");
        std::string last;
        for (char line[4096]; pipe && std::fgets(line, sizeof line, pipe);)
            last = line;
        if (pipe && pclose(pipe) == 0 && !last.empty())
            prefix_ = last.substr(0, last.find_last_not_of("\n") + 1);
    }

    void SetUp() override
    {
#ifdef NIMBREL_OFX_SANITIZED
        GTEST_SKIP() << "a sanitized plug-in cannot load into melt, which starts without the sanitizer runtime";
#endif
        if (prefix_.empty())
            GTEST_SKIP() << "no melt with OpenFX: " << NIMBREL_MLT_OPENFX_BUILDER << " is missing or failed";
        std::ofstream(dir_ / "profile") << "description=test\nframe_rate_num=25\nframe_rate_den=1\nwidth=" << kW
                                        << "\nheight=" << kH
                                        << "\nprogressive=1\nsample_aspect_num=1\nsample_aspect_den=1\n"
                                           "display_aspect_num=5\ndisplay_aspect_den=3\ncolorspace=709\n";
        ASSERT_EQ(run(std::string(NIMBREL_SAMPLE) + " " + (dir_ / "street.png") + " 160 96 >/dev/null"), 0);
    }

    // melt ARGS, with the built plug-ins found, inside the scratch folder.
    // On a machine loaded by parallel builds melt has been seen to stall for
    // good before its first frame (its consumer thread gone, its main loop
    // waiting); such a run is stopped after two minutes and run once more,
    // so that a stall of melt's is told apart from a fault of the plug-in.
    int melt(const std::string& args, const std::string& log = "/dev/null") const
    {
        const std::string command = "cd " + dir_.path().string() + " && LD_LIBRARY_PATH=" + prefix_ +
            "/lib MLT_REPOSITORY=" + prefix_ + "/lib/mlt-7 MLT_DATA=" + prefix_ +
            "/share/mlt-7 OFX_PLUGIN_PATH=" + NIMBREL_OFX_DIR + " FREI0R_PATH=" + NIMBREL_FREI0R_DIR +
            " timeout 120 " + prefix_ + "/bin/melt " + args + " >" + log + " 2>&1";
        constexpr int kTimedOut = 124;
        const int status = run(command);
        if (status != kTimedOut)
            return status;
        std::fprintf(stderr, "melt stalled; running it again: melt %s\n", args.c_str());
        return run(command);
    }

    // Renders `producer` (frames 0..last) through `filters` into raw frames.
    std::vector<unsigned char> render(const std::string& producer, const std::string& filters, int last = 0,
        const std::string& pixelFormat = "rgba")
    {
        const std::string out = dir_ / "out.raw";
        std::filesystem::remove(out);
        const std::string format = pixelFormat == "rgba" ? "" : " mlt_image_format=rgba64";
        EXPECT_EQ(melt("-silent -profile profile " + producer + " out=" + std::to_string(last) + " " + filters +
                      " -consumer avformat:" + out + " f=rawvideo vcodec=rawvideo an=1 real_time=0 pix_fmt=" +
                      pixelFormat + format),
            0)
            << producer << " " << filters;
        return readBytes(out);
    }

    static std::string prefix_;
    ScratchDir dir_ {"melt"};
};

std::string Melt::prefix_;


TEST_F(Melt, ListsTheEffectAmongItsFilters)
{
    ASSERT_EQ(melt("-query filters", dir_ / "filters.txt"), 0);
    std::ifstream in(dir_ / "filters.txt");
    const std::string text {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(text.find("- " + kFilter + "\n"), std::string::npos);
}

// What melt shows as a control's default.
std::string shownDefault(const Control& c)
{
    if (c.kind == ControlKind::choice)
        return c.options[size_t(c.defaultValue)];
    if (c.kind == ControlKind::colour) {
        char text[16];
        const double* v = c.colourDefault;
        std::snprintf(text, sizeof text, "\"#%02X%02X%02X%02X\"", int(std::lround(v[3] * 255)),
            int(std::lround(v[0] * 255)), int(std::lround(v[1] * 255)), int(std::lround(v[2] * 255)));
        return text;
    }
    std::ostringstream text;
    text << c.defaultValue;
    return text.str();
}

TEST_F(Melt, ShowsEveryControlWithItsLabelGroupAndDefault)
{
    ASSERT_EQ(melt("-query filter=" + kFilter, dir_ / "query.txt"), 0);
    std::ifstream in(dir_ / "query.txt");
    const std::string text {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const Control& c : controls()) {
        const size_t at = text.find("  - identifier: " + c.name + "\n");
        ASSERT_NE(at, std::string::npos) << c.name;
        const std::string block = text.substr(at, text.find("  - identifier:", at + 1) - at);
        EXPECT_NE(block.find("title: " + c.label + "\n"), std::string::npos) << block;
        if (!c.parent.empty()) {
            EXPECT_NE(block.find("group: " + c.parent + "\n"), std::string::npos) << block;
        }
        if (c.kind == ControlKind::group)
            EXPECT_NE(block.find("type: group"), std::string::npos) << block;
        else
            EXPECT_NE(block.find("default: " + shownDefault(c) + "\n"), std::string::npos) << block;
    }
}

TEST_F(Melt, TheDefaultRenderIsTheFrei0rFiltersRender)
{
    const auto plain = render("street.png", "");
    const auto frei0r = render("street.png", "-filter frei0r.nimbrel");
    const auto ofx = render("street.png", "-filter " + kFilter);
    ASSERT_EQ(ofx.size(), kFrame8);
    EXPECT_NE(ofx, plain);  // there is rain
    EXPECT_EQ(ofx, frei0r);
}

// melt's frame before the filter (the render without it) made a file, and
// the command line's render of that file read back raw.
std::vector<unsigned char> commandLineRender(const ScratchDir& dir, const std::vector<unsigned char>& frame, bool sixteen)
{
    const OIIO::TypeDesc type = sixteen ? OIIO::TypeDesc::UINT16 : OIIO::TypeDesc::UINT8;
    OIIO::ImageBuf input(OIIO::ImageSpec(kW, kH, 4, type), const_cast<unsigned char*>(frame.data()));
    const std::string in = dir / "input.tif", out = dir / "rendered.tif";
    EXPECT_TRUE(input.write(in));
    EXPECT_EQ(run(std::string("NIMBREL_PLUGIN=") + NIMBREL_PLUGIN_PATH + " " + NIMBREL_CLI + " render " + in +
                  " -o " + out + " --quiet --depth " + (sixteen ? "16" : "8")),
        0);
    // Read straight from the file, not through OpenImageIO's shared image
    // cache: the cache still holds the 8-bit pass's rendered.tif, and when the
    // command line rewrites it within the same second (the cache compares
    // modification times in whole seconds) it would hand back those 8-bit
    // pixels widened to 16 bits instead of the 16-bit render.
    std::vector<unsigned char> bytes(frame.size());
    const auto result = OIIO::ImageInput::open(out);
    EXPECT_TRUE(result) << OIIO::geterror();
    if (!result)
        return bytes;
    const OIIO::ImageSpec& spec = result->spec();
    EXPECT_EQ(spec.width, kW);
    EXPECT_EQ(spec.height, kH);
    EXPECT_EQ(spec.nchannels, 4);
    if (spec.width == kW && spec.height == kH && spec.nchannels == 4) {
        EXPECT_TRUE(result->read_image(0, 0, 0, 4, type, bytes.data())) << result->geterror();
    }
    return bytes;
}

TEST_F(Melt, EightAndSixteenBitFramesAreTheCommandLinesRenderOfWhatMeltHandsTheEffect)
{
    for (const bool sixteen : {false, true}) {
        const std::string format = sixteen ? "rgba64le" : "rgba";
        const auto before = render("street.png", "", 0, format);
        const auto ofx = render("street.png", "-filter " + kFilter, 0, format);
        ASSERT_EQ(ofx.size(), kFrame8 * (sixteen ? 2 : 1));
        EXPECT_NE(ofx, before);
        EXPECT_EQ(ofx, commandLineRender(dir_, before, sixteen)) << format;
    }
}

// Normalised cross-correlation of the green channels of frames a and b, b
// looked at `dy` rows further down.
double correlation(const std::vector<unsigned char>& frames, int a, int b, int dy)
{
    const auto g = [&](int f, int x, int y) { return double(frames[size_t(f) * kFrame8 + (size_t(y) * kW + size_t(x)) * 4 + 1]); };
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0, n = 0;
    for (int y = 0; y + dy < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const double p = g(a, x, y), q = g(b, x, y + dy);
            sa += p, sb += q, saa += p * p, sbb += q * q, sab += p * q, n += 1;
        }
    const double cov = sab - sa * sb / n, va = saa - sa * sa / n, vb = sbb - sb * sb / n;
    return cov / std::sqrt(va * vb);
}

TEST_F(Melt, WithAFallSpeedConsecutiveFramesAreShiftedByIt)
{
    // Short drops on black: the pattern is the drops alone.
    const auto frames = render("color:0x000000ff", "-filter " + kFilter + " fallSpeed=6 dropLength=3", 3);
    ASSERT_EQ(frames.size(), 4 * kFrame8);
    for (int f = 0; f < 3; ++f) {
        EXPECT_GT(correlation(frames, f, f + 1, 6), 0.9) << f;
        EXPECT_LT(correlation(frames, f, f + 1, 0), 0.5) << f;
    }
}

TEST_F(Melt, AFrameAloneIsTheSameFrameOfTheSequence)
{
    const auto sequence = render("color:0x283040ff", "-filter " + kFilter + " fallSpeed=6", 3);
    ASSERT_EQ(melt("-silent -profile profile color:0x283040ff out=3 -filter " + kFilter +
            " fallSpeed=6 -consumer xml:" + (dir_ / "sequence.mlt")),
        0);
    const auto alone = render("sequence.mlt in=2", "", 2);
    ASSERT_EQ(alone.size(), kFrame8);
    ASSERT_EQ(sequence.size(), 4 * kFrame8);
    EXPECT_EQ(alone, std::vector<unsigned char>(sequence.begin() + 2 * kFrame8, sequence.begin() + 3 * kFrame8));
    EXPECT_NE(alone, std::vector<unsigned char>(sequence.begin() + kFrame8, sequence.begin() + 2 * kFrame8));
}

TEST_F(Melt, BadValuesRenderAsTheirClampedOrDefaultValues)
{
    struct Case {
        const char* bad;
        const char* same;
    };
    const Case cases[] = {
        {"density=nan", ""},
        {"density=-5", "density=0.01"},
        {"density=1e9", "density=5000"},
        {"dropLength=-40", "dropLength=0"},
        {"angle=inf", ""},
        {"seed=-3", "seed=1"},
        {"blendMethod=Bogus", ""},
        {"matteChannel=42", ""},
        {"depthLayers=99", "depthLayers=4"},
        {"SourceLeft=250", "SourceLeft=100"},
    };
    for (const Case& c : cases) {
        const auto bad = render("street.png", "-filter " + kFilter + " " + c.bad);
        ASSERT_EQ(bad.size(), kFrame8) << c.bad;
        EXPECT_EQ(bad, render("street.png", "-filter " + kFilter + " " + c.same)) << c.bad;
    }
}

}  // namespace
#endif
