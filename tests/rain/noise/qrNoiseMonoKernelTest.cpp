// The monochrome noise decides which rain pixels get a drop and how bright it
// is; a wrong cut-off changes the density the user asked for.
#include "noise/qrNoiseMonoKernel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

QrNoiseMonoKernel kernel(float lo, float hi, float cutoff, float white = 1.0f)
{
    const float minimum[3] = {lo, lo, lo};
    const float maximum[3] = {hi, hi, hi};
    return QrNoiseMonoKernel::make(minimum, maximum, cutoff, white);
}

// Statistics of the kernel over a block of real pixel keys.
struct Survey {
    int total = 0, nonZero = 0, negative = 0;
    float smallest = INFINITY, largest = -INFINITY;
};

Survey survey(const QrNoiseMonoKernel& k, int32_t seed)
{
    Survey s;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 500; ++x) {
            const float v = k.value(QrHash::key(x, y, seed));
            ++s.total;
            s.nonZero += v != 0.0f;
            s.negative += v < 0.0f;
            if (v != 0.0f) {
                s.smallest = std::min(s.smallest, v);
                s.largest = std::max(s.largest, v);
            }
        }
    return s;
}

TEST(QrNoiseMonoKernel, CutoffKeepsTheExpectedFractionOfPixels)
{
    struct Row {
        float cutoff;
        double keptFraction;
    };
    for (const Row& row : {Row {0.9f, 0.1}, Row {0.5f, 0.5}, Row {0.99f, 0.01}, Row {0.0f, 1.0}}) {
        const Survey s = survey(kernel(0.0f, 1.0f, row.cutoff), 11);
        EXPECT_NEAR(double(s.nonZero) / s.total, row.keptFraction, 0.01 + row.keptFraction * 0.05)
            << "cutoff " << row.cutoff;
        EXPECT_GE(s.smallest, 0.0f);
        EXPECT_LE(s.largest, 1.0f);
    }
}

TEST(QrNoiseMonoKernel, SurvivorsAreStretchedBackToTheFullRange)
{
    // With cut-off 0.9 the kept tenth must still reach almost the top value,
    // not be squeezed into 0..0.1.
    const Survey s = survey(kernel(0.0f, 0.6f, 0.9f, 255.0f), 3);
    EXPECT_GT(s.largest, 0.6f * 255.0f * 0.98f);
    EXPECT_LE(s.largest, 0.6f * 255.0f * 1.0001f);
    EXPECT_LT(s.smallest, 0.6f * 255.0f * 0.02f);
}

TEST(QrNoiseMonoKernel, CutoffIsSymmetricForSignedNoise)
{
    const QrNoiseMonoKernel k = kernel(-1.0f, 1.0f, 0.5f);
    const Survey s = survey(k, 5);
    // Half the values lie in (-0.5, 0.5) and vanish; the rest split by sign.
    EXPECT_NEAR(double(s.nonZero) / s.total, 0.5, 0.02);
    EXPECT_NEAR(double(s.negative) / s.nonZero, 0.5, 0.03);
    EXPECT_GE(s.smallest, -1.0f);
    EXPECT_LE(s.largest, 1.0f);
    EXPECT_EQ(k.cut(0.49f), 0.0f);
    EXPECT_EQ(k.cut(-0.49f), 0.0f);
    EXPECT_NEAR(k.cut(0.75f), 0.5f, 1e-6f);
    EXPECT_NEAR(k.cut(-0.75f), -0.5f, 1e-6f);
}

TEST(QrNoiseMonoKernel, WithoutCutoffRawNoiseSpansLoToHi)
{
    const QrNoiseMonoKernel k = kernel(-0.05f, 0.05f, 0.0f, 32768.0f);
    EXPECT_FALSE(k.cutoffActive);
    const Survey s = survey(k, 9);
    EXPECT_EQ(s.nonZero, s.total);
    EXPECT_GE(s.smallest, -0.05f * 32768.0f - 0.01f);
    EXPECT_LE(s.largest, 0.05f * 32768.0f + 0.01f);
    EXPECT_NEAR(double(s.negative) / s.total, 0.5, 0.02);
}

TEST(QrNoiseMonoKernel, EqualChannelRangesAreNotDisturbedByAveraging)
{
    // The rain gives density in all three channels; averaging must hand it
    // back exactly, or the drop threshold would shift.
    for (float d : {0.6f, 0.1f, 3.3f, 7.77f}) {
        const QrNoiseMonoKernel k = kernel(0.0f, d, 1.0f - d * 0.1f);
        EXPECT_EQ(k.range, d);
        EXPECT_EQ(k.lo, 0.0f);
    }
}

TEST(QrNoiseMonoKernel, ValueDependsOnlyOnTheKey)
{
    const QrNoiseMonoKernel k = kernel(0.0f, 0.6f, 0.94f, 255.0f);
    const int32_t key = QrHash::key(1234, 567, 89);
    const float first = k.value(key);
    for (int repeat = 0; repeat < 3; ++repeat)
        EXPECT_EQ(k.value(QrHash::key(1234, 567, 89)), first);
    EXPECT_NE(k.raw(key), k.raw(QrHash::key(1235, 567, 89)));
}

TEST(QrNoiseMonoKernel, QuietHashesAreExactlyThoseThatGiveNoNoise)
{
    // Callers skip the float work for quiet hashes, so the interval must be
    // exact at both ends, or drops appear or vanish at the cut-off.
    struct Row {
        float lo, hi, cutoff, white;
    };
    for (const Row& row : {Row {0.0f, 0.6f, 0.94f, 255.0f}, Row {0.0f, 7.5f, 0.25f, 32768.0f},
             Row {-1.0f, 1.0f, 0.5f, 1.0f}, Row {-0.3f, 0.1f, 0.8f, 255.0f}, Row {0.0f, 0.2f, 0.0f, 1.0f}}) {
        const QrNoiseMonoKernel k = kernel(row.lo, row.hi, row.cutoff, row.white);
        auto zeroAt = [&k](int64_t h) { return k.cut(k.rawFromHash(int32_t(h))) == 0.0f; };
        for (int64_t h : {int64_t(k.quietFirst) - 1, int64_t(k.quietFirst), int64_t(k.quietLast),
                 int64_t(k.quietLast) + 1}) {
            if (h < 0 || h > INT32_MAX)
                continue;
            EXPECT_EQ(zeroAt(h), k.isQuiet(int32_t(h))) << "h " << h << " cutoff " << row.cutoff;
        }
        for (int64_t h = 0; h <= INT32_MAX; h += 1234567)
            ASSERT_EQ(zeroAt(h), k.isQuiet(int32_t(h))) << "h " << h << " cutoff " << row.cutoff;
        if (row.cutoff > 0.5f) {
            EXPECT_LT(k.quietFirst, k.quietLast) << "a high cut-off silences most hashes";
        }
    }
}

}  // namespace
