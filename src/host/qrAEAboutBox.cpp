#include "qrAEAboutBox.h"

#include "qrAESuite.h"
#include "qrAboutDialog.h"
#include "qrDrawText.h"
#include "qrFont.h"
#include "qrResource.h"

#include <AE_EffectSuites.h>

#include <algorithm>

namespace Quarn::AfterEffects {

namespace {

using namespace Quarn::Platform;

constexpr int kMargin = 8;
constexpr DrawColour kFace {255, 236, 236, 236};
// The name in large type, the description in the plain font, the version
// line in a heavier face two pixels taller per row.
constexpr TextStyle kNameStyle {kDrawBlack, 3, 1};
constexpr TextStyle kTextStyle {kDrawBlack, 1, 0};
constexpr TextStyle kVersionStyle {kDrawBlack, 2, 1};

int lineHeight(const TextStyle& style)
{
    return BitmapFont::kLineHeight * style.scale;
}

DrawBitmap splashFrom(const std::string& folder)
{
    if (auto splash = readBmpFile(folder + "/Splash.bmp"))
        return *splash;
    return DrawBitmap(kSplashFallbackSide, kSplashFallbackSide, kDrawWhite);
}

std::string folderOf(const std::string& path)
{
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

}  // namespace

DrawBitmap drawAboutBox(const std::string& folder)
{
    const DrawBitmap splash = splashFrom(folder);
    const int width = std::max(splash.width(), 2 * kMargin + BitmapFont::textWidth(kAboutVersion, 2));
    const std::vector<std::string> lines =
        wrapText(resourceString(kStringDescription), width - 2 * kMargin, kTextStyle.scale);
    const int height = splash.height() + kMargin + lineHeight(kNameStyle) + kMargin +
        int(lines.size()) * lineHeight(kTextStyle) + kMargin + lineHeight(kVersionStyle) + kMargin;

    DrawBitmap box(width, height, kFace);
    const DrawSurface canvas = box.surface();
    canvas.blit(splash.surface(), (width - splash.width()) / 2, 0);
    int y = splash.height() + kMargin;
    canvas.drawText(kMargin, y, "Nimbrel", kNameStyle);
    y += lineHeight(kNameStyle) + kMargin;
    for (const std::string& line : lines) {
        canvas.drawText(kMargin, y, line, kTextStyle);
        y += lineHeight(kTextStyle);
    }
    canvas.drawText(kMargin, height - kMargin - lineHeight(kVersionStyle), kAboutVersion, kVersionStyle);
    return box;
}

// A host with a system window of its own gets the box as a system dialog
// owned by that window, where the system has dialogs; otherwise the host's
// window shows the box the plug-in draws.
PF_Err showAboutBox(PF_InData* in, PF_OutData* out)
{
    Suite<PF_AppSuite4> app(in, kPFAppSuite, kPFAppSuiteVersion4);
    PF_HostWindow* window = nullptr;
    PF_Err err = PF_Err_NONE;
    if (!app.null() && app->PF_GetMainWnd(&window) == PF_Err_NONE && window) {
        const std::string folder = folderOf(resourceModulePath());
        const bool shown = window->native_window &&
            showAboutDialog({kAboutTitle, splashFrom(folder), "Nimbrel", resourceString(kStringDescription),
                                kAboutVersion},
                window->native_window);
        if (!shown && window->show_modal) {
            DrawBitmap box = drawAboutBox(folder);
            PF_EffectWorld world {};
            world.data = reinterpret_cast<PF_PixelPtr>(&box.at(0, 0));
            world.width = box.width();
            world.height = box.height();
            world.rowbytes = A_long(box.rowBytes());
            world.extent_hint = {0, 0, box.width(), box.height()};
            err = window->show_modal(window->refcon, kAboutTitle, &world);
        }
    }
    out->return_msg[0] = '\0';
    return err;
}

}  // namespace Quarn::AfterEffects
