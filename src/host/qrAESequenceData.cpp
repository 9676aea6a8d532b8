#include "qrAESequenceData.h"

#include "qrAEHandle.h"

#include <cstring>

namespace Quarn::AfterEffects {

namespace {

void failSetup(PF_OutData* out)
{
    std::strcpy(out->return_msg, "Failed to set up sequence data");
    out->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
}

}  // namespace

bool SequenceData::isFlat(PF_InData* in, PF_Handle handle)
{
    if (!handle || handleSize(in, handle) != sizeof(int32_t))
        return false;
    LockedHandle locked(in, handle);
    return locked.data() && *locked.as<int32_t>() == kSequenceFlat;
}

PF_Handle SequenceData::makeLive(PF_InData* in)
{
    PF_Handle record = newHandle(in, sizeof(LiveSequenceRecord));
    if (!record)
        return nullptr;
    PF_Handle scratch = newHandle(in, kSequenceScratchBytes);
    LockedHandle locked(in, record);
    if (!scratch || !locked.data()) {
        disposeHandle(in, scratch);
        disposeHandle(in, record);
        return nullptr;
    }
    LiveSequenceRecord fresh;
    fresh.owned = scratch;
    *locked.as<LiveSequenceRecord>() = fresh;
    return record;
}

void SequenceData::release(PF_InData* in, PF_Handle handle)
{
    if (!handle)
        return;
    if (handleSize(in, handle) == sizeof(LiveSequenceRecord)) {
        LockedHandle locked(in, handle);
        auto* live = locked.as<LiveSequenceRecord>();
        if (live && live->state == kSequenceLive) {
            disposeHandle(in, live->owned);
            live->owned = nullptr;
        }
    }
    disposeHandle(in, handle);
}

PF_Err SequenceData::setup(PF_InData* in, PF_OutData* out)
{
    release(in, in->sequence_data);
    out->sequence_data = nullptr;
    PF_Handle live = makeLive(in);
    if (!live) {
        failSetup(out);
        return PF_Err_OUT_OF_MEMORY;
    }
    out->sequence_data = live;
    return PF_Err_NONE;
}

PF_Err SequenceData::resetup(PF_InData* in, PF_OutData* out)
{
    if (!isFlat(in, in->sequence_data))
        return setup(in, out);
    PF_Handle live = makeLive(in);
    if (!live) {
        failSetup(out);
        return PF_Err_OUT_OF_MEMORY;
    }
    disposeHandle(in, in->sequence_data);
    out->sequence_data = live;
    return PF_Err_NONE;
}

PF_Err SequenceData::flatten(PF_InData* in, PF_OutData* out)
{
    PF_Handle current = in->sequence_data;
    if (!current || handleSize(in, current) != sizeof(LiveSequenceRecord))
        return PF_Err_NONE;
    {
        LockedHandle locked(in, current);
        if (!locked.data() || locked.as<LiveSequenceRecord>()->state != kSequenceLive)
            return PF_Err_NONE;
    }
    PF_Handle flat = newHandle(in, sizeof(int32_t));
    if (!flat)
        return PF_Err_OUT_OF_MEMORY;
    {
        LockedHandle locked(in, flat);
        if (auto* word = locked.as<int32_t>())
            *word = kSequenceFlat;
    }
    release(in, current);
    out->sequence_data = flat;
    return PF_Err_NONE;
}

PF_Err SequenceData::setdown(PF_InData* in, PF_OutData* out)
{
    release(in, in->sequence_data);
    out->sequence_data = nullptr;
    return PF_Err_NONE;
}

}  // namespace Quarn::AfterEffects
