// Parameter values as the user reads and types them: slider values (a
// percent slider in percent), angles in degrees, popup entry texts, colours
// as #RRGGBB or #RRGGBBAA, check boxes as on / off.
#pragma once

#include "qrHostParam.h"

#include <string>
#include <string_view>

namespace Quarn::Host {

std::string formatValue(const HostParam& param, double seconds);

// The value `text` stands for; throws HostError when it does not fit the
// parameter. "#RRGGBB" keeps the colour's alpha at `seconds`. A popup takes
// an entry text (exact, then ignoring case) or its 1-based number.
PF_ParamDefUnion parseValue(const HostParam& param, std::string_view text, double seconds);

}  // namespace Quarn::Host
