#pragma once
// The plug-in's global record, made in global setup and kept until global
// setdown in a host handle: the path of the plug-in's own file (whose folder
// receives preset files) and the title bitmap of the "About" control, whose
// 8-bit ARGB pixels live in a second handle.
#include "qrDrawSurface.h"

#include <AE_Effect.h>

#include <cstdint>
#include <string>

namespace Quarn::AfterEffects {

struct GlobalRecord {
    char modulePath[256] = {};  // held first: the preset folder is cut from it
    PF_Handle title = nullptr;  // packed rows of titleWidth x titleHeight pixels
    int32_t titleWidth = 0;
    int32_t titleHeight = 0;
};

// The title's size when no bitmap can be had.
constexpr int32_t kDefaultTitleWidth = 300;
constexpr int32_t kDefaultTitleHeight = 50;

class GlobalData {
public:
    // Sets the version and output flags and makes the global record.
    static PF_Err setup(PF_InData* in, PF_OutData* out);
    // Releases the title bitmap and the record, and clears the pointer.
    static PF_Err setdown(PF_InData* in, PF_OutData* out);

    // The title bitmap's size, the default when there is no record.
    static void titleSize(PF_InData* in, int32_t& width, int32_t& height);
    // Copies the title bitmap into `canvas` at its top-left corner; false
    // when there is none.
    static bool drawTitle(PF_InData* in, const Platform::DrawSurface& canvas);
    // The folder preset files go to: the path held first, cut at its last
    // separator; empty without a record.
    static std::string presetFolder(PF_InData* in);
};

// The version and output flags the plug-in announces.
A_u_long pluginVersion();
constexpr PF_OutFlags kOutFlags = PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_CUSTOM_UI |
    PF_OutFlag_USE_OUTPUT_EXTENT | PF_OutFlag_SEQUENCE_DATA_NEEDS_FLATTENING | PF_OutFlag_WIDE_TIME_INPUT |
    PF_OutFlag_KEEP_RESOURCE_OPEN;
constexpr PF_OutFlags2 kOutFlags2 = PF_OutFlag2_FLOAT_COLOR_AWARE | PF_OutFlag2_SUPPORTS_SMART_RENDER;
static_assert(kOutFlags == 0x02008053 && kOutFlags2 == 0x00001400);

}  // namespace Quarn::AfterEffects
