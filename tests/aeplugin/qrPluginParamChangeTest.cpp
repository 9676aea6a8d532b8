// Parameter commands of the real plug-in: edge colour and alpha slider kept
// in step, presets, greying out, and the "About" area. Failures here mean
// sliders and colours that disagree, presets that touch the wrong controls
// or a keyframed control at the wrong time, or controls greyed out when
// they matter.
#include "qrAEEdgeColourSync.h"
#include "qrHostError.h"
#include "qrPluginFixture.h"
#include "qrResource.h"

#include <AE_EffectUI.h>

namespace {

using namespace PluginTest;

bool disabled(const EffectHost& host, int index)
{
    return (host.param(index).definition().ui_flags & PF_PUI_DISABLED) != 0;
}

TEST_F(Started, EdgeAlphaSliderSetsTheColoursAlpha)
{
    struct Case {
        const char* percent;
        const char* colour;  // the colour's text: #RRGGBBAA, or #RRGGBB when opaque
    };
    const Case cases[] = {{"50", "#0000007F"}, {"100", "#000000"}, {"0", "#00000000"}, {"49.8", "#0000007E"},
        {"1", "#00000002"}};
    for (const char* group : {"Source Crops", "Matte Layer Crops"}) {
        for (const Case& c : cases) {
            const auto r = host.changeParam(std::string(group) + "/Edge Colour Alpha", c.percent);
            ASSERT_TRUE(r.ok());
            EXPECT_EQ(host.paramText(std::string(group) + "/Edge Colour"), c.colour)
                << group << " at " << c.percent << "%";
        }
    }
}

TEST(EdgeAlphaConversion, PercentOutsideTheSliderClampsToTheAlphaRange)
{
    using namespace Quarn::AfterEffects;
    EXPECT_EQ(sliderToAlpha(150 * 65536), 255);
    EXPECT_EQ(sliderToAlpha(-10 * 65536), 0);
    // The alpha back to percent: 255 is the whole slider, 128 just over half.
    EXPECT_NEAR(alphaToSlider(255) / 65536.0, 100.0, 1e-4);
    EXPECT_NEAR(alphaToSlider(128) / 65536.0, 128 * 100.0 / 255.0, 1e-4);
}

// On a change of either colour, and on a refresh from params[] or, when
// they are stale, from checked-out values.
TEST_F(Started, EdgeColourSetsItsAlphaSlider)
{
    ASSERT_TRUE(host.changeParam("Source Crops/Edge Colour", "#FF000080").ok());
    EXPECT_EQ(host.paramText("Source Crops/Edge Colour Alpha"), "50.2");
    EXPECT_EQ(host.paramText("Matte Layer Crops/Edge Colour Alpha"), "100.0");
    ASSERT_TRUE(host.changeParam("Matte Layer Crops/Edge Colour", "#10203000").ok());
    EXPECT_EQ(host.paramText("Matte Layer Crops/Edge Colour Alpha"), "0.0");
    EXPECT_GT(host.uiUpdates(34), 0);
    for (bool stale : {false, true}) {
        host.setParam("Source Crops/Edge Colour", stale ? "#00000033" : "#000000CC");
        host.setParam("Matte Layer Crops/Edge Colour", "#00000066");
        ASSERT_TRUE(host.updateParamsUI(stale).ok());
        EXPECT_EQ(host.paramText("Source Crops/Edge Colour Alpha"), stale ? "20.0" : "80.0");
        EXPECT_EQ(host.paramText("Matte Layer Crops/Edge Colour Alpha"), "40.0");
    }
    EXPECT_EQ(host.counters().paramCheckouts, host.counters().paramCheckins);
    EXPECT_EQ(host.counters().suitesHeld, 0);
}

TEST_F(Started, EachPresetSetsItsFourControlsAndReturnsToRest)
{
    struct Case {
        const char* preset;
        const char *density, *length, *minimum, *maximum;
    };
    const Case cases[] = {
        {"Drizzle", "35.0", "45.0", "90.0", "100.0"},
        {"Rain", "60.0", "50.0", "90.0", "100.0"},
        {"Shower", "70.0", "70.0", "90.0", "100.0"},
        {"Downpour", "85.0", "85.0", "90.0", "100.0"},
        {"Cats and Dogs", "100.0", "100.0", "90.0", "100.0"},
        {"Night Time", "60.0", "50.0", "80.0", "100.0"},
    };
    host.setParam("Rain Intensity", "70");
    host.setParam("Seed", "21");
    host.setParam("Rain Density", "42");
    ASSERT_TRUE(host.changeParam("Presets", "...").ok());  // the resting entry changes nothing
    EXPECT_EQ(host.paramText("Rain Density"), "42.0");
    for (const Case& c : cases) {
        host.setParam("Diffusion Max", "95");
        ASSERT_TRUE(host.changeParam("Presets", c.preset).ok()) << c.preset;
        EXPECT_EQ(host.paramText("Rain Density"), c.density) << c.preset;
        EXPECT_EQ(host.paramText("Drop Length"), c.length) << c.preset;
        EXPECT_EQ(host.paramText("Diffusion Min"), c.minimum) << c.preset;
        EXPECT_EQ(host.paramText("Diffusion Max"), c.maximum) << c.preset;
        EXPECT_EQ(host.paramText("Presets"), "...") << c.preset;
    }
    EXPECT_EQ(host.paramText("Rain Intensity"), "70.0");
    EXPECT_EQ(host.paramText("Seed"), "21");
    EXPECT_EQ(host.paramText("Rain Direction"), "-90.0");
}

TEST_F(Started, PresetWritesKeyframedControlsAtTheCurrentTimeOnly)
{
    host.setParamKey("Rain Density", 0, "20");
    host.setParamKey("Rain Density", 10, "40");
    host.setFrame(4);
    ASSERT_TRUE(host.changeParam("Presets", "Downpour").ok());
    const auto& density = host.param(7);
    const double frame = double(host.properties().timeStep) / host.properties().timeScale;
    EXPECT_EQ(density.keyCount(), 3);
    EXPECT_NEAR(density.number(0.0), 20.0, 1e-3);
    EXPECT_NEAR(density.number(4 * frame), 85.0, 1e-3);
    EXPECT_NEAR(density.number(10 * frame), 40.0, 1e-3);
}

TEST_F(Started, GreyingFollowsMethodProcessAndMatte)
{
    struct Case {
        const char *method, *process, *matte;
        bool blend, edgeAlpha, matteLayer;
    };
    const Case cases[] = {
        {"None", "RGB", "Source Inverse Luminance", true, true, true},
        {"Mix", "RGBA", "Matte Layer Alpha", false, false, false},
        {"Screen", "RGB", "Matte Layer Luminance", false, true, false},
        {"None", "RGBA", "None", true, false, true},
        {"Add", "RGBA", "Source Alpha", false, false, true},
        // The boundary between the source mattes and the matte layer's.
        {"Mix", "RGBA", "Source Inverse Alpha", false, false, true},
        {"Mix", "RGBA", "Matte Layer Inverse Alpha", false, false, false},
    };
    for (const Case& c : cases) {
        host.setParam("Method", c.method);
        host.setParam("Process", c.process);
        host.setParam("Matte", c.matte);
        ASSERT_TRUE(host.updateParamsUI().ok());
        const std::string label = std::string(c.method) + "/" + c.process + "/" + c.matte;
        for (int i : {15, 16, 17})
            EXPECT_EQ(disabled(host, i), c.blend) << label << " index " << i;
        EXPECT_EQ(disabled(host, 24), c.edgeAlpha) << label;
        EXPECT_EQ(disabled(host, 34), c.edgeAlpha || c.matteLayer) << label;
        for (int i : {11, 31, 32, 33, 35, 36, 37, 38})
            EXPECT_EQ(disabled(host, i), c.matteLayer) << label << " index " << i;
        EXPECT_TRUE(disabled(host, 18)) << label;
        EXPECT_FALSE(disabled(host, 7)) << label;
    }
}

TEST_F(Started, RenderGreysControlsOutsideAfterEffectsOnly)
{
    host.setParam("Method", "Mix");
    host.properties().applId = PF_APPL_ID_AFTER_EFFECTS;
    ASSERT_TRUE(host.render(Depth::Bits8, RenderMode::Classic).command.ok());
    EXPECT_EQ(host.uiUpdates(18), 0);
    EXPECT_FALSE(disabled(host, 18));

    host.properties().applId = PF_APPL_ID_COMBUSTION;
    ASSERT_TRUE(host.render(Depth::Bits8, RenderMode::Classic).command.ok());
    EXPECT_GT(host.uiUpdates(18), 0);
    EXPECT_TRUE(disabled(host, 18));
    EXPECT_FALSE(disabled(host, 15));
}

TEST_F(Started, AboutAreaDrawsTheTitleBitmap)
{
    const auto event = host.sendEvent(1, PF_Event_DRAW);
    ASSERT_TRUE(event.command.ok());
    EXPECT_TRUE(event.outFlags & PF_EO_HANDLED_EVENT);
    const auto title = Quarn::Platform::resourceBitmap(Quarn::Platform::kBitmapTitle);
    ASSERT_EQ(event.canvas.width(), title.width());
    ASSERT_EQ(event.canvas.height(), title.height());
    int mismatches = 0;
    for (int y = 0; y < title.height(); ++y)
        for (int x = 0; x < title.width(); ++x) {
            const auto& t = title.at(x, y);
            const Argb expected {t.alpha / 255.0f, t.red / 255.0f, t.green / 255.0f, t.blue / 255.0f};
            mismatches += event.canvas.pixel(x, y) != expected;
        }
    EXPECT_EQ(mismatches, 0);

    for (PF_EventType type : {PF_Event_DO_CLICK, PF_Event_DRAG, PF_Event_KEYDOWN}) {
        const auto other = host.sendEvent(1, type, {10, 10}, 'a');
        EXPECT_TRUE(other.command.ok());
        EXPECT_TRUE(other.outFlags & PF_EO_HANDLED_EVENT);
        EXPECT_TRUE(other.canvas.empty()) << "only drawing gets a canvas";
    }
    EXPECT_THROW(host.sendEvent(7, PF_Event_DRAW), Quarn::Host::HostError);  // not a custom control
}

}  // namespace
