// The filter's frei0r parameters: how 0..1 doubles and entry names become
// the rain effect's values, and how frei0r time picks the drop pattern.
#include "qrFrei0rMotion.h"
#include "qrFrei0rParams.h"

#include <expat.h>
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <map>
#include <numbers>
#include <set>
#include <sstream>
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

TEST(Frei0rParamTable, NamesAreUniqueAndEachNamesARainControlOrMotionField)
{
    std::set<std::string> names, keys;
    for (const FilterParam& p : filterParams()) {
        EXPECT_TRUE(names.insert(p.name).second) << "duplicate name " << p.name;
        EXPECT_TRUE(keys.insert(p.key).second) << "two parameters drive " << p.key;
        QrRainMotion scratch;
        const bool motion = setMotionValue(scratch, p.key, 0.0);
        EXPECT_NE(motion, Quarn::Wrapper::Rain::findRainHostParam(p.key) != nullptr) << p.key;
        EXPECT_GT(std::string(p.explanation).size(), 10u) << p.name;
        if (p.mapping == Mapping::choice) {
            EXPECT_TRUE(choiceValue(p, p.defaultText).has_value()) << "default not an entry: " << p.name;
        }
    }
    EXPECT_EQ(findFilterParam("no such parameter"), -1);
}

TEST(Frei0rParamMapping, UnitDoublesReachTheRealRanges)
{
    struct Row {
        const char* name;
        double value;
        double expected;  // internal units: fraction, pixels, percent, seed
    };
    const Row rows[] = {
        {"density", 0.6, 0.6},
        {"density", 0.0, 0.0001},
        {"density", 3.0, 3.0},
        {"density", 80.0, 50.0},
        {"drop_length", 0.1, 50.0},
        {"drop_length", 1.0, 500.0},
        {"drop_length", -1.0, 0.0},
        {"drop_length", 30.0, 10000.0},
        {"intensity", 1.0, 1.0},
        {"intensity", 0.25, 0.25},
        {"diffusion_min", 0.9, 0.9},
        {"diffusion_max", 1.5, 1.0},
        {"diffusion_min", -0.5, 0.0},
        {"blend_mix", 0.5, 50.0},
        {"blend_mix", 2.0, 100.0},
        {"source_gain", 0.5, 100.0},
        {"effect_gain", 1.0, 200.0},
        {"effect_gain", 40.0, 5000.0},
        {"seed", 0.0, 1.0},
        {"seed", 1.0, 100.0},
        {"seed", 12.0 / 99.0, 13.0},
        {"seed", 0.5, 51.0},
        {"seed", 777.0, 777.0},
        {"seed", 9999.0, 5000.0},
        {"fall_speed", 0.0, 0.0},
        {"fall_speed", 0.25, 25.0},
        {"fall_speed", 99.0, 2000.0},
        {"wind_variation", 1.0, 90.0},
        {"gust_rate", 0.16, 4.0},
        {"depth_layers", 0.0, 1.0},
        {"depth_layers", 0.4, 2.0},
        {"depth_layers", 1.0, 4.0},
        {"depth_layers", 3.0, 3.0},
        {"depth_layers", 9.0, 4.0},
        {"depth_falloff", 0.4, 0.4},
        {"streak_from_speed", 0.49, 0.0},
        {"streak_from_speed", 0.5, 1.0},
        // Direction spans a full turn with straight down at a quarter.
        {"direction", 0.0, -std::numbers::pi},
        {"direction", 0.25, -std::numbers::pi / 2},
        {"direction", 0.5, 0.0},
        {"direction", 1.0, std::numbers::pi},
    };
    for (const Row& r : rows)
        EXPECT_NEAR(internalValue(param(r.name), r.value), r.expected, 1e-9) << r.name << " " << r.value;
}

TEST(Frei0rParamMapping, NonFiniteValuesFallBackToTheDefault)
{
    for (const FilterParam& p : filterParams()) {
        if (p.mapping == Mapping::choice)
            continue;
        const double expected = internalValue(p, p.defaultValue);
        EXPECT_EQ(internalValue(p, std::numeric_limits<double>::quiet_NaN()), expected) << p.name;
        EXPECT_EQ(internalValue(p, std::numeric_limits<double>::infinity()), expected) << p.name;
    }
}

TEST(Frei0rParamMapping, DefaultsAreTheRainControlsDefaults)
{
    // Where the filter keeps the effect's own default, the mapped default
    // must land exactly on it.
    struct Row {
        const char* name;
        double expected;
    };
    for (const Row& r : {Row {"density", 0.6}, Row {"drop_length", 50.0}, Row {"intensity", 1.0},
             Row {"diffusion_min", 0.9}, Row {"diffusion_max", 1.0}, Row {"seed", 13.0},
             Row {"blend_mix", 50.0}, Row {"source_gain", 100.0}, Row {"effect_gain", 100.0}}) {
        const FilterParam& p = param(r.name);
        EXPECT_NEAR(internalValue(p, p.defaultValue), r.expected, 1e-9) << r.name;
    }
}

TEST(Frei0rChoices, EntryNamesGiveTheMappedInternalValues)
{
    struct Row {
        const char* name;
        const char* text;
        int expected;
    };
    // Blend methods carry their method numbers, not their menu positions.
    const Row rows[] = {
        {"blend_method", "None", 0},
        {"blend_method", "Screen", 17},
        {"blend_method", "screen", 17},
        {"blend_method", "Linear Dodge", 11},
        {"blend_method", "lineardodge", 11},
        {"blend_method", "Composite Source", 25},
        {"blend_method", "composite_effect", 26},
        {"blend_method", "1", 19},
        {"blend_method", "24", 25},
        {"matte", "None", 0},
        {"matte", "Source Inverse Luminance", 2},
        {"matte", "source-alpha", 3},
        {"matte", "4", 4},
        {"process", "RGB", 0},
        {"process", "rgba", 1},
    };
    for (const Row& r : rows) {
        const auto value = choiceValue(param(r.name), r.text);
        ASSERT_TRUE(value.has_value()) << r.name << " " << r.text;
        EXPECT_EQ(*value, r.expected) << r.name << " " << r.text;
    }
}

TEST(Frei0rChoices, UnknownOrUnofferedEntriesAreRefused)
{
    struct Row {
        const char* name;
        const char* text;
    };
    // A filter has no matte layer: the layer-based mattes are not offered.
    for (const Row& r : {Row {"matte", "Matte Layer Alpha"}, Row {"matte", "5"}, Row {"matte", "-1"},
             Row {"blend_method", "Scren"}, Row {"blend_method", "25"}, Row {"blend_method", ""},
             Row {"process", "RGBAA"}, Row {"process", "2"}, Row {"process", "1x"}})
        EXPECT_FALSE(choiceValue(param(r.name), r.text).has_value()) << r.name << " '" << r.text << "'";
}

TEST(Frei0rTime, UsableSecondsRoundToPatternFrames)
{
    struct Row {
        double seconds;
        int32_t frame;
    };
    const Row rows[] = {
        {0.0, 0}, {0.04, 1}, {0.039999, 1}, {0.019, 0}, {0.021, 1}, {1.0, 25}, {-0.04, -1}, {3600.0, 90000}};
    for (const Row& r : rows)
        EXPECT_EQ(patternFrame(r.seconds), r.frame) << r.seconds;
    EXPECT_EQ(patternFrame(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(patternFrame(1e300), std::numeric_limits<int32_t>::max());
    // Only finite non-negative times pick the pattern.
    EXPECT_TRUE(isUsableTime(0.0));
    EXPECT_TRUE(isUsableTime(12.5));
    EXPECT_FALSE(isUsableTime(-3.6893488147419103e+20));  // what ffmpeg 5.1 passes
    EXPECT_FALSE(isUsableTime(-0.04));
    EXPECT_FALSE(isUsableTime(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(isUsableTime(std::numeric_limits<double>::infinity()));
}

// The editors' descriptions of the filter, checked against the table: a
// renamed parameter, a changed default or range, or a new entry must show
// up here rather than as a control that silently does nothing.
namespace {

struct KdenliveParam {
    std::map<std::string, std::string> attributes;
};

std::string readSource(const std::string& relative)
{
    std::ifstream in(std::string(NIMBREL_SOURCE_DIR) + "/" + relative);
    EXPECT_TRUE(in.good()) << relative;
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::vector<KdenliveParam> kdenliveParams()
{
    std::vector<KdenliveParam> params;
    const std::string text = readSource("packaging/kdenlive/frei0r_nimbrel.xml");
    XML_Parser parser = XML_ParserCreate("UTF-8");
    XML_SetUserData(parser, &params);
    XML_SetStartElementHandler(parser, [](void* data, const XML_Char* name, const XML_Char** attributes) {
        if (std::string(name) != "parameter")
            return;
        KdenliveParam param;
        for (int i = 0; attributes[i]; i += 2)
            param.attributes[attributes[i]] = attributes[i + 1];
        static_cast<std::vector<KdenliveParam>*>(data)->push_back(param);
    });
    EXPECT_EQ(XML_Parse(parser, text.data(), int(text.size()), 1), XML_STATUS_OK)
        << XML_ErrorString(XML_GetErrorCode(parser)) << " at line " << XML_GetCurrentLineNumber(parser);
    XML_ParserFree(parser);
    return params;
}

std::vector<std::string> split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

}  // namespace

TEST(EditorDescriptions, KdenliveOffersEveryParameterWithTheTablesEntriesDefaultsAndRanges)
{
    const std::vector<KdenliveParam> described = kdenliveParams();
    ASSERT_EQ(described.size(), size_t(kFilterParamCount));
    std::set<std::string> seen;
    for (const KdenliveParam& d : described) {
        const std::string name = d.attributes.at("name");
        SCOPED_TRACE(name);
        EXPECT_TRUE(seen.insert(name).second) << "described twice";
        const FilterParam& p = param(name.c_str());
        if (p.mapping == Mapping::count) {
            // A list whose entries give the counts in order.
            const std::vector<std::string> entries = split(d.attributes.at("paramlist"), ';');
            ASSERT_EQ(entries.size(), size_t(p.maximum - p.minimum + 1));
            for (size_t k = 0; k < entries.size(); ++k)
                EXPECT_EQ(internalValue(p, std::stod(entries[k])), p.minimum + double(k));
            EXPECT_EQ(
                internalValue(p, std::stod(d.attributes.at("default"))), internalValue(p, p.defaultValue));
            continue;
        }
        if (p.mapping == Mapping::flag) {
            EXPECT_EQ(d.attributes.at("type"), "bool");
            EXPECT_EQ(std::stod(d.attributes.at("default")), p.defaultValue);
            continue;
        }
        if (p.mapping == Mapping::choice) {
            EXPECT_EQ(d.attributes.at("type"), "list");
            EXPECT_EQ(d.attributes.at("default"), p.defaultText);
            const std::vector<std::string> entries = split(d.attributes.at("paramlist"), ';');
            ASSERT_EQ(entries.size(), size_t(p.choiceCount));
            for (int k = 0; k < p.choiceCount; ++k)
                EXPECT_EQ(entries[k], choiceName(p, k));
            continue;
        }
        // Kdenlive sends shown value / factor.
        const double factor = std::stod(d.attributes.at("factor"));
        const double sent = std::stod(d.attributes.at("default")) / factor;
        EXPECT_DOUBLE_EQ(internalValue(p, sent), internalValue(p, p.defaultValue));
        const double low = internalValue(p, std::stod(d.attributes.at("min")) / factor);
        const double high = internalValue(p, std::stod(d.attributes.at("max")) / factor);
        if (p.mapping == Mapping::fraction || p.mapping == Mapping::linear) {
            EXPECT_DOUBLE_EQ(low, p.minimum);
            EXPECT_DOUBLE_EQ(high, p.maximum);
        } else if (p.mapping == Mapping::seed) {
            // 1 would be read on the 0..1 scale (seed 100): the range starts at 2.
            EXPECT_EQ(low, 2.0);
            EXPECT_EQ(high, p.maximum);
        }
    }
}

TEST(EditorDescriptions, ShotcutControlsNameEveryParameterOnce)
{
    const std::string ui = readSource("packaging/shotcut/ui.qml");
    for (const FilterParam& p : filterParams()) {
        const std::string control = std::string("{name: \"") + p.name + "\"";
        const size_t first = ui.find(control);
        EXPECT_NE(first, std::string::npos) << p.name;
        EXPECT_EQ(ui.find(control, first + 1), std::string::npos) << p.name << " twice";
    }
    EXPECT_NE(readSource("packaging/shotcut/meta_nimbrel.qml").find("mlt_service: \"frei0r.nimbrel\""),
        std::string::npos);
}
