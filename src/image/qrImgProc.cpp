#include "qrImgProc.h"

namespace {

// Clears the processor's output pointer however the run ends.
template <class T> struct ResetOnExit {
    T*& pointer;
    ~ResetOnExit() { pointer = nullptr; }
};

}  // namespace

void QrImgProc::process(QrTexIndexer* output)
{
    if (!output)
        return;
    region_.fitTo(*output);
    output_ = output;
    outputWidth_ = output->width();
    outputHeight_ = output->height();
    ResetOnExit<QrTexIndexer> reset {output_};
    run();
}
