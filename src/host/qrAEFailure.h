#pragma once
// How a command's failure reaches the host. Called from inside a catch
// block, translateFailure classifies the exception being handled:
//   out of memory (our own or the standard library's)  -> PF_Err_OUT_OF_MEMORY
//   InterruptedCritical (a user cancel)                 -> PF_Interrupt_CANCEL
//   anything else: recorded on the exception stack, the report appended to
//   the log ("AfterEffects", "Nimbrel"), a "Quarn Internal Error" message
//   shown to the user, and no error code.
#include <AE_Effect.h>

namespace Quarn::AfterEffects {

inline constexpr const char* kProduct = "Nimbrel";
inline constexpr const char* kHostFolder = "AfterEffects";
inline constexpr const char* kInternalErrorTitle = "Quarn Internal Error";
inline constexpr const char* kOutOfMemoryMessage = "Nimbrel out of memory.";

// `function`, `file` and `line` name the catch site for the record.
PF_Err translateFailure(PF_OutData* out, const char* function, const char* file, int line);
// Writes the out-of-memory message and asks the host to show it.
void reportOutOfMemory(PF_OutData* out);

}  // namespace Quarn::AfterEffects
