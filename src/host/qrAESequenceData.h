#pragma once
// The per-instance record the host keeps for the effect, and the commands of
// its life: setup, resetup, flatten and setdown.
//
// Live form (state 0), five 32-bit words where a handle is 4 bytes:
//   word 0     int32     state, 0 = live
//   word 1     PF_Handle a handle the record owns (released on flatten)
//   words 2-4  int32[3]  working values of the instance, zero when made
// 20 bytes. A 64-bit handle does not fit a word: there the working values
// come first and the handle last, every field naturally aligned (24 bytes).
// The handle is the record's own scratch block; nothing of the live form
// survives flattening.
// Flat form: one int32 holding 1, 4 bytes.
#include <AE_Effect.h>

#include <cstddef>
#include <cstdint>

namespace Quarn::AfterEffects {

template <std::size_t HandleBytes> struct LiveSequenceLayout;

template <> struct LiveSequenceLayout<4> {
    int32_t state = 0;
    PF_Handle owned = nullptr;
    int32_t working[3] = {0, 0, 0};
};

template <> struct LiveSequenceLayout<8> {
    int32_t state = 0;
    int32_t working[3] = {0, 0, 0};
    PF_Handle owned = nullptr;
};

using LiveSequenceRecord = LiveSequenceLayout<sizeof(PF_Handle)>;
static_assert(sizeof(LiveSequenceRecord) == (sizeof(PF_Handle) == 4 ? 20 : 24));
static_assert(sizeof(PF_Handle) != 4 || offsetof(LiveSequenceRecord, owned) == 4,
    "the handle is word 1 of the five-word record");

constexpr int32_t kSequenceLive = 0;
constexpr int32_t kSequenceFlat = 1;
// Size of the block the live record owns.
constexpr std::size_t kSequenceScratchBytes = 16;

class SequenceData {
public:
    // Releases any record the host holds and hands it a fresh live one;
    // "Failed to set up sequence data" and out of memory when the host has
    // no memory for it.
    static PF_Err setup(PF_InData* in, PF_OutData* out);
    // A flat record becomes a fresh live one; anything else as setup.
    static PF_Err resetup(PF_InData* in, PF_OutData* out);
    // A live record becomes the flat word; a missing or flat one stays.
    static PF_Err flatten(PF_InData* in, PF_OutData* out);
    static PF_Err setdown(PF_InData* in, PF_OutData* out);

    // Whether `handle` holds the flat form.
    static bool isFlat(PF_InData* in, PF_Handle handle);

private:
    // A new zeroed live record owning its scratch handle, or null.
    static PF_Handle makeLive(PF_InData* in);
    // Disposes of a record of either form (and a live record's handle).
    static void release(PF_InData* in, PF_Handle handle);
};

}  // namespace Quarn::AfterEffects
