// The about box of the real plug-in. Failures here mean no dialog, a dialog
// without its texts, or a splash picture that is not the one beside the
// plug-in.
#include "qrDrawBitmap.h"
#include "qrPluginFixture.h"

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace PluginTest;
namespace fs = std::filesystem;

// Pixels of the box that are neither the dialog face nor white: text.
int inkPixels(const HostImage& box, int fromRow)
{
    int ink = 0;
    for (int y = fromRow; y < box.height(); ++y)
        for (int x = 0; x < box.width(); ++x)
            ink += box.channel(x, y, 1) < 0.5f;
    return ink;
}

TEST_F(Started, AboutShowsTheWhiteSplashAndTheTexts)
{
    const auto about = host.about();
    ASSERT_TRUE(about.command.ok());
    EXPECT_TRUE(about.command.message.empty());
    ASSERT_TRUE(about.shown);
    EXPECT_EQ(about.title, "About...");
    ASSERT_EQ(about.content.width(), 500);
    EXPECT_GT(about.content.height(), 500);
    for (int y = 0; y < 500; y += 37)
        for (int x = 0; x < 500; x += 41)
            ASSERT_EQ(about.content.pixel(x, y), (Argb {1, 1, 1, 1})) << x << "," << y;
    // Name, seven description lines and the version line below the splash.
    EXPECT_GT(inkPixels(about.content, 500), 500);
    EXPECT_EQ(inkPixels(about.content, 0), inkPixels(about.content, 500));
}

TEST(PluginAbout, SplashBesideThePluginIsShown)
{
    const fs::path dir = fs::temp_directory_path() / ("nimbrel_splash_test_" + std::to_string(getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path plugin = dir / "Nimbrel.so";
    fs::copy_file(kPluginPath, plugin);
    Quarn::Platform::DrawBitmap splash(120, 80, {255, 200, 30, 40});
    ASSERT_TRUE(Quarn::Platform::writeBmpFile((dir / "Splash.bmp").string(), splash));
    {
        EffectHost host(plugin.string());
        ASSERT_TRUE(host.start().ok());
        const auto about = host.about();
        ASSERT_TRUE(about.shown);
        // The box is as wide as the version line needs, the splash centred.
        const int left = (about.content.width() - 120) / 2;
        const Argb red {1.0f, 200 / 255.0f, 30 / 255.0f, 40 / 255.0f};
        EXPECT_EQ(about.content.pixel(left, 0), red);
        EXPECT_EQ(about.content.pixel(left + 119, 79), red);
        EXPECT_NE(about.content.pixel(left, 80), red);
        EXPECT_LT(about.content.height(), 500);
    }
    fs::remove_all(dir);
}

}  // namespace
