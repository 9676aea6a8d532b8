#pragma once
// EffectI: the generic effect. It is its own parameter set (in pass-through
// mode by default, so every value read goes to the host), and it holds the
// effect's clips, its layout and the description a host needs: name, menu
// group, supported depths and components, and how it treats fields, tiles
// and time. Concrete effects derive from it and fill these in code; the same
// fields can be read from an "effect" document.
#include "qrClip.h"
#include "qrLayout.h"
#include "qrParamSet.h"

#include <cstdio>
#include <string>
#include <vector>

namespace Quarn::Wrapper {

class EffectI : public Param::ParamSet {
public:
    // Reads effect documents (root "effect"). The XML layer installs one;
    // without it the parse operations throw FunctionUndefined.
    class XMLReaderI {
    public:
        virtual ~XMLReaderI() = default;
        virtual void parse(EffectI& effect, const std::string& document) = 0;
        virtual void parse(EffectI& effect, std::FILE* file) = 0;
    };
    static void setXMLReader(XMLReaderI* reader);

    explicit EffectI(bool forwardToHost = true) : ParamSet(forwardToHost), layout_(*this) { }

    // Locks (or unlocks) the definitions of the parameters and of the clips
    // together.
    void setDefinitionLock(bool on) override;

    // An effect document, not a parameter-set document: the effect's own
    // attributes, its clips, parameters, layout and description.
    void parseXML(const std::string& document) override;
    void parseXML(std::FILE* file) override;
    // Opens the file in text mode (FileOpen when it cannot) and reads it.
    void parseXMLFile(const std::string& path) override;

    ClipSet& clips() { return clips_; }
    const ClipSet& clips() const { return clips_; }
    Param::LayoutSet& layout() { return layout_; }
    const Param::LayoutSet& layout() const { return layout_; }

    const std::string& name() const { return name_; }
    void setName(std::string name) { name_ = std::move(name); }
    const std::string& label() const { return label_; }
    void setLabel(std::string label) { label_ = std::move(label); }
    const std::string& group() const { return group_; }
    void setGroup(std::string group) { group_ = std::move(group); }
    const std::string& description() const { return description_; }
    void setDescription(std::string text) { description_ = std::move(text); }

    bool temporalAccess() const { return temporalAccess_; }
    void setTemporalAccess(bool on) { temporalAccess_ = on; }
    bool supportsTiles() const { return supportsTiles_; }
    void setSupportsTiles(bool on) { supportsTiles_ = on; }
    bool fieldRenderTwiceAlways() const { return fieldRenderTwiceAlways_; }
    void setFieldRenderTwiceAlways(bool on) { fieldRenderTwiceAlways_ = on; }
    bool sequentialRender() const { return sequentialRender_; }
    void setSequentialRender(bool on) { sequentialRender_ = on; }
    Fields fields() const { return fields_; }
    void setFields(Fields f) { fields_ = f; }

    const std::vector<BitDepth>& bitDepths() const { return bitDepths_; }
    void addBitDepth(BitDepth depth) { bitDepths_.push_back(depth); }
    const std::vector<Component>& components() const { return components_; }
    void addComponent(Component component) { components_.push_back(component); }

private:
    XMLReaderI& reader(const char* function) const;

    ClipSet clips_;
    Param::LayoutSet layout_;
    std::string name_;
    std::string label_;
    std::string group_;
    std::string description_;
    bool temporalAccess_ = false;
    bool supportsTiles_ = false;
    bool fieldRenderTwiceAlways_ = false;
    bool sequentialRender_ = false;
    Fields fields_ = Fields::doubled;
    std::vector<BitDepth> bitDepths_;
    std::vector<Component> components_;
};

}  // namespace Quarn::Wrapper
