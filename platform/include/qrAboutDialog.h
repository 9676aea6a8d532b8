#pragma once
// The about box as a window of the system's own: a modal dialog built in
// memory and painted by the system's drawing calls. Where the system offers
// no dialogs (the portable layer), the caller draws the box itself.
#include "qrDrawBitmap.h"

#include <string>

namespace Quarn::Platform {

struct AboutContent {
    std::string title;  // of the dialog window
    DrawBitmap splash;  // at the top, at its own size
    std::string name;  // the product, in large bold type
    std::string description;  // wrapped to the dialog's width
    std::string version;  // at the bottom, in the "terminal" font
};

// Shows `content` modally, owned by the native window `owner` (may be null),
// and returns once the user has closed it with a click or a command. False,
// without showing anything, when this system has no dialogs of its own.
bool showAboutDialog(const AboutContent& content, void* owner);

}  // namespace Quarn::Platform
