// The rain processor at the host's three depths.
#include "proc/qrRainProcImpl.h"

template class QrRainProc<QrDepth8>;
template class QrRainProc<QrDepth16>;
template class QrRainProc<QrDepthF>;
