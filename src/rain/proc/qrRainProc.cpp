// The rain processor at the host's three depths.
#include "proc/qrRainProcImpl.h"

template class QrRainProc<Quarn::Pixel::ARGB8, Quarn::Pixel::ARGBW255, 255, Quarn::Pixel::Single8,
                          Quarn::Pixel::SingleW255>;
template class QrRainProc<Quarn::Pixel::ARGB16, Quarn::Pixel::ARGBW32768, 32768,
                          Quarn::Pixel::Single16, Quarn::Pixel::SingleW32768>;
template class QrRainProc<Quarn::Pixel::ARGBF, Quarn::Pixel::ARGBF, 1, Quarn::Pixel::SingleF,
                          Quarn::Pixel::SingleF>;
