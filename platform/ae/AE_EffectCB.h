/* Callbacks the host hands the plug-in in PF_InData: parameter checkout and
 * declaration, progress and abort, memory handles, and the suite lookup. All
 * of them must be called from the thread that received the command. */
#ifndef NIMBREL_AE_EFFECT_CB_H
#define NIMBREL_AE_EFFECT_CB_H

#include "AE_EffectParams.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PF_InteractCallbacks {
    /* Copies parameter `index` as it is at what_time (in time_scale units; the
     * host interpolates keyframes) into *param. Pair with checkin_param. A layer
     * parameter comes back with u.ld.data == NULL when no layer is chosen. */
    PF_Err (*checkout_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long time_step,
        A_u_long time_scale, PF_ParamDef* param);
    PF_Err (*checkin_param)(PF_ProgPtr effect_ref, PF_ParamDef* param);

    /* PF_Cmd_PARAMS_SETUP only. index -1 appends. Strings that the definition
     * points to are copied by the host. */
    PF_Err (*add_param)(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def);

    /* Non-zero (PF_Interrupt_CANCEL) when the user has cancelled. */
    PF_Err (*abort)(PF_ProgPtr effect_ref);

    /* Reports progress and polls for a cancel: non-zero means stop. */
    PF_Err (*progress)(PF_ProgPtr effect_ref, A_long current, A_long total);
} PF_InteractCallbacks;

/* Host memory. Every handle made must be disposed; the host counts them. */
typedef struct PF_UtilCallbacks {
    PF_Handle (*host_new_handle)(PF_ProgPtr effect_ref, A_u_longlong size);
    void* (*host_lock_handle)(PF_ProgPtr effect_ref, PF_Handle handle);
    void (*host_unlock_handle)(PF_ProgPtr effect_ref, PF_Handle handle);
    void (*host_dispose_handle)(PF_ProgPtr effect_ref, PF_Handle handle);
    A_u_longlong (*host_get_handle_size)(PF_ProgPtr effect_ref, PF_Handle handle);
} PF_UtilCallbacks;

/* Suite lookup by name and version. A suite acquired must be released with
 * the same name and version. Errors are non-zero. */
typedef A_long SPErr;
enum { kSPNoError = 0, kSPSuiteNotFoundError = 0x53214e46 /* 'S!NF' */ };

typedef struct SPBasicSuite {
    SPErr (*AcquireSuite)(const char* name, A_long version, const void** suite);
    SPErr (*ReleaseSuite)(const char* name, A_long version);
    A_Boolean (*IsEqual)(const char* token1, const char* token2);
} SPBasicSuite;

/* Shorthands used inside a command, where `in_data` is in scope. */
#define PF_ADD_PARAM(IN_DATA, INDEX, DEF) ((IN_DATA)->inter.add_param((IN_DATA)->effect_ref, (INDEX), (DEF)))
#define PF_CHECKOUT_PARAM(IN_DATA, INDEX, TIME, STEP, SCALE, PARAM)                                          \
    ((IN_DATA)->inter.checkout_param((IN_DATA)->effect_ref, (INDEX), (TIME), (STEP), (SCALE), (PARAM)))
#define PF_CHECKIN_PARAM(IN_DATA, PARAM) ((IN_DATA)->inter.checkin_param((IN_DATA)->effect_ref, (PARAM)))
#define PF_ABORT(IN_DATA) ((IN_DATA)->inter.abort((IN_DATA)->effect_ref))
#define PF_PROGRESS(IN_DATA, CURRENT, TOTAL)                                                                 \
    ((IN_DATA)->inter.progress((IN_DATA)->effect_ref, (CURRENT), (TOTAL)))
#define PF_NEW_HANDLE(IN_DATA, SIZE) ((IN_DATA)->utils->host_new_handle((IN_DATA)->effect_ref, (SIZE)))
#define PF_LOCK_HANDLE(IN_DATA, H) ((IN_DATA)->utils->host_lock_handle((IN_DATA)->effect_ref, (H)))
#define PF_UNLOCK_HANDLE(IN_DATA, H) ((IN_DATA)->utils->host_unlock_handle((IN_DATA)->effect_ref, (H)))
#define PF_DISPOSE_HANDLE(IN_DATA, H) ((IN_DATA)->utils->host_dispose_handle((IN_DATA)->effect_ref, (H)))
#define PF_GET_HANDLE_SIZE(IN_DATA, H) ((IN_DATA)->utils->host_get_handle_size((IN_DATA)->effect_ref, (H)))

#ifdef __cplusplus
}
#endif

#endif
