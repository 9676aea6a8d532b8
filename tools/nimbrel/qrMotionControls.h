// The drop motion and depth controls that the nimbrel host offers beside
// the plug-in's own forty. They are not parameters of the plug-in: the host
// keeps them and hands them to the plug-in through the rain motion suite at
// every render. Users name them by key or label like any control.
#pragma once

#include "qrEffectHost.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quarn::Cli {

struct MotionControl {
    enum class Kind { number, integer, percent, onOff };
    std::string_view key;
    std::string_view label;
    std::string_view unit;
    Kind kind;
    double minimum, maximum;  // in the units users write (percent for percent controls)
    double (*get)(const NimbrelRainMotion&);  // the value in the suite's units
    void (*set)(NimbrelRainMotion&, double);
};

// The group the controls show in.
inline constexpr std::string_view kMotionGroup = "Motion and Depth";

const std::vector<MotionControl>& motionControls();

// The control that NAME stands for (key, label or "Motion and Depth/Label"),
// or null.
const MotionControl* findMotionControl(std::string_view name);

// Sets `control` on `motion` from a user's text in the control's units.
// Returns a warning when the value was clamped to the control's range;
// throws a usage CliError for text that is no value of the control.
std::optional<std::string> setMotionControl(
    NimbrelRainMotion& motion, const MotionControl& control, std::string_view text);

// The value of `control` in `motion` as users write it.
std::string motionValueText(const NimbrelRainMotion& motion, const MotionControl& control);

// The controls with their values and ranges, as a section of `nimbrel params`.
std::string listMotionControls(const NimbrelRainMotion& motion);

}  // namespace Quarn::Cli
