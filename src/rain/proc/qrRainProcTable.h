#pragma once
// A per-value function of one storage component, precomputed for every value
// of an 8-bit or 16-bit component and evaluated directly for float ones. The
// rain's per-pixel factors (highlight ramp, matte weight) need divisions;
// integer depths look them up instead, with results identical to evaluating
// the same expression.
#include <cstdint>
#include <type_traits>
#include <vector>

template <class Component, class F> class QrRainProcTable {
public:
    static constexpr bool kTabulated = std::is_integral_v<Component>;
    using Value = std::invoke_result_t<const F&, float>;

    explicit QrRainProcTable(F f) : f_(f)
    {
        if constexpr (kTabulated) {
            constexpr std::size_t count = std::size_t(1) << (8 * sizeof(Component));
            values_.resize(count);
            for (std::size_t v = 0; v < count; ++v)
                values_[v] = f_(float(v));
        }
    }

    Value operator()(Component v) const
    {
        if constexpr (kTabulated)
            return values_[v];
        else
            return f_(v);
    }

private:
    static_assert(!std::is_integral_v<Component> || sizeof(Component) <= 2,
        "tables cover 8-bit and 16-bit components only");
    F f_;
    std::vector<Value> values_;
};
