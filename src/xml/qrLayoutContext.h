#pragma once
// Where a page or group element is read. In an effect's "layout" element the
// layout is defined: pages list columns of cells, and a group's name must be
// new. In a parameter-set document pages and groups are parameters written
// with the others (pages as rows of cells); there an existing page or group
// keeps its content, so that a written set reads back into itself.
namespace Quarn::XML {

enum class LayoutContext { layout, paramSet };

}  // namespace Quarn::XML
