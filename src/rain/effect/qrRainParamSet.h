#pragma once
// The rain effect's internal parameters, built from the host parameter
// table with the internal types and units: scales are fractions (host
// percent / 100), the angle is in radians, colours run 0..1, choices carry
// their internal values.
#include "qrParamSet.h"

#include <array>

namespace Quarn::Wrapper::Rain {

// Adds one parameter per internal key of the table, in table order, with
// its label, default, value, ranges (valid range as min / max, slider range
// as visual bounds) and, for choices, the options. The set must not yet
// hold any of the keys.
void declareRainParameters(Quarn::Param::ParamSet& set);

// The rain's own parameters as the effect description lists them.
struct EffectDescription {
    struct Entry {
        const char* key;
        const char* typeName;  // parameter type name, as in the parameter XML
    };
    static const std::array<Entry, 8>& entries();
};

}  // namespace Quarn::Wrapper::Rain
