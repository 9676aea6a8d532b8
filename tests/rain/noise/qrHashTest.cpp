// The hash and the pixel key decide every drop position; a change in either
// silently moves all the rain, so they are checked against values worked out
// with unbounded integers and against an independent 64-bit reference.
#include "noise/qrHash.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Reference in 64-bit arithmetic, written with the subtracting constant
// instead of the adding one the production code uses.
int64_t referenceHash(int64_t n)
{
    const uint64_t u = static_cast<uint64_t>(n) & 0xFFFFFFFFull;
    const uint64_t m = ((u << 13) ^ u) & 0xFFFFFFFFull;
    const uint64_t inner = (m * m % (1ull << 32) * 15731ull + 789221ull) % (1ull << 32);
    const uint64_t h = (m * inner + (1ull << 32) - 771171059ull) % (1ull << 32);
    return static_cast<int64_t>(h & 0x7FFFFFFFull);
}

struct KnownHash {
    int32_t n;
    int32_t hash;  // computed with arbitrary-precision integers
};

TEST(QrHash, MatchesValuesComputedWithUnboundedIntegers)
{
    const std::vector<KnownHash> known = {
        {0, 1376312589},
        {1, 1316808037},
        {-1, 107238581},
        {12345, 2032478005},
        {INT32_MAX, 107238581},
        {INT32_MIN, 1376312589},
    };
    for (const auto& k : known)
        EXPECT_EQ(QrHash::hash(k.n), k.hash) << "n = " << k.n;
    static_assert(QrHash::hash(0) == 1376312589, "usable in constant expressions");
}

TEST(QrHash, AgreesWithReferenceOverWideRange)
{
    for (int64_t n = INT32_MIN; n <= INT32_MAX; n += 9973 * 1021)
        ASSERT_EQ(QrHash::hash(static_cast<int32_t>(n)), referenceHash(n)) << "n = " << n;
}

struct KnownKey {
    int32_t x, y, seed;
    int32_t key;
};

TEST(QrHash, PixelKeyWrapsLikeThirtyTwoBitArithmetic)
{
    const std::vector<KnownKey> known = {
        {0, 0, 1, 1},
        {3, 5, 1, 110657},
        {1919, 1079, 42, 33934148},
        {-4, -7, 0, -153337},
        {100000, 200000, -5, -26867301},
    };
    for (const auto& k : known)
        EXPECT_EQ(QrHash::key(k.x, k.y, k.seed), k.key) << k.x << "," << k.y << "," << k.seed;
}

TEST(QrHash, AdvancingAlongARowReachesTheSameKeyAsComputingItDirectly)
{
    const int32_t seed = 987654321;
    for (int32_t y : {0, 17, 2159}) {
        int32_t n = QrHash::key(-3, y, seed);
        for (int32_t x = -3; x < 4000; ++x) {
            ASSERT_EQ(n, QrHash::key(x, y, seed)) << x << "," << y;
            n = QrHash::advance(n, 1);
        }
        EXPECT_EQ(QrHash::advance(QrHash::key(10, y, seed), 250), QrHash::key(260, y, seed));
    }
}

TEST(QrHash, UnitValueStaysInsideUnitInterval)
{
    EXPECT_EQ(QrHash::unit(0), 0.0f);
    // The largest hash rounds up to 2^31 as a float, so 1 itself is reachable.
    EXPECT_LE(QrHash::unit(INT32_MAX), 1.0f);
    EXPECT_FLOAT_EQ(QrHash::unit(1 << 30), 0.5f);
    // The constant is exactly 2^-31, so scaling by it never rounds.
    EXPECT_EQ(QrHash::kUnit, std::ldexp(1.0f, -31));
}

TEST(QrHash, UnitValuesAreSpreadEvenly)
{
    // A rain density relies on the fraction of keys above a level matching
    // the level; bucket a few rows of real pixel keys.
    int counts[10] = {};
    const int width = 640, height = 100;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            ++counts[static_cast<int>(QrHash::unit(QrHash::hash(QrHash::key(x, y, 7))) * 10)];
    const double expected = width * height / 10.0;
    for (int bucket = 0; bucket < 10; ++bucket)
        EXPECT_NEAR(counts[bucket], expected, expected * 0.05) << "bucket " << bucket;
}

}  // namespace
