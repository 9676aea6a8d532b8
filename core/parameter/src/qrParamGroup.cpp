#include "qrParamGroup.h"

#include "qrException.h"
#include "qrParamTypeName.h"

namespace Quarn::Param {

void Group::writeXML(std::ostream& os, bool full) const
{
    os << "  <" << typeName();
    writeAttributes(os, full);
    os << ">\n";
    for (const std::string& member : members_)
        os << "<param name=\"" << member << "\" />\n";
    os << "</" << typeName() << ">\n";
}

void Page::addParam(const std::string& name, int32_t row, int32_t column)
{
    if (getParamAtPosition(row, column))
        throw Exceptions::AssertionFailed(
            "Quarn::Param::Page::addParam", "src/qrParamGroup", 78, "!getParamAtPosition(row, column)");
    cells_.emplace(Position {row, column}, name);
}

const std::string* Page::getParamAtPosition(int32_t row, int32_t column) const
{
    auto it = cells_.find(Position {row, column});
    return it == cells_.end() ? nullptr : &it->second;
}

void Page::writeXML(std::ostream& os, bool full) const
{
    os << "  <" << typeName();
    writeAttributes(os, full);
    os << ">\n";
    for (auto it = cells_.begin(); it != cells_.end();) {
        const int32_t row = it->first.first;
        os << "<row position=\"" << row << "\" >\n";
        for (; it != cells_.end() && it->first.first == row; ++it)
            os << "<param name=\"" << it->second << "\" position=\"" << it->first.second << "\" />\n";
        os << "</row>\n";
    }
    os << "</" << typeName() << ">\n";
}

QUARN_PARAM_TYPE_NAME(Group, "group")
QUARN_PARAM_TYPE_NAME(Page, "page")

}  // namespace Quarn::Param
