/* Scalar types, error codes, geometry, pixels and image worlds shared by the
 * effect plug-in and its host. Plain C so that either side may be written in C
 * or C++. */
#ifndef NIMBREL_AE_EFFECT_TYPES_H
#define NIMBREL_AE_EFFECT_TYPES_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef char A_char;
typedef uint8_t A_u_char;
typedef int16_t A_short;
typedef uint16_t A_u_short;
typedef int32_t A_long;
typedef uint32_t A_u_long;
typedef int64_t A_longlong;
typedef uint64_t A_u_longlong;
typedef double A_FpLong;
typedef float A_FpShort;
typedef unsigned char A_Boolean;

typedef A_long PF_Err;
typedef A_long PF_Fixed; /* 16.16 fixed point: value x 65536 */
typedef unsigned char PF_Boolean;
typedef double PF_FpLong;
typedef float PF_FpShort;
typedef A_long PF_ParamIndex;
typedef A_long PF_ParamValue;

/* Opaque reference to the running effect instance; every callback takes it. */
typedef void* PF_ProgPtr;

/* A movable block of host memory: *handle is the block. Lock it before use. */
typedef void** PF_Handle;

#define PF_Fixed_ONE ((PF_Fixed)65536)
#define PF_FIXED_FROM_LONG(L) ((PF_Fixed)((L)*65536))

/* Four-character codes are built by shifting, never written as multi-char
 * literals, so they are the same on every compiler. */
#define PF_FOURCC(A, B, C, D)                                                                                \
    (((A_u_long)(A_u_char)(A) << 24) | ((A_u_long)(A_u_char)(B) << 16) | ((A_u_long)(A_u_char)(C) << 8) |    \
        (A_u_long)(A_u_char)(D))

/* Application ids the host puts in PF_InData.appl_id. */
#define PF_APPL_ID_AFTER_EFFECTS PF_FOURCC('F', 'X', 'T', 'C')
#define PF_APPL_ID_COMBUSTION PF_FOURCC('C', 'M', 'B', 'S')

/* Error codes returned by main and by callbacks. */
enum {
    PF_Err_NONE = 0,
    PF_Err_OUT_OF_MEMORY = 4,
    PF_Err_INTERNAL_STRUCT_DAMAGED = 0x200,
    PF_Err_INVALID_INDEX = 0x201,
    PF_Err_UNRECOGNIZED_PARAM_TYPE = 0x202,
    PF_Err_INVALID_CALLBACK = 0x203,
    PF_Err_BAD_CALLBACK_PARAM = 0x204,
    PF_Interrupt_CANCEL = 0x205
};

typedef struct PF_Point {
    A_long h, v;
} PF_Point;

/* Half-open rectangle: [left, right) x [top, bottom). */
typedef struct PF_LRect {
    A_long left, top, right, bottom;
} PF_LRect;
typedef PF_LRect PF_Rect;

typedef struct PF_RationalScale {
    A_long num;
    A_u_long den;
} PF_RationalScale;

/* Pixels in the host's channel order: alpha, red, green, blue.
 * 8-bit channels hold 0..255, 16-bit channels 0..32768, float channels 0..1. */
#define PF_MAX_CHAN8 255
#define PF_MAX_CHAN16 32768

typedef struct PF_Pixel {
    A_u_char alpha, red, green, blue;
} PF_Pixel;
typedef PF_Pixel PF_Pixel8;

typedef struct PF_Pixel16 {
    A_u_short alpha, red, green, blue;
} PF_Pixel16;

typedef struct PF_PixelFloat {
    PF_FpShort alpha, red, green, blue;
} PF_PixelFloat;
typedef PF_PixelFloat PF_Pixel32;

typedef PF_Pixel* PF_PixelPtr;

/* Pixel formats reported by the "PF World Suite". */
typedef A_u_long PF_PixelFormat;
#define PF_PixelFormat_ARGB32 PF_FOURCC('a', 'r', 'g', 'b') /* 8 bits */
#define PF_PixelFormat_ARGB64 PF_FOURCC('a', 'e', '1', '6') /* 16 bits */
#define PF_PixelFormat_ARGB128 PF_FOURCC('a', 'e', '3', '2') /* float */
#define PF_PixelFormat_INVALID PF_FOURCC('b', 'a', 'd', 'f')

typedef A_long PF_WorldFlags;
enum {
    PF_WorldFlag_NONE = 0,
    PF_WorldFlag_DEEP = 1 << 0, /* 16 bits per channel */
    PF_WorldFlag_WRITEABLE = 1 << 1
};

/* An image owned by the host. Rows are rowbytes apart, and rowbytes may be
 * larger than width x pixel size: always step rows by rowbytes. A float world
 * has no flag of its own; ask the "PF World Suite" for the pixel format. */
typedef struct PF_EffectWorld {
    PF_WorldFlags world_flags;
    PF_PixelPtr data; /* top-left pixel; NULL when no image */
    A_long rowbytes;
    A_long width;
    A_long height;
    PF_Rect extent_hint; /* the part of the image that matters */
    PF_RationalScale pix_aspect_ratio;
    A_long origin_x; /* position of the world in the layer */
    A_long origin_y;
    A_long dephault; /* layer parameters: PF_LayerDefault_* */
} PF_EffectWorld;
typedef PF_EffectWorld PF_LayerDef;

#ifdef __cplusplus
}
#endif

#endif
