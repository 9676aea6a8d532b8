/* The few AEGP suites an effect uses to reach its layer, composition and the
 * keyframes of its own parameters. Acquired like the PF suites. */
#ifndef NIMBREL_AEGP_SUITES_H
#define NIMBREL_AEGP_SUITES_H

#include "AE_EffectTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long AEGP_PluginID;
typedef struct AEGP_Layer* AEGP_LayerH;
typedef struct AEGP_Comp* AEGP_CompH;
typedef struct AEGP_Item* AEGP_ItemH;
typedef struct AEGP_Effect* AEGP_EffectRefH;
typedef struct AEGP_Stream* AEGP_StreamRefH;

/* A time as a rational number of seconds: value / scale. */
typedef struct A_Time {
    A_long value;
    A_u_long scale;
} A_Time;

typedef struct AEGP_ColorVal {
    A_FpLong alphaF, redF, greenF, blueF; /* 0..1 */
} AEGP_ColorVal;

/* The value of an effect parameter's stream, as the user sees it: sliders
 * as their value (a fixed-point slider's value / 65536), angles in degrees,
 * popups 1-based, check boxes 0 or 1, colours in color. */
typedef union AEGP_StreamVal {
    A_FpLong one_d;
    AEGP_ColorVal color;
} AEGP_StreamVal;

typedef struct AEGP_StreamValue {
    AEGP_StreamRefH streamH;
    AEGP_StreamVal val;
} AEGP_StreamValue;

#define kAEGPPFInterfaceSuite "AEGP PF Interface Suite"
#define kAEGPPFInterfaceSuiteVersion1 1

typedef struct AEGP_PFInterfaceSuite1 {
    PF_Err (*AEGP_GetEffectLayer)(PF_ProgPtr effect_ref, AEGP_LayerH* layer);
    /* Must be released with AEGP_DisposeEffect. */
    PF_Err (*AEGP_GetNewEffectForEffect)(
        AEGP_PluginID plugin_id, PF_ProgPtr effect_ref, AEGP_EffectRefH* effect);
    PF_Err (*AEGP_DisposeEffect)(AEGP_EffectRefH effect);
    PF_Err (*AEGP_ConvertEffectToCompTime)(
        PF_ProgPtr effect_ref, A_long what_time, A_u_long time_scale, A_Time* comp_time);
} AEGP_PFInterfaceSuite1;

#define kAEGPLayerSuite "AEGP Layer Suite"
#define kAEGPLayerSuiteVersion8 8

typedef A_long AEGP_ObjectType;
enum { AEGP_ObjectType_AV = 0, AEGP_ObjectType_LIGHT = 1, AEGP_ObjectType_CAMERA = 2 };

typedef struct AEGP_LayerSuite8 {
    PF_Err (*AEGP_GetLayerParentComp)(AEGP_LayerH layer, AEGP_CompH* comp);
    PF_Err (*AEGP_GetLayerObjectType)(AEGP_LayerH layer, AEGP_ObjectType* type);
} AEGP_LayerSuite8;

#define kAEGPCompSuite "AEGP Comp Suite"
#define kAEGPCompSuiteVersion11 11

typedef struct AEGP_CompSuite11 {
    PF_Err (*AEGP_GetItemFromComp)(AEGP_CompH comp, AEGP_ItemH* item);
    PF_Err (*AEGP_GetCompFramerate)(AEGP_CompH comp, A_FpLong* fps);
} AEGP_CompSuite11;

#define kAEGPItemSuite "AEGP Item Suite"
#define kAEGPItemSuiteVersion9 9

typedef struct AEGP_ItemSuite9 {
    PF_Err (*AEGP_GetItemDimensions)(AEGP_ItemH item, A_long* width, A_long* height);
    PF_Err (*AEGP_GetItemDuration)(AEGP_ItemH item, A_Time* duration);
} AEGP_ItemSuite9;

#define kAEGPLightSuite "AEGP Light Suite"
#define kAEGPLightSuiteVersion2 2

typedef A_long AEGP_LightType;
enum {
    AEGP_LightType_NONE = -1, /* the layer is not a light */
    AEGP_LightType_PARALLEL = 0,
    AEGP_LightType_SPOT = 1,
    AEGP_LightType_POINT = 2,
    AEGP_LightType_AMBIENT = 3
};

typedef struct AEGP_LightSuite2 {
    PF_Err (*AEGP_GetLightType)(AEGP_LayerH layer, AEGP_LightType* type);
} AEGP_LightSuite2;

#define kAEGPStreamSuite "AEGP Stream Suite"
#define kAEGPStreamSuiteVersion5 5

/* Streams of the effect's own parameters. Keys are 0-based and in time
 * order; a stream without keys has one value at all times. Every stream and
 * stream value obtained must be disposed. */
typedef struct AEGP_StreamSuite5 {
    PF_Err (*AEGP_GetNewEffectStreamByIndex)(
        AEGP_PluginID plugin_id, AEGP_EffectRefH effect, PF_ParamIndex param_index, AEGP_StreamRefH* stream);
    PF_Err (*AEGP_DisposeStream)(AEGP_StreamRefH stream);
    PF_Err (*AEGP_IsStreamTimevarying)(AEGP_StreamRefH stream, A_Boolean* is_timevarying);
    PF_Err (*AEGP_GetStreamNumKFs)(AEGP_StreamRefH stream, A_long* num_keys);
    PF_Err (*AEGP_GetKeyframeTime)(AEGP_StreamRefH stream, A_long key_index, A_Time* key_time);
    /* Value at a time, interpolated between keys. */
    PF_Err (*AEGP_GetNewStreamValue)(
        AEGP_PluginID plugin_id, AEGP_StreamRefH stream, const A_Time* time, AEGP_StreamValue* value);
    PF_Err (*AEGP_DisposeStreamValue)(AEGP_StreamValue* value);
    /* Value of a stream without keys. */
    PF_Err (*AEGP_SetStreamValue)(
        AEGP_PluginID plugin_id, AEGP_StreamRefH stream, const AEGP_StreamValue* value);
    /* Adds a key at a time (or finds the one there) holding the value the
     * stream has at that time. */
    PF_Err (*AEGP_InsertKeyframe)(AEGP_StreamRefH stream, const A_Time* time, A_long* key_index);
    PF_Err (*AEGP_SetKeyframeValue)(AEGP_StreamRefH stream, A_long key_index, const AEGP_StreamValue* value);
    PF_Err (*AEGP_DeleteKeyframe)(AEGP_StreamRefH stream, A_long key_index);
} AEGP_StreamSuite5;

#ifdef __cplusplus
}
#endif

#endif
