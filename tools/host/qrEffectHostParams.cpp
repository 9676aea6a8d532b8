// The host's side of the parameters: finding them by name, setting them as
// the user would, and lending layer images.
#include "qrEffectHost.h"

#include "qrHostError.h"
#include "qrHostWorld.h"
#include "qrParamText.h"

#include <cstdio>
#include <utility>

namespace Quarn::Host {

const HostParam& EffectHost::param(int index) const
{
    if (index < 0 || index >= paramCount())
        throw HostError("no parameter " + std::to_string(index));
    return *params_[index];
}

HostParam& EffectHost::mutableParam(int index)
{
    return const_cast<HostParam&>(std::as_const(*this).param(index));
}

void EffectHost::assignGroups()
{
    std::vector<std::string> open;
    for (auto& p : params_) {
        p->setGroup(open.empty() ? "" : open.back());
        if (p->type() == PF_Param_GROUP_START)
            open.push_back(p->label());
        if (p->type() == PF_Param_GROUP_END && !open.empty()) {
            p->setGroup(open.back());
            open.pop_back();
        }
    }
}

int EffectHost::findParam(std::string_view name) const
{
    if (auto alias = aliases_.find(name); alias != aliases_.end())
        return alias->second;
    const std::size_t slash = name.rfind('/');
    const std::string_view group = slash == std::string_view::npos ? "" : name.substr(0, slash);
    const std::string_view label = slash == std::string_view::npos ? name : name.substr(slash + 1);
    int found = -1;
    for (const auto& p : params_) {
        const bool groupFits = slash == std::string_view::npos || p->group() == group;
        if (groupFits && p->shownLabel() == label && p->type() != PF_Param_GROUP_END) {
            if (found >= 0)
                return -1;  // the label alone is ambiguous
            found = p->index();
        }
    }
    return found;
}

int EffectHost::requireParam(std::string_view name) const
{
    const int index = findParam(name);
    if (index < 0)
        throw HostError("no single parameter named \"" + std::string(name) + "\"");
    return index;
}

void EffectHost::addAlias(std::string key, int index)
{
    param(index);  // checks the index
    aliases_[std::move(key)] = index;
}

void EffectHost::setParam(std::string_view name, std::string_view text)
{
    HostParam& p = mutableParam(requireParam(name));
    const double now = currentSeconds();
    p.setValue(parseValue(p, text, now), now);
}

void EffectHost::setParamKey(std::string_view name, A_long frame, std::string_view text)
{
    HostParam& p = mutableParam(requireParam(name));
    const double at = seconds(frame * properties_.timeStep, properties_.timeScale);
    p.setKey(at, parseValue(p, text, at));
}

std::string EffectHost::paramText(std::string_view name) const
{
    return formatValue(param(requireParam(name)), currentSeconds());
}

CommandResult EffectHost::changeParam(std::string_view name, std::string_view text)
{
    setParam(name, text);
    const int index = requireParam(name);
    if (param(index).definition().flags & PF_ParamFlag_SUPERVISE)
        return userChangedParam(index);
    return {};
}

void EffectHost::setSource(HostImage image)
{
    setLayer(0, std::move(image));
}

void EffectHost::setLayer(int index, std::optional<HostImage> image)
{
    if (param(index).type() != PF_Param_LAYER)
        throw HostError(param(index).label() + " is not a layer parameter");
    mutableParam(index).setLayer(std::move(image));
    layerWorlds_.erase(index);
}

// The layer's world is kept from one command to the next until the layer
// changes: a still image that serves every frame of a sequence is copied
// into a world once, and an image already laid out as a world at the depth
// asked for is shown as it is, not copied.
std::shared_ptr<HostWorld> EffectHost::layerWorld(int index, Depth depth)
{
    const auto& image = param(index).layer();
    if (!image)
        return nullptr;
    std::shared_ptr<HostWorld>& kept = layerWorlds_[index];
    if (!kept || kept->depth() != depth) {
        kept.reset();
        if (HostWorld::canShow(*image, depth)) {
            kept = std::make_shared<HostWorld>(*image);
        } else {
            kept = std::make_shared<HostWorld>(
                image->width(), image->height(), depth, memory_, HostWorld::Start::Undefined);
            kept->load(*image);
        }
    }
    kept->world().pix_aspect_ratio = properties_.pixelAspectRatio;
    return kept;
}

int EffectHost::uiUpdates(int index) const
{
    auto it = uiUpdates_.find(index);
    return it == uiUpdates_.end() ? 0 : it->second;
}

std::string EffectHost::describeParams() const
{
    std::string out;
    for (const auto& p : params_) {
        char line[256];
        std::snprintf(line, sizeof line, "%3d  %-32s %-12s %s", p->index(), p->path().c_str(),
            paramTypeName(p->type()), formatValue(*p, currentSeconds()).c_str());
        out += line;
        if (p->type() == PF_Param_POPUP) {
            out += "  [";
            for (std::size_t i = 0; i < p->choices().size(); ++i)
                out += (i ? "|" : "") + p->choices()[i];
            out += "]";
        }
        if (p->definition().ui_flags & PF_PUI_DISABLED)
            out += "  (greyed out)";
        out += '\n';
    }
    return out;
}

}  // namespace Quarn::Host
