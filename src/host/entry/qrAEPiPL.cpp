// The plug-in's property list: what the host reads before sending any
// command.
#include "qrAEGlobalData.h"

#include <AE_PiPL.h>

namespace {

constexpr A_u_long kPiPLVersion = 0x00030000;
constexpr A_u_long kAEPiPLVersion = 2;
constexpr A_u_long kEffectSpecVersion = 0x000c000c;
constexpr A_u_long kEffectVersion = PF_VERSION(2, 1, 0, PF_Stage_RELEASE, 5);
static_assert(kEffectVersion == 0x00108605);

const PF_PiPLProperty kProperties[] = {
    {PF_PiPLKey_KIND, nullptr, PF_PiPLKind_EFFECT},
    {PF_PiPLKey_NAME, "Nimbrel", 0},
    {PF_PiPLKey_CATEGORY, "Brastor 4", 0},
    {PF_PiPLKey_PIPL_VERSION, nullptr, kPiPLVersion},
    {PF_PiPLKey_CODE_WIN_X86, PF_ENTRY_POINT_NAME, 0},
    {PF_PiPLKey_AE_PIPL_VERSION, nullptr, kAEPiPLVersion},
    {PF_PiPLKey_AE_SPEC_VERSION, nullptr, kEffectSpecVersion},
    {PF_PiPLKey_AE_EFFECT_VERSION, nullptr, kEffectVersion},
    {PF_PiPLKey_AE_MATCH_NAME, "Nimbrel 1086", 0},
    {PF_PiPLKey_AE_INFO_FLAGS, nullptr, 0},
    {PF_PiPLKey_AE_GLOBAL_OUTFLAGS, nullptr, A_u_long(Quarn::AfterEffects::kOutFlags)},
    {PF_PiPLKey_AE_GLOBAL_OUTFLAGS_2, nullptr, A_u_long(Quarn::AfterEffects::kOutFlags2)},
    {PF_PiPLKey_AE_RESERVED_INFO, nullptr, 0},
    {PF_PiPLKey_AE_RESERVED_FLAGS, nullptr, 0},
};

}  // namespace

extern "C" const PF_PiPL NimbrelPiPL = {
    PF_PIPL_TABLE_VERSION, A_long(sizeof kProperties / sizeof kProperties[0]), kProperties};
