// Every refusal of the parameter set and its hosted set: the exception class,
// the throwing function, its source and line, and that the set is unchanged.
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

// A set with one parameter of each kind the rows need, unlocked.
void fill(ParamSet& set)
{
    set.addParam(auto_ref<Param>(new Int("count")));
    set.addParam(auto_ref<Param>(new Double("amount")));
    set.addParam(auto_ref<Param>(new String("text")));
}

const char* const kSet = "src/qrSetOfParams";
const char* const kLookup = "core/parameter/include/qrParamSet";
const char* const kHosted = "core/parameter/include/qrHostedObject";

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
