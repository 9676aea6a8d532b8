#pragma once
// The attributes of one XML element as the reader hands them to an object's
// readAttributes. Names arrive already folded to lower case. Every attribute
// an object asks for is marked as read, so the reader can refuse the ones no
// object knew.
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace Quarn {

class AttributeList {
public:
    AttributeList() = default;
    AttributeList(std::initializer_list<std::pair<const std::string, std::string>> values);

    void set(const std::string& name, const std::string& value);

    // The attribute's text, or null when the element does not carry it.
    // Asking marks the attribute as read, whether or not its value is used.
    const std::string* take(const std::string& name);

    bool contains(const std::string& name) const { return values_.count(name) != 0; }
    bool empty() const { return values_.empty(); }
    // Names of the attributes nobody asked for, in name order.
    std::vector<std::string> unread() const;
    const std::map<std::string, std::string>& values() const { return values_; }

private:
    std::map<std::string, std::string> values_;
    std::set<std::string> read_;
};

}  // namespace Quarn
