#pragma once
// The plug-in's controls as an OpenFX host shows them: every value control of
// the rain effect's control table (labels, ranges, defaults, choice lists and
// groups as the table gives them, in its order), then the drop motion and
// depth controls in a group of their own. A control's OpenFX name is the
// effect's internal key, so a host's scripts and project files use the names
// the rest of Nimbrel uses.
//
// This file knows nothing of the OpenFX API: it says what each control is and
// how a host value becomes the effect's value, so it can be tested alone.
#include "effect/qrRainEffect.h"
#include "effect/qrRainParamTable.h"
#include "motion/qrRainMotion.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace Quarn::Ofx {

enum class ControlKind { group, choice, number, angle, integer, boolean, colour };

// Where a control's value goes.
enum class Target { rain, motion, none };

struct Control {
    std::string name;  // OpenFX name: the internal key, or the group's name
    std::string label;
    ControlKind kind = ControlKind::number;
    std::string parent;  // the enclosing group's name, empty at the top
    Target target = Target::none;
    double defaultValue = 0.0;  // host units; choices: 0-based position; booleans 0 / 1
    double displayMin = 0.0, displayMax = 0.0;  // the slider's range
    double min = 0.0, max = 0.0;  // the valid range; both 0 for none (angles)
    int digits = 0;
    bool animates = true;
    std::vector<std::string> options;  // choices, in menu order
    const int* optionValues = nullptr;  // the effect's value per position; null: the position itself
    double colourDefault[4] = {0, 0, 0, 0};  // RGBA 0..1
};

// Every control, groups first-before-children, in the order a host lists them.
const std::vector<Control>& controls();
const Control* findControl(std::string_view name);

// The group of the motion and depth controls.
inline constexpr const char* kMotionGroup = "MotionAndDepth";

// A host's value for `control` made valid: not finite gives the default,
// numbers clamp to the valid range, a choice position outside the menu gives
// the default position, booleans are 0 or 1.
double validValue(const Control& control, double value);
// The same for one colour component (0..1); `component` 0..3 is R, G, B, A.
double validColourComponent(const Control& control, int component, double value);

// What the host shows for each control at one time, by position in
// controls(): a colour's R, G, B, A, or one value in the first entry.
using ControlValue = std::array<double, 4>;
using ControlValues = std::vector<ControlValue>;
// Every control at its default.
ControlValues defaultValues();

// Sets every control of `values` (made valid) on `effect`'s own parameters
// and motion, then applies a chosen preset over the four controls it sets,
// which is how a preset shows in hosts that never report the choice as a
// change (a host that does gets the popup set back to "..." at once).
void applyControls(const ControlValues& values, Wrapper::RainEffect& effect);

// The partner of an edge colour or its alpha slider, and the value that
// keeps the pair in step after `changed` took `value` (the colour's alpha
// 0..1, or the slider's percent): the slider shows alpha x 100, the colour's
// alpha is percent / 100. Null for any other control.
struct EdgeAlphaStep {
    const Control* partner = nullptr;
    double value = 0.0;
};
EdgeAlphaStep edgeAlphaStep(const Control& changed, double value);

}  // namespace Quarn::Ofx
