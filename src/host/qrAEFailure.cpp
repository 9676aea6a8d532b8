#include "qrAEFailure.h"

#include "qrAEExceptions.h"
#include "qrExceptionStack.h"
#include "qrExceptionTemplate.h"

#include <cstring>
#include <exception>
#include <new>
#include <string>

namespace Quarn::AfterEffects {

namespace Ex = Quarn::Exceptions;

namespace {

void setMessage(PF_OutData* out, const std::string& text)
{
    if (!out)
        return;
    const std::size_t n = std::min(text.size(), sizeof out->return_msg - 1);
    std::memcpy(out->return_msg, text.data(), n);
    out->return_msg[n] = '\0';
    out->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
}

// Records `e`, appends the report to the log and tells the user.
PF_Err reportInternalError(
    PF_OutData* out, const Ex::ExceptionI& e, const char* function, const char* file, int line)
{
    Errors::Initialise();
    try {
        Ex::Stack::record(e, function, file, line);
        Ex::Stack::stackDumpLog(kHostFolder, kProduct);
    } catch (const Ex::ExceptionI& logFailure) {
        // The log could not be written; the failure is on the stack (where
        // the writer put it) and the user still gets the message.
        (void)logFailure;
    } catch (...) {
    }
    setMessage(
        out, std::string(kInternalErrorTitle) + "\n" + kProduct + " (" + kHostFolder + "): " + e.message());
    return PF_Err_NONE;
}

}  // namespace

void reportOutOfMemory(PF_OutData* out)
{
    setMessage(out, kOutOfMemoryMessage);
}

PF_Err translateFailure(PF_OutData* out, const char* function, const char* file, int line)
{
    try {
        throw;
    } catch (const Ex::OutOfMemory& e) {
        Ex::Stack::record(e, function, file, line);
        return PF_Err_OUT_OF_MEMORY;
    } catch (const Ex::AfterEffects::InterruptedCritical& e) {
        Ex::Stack::record(e, function, file, line);
        return PF_Interrupt_CANCEL;
    } catch (const Ex::ExceptionI& e) {
        return reportInternalError(out, e, function, file, line);
    } catch (const std::bad_alloc&) {
        Ex::Stack::record(
            Ex::OutOfMemory(function, file, line, "caught std::bad_alloc"), function, file, line);
        return PF_Err_OUT_OF_MEMORY;
    } catch (const std::exception& e) {
        return reportInternalError(
            out, Ex::AfterEffects::UnexpectedFailure(function, file, line, e.what()), function, file, line);
    } catch (...) {
        return reportInternalError(out,
            Ex::AfterEffects::UnexpectedFailure(function, file, line, "unknown exception"), function, file,
            line);
    }
}

}  // namespace Quarn::AfterEffects
