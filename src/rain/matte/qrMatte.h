#pragma once
// The matte step of a render: makes the single-channel matte that weights
// the rain, from the source or from the clip "Matte", by the "Matte" choice:
//   0 none; 1..4 source luminance, inverse luminance, alpha, inverse alpha;
//   5, 6 matte layer luminance, inverse luminance (the clip fetched as ARGB);
//   7, 8 matte layer alpha, inverse alpha (the clip fetched as one channel,
//   which delivers its alpha).
// Returns whether a matte was made. A failed fetch of the matte layer is not
// an error: the rain is then rendered without a matte.
#include "matte/qrAlphaMatter.h"
#include "qrClip.h"
#include "qrException.h"
#include "qrExceptionStack.h"
#include "matte/qrInvertProc.h"
#include "qrTexture.h"

#include <cstdint>

namespace Quarn::Rain {

enum MatteChannel : int32_t {
    kMatteNone = 0,
    kSourceLuminance = 1,
    kSourceInverseLuminance = 2,
    kSourceAlpha = 3,
    kSourceInverseAlpha = 4,
    kMatteLayerLuminance = 5,
    kMatteLayerInverseLuminance = 6,
    kMatteLayerAlpha = 7,
    kMatteLayerInverseAlpha = 8,
};

// Fetches clip "Matte" at `time` into `dest`; false when the set has no such
// clip or the host cannot deliver it.
template <class Tex> bool fetchMatteClip(Wrapper::ClipSet& clips, double time, Tex& dest)
{
    Wrapper::Clip* clip = clips.hsGetObject("Matte", false);
    if (!clip)
        return false;
    try {
        clip->fetchImageRaw(time, &dest);
    } catch (const Exceptions::Wrapper::FetchImageFailed& e) {
        Exceptions::Stack::record(e, "Quarn::Rain::fetchMatteClip", "src/rain/matte/qrMatte.h", __LINE__);
        return false;
    }
    return true;
}

template <class S, class W, class MS, class MW>
bool makeMatte(Wrapper::ClipSet& clips, double time, const QrTexture<S, W>& source, QrTexture<MS, MW>& matte,
    int32_t matteChannel, QrInterruptRecord* record = nullptr)
{
    using Matter = AlphaMatterWithoutTemplatedMax<S, W, MS, MW>;
    auto extract = [&](const QrTexture<S, W>& from) {
        Matter matter(record);
        matter.mode = matteChannel;
        Matter::prepare(matte, from);
        matter.process(from, matte);
    };
    if (matteChannel >= kSourceLuminance && matteChannel <= kSourceInverseAlpha) {
        extract(source);
        return true;
    }
    if (matteChannel == kMatteLayerLuminance || matteChannel == kMatteLayerInverseLuminance) {
        QrTexture<S, W> layer;
        if (!fetchMatteClip(clips, time, layer))
            return false;
        extract(layer);
        return true;
    }
    if (matteChannel == kMatteLayerAlpha || matteChannel == kMatteLayerInverseAlpha) {
        if (!fetchMatteClip(clips, time, matte))
            return false;
        if (matteChannel == kMatteLayerInverseAlpha) {
            QrInvertProc<MS, MW> invert(float(S::Desc::kWhite), record);
            invert.process(matte);
        }
        return true;
    }
    return false;
}

}  // namespace Quarn::Rain
