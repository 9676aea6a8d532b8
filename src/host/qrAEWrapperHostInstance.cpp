// The adapter's view of the effect instance across commands: the working
// values in its sequence record, and the frames it needs from its layers.
#include "qrAEWrapperHost.h"

#include "qrAEExceptions.h"
#include "qrAEHandle.h"
#include "qrAESequenceData.h"

#include <algorithm>
#include <cmath>

namespace Quarn::AfterEffects::Wrapper {

namespace Ex = Quarn::Exceptions;

namespace {

std::string fn(const char* name)
{
    return std::string("Quarn::AfterEffects::Wrapper::Host::") + name;
}

// The command's live sequence record, locked while the holder lives.
class LiveRecord {
public:
    LiveRecord(PF_InData* in, const char* function) : locked_(in, in->sequence_data)
    {
        const bool live = locked_.data() && handleSize(in, in->sequence_data) == sizeof(LiveSequenceRecord) &&
            record().state == kSequenceLive;
        if (!live)
            throw Ex::AfterEffects::NullSequenceData(
                fn(function).c_str(), kAdapterSource, __LINE__, "sequence_data");
    }
    LiveSequenceRecord& record() const { return *locked_.as<LiveSequenceRecord>(); }

private:
    LockedHandle locked_;
};

}  // namespace

void Host::setInstanceData(const InstanceData& values)
{
    LiveRecord live(in_, "setInstanceData");
    std::copy(values.begin(), values.end(), live.record().working);
}

InstanceData Host::getInstanceData() const
{
    LiveRecord live(in_, "getInstanceData");
    InstanceData values {};
    std::copy(live.record().working, live.record().working + values.size(), values.begin());
    return values;
}

void Host::setFramesNeeded(const std::string& clip, double first, double last)
{
    auto it = clips_.find(clip);
    if (it == clips_.end())
        throw Ex::Wrapper::ClipUndefined(fn("setFramesNeeded").c_str(), kAdapterSource, __LINE__, clip);
    framesNeeded_[it->second] = {std::min(first, last), std::max(first, last)};
}

bool Host::frameIsNeeded(int32_t layerIndex, double time) const
{
    auto it = framesNeeded_.find(layerIndex);
    return it != framesNeeded_.end() && time >= it->second.first && time <= it->second.last;
}

Quarn::Wrapper::FrameRange Host::getLayerFrameRange() const
{
    const double duration = frames(in_->total_time, A_u_long(in_->time_scale));
    return {0.0, std::max(0.0, std::ceil(duration) - 1.0)};
}

}  // namespace Quarn::AfterEffects::Wrapper
