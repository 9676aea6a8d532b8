/* The plug-in property list: what the host learns about an effect before it
 * sends any command. The plug-in exports it as a table under the C symbol
 * NimbrelPiPL; the host finds it with dlsym(PF_PIPL_SYMBOL), or on Windows
 * in the resource described below.
 *
 * Layout: PF_PiPL { version = PF_PIPL_TABLE_VERSION, count, properties },
 * properties[0 .. count-1] in the order the effect lists them. A property is
 * a key and either a string (string_value != NULL) or a 32-bit word
 * (long_value, string_value == NULL). */
#ifndef NIMBREL_AE_PIPL_H
#define NIMBREL_AE_PIPL_H

#include "AE_Effect.h"

#ifdef __cplusplus
extern "C" {
#endif

#define PF_PIPL_SYMBOL "NimbrelPiPL"
#define PF_PIPL_TABLE_VERSION 1

/* A Windows plug-in carries the same list as a resource of type "PiPL",
 * number 16000, which the host reads from the file's resources. Its bytes
 * are little-endian 32-bit words: the version (PF_PIPL_TABLE_VERSION) and
 * the count, then per property its key, its kind (PF_PIPL_RESOURCE_WORD or
 * PF_PIPL_RESOURCE_STRING), the length of its data in bytes and the data,
 * padded with zeros to whole words: a word, or the string's characters and
 * a terminating zero. */
#define PF_PIPL_RESOURCE_TYPE "PiPL"
#define PF_PIPL_RESOURCE_ID 16000
#define PF_PIPL_RESOURCE_WORD 0
#define PF_PIPL_RESOURCE_STRING 1

/* Property keys, in the order an effect's list has them. */
#define PF_PiPLKey_KIND PF_FOURCC('k', 'i', 'n', 'd') /* word */
#define PF_PiPLKey_NAME PF_FOURCC('n', 'a', 'm', 'e') /* string */
#define PF_PiPLKey_CATEGORY PF_FOURCC('c', 'a', 't', 'g') /* string */
#define PF_PiPLKey_PIPL_VERSION PF_FOURCC('v', 'e', 'r', 's') /* word */
#define PF_PiPLKey_CODE_WIN_X86 PF_FOURCC('w', 'x', '8', '6') /* string */
#define PF_PiPLKey_AE_PIPL_VERSION PF_FOURCC('e', 'P', 'V', 'R')
#define PF_PiPLKey_AE_SPEC_VERSION PF_FOURCC('e', 'S', 'V', 'R')
#define PF_PiPLKey_AE_EFFECT_VERSION PF_FOURCC('e', 'V', 'E', 'R')
#define PF_PiPLKey_AE_MATCH_NAME PF_FOURCC('e', 'M', 'N', 'A') /* string */
#define PF_PiPLKey_AE_INFO_FLAGS PF_FOURCC('e', 'I', 'N', 'F')
#define PF_PiPLKey_AE_GLOBAL_OUTFLAGS PF_FOURCC('e', 'G', 'L', 'O')
#define PF_PiPLKey_AE_GLOBAL_OUTFLAGS_2 PF_FOURCC('e', 'G', 'L', '2')
#define PF_PiPLKey_AE_RESERVED_INFO PF_FOURCC('a', 'e', 'R', 'I')
#define PF_PiPLKey_AE_RESERVED_FLAGS PF_FOURCC('a', 'e', 'F', 'L')

/* Value of the kind property for an effect. */
#define PF_PiPLKind_EFFECT PF_FOURCC('e', 'F', 'K', 'T')

typedef struct PF_PiPLProperty {
    A_u_long key;
    const A_char* string_value;
    A_u_long long_value;
} PF_PiPLProperty;

typedef struct PF_PiPL {
    A_long version;
    A_long count;
    const PF_PiPLProperty* properties;
} PF_PiPL;

/* Defined by the plug-in:
 *   const PF_PiPL NimbrelPiPL = { PF_PIPL_TABLE_VERSION, 14, properties };
 * This declaration gives the definition C linkage and default visibility. */
PF_EXPORT extern const PF_PiPL NimbrelPiPL;

#ifdef __cplusplus
}
#endif

#endif
