#pragma once
// The host adapter made inside a command of our host, over the plug-in's
// own forty controls, as the plug-in makes it: the host's callbacks, suites
// and sequence data are all there.
#include "qrAEWrapperHost.h"
#include "qrEffectHost.h"
#include "qrExceptionTemplate.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// The plug-in started in a host whose frames are ten time units each, so
// that half frames are times the host can name.
class AdapterInCommand : public ::testing::Test {
protected:
    Quarn::Host::EffectHost host {NIMBREL_PLUGIN_PATH};

    void SetUp() override
    {
        Quarn::Errors::Initialise();
        host.properties().timeStep = host.properties().localTimeStep = 10;
        host.properties().timeScale = 250;
        ASSERT_TRUE(host.start().ok());
    }

    // Runs `body` on an adapter made inside one command, as the plug-in
    // would; the name of an exception it throws, or "" when none.
    std::string inCommand(const std::function<void(Quarn::AfterEffects::Wrapper::Host&)>& body)
    {
        std::string thrown;
        const auto r = host.commandThrough(PF_Cmd_UPDATE_PARAMS_UI, [&](PF_InData* in, PF_OutData* out,
                                                                        PF_ParamDef* params[]) {
            try {
                Quarn::AfterEffects::Wrapper::Host adapter(in, out, params);
                adapter.bindRainMappings();
                body(adapter);
                adapter.releaseSuites();
            } catch (const Quarn::Exceptions::ExceptionI& e) {
                thrown = e.name();
            }
            return PF_Err_NONE;
        });
        EXPECT_TRUE(r.ok());
        const auto counters = host.counters();
        EXPECT_EQ(counters.aegpHeld, 0) << "effects or streams left undisposed";
        EXPECT_EQ(counters.suitesHeld, 0);
        EXPECT_EQ(counters.paramCheckouts, counters.paramCheckins);
        return thrown;
    }

    double seconds(double frames) const { return frames * 10.0 / 250.0; }
};
