// The host adapter's key frames, inside a command of our host over the
// plug-in's own forty controls. Failures here mean key queries or changes
// that never reach the host's keys, a key found at the wrong time, a value
// read stale after its keys changed, or integrals and slopes that miss the
// keys between their sample points.
#include "qrAdapterInCommand.h"

namespace {

using Quarn::AfterEffects::Wrapper::Host;

constexpr int kIntensity = 6;  // "Rain Intensity", a percent slider read as a scale

using AdapterKeys = AdapterInCommand;

TEST_F(AdapterKeys, QueriesAnswerFromTheHostsKeys)
{
    host.setParamKey("Rain Intensity", 2, "20");
    host.setParamKey("Rain Intensity", 10, "40");
    struct Find {
        double time;
        int direction, atTimeToo;
        bool found;
    };
    const Find finds[] = {{10, 0, 0, true}, {5, 0, 0, false}, {5, 1, 0, true}, {10, 1, 0, false},
        {10, 1, 1, true}, {2, -1, 0, false}, {2, -1, 1, true}, {11, -1, 0, true}, {9.5, 0, 1, false},
        {1, 1, 0, true}, {10.5, 1, 1, false}};
    EXPECT_EQ(inCommand([&](Host& a) {
        EXPECT_TRUE(a.paramIsAnimating("intensity"));
        EXPECT_FALSE(a.paramIsAnimating("density"));
        EXPECT_EQ(a.paramNumKeys("intensity"), 2);
        EXPECT_EQ(a.paramKeyTime("intensity", 1), 10.0);
        for (const Find& f : finds)
            EXPECT_EQ(a.paramFindKey("intensity", f.time, f.direction, f.atTimeToo), f.found)
                << f.time << " " << f.direction << " " << f.atTimeToo;
    }),
        "");
}

TEST_F(AdapterKeys, ChangesReachTheHostAndLaterReadsSeeThem)
{
    host.setParamKey("Rain Intensity", 0, "20");
    host.setParamKey("Rain Intensity", 10, "40");
    host.setFrame(4);
    const auto& intensity = host.param(kIntensity);
    EXPECT_EQ(inCommand([&](Host& a) { a.paramSetKey("intensity", 4.0); }), "");
    ASSERT_EQ(intensity.keyCount(), 3);
    EXPECT_EQ(intensity.keyTime(1), seconds(4));
    EXPECT_EQ(intensity.number(seconds(4)), 28.0) << "the new key holds the value there";

    EXPECT_EQ(inCommand([&](Host& a) {
        a.paramDeleteKey("intensity", 10.0);
        a.paramDeleteKey("intensity", 7.0);  // no key there: nothing happens
        EXPECT_EQ(a.paramNumKeys("intensity"), 2);
        a.paramDeleteKey("intensity", 0);
        EXPECT_EQ(a.paramKeyTime("intensity", 0), 4.0);
    }),
        "");
    EXPECT_EQ(intensity.keyCount(), 1);

    host.setParamKey("Rain Intensity", 12, "90");
    host.setFrame(8);
    EXPECT_EQ(inCommand([&](Host& a) {
        EXPECT_EQ(a.getScaleParam("intensity", 8.0).value(), 0.59);
        a.paramDeleteAllKeys("intensity");
        EXPECT_EQ(a.paramNumKeys("intensity"), 0);
        // The value at the current time stays, and the adapter reads it.
        EXPECT_EQ(a.getScaleParam("intensity", 8.0).value(), 0.59);
        EXPECT_EQ(a.getScaleParam("intensity", 12.0).value(), 0.59);
    }),
        "");
    EXPECT_EQ(intensity.keyCount(), 0);
    EXPECT_EQ(intensity.number(0.0), 59.0);
}

TEST_F(AdapterKeys, RefusalsAndUnknownKeysAreNamed)
{
    // A key index the parameter does not have is the host's to refuse.
    host.setParamKey("Rain Intensity", 3, "50");
    EXPECT_EQ(inCommand([](Host& a) { a.paramDeleteKey("intensity", 5); }), "ParamCheckoutFailed");
    EXPECT_EQ(inCommand([](Host& a) { a.paramSetKey("savePreset", 1.0); }), "ParameterUndefined");
    EXPECT_EQ(host.param(kIntensity).keyCount(), 1);
}

// Keys at frames 1 (0 %) and 2 (100 %): a ramp between flat stretches. Ends
// and points off the keys show whether the keys themselves are used.
TEST_F(AdapterKeys, IntegralsAndSlopesFollowTheKeysExactly)
{
    host.setParamKey("Rain Intensity", 1, "0");
    host.setParamKey("Rain Intensity", 2, "100");
    struct Integral {
        double t0, t1, value;
    };
    // Spans whose ends and areas are binary fractions: every step exact.
    const Integral exact[] = {{1.0, 2.0, 0.5}, {0.0, 0.5, 0.0}, {1.5, 1.5, 0.0}, {2.5, 5.5, 3.0}};
    // Spans such as 1.2..1.8 have no exact binary value, and the sum of the
    // pieces may be taken in any order: these compare to the last bits.
    const Integral rounded[] = {{0.5, 2.2, 0.7}, {2.2, 0.5, -0.7}, {1.2, 1.8, 0.3}};
    struct Slope {
        double time, value;
    };
    const Slope slopes[] = {{1.5, 1.0}, {1.0, 1.0}, {0.5, 0.0}, {2.0, 0.0}, {3.0, 0.0}};
    EXPECT_EQ(inCommand([&](Host& a) {
        for (const Integral& i : exact)
            EXPECT_EQ(a.integrateScaleParam("intensity", i.t0, i.t1).value(), i.value)
                << i.t0 << ".." << i.t1;
        for (const Integral& i : rounded)
            EXPECT_NEAR(a.integrateScaleParam("intensity", i.t0, i.t1).value(), i.value, 1e-12)
                << i.t0 << ".." << i.t1;
        for (const Slope& s : slopes)
            EXPECT_EQ(a.differentiateScaleParam("intensity", s.time).value(), s.value) << s.time;
        // Without keys: the one value times the span, and no slope.
        EXPECT_EQ(a.integrateDoubleParam("dropLength", 2.0, 5.0), 150.0);
        EXPECT_EQ(a.differentiateDoubleParam("dropLength", 2.0), 0.0);
    }),
        "");
}

}  // namespace
