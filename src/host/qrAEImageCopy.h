#pragma once
// Moving a host image (one of the three ARGB textures that wrap host worlds)
// into the texture an effect asks for. A destination of the same pixel type
// simply shares the image, memory and addressing alike. Any other
// destination (another depth, or one channel, which receives the alpha)
// gets fresh memory with the source's addressing and converted pixels.
class QrTexIndexer;

namespace Quarn::AfterEffects {

enum AlphaMode : int {
    kAlphaAsIs = 1,  // pixels move as they are
    kAlphaPremultiply = 2,  // colour is multiplied by alpha on the way
};

// False when either texture is of no pixel type known here.
bool copyTexture(const QrTexIndexer& source, QrTexIndexer* dest, int alphaMode);
// As copyTexture, but always into fresh memory: for a source whose pixels
// are lent only until the caller gives them back.
bool copyTexturePixels(const QrTexIndexer& source, QrTexIndexer* dest, int alphaMode);
// `dest` becomes `source` itself, the same window and addressing over the
// same pixels; false unless both are ARGB textures of one pixel type.
bool shareTexture(const QrTexIndexer& source, QrTexIndexer* dest);

}  // namespace Quarn::AfterEffects
