// about_check PLUGIN SCREENSHOT.bmp: opens the plug-in's about box through
// our host as a Windows host does (PF_Cmd_ABOUT with a main window of its
// own), and from a second thread finds the dialog, checks its title and
// size, saves what it shows and closes it with a click. Prints one line;
// exits non-zero when anything is off.
#include "qrDrawBitmap.h"
#include "qrEffectHost.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace {

using namespace Quarn;

constexpr int kSplashSide = 500;  // the white rectangle shown without Splash.bmp

struct Seen {
    std::string title;
    int width = 0, height = 0;
    int darkPixels = 0;  // text drawn below the splash
    bool faceAtTheBottom = false;  // the whole dialog was on the screen
    bool found = false;
};

Platform::DrawBitmap capture(HWND dialog, int width, int height)
{
    Platform::DrawBitmap shot(width, height);
    const HDC screen = GetDC(dialog);
    const HDC memory = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    const HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFO info {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::string bgra(std::size_t(width) * height * 4, '\0');
    GetDIBits(memory, bitmap, 0, UINT(height), bgra.data(), &info, DIB_RGB_COLORS);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(bgra.data()) + (std::size_t(y) * width + x) * 4;
            shot.at(x, y) = {255, p[2], p[1], p[0]};
        }
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(dialog, screen);
    return shot;
}

// Waits for the dialog owned by `owner`, looks at it and clicks it away.
void watch(HWND owner, const std::string& screenshot, Seen& seen)
{
    for (int tries = 0; tries < 300 && !seen.found; ++tries) {
        Sleep(100);
        HWND dialog = FindWindowW(L"#32770", nullptr);
        if (!dialog || GetWindow(dialog, GW_OWNER) != owner || !IsWindowVisible(dialog))
            continue;
        Sleep(500);  // let it paint
        wchar_t title[64] = {};
        GetWindowTextW(dialog, title, 64);
        seen.title.assign(title, title + wcslen(title));
        RECT client {};
        GetClientRect(dialog, &client);
        seen.width = client.right;
        seen.height = client.bottom;
        const Platform::DrawBitmap shot = capture(dialog, seen.width, seen.height);
        for (int y = kSplashSide; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                seen.darkPixels += shot.at(x, y).red < 64 && shot.at(x, y).green < 64;
        const Platform::DrawColour corner = shot.at(1, shot.height() - 2);
        seen.faceAtTheBottom = corner.red > 128 && corner.green > 128 && corner.blue > 128;
        Platform::writeBmpFile(screenshot, shot);
        seen.found = true;
        PostMessageW(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 0);
    }
    if (!seen.found) {  // nothing to click: the modal call would never return
        std::printf("about box: FAILED: no dialog owned by the main window appeared\n");
        std::fflush(stdout);
        ExitProcess(1);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: about_check PLUGIN SCREENSHOT.bmp\n");
        return 2;
    }
    const HWND mainWindow = CreateWindowExW(0, L"STATIC", L"Nimbrel host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
        200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    Seen seen;
    try {
        Host::EffectHost host(argv[1]);
        host.properties().mainWindow = mainWindow;
        if (!host.start().ok())
            throw std::runtime_error("the plug-in did not start");
        std::thread watcher(watch, mainWindow, std::string(argv[2]), std::ref(seen));
        const Host::DialogResult about = host.about();
        watcher.join();
        if (!about.command.ok() || !about.command.message.empty() || about.shown)
            throw std::runtime_error("PF_Cmd_ABOUT answered error " + std::to_string(about.command.error) +
                " or left a message, or used the host's drawn dialog");
    } catch (const std::exception& e) {
        std::printf("about box: FAILED: %s\n", e.what());
        return 1;
    }
    DestroyWindow(mainWindow);
    // The splash is 500 wide; name, description and version lie below it.
    // Text is a small share of the area below the splash; a black band would
    // be a part of the dialog that was never drawn.
    const int below = seen.width * (seen.height - kSplashSide);
    const bool ok = seen.found && seen.title == "About..." && seen.width == kSplashSide &&
        seen.height > kSplashSide + 60 && seen.height < kSplashSide + 400 && seen.darkPixels > 200 &&
        seen.darkPixels < below / 4 && seen.faceAtTheBottom;
    std::printf("about box: %s: title \"%s\", %d x %d, %d text pixels\n", ok ? "ok" : "FAILED", seen.title.c_str(),
        seen.width, seen.height, seen.darkPixels);
    return ok ? 0 : 1;
}
