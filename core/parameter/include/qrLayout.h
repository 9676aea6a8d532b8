#pragma once
// LayoutSet: how an effect arranges its controls. The layout parameters
// themselves (Group, Page) live in the effect's parameter set, in the same
// name space as the value parameters; the layout set remembers which of them
// were read as the effect's layout, in document order.
#include "qrParamGroup.h"
#include "qrParamSet.h"

#include <string>
#include <vector>

namespace Quarn::Param {

class LayoutSet {
public:
    // The set that holds the layout parameters; not owned.
    explicit LayoutSet(ParamSet& params) : params_(params) { }
    LayoutSet(const LayoutSet&) = delete;
    LayoutSet& operator=(const LayoutSet&) = delete;

    ParamSet& params() const { return params_; }

    // Records a page or a top-level group (already in the parameter set) as
    // part of the layout; a name recorded before is not repeated.
    void addPage(const std::string& name) { addOnce(pages_, name); }
    void addGroup(const std::string& name) { addOnce(groups_, name); }

    const std::vector<std::string>& pages() const { return pages_; }
    const std::vector<std::string>& groups() const { return groups_; }

    // The recorded layout parameter of that name; null when the name is not
    // recorded or no longer names a parameter of that type.
    Page* page(const std::string& name) const;
    Group* group(const std::string& name) const;

private:
    static void addOnce(std::vector<std::string>& names, const std::string& name);

    ParamSet& params_;
    std::vector<std::string> pages_;
    std::vector<std::string> groups_;
};

}  // namespace Quarn::Param
