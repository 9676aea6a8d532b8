#pragma once
// Vector generators: the field of blur vectors that a vector blur traces its
// paths along. A vector is a direction in pixel units, at most one pixel
// long (bias may shorten it); the magnitude says how far the blur reaches.
#include <cstdint>
#include <memory>

class VectorGenerator {
public:
    virtual ~VectorGenerator() = default;
    // The blur vector at the absolute image position (x, y).
    virtual void vectorAt(float x, float y, float& vx, float& vy) const = 0;
    // The blur length in pixels.
    virtual float magnitude() const = 0;
    // True when vectorAt is the same everywhere: a sampler may then plan one
    // path and reuse it for every pixel.
    virtual bool isUniform() const = 0;
    virtual std::unique_ptr<VectorGenerator> clone() const = 0;
};

// The same vector at every pixel: a straight motion blur.
class LinearVectorGenerator : public VectorGenerator {
public:
    // `angle` in radians, `magnitude` the length in pixels, `bias` in -1..1
    // leans the blur towards one end of the vector.
    LinearVectorGenerator(float angle, float magnitude, float bias);

    void vectorAt(float x, float y, float& vx, float& vy) const override;
    float magnitude() const override { return magnitude_; }
    bool isUniform() const override { return true; }
    std::unique_ptr<VectorGenerator> clone() const override;

    float angle() const { return angle_; }
    bool biased() const { return biased_; }
    float startWeight() const { return startWeight_; }
    float endWeight() const { return endWeight_; }

private:
    float angle_;
    float magnitude_;
    bool biased_;
    float vectorX_, vectorY_;
    float startWeight_, endWeight_;
};
