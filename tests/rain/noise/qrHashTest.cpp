// The hash and the pixel key decide every drop position; a change in either
// silently moves all the rain, so they are checked against values worked out
// with unbounded integers and against the literal 64-bit reference.
#include "noise/qrHash.h"
#include "qrReferenceRain.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

TEST(QrHash, HashKeyAndUnitMatchValuesComputedWithUnboundedIntegers)
{
    for (auto [n, hash] : {std::pair {0, 1376312589}, {1, 1316808037}, {-1, 107238581}, {12345, 2032478005},
             {INT32_MAX, 107238581}, {INT32_MIN, 1376312589}})
        EXPECT_EQ(QrHash::hash(n), hash) << "n = " << n;
    static_assert(QrHash::hash(0) == 1376312589, "usable in constant expressions");
    for (auto [x, y, seed, key] : {std::tuple {0, 0, 1, 1}, {3, 5, 1, 110657}, {1919, 1079, 42, 33934148},
             {-4, -7, 0, -153337}, {100000, 200000, -5, -26867301}})
        EXPECT_EQ(QrHash::key(x, y, seed), key) << x << "," << y << "," << seed;
    // The unit is exactly 2^-31, so scaling by it never rounds; the largest
    // hash rounds up to 2^31 as a float, so 1 itself is reachable.
    EXPECT_EQ(QrHash::kUnit, std::ldexp(1.0f, -31));
    EXPECT_LE(QrHash::unit(INT32_MAX), 1.0f);
}

TEST(QrHash, HashKeyAndAdvanceMatchTheLiteralArithmetic)
{
    std::vector<int32_t> keys = {
        0, 1, -1, 2, 13, INT_MIN, INT_MAX, INT_MIN + 1, 0x12345678, -0x12345678, 7907, 17387};
    for (int32_t i = 0; i < 20000; ++i)
        keys.push_back(int32_t(uint32_t(i) * 2654435761u));
    for (int32_t n : keys)
        ASSERT_EQ(QrHash::hash(n), QrReference::hash(n)) << "n " << n;
    const int32_t coords[] = {0, 1, -1, 5, -77, 4096, 271828, -271828, INT_MAX, INT_MIN};
    for (int32_t x : coords)
        for (int32_t y : coords)
            for (int32_t seed : {0, 1, -1, 4242, INT_MAX, INT_MIN}) {
                ASSERT_EQ(QrHash::key(x, y, seed), QrReference::key(x, y, seed))
                    << x << "," << y << " " << seed;
                for (int32_t steps : {1, 3, 1000})
                    ASSERT_EQ(QrHash::advance(QrHash::key(x, y, seed), steps),
                        QrReference::key(int32_t(uint32_t(x) + uint32_t(steps)), y, seed));
            }
}

}  // namespace
