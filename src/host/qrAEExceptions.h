#pragma once
// Exceptions of the After Effects layer that the shared list does not hold:
// a host suite that cannot be had or given back. Code 4 (failed), in the
// After Effects family; its message is the text it is thrown with
// ("Couldn't load suite.", "Couldn't release suite.", "Failed to release suite.").
#include "qrException.h"

namespace Quarn::Exceptions::AfterEffects {
QUARN_EXCEPTION_TEXT_CLASS(SuiteFailed, AfterEffectsException, 4, "AfterEffectsException")
}  // namespace Quarn::Exceptions::AfterEffects

namespace Quarn::AfterEffects {
// Source path named by every exception the host adapter throws.
inline constexpr const char* kAdapterSource = "src/qrAEWrapperHost";
}  // namespace Quarn::AfterEffects

namespace Quarn::Exceptions::AfterEffects {
// Something other than one of our exceptions reached a command's guard
// (a standard library failure): code 23, runtime error.
QUARN_EXCEPTION_CLASS(UnexpectedFailure, AfterEffectsException, 23, "AfterEffectsException")
}  // namespace Quarn::Exceptions::AfterEffects
