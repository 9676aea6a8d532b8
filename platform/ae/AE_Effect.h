/* The effect plug-in interface: commands, output flags, versions, the data
 * blocks passed with every command, and the entry point. Including this header
 * gives everything a plug-in needs except the suites (AE_EffectSuites.h,
 * AEGP_Suites.h) and the property list (AE_PiPL.h). */
#ifndef NIMBREL_AE_EFFECT_H
#define NIMBREL_AE_EFFECT_H

#include "AE_EffectCB.h"
#include "AE_EffectSmartRender.h"
#include "AE_EffectUI.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long PF_Cmd;
enum {
    PF_Cmd_ABOUT = 0,
    PF_Cmd_GLOBAL_SETUP = 1,
    PF_Cmd_UNUSED_0 = 2,
    PF_Cmd_GLOBAL_SETDOWN = 3,
    PF_Cmd_PARAMS_SETUP = 4,
    PF_Cmd_SEQUENCE_SETUP = 5,
    PF_Cmd_SEQUENCE_RESETUP = 6,
    PF_Cmd_SEQUENCE_FLATTEN = 7,
    PF_Cmd_SEQUENCE_SETDOWN = 8,
    PF_Cmd_DO_DIALOG = 9,
    PF_Cmd_FRAME_SETUP = 10,
    PF_Cmd_RENDER = 11,
    PF_Cmd_FRAME_SETDOWN = 12,
    PF_Cmd_USER_CHANGED_PARAM = 13, /* extra: PF_UserChangedParamExtra* */
    PF_Cmd_UPDATE_PARAMS_UI = 14, /* extra: NULL, or PF_UpdateParamsUIExtra* */
    PF_Cmd_EVENT = 15, /* extra: PF_EventExtra* */
    PF_Cmd_GET_EXTERNAL_DEPENDENCIES = 16,
    PF_Cmd_COMPLETELY_GENERAL = 17,
    PF_Cmd_QUERY_DYNAMIC_FLAGS = 18,
    PF_Cmd_AUDIO_RENDER = 19,
    PF_Cmd_AUDIO_SETUP = 20,
    PF_Cmd_AUDIO_SETDOWN = 21,
    PF_Cmd_ARBITRARY_CALLBACK = 22,
    PF_Cmd_SMART_PRE_RENDER = 23, /* extra: PF_PreRenderExtra* */
    PF_Cmd_SMART_RENDER = 24, /* extra: PF_SmartRenderExtra* */
    PF_Cmd_NUM_CMDS = 25
};

/* PF_OutData.out_flags */
typedef A_long PF_OutFlags;
enum {
    PF_OutFlag_NONE = 0,
    PF_OutFlag_KEEP_RESOURCE_OPEN = 1 << 0,
    PF_OutFlag_WIDE_TIME_INPUT = 1 << 1,
    PF_OutFlag_SEQUENCE_DATA_NEEDS_FLATTENING = 1 << 4,
    PF_OutFlag_USE_OUTPUT_EXTENT = 1 << 6,
    PF_OutFlag_DISPLAY_ERROR_MESSAGE = 1 << 8, /* show return_msg to the user */
    PF_OutFlag_CUSTOM_UI = 1 << 15,
    PF_OutFlag_DEEP_COLOR_AWARE = 1 << 25
};

/* PF_OutData.out_flags2 */
typedef A_long PF_OutFlags2;
enum {
    PF_OutFlag2_NONE = 0,
    PF_OutFlag2_SUPPORTS_SMART_RENDER = 1 << 10,
    PF_OutFlag2_FLOAT_COLOR_AWARE = 1 << 12
};

/* Version words (PF_OutData.my_version and the PiPL's effect version):
 * bits 0-8 build, 9-10 stage, 11-14 bug-fix, 15-18 sub-version, 19-21 the
 * low three bits of the version and 26-29 its higher bits.
 * PF_VERSION(2, 1, 0, PF_Stage_RELEASE, 5) == 0x00108605. */
enum { PF_Stage_DEVELOP = 0, PF_Stage_ALPHA = 1, PF_Stage_BETA = 2, PF_Stage_RELEASE = 3 };
#define PF_VERSION(VERS, SUBVERS, BUGVERS, STAGE, BUILD)                                                     \
    ((A_u_long)(((((A_u_long)(VERS) >> 3) & 0xF) << 26) | (((A_u_long)(VERS)&0x7) << 19) |                   \
        (((A_u_long)(SUBVERS)&0xF) << 15) | (((A_u_long)(BUGVERS)&0xF) << 11) |                              \
        (((A_u_long)(STAGE)&0x3) << 9) | ((A_u_long)(BUILD)&0x1FF)))

/* Version of the host's effect API (PF_InData.version). */
typedef struct PF_SpecVersion {
    A_short major;
    A_short minor;
} PF_SpecVersion;

#define PF_MAX_EFFECT_MSG_LEN 255
#define PF_MAX_EFFECT_NAME_LEN 31

/* What the host tells the plug-in. Times are in time_scale units: the frame
 * number is current_time / time_step (local_time_step for the layer's own
 * timing). */
typedef struct PF_InData {
    PF_InteractCallbacks inter;
    PF_UtilCallbacks* utils;
    PF_ProgPtr effect_ref;
    PF_SpecVersion version; /* the host's API version */
    A_long appl_id; /* PF_APPL_ID_* */
    A_long num_params;
    A_long current_time;
    A_long time_step;
    A_long total_time;
    A_long local_time_step;
    A_u_long time_scale;
    A_long width; /* input layer size */
    A_long height;
    PF_Rect extent_hint; /* in layer coordinates */
    A_long output_origin_x;
    A_long output_origin_y;
    PF_RationalScale downsample_x;
    PF_RationalScale downsample_y;
    PF_RationalScale pixel_aspect_ratio;
    PF_Handle global_data;
    PF_Handle sequence_data;
    PF_Handle frame_data;
    SPBasicSuite* pica_basicP;
} PF_InData;

/* What the plug-in tells the host. The host reads back my_version,
 * num_params, global_data, sequence_data, the flags and return_msg. */
typedef struct PF_OutData {
    A_u_long my_version;
    A_char name[PF_MAX_EFFECT_NAME_LEN + 1];
    PF_Handle global_data;
    A_long num_params;
    PF_Handle sequence_data;
    PF_Handle frame_data;
    A_long width;
    A_long height;
    PF_Point origin;
    PF_OutFlags out_flags;
    A_char return_msg[PF_MAX_EFFECT_MSG_LEN + 1];
    PF_OutFlags2 out_flags2;
} PF_OutData;

/* Extra data of PF_Cmd_USER_CHANGED_PARAM. */
typedef struct PF_UserChangedParamExtra {
    PF_ParamIndex param_index;
} PF_UserChangedParamExtra;

/* Extra data of PF_Cmd_UPDATE_PARAMS_UI when the host sends it from a place
 * where params[] may be stale: the plug-in should check parameters out at
 * the current time instead of reading params[]. */
typedef struct PF_UpdateParamsUIExtra {
    A_long reserved;
} PF_UpdateParamsUIExtra;

/* The entry point. A C++ compiler does not accept a function called main with
 * these arguments, so the plug-in defines PF_EffectMain and the assembler name
 * exports it as "main", the symbol the host looks up. */
#define PF_STRINGIFY_(x) #x
#define PF_STRINGIFY(x) PF_STRINGIFY_(x)
#if defined(_WIN32) && (defined(__GNUC__) || defined(__clang__))
/* A DLL exports what is marked so. The entry's assembler name carries the
 * C symbol prefix of the target (an underscore on 32-bit x86), so that the
 * module definition file can export it as "main". */
#define PF_EXPORT __declspec(dllexport)
#define PF_ENTRY_EXPORT
#define PF_ENTRY_SYMBOL __asm__(PF_STRINGIFY(__USER_LABEL_PREFIX__) "main")
#elif defined(__GNUC__) || defined(__clang__)
#define PF_EXPORT __attribute__((visibility("default")))
#define PF_ENTRY_EXPORT PF_EXPORT
#define PF_ENTRY_SYMBOL __asm__("main")
#else
#define PF_EXPORT
#define PF_ENTRY_EXPORT
#define PF_ENTRY_SYMBOL
#endif

typedef PF_Err (*PF_EffectEntryFunc)(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data,
    PF_ParamDef* params[], PF_LayerDef* output, void* extra);

PF_ENTRY_EXPORT PF_Err PF_EffectMain(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
    PF_LayerDef* output, void* extra) PF_ENTRY_SYMBOL;

#define PF_ENTRY_POINT_NAME "main"

#ifdef __cplusplus
}
#endif

#endif
