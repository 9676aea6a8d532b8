// A small effect plug-in for the host tests. Parameters (host indices):
//   1 "Gain"        fixed slider, percent, valid 0..400, slider 0..200, default 100
//   2 "Tinting"     group start
//   3 "Use Tint"    check box "Tint the frame", off
//   4 "Tint"        colour, opaque red
//   5               group end
//   6 "Matte Layer" layer
// The render writes, per pixel: the tint when "Use Tint" is on, otherwise
// the input colour x Gain / 100 (clamped) with the input's alpha, or the
// matte layer's alpha where a matte is chosen and covers the pixel.
#pragma once

#include <AE_Effect.h>
#include <AEGP_Suites.h>
#include <AE_EffectSuites.h>

namespace Fixture {

enum Index { kGain = 1, kTintGroup, kUseTint, kTint, kTintGroupEnd, kMatte, kParamCount };

// Acquires a suite for the length of a scope.
template <typename Suite> class SuiteRef {
public:
    SuiteRef(PF_InData* in_data, const char* name, A_long version)
        : basic_(in_data->pica_basicP), name_(name), version_(version)
    {
        const void* found = nullptr;
        if (basic_->AcquireSuite(name, version, &found) == kSPNoError)
            suite_ = static_cast<const Suite*>(found);
    }
    ~SuiteRef()
    {
        if (suite_)
            basic_->ReleaseSuite(name_, version_);
    }
    SuiteRef(const SuiteRef&) = delete;
    SuiteRef& operator=(const SuiteRef&) = delete;
    const Suite* operator->() const { return suite_; }
    explicit operator bool() const { return suite_ != nullptr; }

private:
    SPBasicSuite* basic_;
    const char* name_;
    A_long version_;
    const Suite* suite_ = nullptr;
};

PF_Err classicRender(PF_InData* in_data, PF_ParamDef* params[], PF_LayerDef* output);
PF_Err preRender(PF_InData* in_data, PF_PreRenderExtra* extra);
PF_Err smartRender(PF_InData* in_data, PF_SmartRenderExtra* extra);

}  // namespace Fixture
