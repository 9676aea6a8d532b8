// The declared API values are the ones plug-in and host agree on; a wrong
// bit here breaks every plug-in silently, so each is checked from its parts.
#include <AE_Effect.h>
#include <AE_PiPL.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

A_u_long fourCC(const char* text)
{
    A_u_long code = 0;
    for (int i = 0; i < 4; ++i)
        code = (code << 8) | static_cast<unsigned char>(text[i]);
    return code;
}

TEST(EffectApi, VersionWordPacksEveryFieldIntoItsBits)
{
    struct Case {
        int vers, subvers, bugvers, stage, build;
        A_u_long expected;
    };
    const Case cases[] = {
        {2, 1, 0, PF_Stage_RELEASE, 5, 0x00108605}, {0, 0, 0, PF_Stage_DEVELOP, 0, 0},
        {0, 0, 0, PF_Stage_DEVELOP, 0x1FF, 0x1FF},  // build is 9 bits
        {0, 0, 0, PF_Stage_BETA, 0, 2u << 9}, {0, 0, 0xF, PF_Stage_DEVELOP, 0, 0xFu << 11},
        {0, 0xF, 0, PF_Stage_DEVELOP, 0, 0xFu << 15}, {7, 0, 0, PF_Stage_DEVELOP, 0, 7u << 19},
        {9, 0, 0, PF_Stage_DEVELOP, 0, (1u << 26) | (1u << 19)},  // high version bits
    };
    for (const Case& c : cases)
        EXPECT_EQ(PF_VERSION(c.vers, c.subvers, c.bugvers, c.stage, c.build), c.expected)
            << c.vers << "." << c.subvers << "." << c.bugvers << " stage " << c.stage << " build " << c.build;
}

TEST(EffectApi, FourCharacterCodesReadAsTheirLetters)
{
    struct Case {
        A_u_long code;
        const char* letters;
    };
    const Case cases[] = {{PF_APPL_ID_AFTER_EFFECTS, "FXTC"}, {PF_PixelFormat_ARGB32, "argb"},
        {PF_PixelFormat_ARGB64, "ae16"}, {PF_PixelFormat_ARGB128, "ae32"}, {PF_PiPLKind_EFFECT, "eFKT"}};
    for (const Case& c : cases)
        EXPECT_EQ(c.code, fourCC(c.letters)) << c.letters;
}

TEST(EffectApi, PixelsAreArgbInMemoryOrder)
{
    const PF_Pixel8 p8 {1, 2, 3, 4};
    unsigned char bytes[4];
    std::memcpy(bytes, &p8, 4);
    EXPECT_EQ(bytes[0], 1);  // alpha first
    EXPECT_EQ(bytes[3], 4);  // blue last
    EXPECT_EQ(sizeof(PF_Pixel16), 8u);
    EXPECT_EQ(sizeof(PF_PixelFloat), 16u);
    EXPECT_EQ(offsetof(PF_PixelFloat, blue), 12u);
    EXPECT_EQ(sizeof(PF_OutData::return_msg), 256u);
}

}  // namespace
