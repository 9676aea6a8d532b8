#pragma once
// The keyframed stream of one of the effect's own parameters, reached
// through the host's AEGP PF interface and stream suites: its keys' times,
// and adding and removing keys. Opened for one adapter operation; the
// stream and the effect reference are given back when the holder ends.
#include <AEGP_Suites.h>
#include <AE_Effect.h>

#include <string>

namespace Quarn::AfterEffects::Wrapper {

class ParamStream {
public:
    // `function` and `key` name the adapter operation and the parameter in
    // the ParamCheckoutFailed raised when the host refuses a call.
    ParamStream(PF_InData* in, const AEGP_PFInterfaceSuite1& effects, const AEGP_StreamSuite5& streams,
        PF_ParamIndex index, std::string function, std::string key);
    ~ParamStream();
    ParamStream(const ParamStream&) = delete;
    ParamStream& operator=(const ParamStream&) = delete;

    int keyCount() const;
    A_Time keyTime(int key) const;
    // Adds a key at `time` holding the value the stream has there (an
    // existing key there stays); its index.
    int insertKey(const A_Time& time);
    void deleteKey(int key);
    // The value at `time`, as the stream gives it.
    AEGP_StreamVal valueAt(const A_Time& time) const;
    // The one value of a stream that has no keys.
    void setValue(const AEGP_StreamVal& value);

private:
    void check(PF_Err err) const;

    const AEGP_PFInterfaceSuite1& effects_;
    const AEGP_StreamSuite5& streams_;
    std::string function_;
    std::string key_;
    AEGP_EffectRefH effect_ = nullptr;
    AEGP_StreamRefH stream_ = nullptr;
};

}  // namespace Quarn::AfterEffects::Wrapper
