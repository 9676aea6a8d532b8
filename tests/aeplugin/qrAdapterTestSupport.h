#pragma once
// A command's host data made by hand, for driving the host adapter without
// a host: the forty parameter definitions as the plug-in declares them (at
// their defaults), the time of frame 0 and no callbacks.
#include "qrAEParamsSetup.h"
#include "qrExceptionTemplate.h"
#include "effect/qrRainParamTable.h"

#include <AE_Effect.h>

#include <array>
#include <cstring>

struct HandMadeCommand {
    std::array<PF_ParamDef, Quarn::Wrapper::Rain::kRainHostParamCount> defs {};
    std::array<PF_ParamDef*, Quarn::Wrapper::Rain::kRainHostParamCount> params {};
    PF_InData in {};
    PF_OutData out {};

    HandMadeCommand()
    {
        Quarn::Errors::Initialise();  // messages are read in the tests
        for (const auto& row : Quarn::Wrapper::Rain::rainHostParams()) {
            defs[std::size_t(row.index)] = Quarn::AfterEffects::hostDefinition(row, 300, 50);
            params[std::size_t(row.index)] = &defs[std::size_t(row.index)];
        }
        in.num_params = Quarn::Wrapper::Rain::kRainHostParamCount;
        in.time_step = in.local_time_step = 1;
        in.time_scale = 25;
        in.downsample_x = in.downsample_y = in.pixel_aspect_ratio = {1, 1};
    }

    PF_ParamDef& at(int index) { return defs[std::size_t(index)]; }
};
