// One parameter as the host keeps it: the definition the plug-in declared
// (with its strings copied), its value, its keyframes and, for a layer
// parameter, the image chosen for it.
#pragma once

#include "qrHostImage.h"

#include <AE_EffectParams.h>

#include <optional>
#include <string>
#include <vector>

namespace Quarn::Host {

class HostParam {
public:
    // Copies `declared`; `index` is the parameter's place in the host's list.
    HostParam(int index, const PF_ParamDef& declared);
    HostParam(const HostParam&) = delete;
    HostParam& operator=(const HostParam&) = delete;

    int index() const { return index_; }
    PF_ParamType type() const { return def_.param_type; }
    std::string label() const { return def_.name; }
    // Label of the group this parameter sits in ("" at the top level).
    const std::string& group() const { return group_; }
    void setGroup(std::string group) { group_ = std::move(group); }
    const std::vector<std::string>& choices() const { return choices_; }
    const std::string& checkBoxText() const { return checkBoxText_; }
    // The name the user sees and types: the label, or for a check box
    // without one its own text in quotes ("Clamp 0-1 (32 bpc)").
    std::string shownLabel() const;
    // "Group/shown label", or the shown label alone at the top level.
    std::string path() const;

    // The definition as declared, with the current ui_flags and the value at
    // time zero; the strings it points to live as long as this object.
    const PF_ParamDef& definition() const { return def_; }
    bool holdsValue() const;
    bool canTimeVary() const;

    // The definition with its value at `seconds` (keyframes interpolated).
    PF_ParamDef at(double seconds) const;
    // Stores a value, clamped to the valid range: as a key at `seconds` when
    // the parameter has keys, otherwise as its one value.
    void setValue(const PF_ParamDefUnion& value, double seconds);
    // Adds or replaces the key at `seconds`.
    void setKey(double seconds, const PF_ParamDefUnion& value);
    void deleteKey(int key);
    void clearKeys() { keys_.clear(); }
    int keyCount() const { return static_cast<int>(keys_.size()); }
    double keyTime(int key) const { return keys_.at(key).seconds; }

    // The value in the user's units: slider value, degrees, 1-based popup
    // entry, 0 or 1 for a check box. Colours and layers have none.
    double number(double seconds) const;
    PF_ParamDefUnion withNumber(double number) const;
    PF_Pixel colour(double seconds) const { return at(seconds).u.cd.value; }

    void setUIFlags(PF_ParamUIFlags flags) { def_.ui_flags = flags; }

    // Layer parameters: the image the layer shows, if any.
    const std::optional<HostImage>& layer() const { return layer_; }
    void setLayer(std::optional<HostImage> image) { layer_ = std::move(image); }

private:
    struct Key {
        double seconds;
        PF_ParamDefUnion value;
    };

    PF_ParamDefUnion clamped(PF_ParamDefUnion value) const;
    PF_ParamDefUnion valueOnly(const PF_ParamDefUnion& value) const;
    PF_ParamDefUnion interpolate(const Key& a, const Key& b, double seconds) const;

    int index_;
    PF_ParamDef def_;
    std::string group_;
    std::string names_;  // popup names or check box text, owned
    std::vector<std::string> choices_;
    std::string checkBoxText_;
    std::vector<Key> keys_;  // in time order
    std::optional<HostImage> layer_;
};

const char* paramTypeName(PF_ParamType type);

}  // namespace Quarn::Host
