/* Smart rendering: PF_Cmd_SMART_PRE_RENDER asks what the effect needs and
 * will produce; PF_Cmd_SMART_RENDER then renders with layers checked out by
 * the ids chosen in the pre-render. */
#ifndef NIMBREL_AE_EFFECT_SMART_RENDER_H
#define NIMBREL_AE_EFFECT_SMART_RENDER_H

#include "AE_EffectTypes.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct PF_RenderRequest {
    PF_LRect rect; /* the output area wanted, layer pixels */
    PF_Boolean preserve_rgb_of_zero_alpha;
} PF_RenderRequest;

typedef struct PF_CheckoutResult {
    PF_LRect result_rect; /* what the layer can give of the request */
    PF_LRect max_result_rect; /* what it could give of any request */
    PF_RationalScale par;
    A_long ref_width; /* layer size */
    A_long ref_height;
} PF_CheckoutResult;

/* Pre-render: the checkout of layer parameter `index` at a time, under the
 * plug-in's own checkout_id (any value, unique in this render; using the
 * layer's parameter index is the natural choice). A layer parameter with no
 * layer chosen succeeds with empty rectangles. */
typedef struct PF_PreRenderCallbacks {
    PF_Err (*checkout_layer)(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_id,
        const PF_RenderRequest* req, A_long what_time, A_long time_step, A_u_long time_scale,
        PF_CheckoutResult* result);
} PF_PreRenderCallbacks;

typedef struct PF_PreRenderInput {
    PF_RenderRequest output_request;
    A_short bitdepth; /* 8, 16 or 32 */
} PF_PreRenderInput;

typedef struct PF_PreRenderOutput {
    PF_LRect result_rect;
    PF_LRect max_result_rect;
    PF_Boolean solid;
    void* pre_render_data; /* handed to the smart render as is */
    void (*delete_pre_render_data_func)(void* pre_render_data);
} PF_PreRenderOutput;

typedef struct PF_PreRenderExtra {
    PF_PreRenderInput* input;
    PF_PreRenderOutput* output;
    PF_PreRenderCallbacks* cb;
} PF_PreRenderExtra;

/* Smart render: pixels of the layers checked out in the pre-render, by their
 * checkout ids. A checkout id whose layer has no image gives *pixels == NULL;
 * an id never checked out in the pre-render is PF_Err_BAD_CALLBACK_PARAM. */
typedef struct PF_SmartRenderCallbacks {
    PF_Err (*checkout_layer_pixels)(PF_ProgPtr effect_ref, A_long checkout_id, PF_EffectWorld** pixels);
    PF_Err (*checkin_layer_pixels)(PF_ProgPtr effect_ref, A_long checkout_id);
    PF_Err (*checkout_output)(PF_ProgPtr effect_ref, PF_EffectWorld** output);
    PF_Err (*is_layer_connected)(PF_ProgPtr effect_ref, A_long checkout_id, PF_Boolean* connected);
} PF_SmartRenderCallbacks;

typedef struct PF_SmartRenderInput {
    PF_RenderRequest output_request;
    A_short bitdepth; /* 8, 16 or 32 */
    void* pre_render_data;
} PF_SmartRenderInput;

typedef struct PF_SmartRenderExtra {
    PF_SmartRenderInput* input;
    PF_SmartRenderCallbacks* cb;
} PF_SmartRenderExtra;

#ifdef __cplusplus
}
#endif

#endif
