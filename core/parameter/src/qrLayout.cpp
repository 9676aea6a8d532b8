#include "qrLayout.h"

#include <algorithm>

namespace Quarn::Param {

namespace {
template <class T>
T* recorded(const ParamSet& params, const std::vector<std::string>& names, const std::string& name)
{
    if (std::find(names.begin(), names.end(), name) == names.end())
        return nullptr;
    return dynamic_cast<T*>(params.findParam(name));
}
}  // namespace

Page* LayoutSet::page(const std::string& name) const
{
    return recorded<Page>(params_, pages_, name);
}

Group* LayoutSet::group(const std::string& name) const
{
    return recorded<Group>(params_, groups_, name);
}

void LayoutSet::addOnce(std::vector<std::string>& names, const std::string& name)
{
    if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

}  // namespace Quarn::Param
