#pragma once
// Layout parameters: a Group lists parameter names shown together, a Page
// places names in a grid of rows and columns. Both hold names only; a name
// need not be in the set when it is placed.
#include "qrParam.h"

#include <map>
#include <utility>
#include <vector>

namespace Quarn::Param {

class Group : public Param {
public:
    explicit Group(std::string name) : Param(std::move(name)) { }
    void parseValue(const std::string&) override { }
    void writeXML(std::ostream& os, bool full) const override;
    const std::string& typeName() const override;

    void addParam(const std::string& name) { members_.push_back(name); }
    const std::vector<std::string>& members() const { return members_; }

private:
    std::vector<std::string> members_;
};

class Page : public Param {
public:
    using Position = std::pair<int32_t, int32_t>;  // row, column

    explicit Page(std::string name) : Param(std::move(name)) { }
    void parseValue(const std::string&) override { }
    // Rows in ascending order, each with its cells in ascending column order.
    void writeXML(std::ostream& os, bool full) const override;
    const std::string& typeName() const override;

    // Places a name; an occupied cell fails an assertion and keeps its name.
    void addParam(const std::string& name, int32_t row, int32_t column);
    // The name in a cell, or null.
    const std::string* getParamAtPosition(int32_t row, int32_t column) const;
    const std::map<Position, std::string>& cells() const { return cells_; }

private:
    std::map<Position, std::string> cells_;
};

}  // namespace Quarn::Param
