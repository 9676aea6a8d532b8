#pragma once
// The title bitmap of the "About" area: a night sky with faint rain, the
// product name and the maker. The portable layer paints it when asked; the
// Windows resources carry the same picture as their IDB_TITLE bitmap.
#include "qrResource.h"

namespace Quarn::Platform {

// kTitleWidth x kTitleHeight, opaque.
DrawBitmap paintTitle();

}  // namespace Quarn::Platform
