#pragma once
// The interrupt checker of one render command. Processors poll it between
// rows and bands from every worker thread; only the thread that received the
// command (thread 0 of a threaded pass) may call the host, so the others are
// answered "not interrupted" without a call. A non-zero answer of the host's
// progress callback is kept, and the checker's code becomes kHostResult.
#include "qrMultiProcessor.h"
#include "qrThreads.h"

#include <AE_Effect.h>

#include <atomic>
#include <cstdint>

namespace Quarn::AfterEffects {

class InterruptChecker {
public:
    // Code of a stop that the host asked for through its progress callback.
    static constexpr int32_t kHostResult = 10000;
    // Progress polls count up to this total.
    static constexpr A_long kProgressTotal = 1000;

    explicit InterruptChecker(PF_InData* in);
    InterruptChecker(const InterruptChecker&) = delete;
    InterruptChecker& operator=(const InterruptChecker&) = delete;

    QrInterruptRecord* record() { return &record_; }
    int32_t code() const { return record_.reason.load(); }
    PF_Err hostResult() const { return hostResult_.load(); }
    int32_t pollCount() const { return counter_; }
    // The command's result when nothing was thrown: out of memory (1000,
    // 1001) gives PF_Err_OUT_OF_MEMORY, a host stop the host's own answer.
    PF_Err resultCode() const;

private:
    static int32_t check(void* context, std::atomic<int32_t>* reason);
    int32_t poll(std::atomic<int32_t>* reason);

    PF_InData* in_;
    Platform::ThreadId owner_;
    A_long counter_ = 0;
    std::atomic<PF_Err> hostResult_ {PF_Err_NONE};
    QrInterruptRecord record_;
};

}  // namespace Quarn::AfterEffects
