#include "qrAttributeList.h"

namespace Quarn {

AttributeList::AttributeList(std::initializer_list<std::pair<const std::string, std::string>> values)
    : values_(values)
{
}

void AttributeList::set(const std::string& name, const std::string& value)
{
    values_[name] = value;
}

const std::string* AttributeList::take(const std::string& name)
{
    auto it = values_.find(name);
    if (it == values_.end())
        return nullptr;
    read_.insert(name);
    return &it->second;
}

std::vector<std::string> AttributeList::unread() const
{
    std::vector<std::string> names;
    for (const auto& [name, value] : values_)
        if (!read_.count(name))
            names.push_back(name);
    return names;
}

}  // namespace Quarn
