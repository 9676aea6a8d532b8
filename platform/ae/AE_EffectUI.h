/* Custom control areas (PF_Cmd_EVENT) and the host's main window, which the
 * plug-in uses as the owner of its modal dialogs (the about box). */
#ifndef NIMBREL_AE_EFFECT_UI_H
#define NIMBREL_AE_EFFECT_UI_H

#include "AE_EffectTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef A_long PF_EventType;
enum {
    PF_Event_NEW_CONTEXT = 0,
    PF_Event_ACTIVATE = 1,
    PF_Event_DO_CLICK = 2,
    PF_Event_DRAG = 3,
    PF_Event_DRAW = 4,
    PF_Event_DEACTIVATE = 5,
    PF_Event_CLOSE_CONTEXT = 6,
    PF_Event_IDLE = 7,
    PF_Event_KEYDOWN = 9
};

typedef A_long PF_EventOutFlags;
enum {
    PF_EO_NONE = 0,
    PF_EO_HANDLED_EVENT = 1 << 0, /* the plug-in dealt with the event */
    PF_EO_UPDATE_NOW = 1 << 2 /* redraw the area */
};

/* Extra data of PF_Cmd_EVENT, for the control area of parameter
 * param_index. For PF_Event_DRAW, canvas is an 8-bit ARGB world of the
 * area's size (ui_width x ui_height) to draw into; it is NULL otherwise. */
typedef struct PF_EventExtra {
    PF_EventType e_type;
    PF_ParamIndex param_index;
    PF_EffectWorld* canvas;
    PF_Point mouse; /* click and drag, in area coordinates */
    A_long key_code; /* key down */
    PF_EventOutFlags evt_out_flags; /* set by the plug-in */
} PF_EventExtra;

/* The host's main window. A modal dialog is shown either as a window of the
 * system's own, owned by native_window (a HWND on Windows; NULL where the
 * host has none), or by drawing its whole content into an 8-bit ARGB world
 * and handing it to show_modal, which returns when the user has closed the
 * dialog. */
typedef struct PF_HostWindow {
    void* refcon;
    PF_Err (*show_modal)(void* refcon, const A_char* title, const PF_EffectWorld* content);
    void* native_window;
} PF_HostWindow;

#ifdef __cplusplus
}
#endif

#endif
