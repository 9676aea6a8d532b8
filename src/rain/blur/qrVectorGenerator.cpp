#include "blur/qrVectorGenerator.h"

#include <algorithm>
#include <cmath>

LinearVectorGenerator::LinearVectorGenerator(float angle, float magnitude, float bias)
    : angle_(angle), magnitude_(magnitude), biased_(bias != 0.0f)
{
    // A negative bias fades the start of the blur and shortens the vector's
    // x part; a positive one fades the end and shortens its y part.
    startWeight_ = bias < 0.0f ? 1.0f - std::min(-bias, 1.0f) : 1.0f;
    endWeight_ = bias > 0.0f ? 1.0f - std::min(bias, 1.0f) : 1.0f;
    vectorX_ = std::cos(angle) * (1.0f - std::clamp(-bias, 0.0f, 1.0f));
    vectorY_ = std::sin(angle) * (1.0f - std::clamp(bias, 0.0f, 1.0f));
}

void LinearVectorGenerator::vectorAt(float, float, float& vx, float& vy) const
{
    vx = vectorX_;
    vy = vectorY_;
}

std::unique_ptr<VectorGenerator> LinearVectorGenerator::clone() const
{
    return std::make_unique<LinearVectorGenerator>(*this);
}
