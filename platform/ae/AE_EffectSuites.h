/* The "PF" suites, acquired through in_data->pica_basicP->AcquireSuite with
 * the name and version below, and released with the same pair. */
#ifndef NIMBREL_AE_EFFECT_SUITES_H
#define NIMBREL_AE_EFFECT_SUITES_H

#include "AE_EffectParams.h"
#include "AE_EffectUI.h"

#ifdef __cplusplus
extern "C" {
#endif

#define kPFWorldSuite "PF World Suite"
#define kPFWorldSuiteVersion2 2

typedef struct PF_WorldSuite2 {
    /* A new world owned by the plug-in, cleared when clear_pix is true. */
    PF_Err (*PF_NewWorld)(PF_ProgPtr effect_ref, A_long width, A_long height, PF_Boolean clear_pix,
        PF_PixelFormat pixel_format, PF_EffectWorld* world);
    PF_Err (*PF_DisposeWorld)(PF_ProgPtr effect_ref, PF_EffectWorld* world);
    /* PF_PixelFormat_ARGB32, _ARGB64 or _ARGB128 for a world of the host. */
    PF_Err (*PF_GetPixelFormat)(const PF_EffectWorld* world, PF_PixelFormat* pixel_format);
} PF_WorldSuite2;

#define kPFParamUtilsSuite "PF Param Utils Suite"
#define kPFParamUtilsSuiteVersion3 3

typedef struct PF_ParamUtilsSuite3 {
    /* Refreshes the control of parameter param_index from *def: the host
     * takes its ui_flags (greying with PF_PUI_DISABLED) and, when
     * def->uu.change_flags has PF_ChangeFlag_CHANGED_VALUE, its value, which
     * it stores at the current time. */
    PF_Err (*PF_UpdateParamUI)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, const PF_ParamDef* def);
    PF_Err (*PF_GetKeyframeCount)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, A_long* key_count);
    /* Time of key key_index (0-based) in the caller's time_scale units. */
    PF_Err (*PF_KeyIndexToTime)(PF_ProgPtr effect_ref, PF_ParamIndex param_index, A_long key_index,
        A_long* key_time, A_u_long* key_time_scale);
} PF_ParamUtilsSuite3;

#define kPFColorParamSuite "PF ColorParamSuite"
#define kPFColorParamSuiteVersion1 1

typedef struct PF_ColorParamSuite1 {
    /* The colour of a colour parameter as floats 0..1. */
    PF_Err (*PF_GetFloatingPointColorFromColorDef)(
        PF_ProgPtr effect_ref, const PF_ParamDef* color_def, PF_PixelFloat* color);
} PF_ColorParamSuite1;

#define kPFAppSuite "PF AE App Suite"
#define kPFAppSuiteVersion4 4

typedef struct PF_AppSuite4 {
    /* The window that owns the plug-in's modal dialogs. */
    PF_Err (*PF_GetMainWnd)(PF_HostWindow** main_window);
    /* Background colour of the host's panels. */
    PF_Err (*PF_AppGetBgColor)(PF_Pixel* bg_color);
} PF_AppSuite4;

#ifdef __cplusplus
}
#endif

#endif
