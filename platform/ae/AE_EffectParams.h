/* Parameter definitions: what the plug-in declares in PF_Cmd_PARAMS_SETUP and
 * what it receives in the params[] array of every later command. */
#ifndef NIMBREL_AE_EFFECT_PARAMS_H
#define NIMBREL_AE_EFFECT_PARAMS_H

#include "AE_EffectTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PF_MAX_EFFECT_PARAM_NAME_LEN 31

typedef A_long PF_ParamType;
enum {
    PF_Param_LAYER = 0,
    PF_Param_SLIDER = 1, /* integer slider */
    PF_Param_FIX_SLIDER = 2, /* 16.16 fixed-point slider */
    PF_Param_ANGLE = 3, /* fixed-point degrees */
    PF_Param_CHECKBOX = 4,
    PF_Param_COLOR = 5, /* 8-bit ARGB */
    PF_Param_POPUP = 7, /* 1-based choice */
    PF_Param_NO_DATA = 9, /* custom UI area holding no value */
    PF_Param_GROUP_START = 13,
    PF_Param_GROUP_END = 14
};

/* PF_ParamDef.flags */
typedef A_long PF_ParamFlags;
enum {
    PF_ParamFlag_NONE = 0,
    PF_ParamFlag_CANNOT_TIME_VARY = 0x02,
    PF_ParamFlag_START_COLLAPSED = 0x20,
    PF_ParamFlag_SUPERVISE = 0x40 /* changes are sent as PF_Cmd_USER_CHANGED_PARAM */
};

/* PF_ParamDef.ui_flags */
typedef A_long PF_ParamUIFlags;
enum {
    PF_PUI_NONE = 0,
    PF_PUI_TOPIC = 1 << 0,
    PF_PUI_CONTROL = 1 << 1, /* the parameter has a custom control area */
    PF_PUI_DISABLED = 1 << 5, /* greyed out */
    PF_PUI_INVISIBLE = 1 << 9
};

/* PF_ParamDef.uu.change_flags: set by the plug-in on a params[] entry (or on
 * a definition passed to PF_UpdateParamUI) whose value it wrote. */
typedef A_long PF_ChangeFlags;
enum { PF_ChangeFlag_NONE = 0, PF_ChangeFlag_CHANGED_VALUE = 1 << 0 };

/* Layer parameter defaults (PF_LayerDef.dephault). */
enum { PF_LayerDefault_MYSELF = -1, PF_LayerDefault_NONE = 0 };

typedef struct PF_SliderDef {
    PF_ParamValue value;
    A_long valid_min, valid_max;
    A_long slider_min, slider_max;
    A_long dephault;
} PF_SliderDef;

/* Fixed-point slider: every number is value x 65536. */
enum { PF_ValueDisplayFlag_NONE = 0, PF_ValueDisplayFlag_PERCENT = 1 << 0 };
typedef struct PF_FixedSliderDef {
    PF_Fixed value;
    PF_Fixed valid_min, valid_max;
    PF_Fixed slider_min, slider_max;
    PF_Fixed dephault;
    A_short precision; /* decimals shown */
    A_short display_flags; /* PF_ValueDisplayFlag_* */
} PF_FixedSliderDef;

/* Angle in fixed-point degrees. */
typedef struct PF_AngleDef {
    PF_Fixed value;
    PF_Fixed dephault;
    PF_Fixed valid_min, valid_max;
} PF_AngleDef;

typedef struct PF_CheckBoxDef {
    PF_ParamValue value; /* 0 or 1 */
    PF_Boolean dephault;
    const A_char* nameptr; /* text beside the box */
} PF_CheckBoxDef;

typedef struct PF_ColorDef {
    PF_Pixel value;
    PF_Pixel dephault;
} PF_ColorDef;

/* Popup: value and dephault are 1-based; namesptr holds num_choices entries
 * separated by '|'. */
typedef struct PF_PopupDef {
    PF_ParamValue value;
    A_short num_choices;
    A_short dephault;
    const A_char* namesptr;
} PF_PopupDef;

typedef union PF_ParamDefUnion {
    PF_LayerDef ld;
    PF_SliderDef sd;
    PF_FixedSliderDef fs_d;
    PF_AngleDef ad;
    PF_CheckBoxDef bd;
    PF_ColorDef cd;
    PF_PopupDef pd;
} PF_ParamDefUnion;

typedef struct PF_ParamDef {
    union {
        A_long id;
        PF_ChangeFlags change_flags;
    } uu;
    PF_ParamUIFlags ui_flags;
    A_short ui_width; /* custom control area size (PF_PUI_CONTROL) */
    A_short ui_height;
    PF_ParamType param_type;
    A_char name[PF_MAX_EFFECT_PARAM_NAME_LEN + 1];
    PF_ParamFlags flags;
    A_long unused;
    PF_ParamDefUnion u;
} PF_ParamDef;
typedef PF_ParamDef* PF_ParamDefPtr;
typedef PF_ParamDef** PF_ParamList;

#ifdef __cplusplus
}
#endif

#endif
