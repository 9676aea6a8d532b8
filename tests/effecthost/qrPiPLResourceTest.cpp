// The property list as a Windows plug-in carries it in its resources: the
// host must read every property as the exported table gives it, and refuse
// damaged bytes instead of reading past them.
#include "qrHostError.h"
#include "qrPiPLInfo.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using Quarn::Host::HostError;
using Quarn::Host::PiPLInfo;

void putWord(std::string& out, A_u_long v)
{
    for (int i = 0; i < 4; ++i)
        out += char((v >> (8 * i)) & 0xFF);
}

// Encodes properties as the resource layout says: words, then strings with
// their terminator, padded to whole words.
std::string resourceOf(const std::vector<PF_PiPLProperty>& properties, A_u_long version = PF_PIPL_TABLE_VERSION)
{
    std::string out;
    putWord(out, version);
    putWord(out, A_u_long(properties.size()));
    for (const PF_PiPLProperty& p : properties) {
        putWord(out, p.key);
        if (p.string_value) {
            const std::string text = std::string(p.string_value) + '\0';
            putWord(out, PF_PIPL_RESOURCE_STRING);
            putWord(out, A_u_long(text.size()));
            out += text + std::string((4 - text.size() % 4) % 4, '\0');
        } else {
            putWord(out, PF_PIPL_RESOURCE_WORD);
            putWord(out, 4);
            putWord(out, p.long_value);
        }
    }
    return out;
}

const std::vector<PF_PiPLProperty> kProperties = {
    {PF_PiPLKey_KIND, nullptr, PF_PiPLKind_EFFECT},
    {PF_PiPLKey_NAME, "Nimbrel", 0},  // 8 bytes with the terminator: no padding
    {PF_PiPLKey_CATEGORY, "Brastor 4", 0},  // padded by 2
    {PF_PiPLKey_CODE_WIN_X86, "main", 0},  // padded by 3
    {PF_PiPLKey_AE_GLOBAL_OUTFLAGS, nullptr, 0x02008053},
    {PF_PiPLKey_AE_MATCH_NAME, "", 0},  // the terminator alone
};

TEST(PiPLResource, ReadsEveryPropertyAsTheTableGivesIt)
{
    const PiPLInfo fromTable(PF_PiPL {PF_PIPL_TABLE_VERSION, A_long(kProperties.size()), kProperties.data()});
    const PiPLInfo fromResource = PiPLInfo::fromResource(resourceOf(kProperties));
    EXPECT_EQ(fromResource.describe(), fromTable.describe());
    EXPECT_EQ(fromResource.name(), "Nimbrel");
    EXPECT_EQ(fromResource.category(), "Brastor 4");
    EXPECT_EQ(fromResource.text(PF_PiPLKey_CODE_WIN_X86), "main");
    EXPECT_EQ(fromResource.word(PF_PiPLKey_AE_GLOBAL_OUTFLAGS), 0x02008053u);
    EXPECT_TRUE(fromResource.isEffect());
}

TEST(PiPLResource, DamagedBytesAreRefused)
{
    const std::string good = resourceOf(kProperties);
    auto withWord = [&](std::size_t at, A_u_long v) {
        std::string bytes = good;
        std::string word;
        putWord(word, v);
        bytes.replace(at, 4, word);
        return bytes;
    };
    // Offsets: version 0, count 4, first property key 8, kind 12, length 16,
    // data 20; the second property's kind at 28, length at 32, text at 36.
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"cut inside the header", good.substr(0, 6)},
        {"cut inside the last property", good.substr(0, good.size() - 2)},
        {"cut before the last property's padding", good.substr(0, good.size() - 3)},
        {"unknown version", withWord(0, 2)},
        {"more properties than bytes", withWord(4, A_u_long(kProperties.size() + 1))},
        {"absurd count", withWord(4, 100000)},
        {"unknown kind", withWord(12, 7)},
        {"word of another length", withWord(16, 8)},
        {"length beyond the end", withWord(32, 0x7FFFFFF0)},
        {"string without its terminator", withWord(32, 7)},
    };
    for (const auto& c : cases)
        EXPECT_THROW(PiPLInfo::fromResource(c.bytes), HostError) << c.what;
}

}  // namespace
