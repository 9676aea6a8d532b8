#include "qrColourBlendProc.h"

template class QrColourBlendProc<Quarn::Pixel::ARGB8>;
template class QrColourBlendProc<Quarn::Pixel::ARGB16>;
template class QrColourBlendProc<Quarn::Pixel::ARGBF>;
