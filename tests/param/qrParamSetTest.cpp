// The parameter set: local reads against a host, pass-through, choices and
// flags through the integer operations, aliases, the definition lock.
#include "qrMockParamHost.h"
#include "qrParams.h"

#include <gtest/gtest.h>

using namespace Quarn::Param;
using Quarn::auto_ref;
using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;
using ::testing::StrictMock;

namespace {

template <class T> auto_ref<T> add(ParamSet& set, T* p)
{
    auto_ref<T> ref(p);
    set.addParam(ref);
    return ref;
}

auto_ref<Choice> addChoice(ParamSet& set, const char* name)
{
    auto_ref<Choice> c = add(set, new Choice(name));
    c->addOption("ten", "", 10);
    c->addOption("twenty", "", 20);
    c->addOption("thirty", "", 30);
    c->setCurrent(1);
    return c;
}

class CountingListener : public Quarn::HostedListenerI {
public:
    void notify(int value) override { seen.push_back(value); }
    std::vector<int> seen;
};

// A set and a pass-through set with a host that defines only the names a
// test binds.
class ParamSetHost : public ::testing::Test {
protected:
    void bind(ParamSet& s, std::initializer_list<std::string> names)
    {
        host.defines(names);
        s.setHost(&host);
    }
    NiceMock<MockParamHost> host;
    ParamSet set;
    ParamSet passThrough {true};
};

}  // namespace

TEST(ParamSetLocal, UnboundSetAnswersWithStoredValues)
{
    ParamSet set;
    add(set, new Double("d"))->setValue(1.25);
    add(set, new Scale("s"))->setValue(0.6);
    add(set, new Angle("a"))->setValue(-1.5);
    add(set, new RGBAColour("c"))->setValue(QrPixelRGBAf {0.1f, 0.2f, 0.3f, 0.4f});
    add(set, new String("t"))->setValue("word");
    add(set, new Grad("g"));
    EXPECT_EQ(set.getDoubleParam("d", 0.0), 1.25);
    EXPECT_EQ(set.getScaleParam("s", 0.0), Quarn::Scale(0.6));
    EXPECT_EQ(set.getAngleParam("a", 0.0), Quarn::Angle(-1.5));
    EXPECT_EQ(set.getRGBAParam("c", 0.0), (QrPixelRGBAf {0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_EQ(set.getGradParam("g", 0.0), QrColGradDescription());
    std::string text;
    EXPECT_EQ(&set.getStringParam("t", text, 0.0), &text);
    EXPECT_EQ(text, "word");
}

TEST_F(ParamSetHost, HostedParametersReadTheHostAndLocalOnesTheirStoredValue)
{
    auto d = add(set, new Double("d"));
    d->setValue(3.0);
    add(set, new Double2("p"));
    add(set, new Double("local"))->setValue(3.0);
    bind(set, {"d", "p"});
    EXPECT_CALL(host, getDoubleParam("d", 2.0)).WillOnce(Return(42.0));
    EXPECT_CALL(host, get2DDoubleParam("p", 1.0)).WillOnce(Return(HvVec2 {1, 2}));
    EXPECT_EQ(set.getDoubleParam("d", 2.0), 42.0);
    EXPECT_EQ(set.get2DDoubleParam("p", 1.0), (HvVec2 {1, 2}));
    EXPECT_EQ(d->value(), 3.0) << "a host read does not update the stored value";

    EXPECT_CALL(host, getDoubleParam("local", _)).Times(0);
    EXPECT_CALL(host, setDoubleParam("local", _)).Times(0);
    EXPECT_EQ(set.getDoubleParam("local", 2.0), 3.0);
    set.setDoubleParam("local", 5.0);
    EXPECT_EQ(set.getDoubleParam("local", 2.0), 5.0);
}

TEST_F(ParamSetHost, SettersClampThenPushTheClampedValueToTheHost)
{
    auto n = add(set, new Int("n"));
    n->setMax(10);
    auto s = add(set, new Scale("s"));
    s->setMin(0.01);
    auto g = add(set, new Grad("g"));
    bind(set, {"n", "s", "g"});
    QrColGradDescription changed;
    changed.setCyclic(true);
    EXPECT_CALL(host, setIntParam("n", 10));
    EXPECT_CALL(host, setDoubleParam("s", 0.01));
    EXPECT_CALL(host, setGradParam("g", changed));
    set.setIntParam("n", 99);
    set.setScaleParam("s", Quarn::Scale(0.0));
    set.setGradParam("g", changed);
    EXPECT_EQ(n->value(), 10);
    EXPECT_EQ(s->value(), 0.01);
    EXPECT_EQ(g->value(), changed);
}

TEST_F(ParamSetHost, CurrentTimeFormsAskAtTheSetsTime)
{
    // A set whose current time is not 0, as an effect's would be.
    struct TimedSet : ParamSet {
        double getTime() override { return 4.5; }
    } timed;
    add(timed, new Scale("s"));
    add(timed, new Bool("b"));
    bind(timed, {"s", "b"});
    EXPECT_CALL(host, getDoubleParam("s", 4.5)).WillOnce(Return(0.25));
    EXPECT_CALL(host, getBoolParam("b", 4.5)).WillOnce(Return(true));
    EXPECT_EQ(timed.getScaleParam("s").value(), 0.25);
    EXPECT_TRUE(timed.getBoolParam("b"));
}

TEST_F(ParamSetHost, KeyFramesReachTheHostOnlyForHostedParameters)
{
    add(set, new Double("hosted"));
    add(set, new Double("local"));
    bind(set, {"hosted"});
    EXPECT_CALL(host, paramNumKeys("hosted")).WillOnce(Return(3));
    EXPECT_CALL(host, paramNumKeys("local")).Times(0);
    EXPECT_CALL(host, paramFindKey("hosted", 2.0, 7, -1)).WillOnce(Return(true));
    EXPECT_CALL(host, paramDeleteKey("hosted", ::testing::Matcher<int>(1)));
    EXPECT_EQ(set.paramNumKeys("hosted"), 3);
    EXPECT_EQ(set.paramNumKeys("local"), 0);
    EXPECT_TRUE(set.paramFindKey("hosted", 2.0, 7, -1));
    EXPECT_FALSE(set.paramFindKey("local", 2.0, 7, -1));
    set.paramDeleteKey("hosted", 1);
    set.paramDeleteKey("local", 1);
}

TEST(ParamSetInt, ChoiceReadsAndWritesByOptionValueAndBoolAsOneOrZero)
{
    ParamSet set;
    auto c = addChoice(set, "c");
    EXPECT_EQ(set.getIntParam("c", 0.0), 20);
    set.setIntParam("c", 30);
    EXPECT_EQ(c->current(), 2);
    set.setIntParam("c", 25);
    EXPECT_EQ(c->current(), 2);

    auto b = add(set, new Bool("b"));
    EXPECT_EQ(set.getIntParam("b", 0.0), 0);
    set.setIntParam("b", -4);
    EXPECT_TRUE(b->value()) << "any non-zero is true";
    EXPECT_EQ(set.getIntParam("b", 0.0), 1);
}

TEST_F(ParamSetHost, HostedChoiceRefreshesItsIndexFromTheHostAndSendsIndicesAlsoWhenParsed)
{
    auto c = addChoice(set, "c");
    bind(set, {"c"});
    EXPECT_CALL(host, getIntParam("c", 1.0)).WillOnce(Return(2)).WillOnce(Return(9));
    EXPECT_EQ(set.getIntParam("c", 1.0), 30);
    EXPECT_EQ(c->current(), 2);
    EXPECT_EQ(set.getIntParam("c", 1.0), 0) << "an index outside the options reads as 0";
    EXPECT_CALL(host, setIntParam("c", 0));
    set.setIntParam("c", 10);
    EXPECT_CALL(host, setIntParam("c", 1));
    c->parseValue("twenty");
}

// Reached through an alias, a hosted parameter still names itself to the
// host: the host never heard of the alias. Each row reaches one host call.
TEST_F(ParamSetHost, HostCallsThroughAnAliasUseTheParametersOwnName)
{
    addChoice(set, "mode");
    add(set, new Grad("ramp"));
    add(set, new Roto("shape"));
    add(set, new Double("gain"));
    for (const char* name : {"mode", "ramp", "shape", "gain"})
        set.aliasParam(std::string("old_") + name, name);
    bind(set, {"mode", "ramp", "shape", "gain"});
    EXPECT_CALL(host, getIntParam(_, _)).Times(0);
    EXPECT_CALL(host, getIntParam("mode", 2.0)).WillOnce(Return(0));
    EXPECT_CALL(host, setIntParam("mode", 2));
    EXPECT_CALL(host, getGradParam("ramp", 2.0)).WillOnce(Return(QrColGradDescription()));
    EXPECT_CALL(host, setGradParam("ramp", _));
    EXPECT_CALL(host, getRotoParam("shape", 4, 2.0)).WillOnce(Return(true));
    EXPECT_CALL(host, setRotoParam("shape", _));
    EXPECT_CALL(host, paramNumKeys("gain")).WillOnce(Return(2));
    EXPECT_CALL(host, getDoubleParam("gain", 2.0)).WillOnce(Return(0.5));

    EXPECT_EQ(set.getIntParam("old_mode", 2.0), 10);
    set.setIntParam("old_mode", 30);
    set.getGradParam("old_ramp", 2.0);
    set.setGradParam("old_ramp", QrColGradDescription());
    EXPECT_TRUE(set.getRotoParam("old_shape", 2.0, 4));
    set.setRotoParam("old_shape", Quarn::RotoShape());
    EXPECT_EQ(set.paramNumKeys("old_gain"), 2);
    EXPECT_EQ(set.getDoubleParam("old_gain", 2.0), 0.5);
}

TEST(ParamSetInt, ChoiceTextSelectsByLabelAliasOrOptionValue)
{
    // What a choice refuses is in the failure table.
    ParamSet set;
    auto c = addChoice(set, "c");
    c->aliasOption("Later", "forty");
    EXPECT_EQ(c->findAlias("Later"), -1) << "an alias may precede its original";
    c->addOption("forty", "", 1);
    EXPECT_EQ(c->findAlias("Later"), 3);
    EXPECT_EQ(c->labelAt(4), "") << "no option there";
    // "1" selects the option whose value is 1, not the second option.
    for (auto [text, index] : {std::pair {"thirty", 2}, {"Later", 3}, {"ten", 0}, {"1", 3}, {" 20 ", 1}}) {
        c->parseValue(text);
        EXPECT_EQ(c->current(), index) << text;
    }
    for (auto [index, value] : {std::pair {2, 30}, {4, 0}, {-1, 0}}) {
        c->setCurrent(index);
        EXPECT_EQ(c->currentValue(), value) << "value outside the option table is 0: " << index;
    }
}

TEST(ParamSetPassThrough, TypedCallsGoToTheHostWithoutConsultingTheSet)
{
    StrictMock<MockParamHost> host;
    ParamSet set(true);
    set.setHost(&host);
    EXPECT_CALL(host, getScaleParam("density", 3.0)).WillOnce(Return(Quarn::Scale(0.6)));
    EXPECT_CALL(host, getIntParam("seed", 3.0)).WillOnce(Return(13));
    EXPECT_CALL(host, setDoubleParam("dropLength", 45.0));
    EXPECT_CALL(host, setIntParam("presets", 0));
    EXPECT_CALL(host, paramIsDefined("expand")).WillOnce(Return(false));
    EXPECT_EQ(set.getScaleParam("density", 3.0).value(), 0.6);
    EXPECT_EQ(set.getIntParam("seed", 3.0), 13);
    set.setDoubleParam("dropLength", 45.0);
    set.setIntParam("presets", 0);
    EXPECT_FALSE(set.paramIsDefined("expand"));
}

TEST_F(ParamSetHost, PassThroughForwardsLocalNamesRotoAndCamera)
{
    add(passThrough, new Int("seed"))->setValue(1);
    bind(passThrough, {"shape"});
    EXPECT_CALL(host, getIntParam("seed", 0.0)).WillOnce(Return(77));
    EXPECT_EQ(passThrough.getIntParam("seed", 0.0), 77) << "local definitions do not shadow the host";

    EXPECT_THROW(passThrough.getRotoParam("shape", 0.0, 1), Quarn::Exceptions::Param::ParamUndefined);
    add(passThrough, new Roto("shape"));
    EXPECT_CALL(host, getRotoParam("shape", 5, 2.0)).WillOnce(Return(true));
    EXPECT_TRUE(passThrough.getRotoParam("shape", 2.0, 5));

    Quarn::CameraBase camera;
    EXPECT_CALL(host, getCameraParam("cam", _, 2.0));
    passThrough.getCameraParam("cam", camera, 2.0);
}

TEST(ParamSetMembers, LockReachesEveryParameterAndAnAliasOutlivesTheRemovedOriginal)
{
    // What a locked set refuses is in the failure table.
    ParamSet set;
    auto p = add(set, new Int("newName"));
    p->setValue(6);
    set.aliasParam("oldName", "newName");
    set.removeParam("b");
    EXPECT_EQ(set.params().hsObjects().size(), 1u) << "removing an unknown name does nothing";
    set.setDefinitionLock(true);
    EXPECT_TRUE(p->definitionLocked());
    set.setDefinitionLock(false);
    EXPECT_FALSE(p->definitionLocked());
    set.removeParam("newName");
    EXPECT_EQ(p->paramSet(), nullptr);
    EXPECT_FALSE(set.paramIsDefined("newName"));
    EXPECT_TRUE(set.paramIsDefined("oldName"));
    EXPECT_EQ(set.getIntParam("oldName", 0.0), 6);
    EXPECT_TRUE(set.params().hsObjects().empty());
}

TEST(ParamSetMembers, SetReleasesItsReferencesAndDetachesParametersThatOutliveIt)
{
    auto_ref<Int> p(new Int("p"));
    {
        ParamSet set;
        set.addParam(p);
        EXPECT_GT(p->refCount(), 1);
        EXPECT_EQ(p->paramSet(), &set);
    }
    EXPECT_EQ(p->refCount(), 1);
    EXPECT_EQ(p->paramSet(), nullptr);
    EXPECT_FALSE(p->isHosted());
}

TEST_F(ParamSetHost, BindingNotifiesEveryParameterAndNotifyReachesOne)
{
    auto a = add(set, new Int("a"));
    auto b = add(set, new Bool("b"));
    auto_ref<CountingListener> onSet(new CountingListener);
    auto_ref<CountingListener> onChange(new CountingListener);
    a->addSetListener(onSet);
    b->addSetListener(onSet);
    b->addChangeListener(onChange);
    set.setHost(&host);
    set.setHost(nullptr);
    EXPECT_EQ(onSet->seen, (std::vector<int> {1, 1, 0, 0}));
    EXPECT_TRUE(onChange->seen.empty());
}
