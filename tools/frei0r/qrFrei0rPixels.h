#pragma once
// frei0r frames hold 8-bit RGBA (bytes R, G, B, A in memory, rows packed,
// the top row first); the rain effect works on ARGB textures. These move a
// frame between the two orders without touching the values.
#include "qrPixel.h"
#include "qrTexture.h"

#include <cstdint>

namespace Quarn::Frei0r {

using FrameTexture = QrTexture<Quarn::Pixel::ARGB8>;

// Copies the width x height RGBA frame `rgba` into `argb` (same size).
void unpackRGBA(const uint32_t* rgba, FrameTexture& argb);

// Copies `argb` into the RGBA frame `rgba` of its size. `rgba` may be the
// texture's own memory: the channels are reordered in place then.
void packRGBA(const FrameTexture& argb, uint32_t* rgba);

}  // namespace Quarn::Frei0r
