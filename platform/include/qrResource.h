#pragma once
// The plug-in's resources: its string table and the title bitmap of the
// "About" control, built into the library.
#include "qrDrawBitmap.h"

#include <string>

namespace Quarn::Platform {

enum ResourceId : int {
    kStringDescription = 1,  // the effect's description, lines joined by line feeds
    kStringObsolete = 2,
    kBitmapTitle = 101,  // IDB_TITLE
};

constexpr int kTitleWidth = 300;
constexpr int kTitleHeight = 50;

// The string with that id; empty for an id the table does not hold.
std::string resourceString(int id);
// The bitmap with that id; empty for an id that holds no bitmap.
DrawBitmap resourceBitmap(int id);

}  // namespace Quarn::Platform

namespace Quarn::Platform {

// The full path of the file (the plug-in library) that holds these
// resources; empty when it cannot be found.
std::string resourceModulePath();

}  // namespace Quarn::Platform
