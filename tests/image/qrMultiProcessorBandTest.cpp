// A processor that writes its band of an image gives the same image whatever
// the number of threads: every row is written once, by one thread.
#include "qrMultiProcessor.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

constexpr int32_t kWidth = 23;
constexpr int32_t kHeight = 37;

uint32_t pixelValue(int32_t x, int32_t y)
{
    uint32_t h = uint32_t(x) * 0x9E3779B1u ^ uint32_t(y) * 0x85EBCA77u;
    h ^= h >> 15;
    return h * 0xC2B2AE3Du;
}

// Writes rows [top, bottom) of an image, the band of each thread only, and
// counts how often each row was written.
class RowWriter : public QrMultiProcessor {
public:
    RowWriter(int32_t top, int32_t bottom)
        : top_(top), bottom_(bottom), image_(size_t(kWidth * kHeight), 0), writes_(size_t(kHeight), 0)
    {
    }
    void processBand() override
    {
        int32_t first = 0, end = 0;
        bandRows(top_, bottom_, first, end);
        for (int32_t y = first; y < end; ++y) {
            ++writes_[size_t(y)];
            for (int32_t x = 0; x < kWidth; ++x)
                image_[size_t(y * kWidth + x)] = pixelValue(x, y);
        }
    }
    const std::vector<uint32_t>& image() const { return image_; }
    const std::vector<int>& writes() const { return writes_; }

private:
    int32_t top_, bottom_;
    std::vector<uint32_t> image_;
    std::vector<int> writes_;
};

std::vector<uint32_t> expectedImage(int32_t top, int32_t bottom)
{
    std::vector<uint32_t> image(size_t(kWidth * kHeight), 0);
    for (int32_t y = top; y < bottom; ++y)
        for (int32_t x = 0; x < kWidth; ++x)
            image[size_t(y * kWidth + x)] = pixelValue(x, y);
    return image;
}

TEST(MultiProcessorBands, ImageIsTheSameForEveryThreadLimit)
{
    struct {
        int32_t processors;
        const char* limit;
    } setups[] = {
        {4, "1"},
        {4, "2"},
        {4, nullptr},
        {2, nullptr},
        {3, nullptr},
        {1, nullptr},
        {8, "3"},
    };
    const int32_t top = 2, bottom = 35;
    const std::vector<uint32_t> expected = expectedImage(top, bottom);
    for (const auto& s : setups) {
        SCOPED_TRACE(std::to_string(s.processors) + " processors, limit " + (s.limit ? s.limit : "unset"));
        QrMultiProcessor::overrideProcessorCount(s.processors);
        if (s.limit)
            setenv("QUARN_MAX_PROCESSORS", s.limit, 1);
        else
            unsetenv("QUARN_MAX_PROCESSORS");
        QrMultiProcessor::resetMaxProcessorsForTesting();

        RowWriter writer(top, bottom);
        writer.run();
        EXPECT_EQ(writer.image(), expected);
        for (int32_t y = 0; y < kHeight; ++y)
            EXPECT_EQ(writer.writes()[size_t(y)], (y >= top && y < bottom) ? 1 : 0) << "row " << y;
    }
    unsetenv("QUARN_MAX_PROCESSORS");
    QrMultiProcessor::resetMaxProcessorsForTesting();
    QrMultiProcessor::overrideProcessorCount(0);
}

}  // namespace
