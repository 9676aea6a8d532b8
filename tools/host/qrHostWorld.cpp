#include "qrHostWorld.h"

#include <algorithm>
#include <stdexcept>

namespace Quarn::Host {

namespace {

// Padding: at least 48 bytes a row, rows kept 16-byte aligned.
std::size_t paddedRowBytes(int width, Depth depth) {
  const std::size_t used = width * pixelSize(depth);
  return (used + 48 + 15) / 16 * 16;
}

}  // namespace

HostWorld::HostWorld(int width, int height, Depth depth) : depth_(depth) {
  if (width < 0 || height < 0) throw std::invalid_argument("negative world size");
  const std::size_t rowBytes = paddedRowBytes(width, depth);
  const std::size_t used = width * pixelSize(depth);
  storage_.assign(rowBytes * height, kPadByte);
  for (int y = 0; y < height; ++y) std::fill_n(storage_.begin() + y * rowBytes, used, std::byte{0});
  world_.world_flags = PF_WorldFlag_WRITEABLE | (depth == Depth::Bits16 ? PF_WorldFlag_DEEP : 0);
  world_.data = reinterpret_cast<PF_PixelPtr>(storage_.data());
  world_.rowbytes = static_cast<A_long>(rowBytes);
  world_.width = width;
  world_.height = height;
  world_.extent_hint = {0, 0, width, height};
  world_.pix_aspect_ratio = {1, 1};
}

std::size_t HostWorld::usedBytes() const { return world_.width * pixelSize(depth_); }

void HostWorld::load(const HostImage& image) {
  if (image.width() != world_.width || image.height() != world_.height)
    throw std::invalid_argument("image and world differ in size");
  image.converted(depth_).writeRows(storage_.data(), world_.rowbytes);
}

HostImage HostWorld::read() const {
  HostImage image(world_.width, world_.height, depth_);
  image.readRows(storage_.data(), world_.rowbytes);
  return image;
}

bool HostWorld::paddingIntact() const {
  for (int y = 0; y < world_.height; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * world_.rowbytes;
    for (std::size_t i = usedBytes(); i < static_cast<std::size_t>(world_.rowbytes); ++i)
      if (storage_[row + i] != kPadByte) return false;
  }
  return true;
}

}  // namespace Quarn::Host
