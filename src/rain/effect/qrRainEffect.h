#pragma once
// The rain effect as a host sees it: its parameters (declared from the rain
// parameter table), its clips "Source" and "Matte", the presets and the
// per-frame render. It reads every value through its parameter set, which in
// pass-through mode forwards each call to the host by internal key, and
// reaches images only through its clips and the host's output image, so one
// effect serves every host adapter.
#include "motion/qrRainMotion.h"
#include "qrEffect.h"
#include "qrWrapperHost.h"

#include <cstdint>

namespace Quarn::Wrapper {

class RainEffect : public EffectI {
public:
    enum Preset : int32_t { kNoPreset = 0, kDrizzle, kRain, kShower, kDownpour, kCatsAndDogs, kNightTime };
    enum class Depth { eight, sixteen, floating };

    // Binds `host`; with `forwardToHost` every value comes from the host, else
    // from the effect's own parameters (the host still gives time, geometry
    // and images).
    explicit RainEffect(HostI* host, bool forwardToHost = true);

    // Sets density, drop length and the two diffusion thresholds of preset
    // `preset` at the current time; "..." and unknown numbers do nothing.
    void applyPreset(int32_t preset);

    // Renders one frame into the host's output image: matte, rain, alpha
    // clamp, blend and the "Process" alpha handling.
    void render(Depth depth);

    // Puts `clip` into the clip set in place of any clip of its name: host
    // adapters attach their "Source" and "Matte" clips before rendering.
    void attachClip(const auto_ref<Clip>& clip);

    HostI* wrapperHost() const { return host_; }

    // How the drops move and how many depth layers there are; the defaults
    // (a new pattern every frame, one layer) are what hosts without these
    // controls get.
    void setMotion(const QrRainMotion& motion) { motion_ = motion.clamped(); }
    const QrRainMotion& motion() const { return motion_; }

private:
    HostI* host_;
    QrRainMotion motion_;
};

}  // namespace Quarn::Wrapper
