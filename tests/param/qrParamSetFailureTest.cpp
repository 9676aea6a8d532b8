// Every refusal of the parameter set, its hosted set, its choices and pages:
// the exception class, the throwing function, its source and line, and that
// the set is unchanged.
#include "qrParams.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

using namespace Quarn::Param;
using Quarn::auto_ref;

namespace {

struct Failure {
    const char* what;
    std::function<void(ParamSet&)> call;
    const char* className;
    const char* function;
    const char* file;
    int line;
    const char* argument;  // first argument as written, or null when none
};

// A set with one parameter of each kind the rows need, unlocked: a choice
// "mode" of Soft (5), Hard (2) and Auto (7) with Smooth for Soft, on Auto,
// and a page "main" with "first" at row 2, column 3.
void fill(ParamSet& set)
{
    set.addParam(auto_ref<Param>(new Int("count")));
    set.addParam(auto_ref<Param>(new Double("amount")));
    set.addParam(auto_ref<Param>(new String("text")));
    auto_ref<Choice> mode(new Choice("mode"));
    mode->addOption("Soft", "", 5);
    mode->addOption("Hard", "", 2);
    mode->addOption("Auto", "", 7);
    mode->aliasOption("Smooth", "Soft");
    mode->setCurrent(2);
    set.addParam(mode);
    auto_ref<Page> page(new Page("main"));
    page->addParam("first", 2, 3);
    set.addParam(page);
}

Choice& mode(ParamSet& set)
{
    return *dynamic_cast<Choice*>(set.findParam("mode"));
}

const char* const kSet = "src/qrSetOfParams";
const char* const kLookup = "core/parameter/include/qrParamSet";
const char* const kHosted = "core/parameter/include/qrHostedObject";
const char* const kChoice = "src/qrParamChoice";
const char* const kAddOption = "Quarn::Param::Choice::addOption";
const char* const kParseChoice = "Quarn::Param::Choice::parseValue";

}  // namespace

TEST(ParamSetFailures, EachRefusalCarriesItsClassFunctionAndLine)
{
    const Failure rows[] = {
        {"unknown name", [](ParamSet& s) { s.getDoubleParam("nope", 0.0); }, "ParamUndefined",
            "Quarn::Param::ParamSet::getAndCastParam", kLookup, 306, "'nope'"},
        {"double read of an int", [](ParamSet& s) { s.getDoubleParam("count", 0.0); }, "ParamWrongType",
            "Quarn::Param::ParamSet::getAndCastParam", kLookup, 309, "'count'"},
        {"scale read of a plain double", [](ParamSet& s) { s.getScaleParam("amount", 0.0); },
            "ParamWrongType", "Quarn::Param::ParamSet::getAndCastParam", kLookup, 309, "'amount'"},
        {"int read of an unknown name", [](ParamSet& s) { s.getIntParam("nope", 0.0); }, "ParamUndefined",
            "Quarn::Param::ParamSet::getAndCastParam", kLookup, 306, "'nope'"},
        {"int read of a double", [](ParamSet& s) { s.getIntParam("amount", 0.0); }, "ParamUndefined",
            "Quarn::Param::ParamSet::getIntParam", kSet, 190, "'amount'"},
        {"int write of a string", [](ParamSet& s) { s.setIntParam("text", 1); }, "ParamUndefined",
            "Quarn::Param::ParamSet::setIntParam", kSet, 415, "'text'"},
        {"add while locked",
            [](ParamSet& s) {
                s.setDefinitionLock(true);
                s.addParam(auto_ref<Param>(new Int("late")));
            },
            "Locked", "Quarn::Param::ParamSet::addParam", kSet, 51, nullptr},
        {"remove while locked",
            [](ParamSet& s) {
                s.setDefinitionLock(true);
                s.removeParam("count");
            },
            "Locked", "Quarn::Param::ParamSet::removeParam", kSet, 67, nullptr},
        {"duplicate name", [](ParamSet& s) { s.addParam(auto_ref<Param>(new Bool("count"))); },
            "DuplicateObject", "Quarn::HostedSet<class Quarn::Param::Param>::hsAddObject", kHosted, 220,
            "'count'"},
        {"alias spelt like a parameter", [](ParamSet& s) { s.aliasParam("amount", "count"); },
            "DuplicateObject", "Quarn::HostedSet<class Quarn::Param::Param>::hsAliasObject", kHosted, 299,
            "'amount'"},
        {"alias of an unknown original", [](ParamSet& s) { s.aliasParam("old", "gone"); }, "ObjectUndefined",
            "Quarn::HostedSet<class Quarn::Param::Param>::hsGetObject", kHosted, 266, "'gone'"},
        {"camera without a host",
            [](ParamSet& s) {
                Quarn::CameraBase c;
                s.getCameraParam("cam", c, 0.0);
            },
            "FunctionUndefined", "Quarn::Param::ParamSet::getCameraParam", kSet, 125,
            "'ParamSet::getCameraParam for unhosted parameter'"},
        {"light without a host",
            [](ParamSet& s) {
                Quarn::LightBase l;
                s.getLightParam("sun", l);
            },
            "FunctionUndefined", "Quarn::Param::ParamSet::getLightParam", kSet, 135,
            "'ParamSet::getLightParam for unhosted parameter'"},
        {"unopenable file", [](ParamSet& s) { s.parseXMLFile("/nonexistent/dir/set.xml"); }, "FileOpen",
            "Quarn::Param::ParamSet::parseXMLFile", "src/qrParamParser", 486, "'open file for reading'"},
        // Choice options are checked against aliases, then labels, then values.
        {"option spelt like an alias", [](ParamSet& s) { mode(s).addOption("Smooth", "", 99); },
            "DuplicateObject", kAddOption, kChoice, 115,
            "'Tried to add a choice option for an existing alias'"},
        {"option spelt like an option", [](ParamSet& s) { mode(s).addOption("Soft", "", 99); },
            "DuplicateObject", kAddOption, kChoice, 119,
            "'Tried to add a choice option for an existing option'"},
        {"option spelt like an option, with a value in use",
            [](ParamSet& s) { mode(s).addOption("Soft", "", 2); }, "DuplicateObject", kAddOption, kChoice,
            119, "'Tried to add a choice option for an existing option'"},
        {"option with a value in use", [](ParamSet& s) { mode(s).addOption("New", "", 2); },
            "DuplicateObject", kAddOption, kChoice, 123,
            "'Tried to add a choice option for an existing value'"},
        {"alias spelt like an option", [](ParamSet& s) { mode(s).aliasOption("Hard", "Soft"); },
            "DuplicateObject", "Quarn::Param::Choice::aliasOption", kChoice, 207,
            "'Tried to set a choice alias for an existing options'"},
        // A number selects by option value, not by position.
        {"choice text naming nothing", [](ParamSet& s) { mode(s).parseValue("Medium"); }, "BadValue",
            kParseChoice, kChoice, 150, "'Medium is not an option to the choice parameter mode'"},
        {"choice number no option has", [](ParamSet& s) { mode(s).parseValue("3"); }, "BadValue",
            kParseChoice, kChoice, 150, "'3 is not an option to the choice parameter mode'"},
        {"choice number with a tail", [](ParamSet& s) { mode(s).parseValue("2x"); }, "BadValue", kParseChoice,
            kChoice, 150, "'2x is not an option to the choice parameter mode'"},
        {"empty choice text", [](ParamSet& s) { mode(s).parseValue(""); }, "BadValue", kParseChoice, kChoice,
            150, "' is not an option to the choice parameter mode'"},
        {"second name in a page cell",
            [](ParamSet& s) { dynamic_cast<Page*>(s.findParam("main"))->addParam("second", 2, 3); },
            "AssertionFailed", "Quarn::Param::Page::addParam", "src/qrParamGroup", 78,
            "'!getParamAtPosition(row, column)'"},
    };
    for (const Failure& row : rows) {
        ParamSet set;
        fill(set);
        std::ostringstream before;
        set.writeXML(before, true);
        try {
            row.call(set);
            ADD_FAILURE() << row.what << ": nothing was thrown";
        } catch (const Quarn::Exceptions::ExceptionI& e) {
            EXPECT_STREQ(e.name(), row.className) << row.what;
            EXPECT_EQ(e.function(), row.function) << row.what;
            EXPECT_EQ(e.file(), row.file) << row.what;
            EXPECT_EQ(e.line(), row.line) << row.what;
            if (row.argument) {
                ASSERT_FALSE(e.arguments().empty()) << row.what;
                EXPECT_EQ(e.arguments()[0].write(), row.argument) << row.what;
            } else {
                EXPECT_TRUE(e.arguments().empty()) << row.what;
            }
        }
        std::ostringstream after;
        set.writeXML(after, true);
        EXPECT_EQ(after.str(), before.str()) << row.what << " changed the set";
    }
}

TEST(ParamSetFailures, WrongTypeWithoutMustMatchAnswersFalse)
{
    ParamSet set;
    fill(set);
    auto_ref<Bool> b;
    EXPECT_FALSE(set.getAndCastParam(b, "count", false));
    EXPECT_TRUE(b.isNull());
    auto_ref<Double> d;
    EXPECT_TRUE(set.getAndCastParam(d, "amount", false));
    EXPECT_EQ(d->name(), "amount");
}

TEST(ParamSetFailures, MissingHostReaderOrNameIsAnExceptionNotACrash)
{
    ParamSet passThrough(true);
    EXPECT_THROW(passThrough.getDoubleParam("x", 0.0), Quarn::Exceptions::NullPointer);
    EXPECT_FALSE(passThrough.paramIsDefined("x"));

    ASSERT_EQ(ParamSet::xmlReader(), nullptr);
    EXPECT_THROW(ParamSet().parseXML(std::string("<paramset/>")), Quarn::Exceptions::FunctionUndefined);

    Quarn::HostedSet<Param> objects;
    objects.hsAddObject(auto_ref<Param>(new Int("known")));
    EXPECT_THROW(objects.hsNotify("nope", 1), Quarn::Exceptions::ObjectUndefined);
}
