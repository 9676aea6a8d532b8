#include "qrAboutDialog.h"

namespace Quarn::Platform {

// No system dialogs here: the host shows the box that the caller draws.
bool showAboutDialog(const AboutContent&, void*)
{
    return false;
}

}  // namespace Quarn::Platform
