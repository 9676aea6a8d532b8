#pragma once
// Values that only a host can produce: cameras, lights and roto shapes. The
// parameter system passes them through; a host adapter derives the concrete
// kinds (for example a 3D camera) from these bases.

namespace Quarn {

class CameraBase {
public:
    virtual ~CameraBase() = default;
};

class LightBase {
public:
    virtual ~LightBase() = default;
};

class RotoShape {
public:
    virtual ~RotoShape() = default;
};

}  // namespace Quarn
