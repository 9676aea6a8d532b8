// What the Windows plug-in file carries for a host that reads it before
// running any of its code: the property list resource (the very list the
// exported table gives), the string table's texts and the title bitmap.
#include "qrDrawBitmap.h"
#include "qrHostError.h"
#include "qrLibrary.h"
#include "qrPiPLInfo.h"
#include "qrPluginFixture.h"
#include "qrTitlePainter.h"

#include <AE_PiPL.h>

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using namespace PluginTest;
using namespace Quarn::Platform;

class PluginFile : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.open(kPluginPath, reason)) << reason; }

    std::string stringResource(int id) const
    {
        char text[512] = {};
        const HMODULE module = GetModuleHandleA("Nimbrel.aex");
        const int length = LoadStringA(module, UINT(id), text, int(sizeof text));
        return std::string(text, std::size_t(length > 0 ? length : 0));
    }

    Library library;
    std::string reason;
};

TEST_F(PluginFile, PropertyListResourceIsTheExportedTable)
{
    const auto resource = library.resource(PF_PIPL_RESOURCE_TYPE, PF_PIPL_RESOURCE_ID);
    ASSERT_TRUE(resource.has_value()) << "no \"PiPL\" resource 16000";
    const auto* table = static_cast<const PF_PiPL*>(library.symbol(PF_PIPL_SYMBOL, reason));
    ASSERT_NE(table, nullptr) << reason;
    const Quarn::Host::PiPLInfo fromResource = Quarn::Host::PiPLInfo::fromResource(*resource);
    EXPECT_EQ(fromResource.describe(), Quarn::Host::PiPLInfo(*table).describe());
    EXPECT_EQ(fromResource.properties().size(), 14u);
    EXPECT_EQ(fromResource.text(PF_PiPLKey_CODE_WIN_X86), "main");
    EXPECT_EQ(Quarn::Host::EffectHost(kPluginPath).pipl().describe(), fromResource.describe())
        << "the host reads the list from the resource";
}

TEST_F(PluginFile, StringTableHoldsTheDescriptionAndTheObsoleteNote)
{
    EXPECT_EQ(stringResource(1),
        "Nimbrel adds a 2D rain effect to an image. Highlights can \n"
        "be diffused to give a 'Night-time' effect. Using the source \n"
        "image as a matte can give a more realistic effect.\n"
        "\n"
        "For further information see the User Guide in the Brastor\n"
        "plug-ins directory.");
    EXPECT_EQ(stringResource(2), "Valtherion is not obsolete.");
    EXPECT_EQ(stringResource(3), "");
}

TEST_F(PluginFile, TitleBitmapIsThePaintedTitle)
{
    const auto resource = library.resource(MAKEINTRESOURCEA(2) /* RT_BITMAP */, kBitmapTitle);
    ASSERT_TRUE(resource.has_value()) << "no IDB_TITLE bitmap";
    const auto bitmap = readDib(reinterpret_cast<const unsigned char*>(resource->data()), resource->size());
    ASSERT_TRUE(bitmap.has_value());
    const DrawBitmap painted = paintTitle();
    ASSERT_EQ(bitmap->width(), painted.width());
    ASSERT_EQ(bitmap->height(), painted.height());
    for (int y = 0; y < painted.height(); ++y)
        for (int x = 0; x < painted.width(); ++x)
            ASSERT_TRUE(bitmap->at(x, y) == painted.at(x, y)) << x << "," << y;
}

// A system library loads but has no entry: the host says what is missing.
TEST(PluginFileLoading, LibraryWithoutMainIsRefusedNamingIt)
{
    try {
        Quarn::Host::EffectHost host("kernel32.dll");
        FAIL() << "a library without main was accepted";
    } catch (const Quarn::Host::HostError& e) {
        EXPECT_NE(std::string(e.what()).find("main"), std::string::npos) << e.what();
    }
}

}  // namespace
