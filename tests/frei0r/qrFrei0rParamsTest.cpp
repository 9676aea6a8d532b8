// The filter's frei0r parameters: how 0..1 doubles and entry names become
// the rain effect's values, and how each host's time names a video frame.
#include "qrFrei0rClock.h"
#include "qrFrei0rMotion.h"
#include "qrFrei0rParams.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <optional>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <numbers>
#include <set>
#include <regex>
#include <string>
#include <vector>

using namespace Quarn::Frei0r;

namespace {

const FilterParam& param(const char* name)
{
    const int index = findFilterParam(name);
    EXPECT_GE(index, 0) << name;
    return filterParams()[index < 0 ? 0 : index];
}

}  // namespace

// Names and explanations are checked through the built module.
TEST(Frei0rParamTable, EachKeyDrivesOneRainControlMotionFieldOrTheFrameRateAndChoiceDefaultsAreEntries)
{
    std::set<std::string> keys;
    for (const FilterParam& p : filterParams()) {
        EXPECT_TRUE(keys.insert(p.key).second) << "two parameters drive " << p.key;
        QrRainMotion scratch;
        const int drives = int(setMotionValue(scratch, p.key, 0.0)) +
            int(Quarn::Wrapper::Rain::findRainHostParam(p.key) != nullptr) +
            int(std::string(p.key) == kFrameRateKey);
        EXPECT_EQ(drives, 1) << p.key;
        if (p.mapping == Mapping::choice) {
            EXPECT_TRUE(choiceValue(p, p.defaultText).has_value()) << "default not an entry: " << p.name;
        }
    }
    EXPECT_EQ(findFilterParam("no such parameter"), -1);
}

TEST(Frei0rParamMapping, UnitDoublesReachTheRealRanges)
{
    // (frei0r value, internal value: fraction, pixels, percent, seed, count, radians)
    const std::pair<const char*, std::vector<std::pair<double, double>>> rows[] = {
        {"density", {{0.6, 0.6}, {0.0, 0.0001}, {3.0, 3.0}, {80.0, 50.0}}},
        {"drop_length", {{0.1, 50.0}, {1.0, 500.0}, {-1.0, 0.0}, {30.0, 10000.0}}},
        {"intensity", {{1.0, 1.0}, {0.25, 0.25}}},
        {"diffusion_min", {{0.9, 0.9}, {-0.5, 0.0}}},
        {"diffusion_max", {{1.5, 1.0}}},
        {"blend_mix", {{0.5, 50.0}, {2.0, 100.0}}},
        {"effect_gain", {{1.0, 200.0}, {40.0, 5000.0}}},
        {"seed",
            {{0.0, 1.0}, {1.0, 100.0}, {12.0 / 99.0, 13.0}, {0.5, 51.0}, {777.0, 777.0}, {9999.0, 5000.0}}},
        {"fall_speed", {{0.0, 0.0}, {0.25, 25.0}, {99.0, 2000.0}}},
        {"wind_variation", {{1.0, 90.0}}},
        {"gust_rate", {{0.16, 4.0}}},
        {"depth_layers", {{0.0, 1.0}, {0.4, 2.0}, {1.0, 4.0}, {3.0, 3.0}, {9.0, 4.0}}},
        {"depth_falloff", {{0.4, 0.4}}},
        {"streak_from_speed", {{0.49, 0.0}, {0.5, 1.0}}},
        {"frame_rate", {{0.25, 25.0}, {0.2997, 29.97}, {1.0, 100.0}, {29.97, 29.97}, {0.0, 1.0}, {9000.0, 1000.0}}},
        // Direction spans a full turn with straight down at a quarter.
        {"direction",
            {{0.0, -std::numbers::pi}, {0.25, -std::numbers::pi / 2}, {0.5, 0.0}, {1.0, std::numbers::pi}}},
    };
    for (const auto& [name, values] : rows)
        for (const auto& [value, expected] : values)
            EXPECT_NEAR(internalValue(param(name), value), expected, 1e-9) << name << " " << value;
}

TEST(Frei0rParamMapping, DefaultsAreTheRainControlsDefaultsAndNonFiniteValuesGiveThem)
{
    // Every number driving a rain control starts where the effect's control
    // starts, converted from the host's units (percent, degrees).
    using Quarn::Wrapper::Rain::InternalType;
    for (const FilterParam& p : filterParams()) {
        if (p.mapping == Mapping::choice)
            continue;
        const double byDefault = internalValue(p, p.defaultValue);
        EXPECT_EQ(internalValue(p, std::numeric_limits<double>::quiet_NaN()), byDefault) << p.name;
        EXPECT_EQ(internalValue(p, std::numeric_limits<double>::infinity()), byDefault) << p.name;
        const auto* control = Quarn::Wrapper::Rain::findRainHostParam(p.key);
        if (!control)
            continue;
        const double unit = control->internal == InternalType::scale ? 0.01
            : control->internal == InternalType::angle               ? std::numbers::pi / 180.0
                                                                     : 1.0;
        EXPECT_NEAR(byDefault, control->defaultValue * unit, 1e-9) << p.name;
    }
}

TEST(Frei0rChoices, EntryNamesOrMenuPositionsGiveTheMappedInternalValues)
{
    // Blend methods carry their method numbers, not their menu positions; a
    // filter has no matte layer, so the layer-based mattes are not offered.
    const std::pair<const char*, std::vector<std::pair<const char*, std::optional<int32_t>>>> rows[] = {
        {"blend_method",
            {{"None", 0}, {"Screen", 17}, {"screen", 17}, {"Linear Dodge", 11}, {"lineardodge", 11},
                {"Composite Source", 25}, {"composite_effect", 26}, {"1", 19}, {"24", 25}, {"Scren", {}},
                {"25", {}}, {"", {}}}},
        {"matte",
            {{"None", 0}, {"Source Inverse Luminance", 2}, {"source-alpha", 3}, {"4", 4},
                {"Matte Layer Alpha", {}}, {"5", {}}, {"-1", {}}}},
        {"process", {{"RGB", 0}, {"rgba", 1}, {"RGBAA", {}}, {"2", {}}, {"1x", {}}}},
    };
    for (const auto& [name, entries] : rows)
        for (const auto& [text, expected] : entries)
            EXPECT_EQ(choiceValue(param(name), text), expected) << name << " '" << text << "'";
}

TEST(Frei0rClock, EachHostsTimeUnitComesFromTheLibrariesItLoaded)
{
    // (MLT, GStreamer, libavfilter) -> unit
    const std::pair<HostLibraries, TimeUnit> hosts[] = {
        {{false, false, true}, TimeUnit::milliseconds},  // ffmpeg
        {{true, false, false}, TimeUnit::seconds},  // melt
        {{true, false, true}, TimeUnit::seconds},  // melt with its avformat module: still MLT
        {{false, true, true}, TimeUnit::seconds},  // GStreamer with libav elements
        {{false, true, false}, TimeUnit::seconds},
        {{false, false, false}, TimeUnit::seconds},  // any other host: the frei0r header's seconds
    };
    for (const auto& [libraries, unit] : hosts)
        EXPECT_EQ(hostTimeUnit(libraries), unit)
            << libraries.mlt << libraries.gstreamer << libraries.libavfilter;
    // The test program links none of the hosts.
    EXPECT_EQ(hostTimeUnit(loadedHostLibraries()), TimeUnit::seconds);
}

TEST(Frei0rClock, HostTimesNameTheVideoFrameAtTheFrameRate)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr auto ms = TimeUnit::milliseconds, s = TimeUnit::seconds;
    struct Row {
        double time;
        TimeUnit unit;
        double rate;
        std::optional<int32_t> frame;
    };
    const Row rows[] = {
        {0.0, ms, 25.0, 0}, {40.0, ms, 25.0, 1}, {80.0, ms, 25.0, 2}, {1000.0, ms, 25.0, 25},
        {0.08, s, 25.0, 2}, {0.039999, s, 25.0, 1}, {0.019, s, 25.0, 0}, {3600.0, s, 25.0, 90000},
        // Times as each host computes them: ffmpeg's pts x time base x 1000, GStreamer's nanoseconds.
        {100.0 / 30.0 * 1000.0 / 100.0 * 7.0, ms, 30.0, 7}, {7.0 * 33.333333333333336, ms, 30.0, 7},
        {0.066666665999999999, s, 30.0, 2}, {1001.0 / 30000.0 * 5.0, s, 30000.0 / 1001.0, 5},
        {0.5, s, 50.0, 25}, {0.5, s, 24.0, 12},
        // No time stamp: ffmpeg's, GStreamer's (2^64 - 1 ns), nothing finite, nothing before 0.
        {-3.6893488147419103e+20, ms, 25.0, {}}, {18446744073.709551615, s, 25.0, {}}, {nan, s, 25.0, {}},
        {std::numeric_limits<double>::infinity(), s, 25.0, {}}, {-0.04, s, 25.0, {}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(videoFrame(r.time, r.unit, r.rate), r.frame)
            << r.time << (r.unit == ms ? " ms" : " s") << " at " << r.rate;
}

// The editors' descriptions of the filter, checked against the table: a
// renamed parameter, a changed default or range, or a new entry must show
// up here rather than as a control that silently does nothing.
namespace {

using Attributes = std::map<std::string, std::string>;

std::string readSource(const std::string& relative)
{
    std::ifstream in(std::string(NIMBREL_SOURCE_DIR) + "/" + relative);
    EXPECT_TRUE(in.good()) << relative;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The attributes of each "parameter" element of the Kdenlive description.
std::vector<Attributes> kdenliveParams()
{
    std::vector<Attributes> params;
    const std::string text = readSource("packaging/kdenlive/frei0r_nimbrel.xml");
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &params);
    XML_SetStartElementHandler(parser, [](void* data, const XML_Char* name, const XML_Char** attributes) {
        auto& params = *static_cast<std::vector<Attributes>*>(data);
        if (std::string(name) == "parameter")
            for (int i = 0; attributes[i]; i += 2)
                (i == 0 ? params.emplace_back() : params.back())[attributes[i]] = attributes[i + 1];
    });
    EXPECT_EQ(XML_Parse(parser, text.data(), int(text.size()), 1), XML_STATUS_OK)
        << XML_ErrorString(XML_GetErrorCode(parser)) << " at line " << XML_GetCurrentLineNumber(parser);
    XML_ParserFree(parser);
    return params;
}

}  // namespace

TEST(EditorDescriptions, KdenliveAndShotcutOfferEveryParameterWithTheTablesEntriesDefaultsAndRanges)
{
    EXPECT_NE(readSource("packaging/shotcut/meta_nimbrel.qml").find("mlt_service: \"frei0r.nimbrel\""),
        std::string::npos);
    const std::string shotcut = readSource("packaging/shotcut/ui.qml");
    const std::vector<Attributes> described = kdenliveParams();
    ASSERT_EQ(described.size(), size_t(kFilterParamCount));
    std::set<std::string> seen;
    for (const Attributes& d : described) {
        const std::string name = d.at("name");
        SCOPED_TRACE(name);
        EXPECT_TRUE(seen.insert(name).second) << "described twice";
        const FilterParam& p = param(name.c_str());
        const std::string control = "{name: \"" + name + "\"";
        EXPECT_NE(shotcut.find(control), std::string::npos) << "no Shotcut control";
        EXPECT_EQ(shotcut.find(control, shotcut.find(control) + 1), std::string::npos)
            << "two Shotcut controls";
        const bool choice = p.mapping == Mapping::choice;
        if (choice || p.mapping == Mapping::count) {
            // A list of the entries in menu order, or of the values giving each count in order.
            EXPECT_EQ(d.at("type"), "list");
            const std::string list = d.at("paramlist");
            const std::regex semicolon(";");
            const std::vector<std::string> entries(
                std::sregex_token_iterator(list.begin(), list.end(), semicolon, -1), {});
            ASSERT_EQ(entries.size(), size_t(choice ? p.choiceCount : p.maximum - p.minimum + 1));
            for (size_t k = 0; k < entries.size(); ++k) {
                if (choice)
                    EXPECT_EQ(entries[k], choiceName(p, int(k)));
                else
                    EXPECT_EQ(internalValue(p, std::stod(entries[k])), p.minimum + double(k));
            }
        }
        if (choice) {
            EXPECT_EQ(d.at("default"), p.defaultText);
            continue;
        }
        EXPECT_EQ(d.at("type") == "bool", p.mapping == Mapping::flag);
        // Kdenlive sends shown value / factor.
        const double factor = d.count("factor") ? std::stod(d.at("factor")) : 1.0;
        const auto sent = [&](const char* attribute) {
            return internalValue(p, std::stod(d.at(attribute)) / factor);
        };
        EXPECT_DOUBLE_EQ(sent("default"), internalValue(p, p.defaultValue));
        if (p.mapping == Mapping::fraction || p.mapping == Mapping::linear || p.mapping == Mapping::seed) {
            // A seed of 1 would be read on the 0..1 scale (seed 100): its range starts at 2.
            EXPECT_DOUBLE_EQ(sent("min"), p.mapping == Mapping::seed ? 2.0 : p.minimum);
            EXPECT_DOUBLE_EQ(sent("max"), p.maximum);
        }
    }
}
