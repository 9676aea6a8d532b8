// World files carry a host's pixels between the two sides of a render made
// on another system: every byte must come back, and a damaged file must be
// refused with its name rather than read as pixels.
#include "qrHostError.h"
#include "qrWorldFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace Quarn::Host;
namespace fs = std::filesystem;

// Every byte of the rows differs from its neighbours.
HostImage pattern(int width, int height, Depth depth)
{
    HostImage image(width, height, depth);
    for (int y = 0; y < height; ++y)
        for (std::size_t b = 0; b < image.rowBytes(); ++b)
            image.row(y)[b] = std::byte((b * 7 + std::size_t(y) * 13 + 1) & 0xFF);
    return image;
}

bool sameRows(const HostImage& a, const HostImage& b)
{
    if (a.width() != b.width() || a.height() != b.height() || a.depth() != b.depth())
        return false;
    for (int y = 0; y < a.height(); ++y)
        if (std::memcmp(a.row(y), b.row(y), a.rowBytes()) != 0)
            return false;
    return true;
}

class WorldFileTest : public testing::Test {
protected:
    void TearDown() override { fs::remove(path); }
    const std::string path = (fs::temp_directory_path() / "nimbrel_world_file_test.world").string();
};

TEST_F(WorldFileTest, EveryDepthComesBackByteForByte)
{
    const WorldFile written {Depth::Bits16,
        {pattern(5, 3, Depth::Bits8), pattern(7, 2, Depth::Bits16), pattern(3, 4, Depth::Float)}};
    writeWorldFile(path, written);
    const WorldFile read = readWorldFile(path);
    EXPECT_EQ(read.natural, Depth::Bits16);
    ASSERT_EQ(read.images.size(), 3u);
    for (const HostImage& image : written.images) {
        const HostImage* back = read.at(image.depth());
        ASSERT_NE(back, nullptr);
        EXPECT_TRUE(sameRows(*back, image)) << "depth " << bitDepth(image.depth());
    }
    EXPECT_EQ(WorldFile {}.at(Depth::Float), nullptr);
}

TEST_F(WorldFileTest, DamagedFilesAreRefusedNamingTheFile)
{
    writeWorldFile(path, WorldFile {Depth::Bits8, {pattern(4, 4, Depth::Bits8)}});
    std::ifstream in(path, std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    auto withByte = [&](std::size_t at, char value) {
        std::string bytes = good;
        bytes[at] = value;
        return bytes;
    };
    // Header words: magic 0, version 4, natural depth 8, count 12; the
    // image's depth 16, width 20, height 24.
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"another signature", withByte(0, 'X')},
        {"another version", withByte(4, 2)},
        {"unknown natural depth", withByte(8, 12)},
        {"too many images", withByte(12, 4)},
        {"unknown image depth", withByte(16, 24)},
        {"no width", withByte(20, 0)},
        {"pixels cut short", good.substr(0, good.size() - 1)},
        {"header cut short", good.substr(0, 10)},
    };
    for (const auto& c : cases) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << c.bytes;
        try {
            readWorldFile(path);
            ADD_FAILURE() << c.what << ": read without complaint";
        } catch (const HostError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << c.what << ": " << e.what();
        }
    }
    fs::remove(path);
    EXPECT_THROW(readWorldFile(path), HostError) << "missing file";
}

}  // namespace
