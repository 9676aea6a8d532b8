// The resources of the portable layer, built into the code: the string
// table's texts and the title bitmap painted when asked for.
#include "qrResource.h"

#include "qrTitlePainter.h"

namespace Quarn::Platform {

namespace {

constexpr const char* kDescription = "Nimbrel adds a 2D rain effect to an image. Highlights can \n"
                                     "be diffused to give a 'Night-time' effect. Using the source \n"
                                     "image as a matte can give a more realistic effect.\n"
                                     "\n"
                                     "For further information see the User Guide in the Brastor\n"
                                     "plug-ins directory.";

constexpr const char* kObsolete = "Valtherion is not obsolete.";

}  // namespace

std::string resourceString(int id)
{
    switch (id) {
    case kStringDescription: return kDescription;
    case kStringObsolete: return kObsolete;
    default: return {};
    }
}

DrawBitmap resourceBitmap(int id)
{
    return id == kBitmapTitle ? paintTitle() : DrawBitmap();
}

}  // namespace Quarn::Platform
