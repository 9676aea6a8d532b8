// A world (image buffer) that the host owns and lends to the plug-in. Rows
// are padded beyond width x pixel size, and the padding holds a known byte
// pattern, so a plug-in that steps rows by anything but rowbytes is caught.
#pragma once

#include "qrHostImage.h"

#include <AE_EffectTypes.h>

#include <cstddef>
#include <vector>

namespace Quarn::Host {

class HostWorld {
public:
  static constexpr std::byte kPadByte{0xA5};

  HostWorld(int width, int height, Depth depth);
  HostWorld(const HostWorld&) = delete;
  HostWorld& operator=(const HostWorld&) = delete;

  PF_EffectWorld& world() { return world_; }
  const PF_EffectWorld& world() const { return world_; }
  Depth depth() const { return depth_; }
  PF_PixelFormat format() const { return pixelFormat(depth_); }

  // Copies an image of the world's size in (converting its depth) or out.
  void load(const HostImage& image);
  HostImage read() const;
  // True when no byte beyond width x pixel size in any row was written.
  bool paddingIntact() const;

private:
  std::size_t usedBytes() const;

  Depth depth_;
  std::vector<std::byte> storage_;
  PF_EffectWorld world_{};
};

}  // namespace Quarn::Host
