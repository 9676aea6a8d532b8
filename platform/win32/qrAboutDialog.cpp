// The about box as a Win32 dialog: a template built in memory (no dialog
// resource), shown modally with DialogBoxIndirectParam and painted with GDI.
#include "qrAboutDialog.h"

#include "qrWin32Module.h"

#include <algorithm>
#include <vector>

namespace Quarn::Platform {

namespace {

constexpr int kMargin = 8;

struct FontSpec {
    const wchar_t* face;
    int height;  // pixels
    int weight;
};
constexpr FontSpec kNameFont {L"Arial", 24, FW_BOLD};
constexpr FontSpec kTextFont {L"Arial", 14, FW_NORMAL};
constexpr FontSpec kVersionFont {L"terminal", 16, 550};

std::wstring wide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring result(std::size_t(std::max(length, 0)), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), result.data(), length);
    return result;
}

HFONT makeFont(const FontSpec& spec)
{
    return CreateFontW(-spec.height, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, spec.face);
}

// The dialog while it is open: its texts, fonts and where each part goes.
struct AboutWindow {
    const AboutContent& content;
    std::wstring name, description, version;
    HFONT nameFont = makeFont(kNameFont), textFont = makeFont(kTextFont), versionFont = makeFont(kVersionFont);
    std::vector<uint32_t> splashBgra;  // the splash as GDI takes it: top-down BGRA
    int width = 0, height = 0;
    RECT nameRect {}, textRect {}, versionRect {};

    explicit AboutWindow(const AboutContent& c)
        : content(c), name(wide(c.name)), description(wide(c.description)), version(wide(c.version))
    {
        for (int y = 0; y < c.splash.height(); ++y)
            for (int x = 0; x < c.splash.width(); ++x) {
                const DrawColour& p = c.splash.at(x, y);
                splashBgra.push_back(uint32_t(p.blue) | uint32_t(p.green) << 8 | uint32_t(p.red) << 16 |
                    uint32_t(p.alpha) << 24);
            }
    }
    ~AboutWindow()
    {
        DeleteObject(nameFont);
        DeleteObject(textFont);
        DeleteObject(versionFont);
    }
    AboutWindow(const AboutWindow&) = delete;
    AboutWindow& operator=(const AboutWindow&) = delete;

    // The height `text` takes in `font` wrapped to `textWidth`.
    static int textHeight(HDC dc, HFONT font, const std::wstring& text, int textWidth)
    {
        RECT box {0, 0, textWidth, 0};
        const HGDIOBJ old = SelectObject(dc, font);
        DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        SelectObject(dc, old);
        return box.bottom - box.top;
    }

    // From the top: splash, name, description, version, each a margin apart.
    void layOut(HDC dc)
    {
        width = std::max(content.splash.width(), 300);
        const int textWidth = width - 2 * kMargin;
        int y = content.splash.height() + kMargin;
        nameRect = {kMargin, y, width - kMargin, y + textHeight(dc, nameFont, name, textWidth)};
        y = nameRect.bottom + kMargin;
        textRect = {kMargin, y, width - kMargin, y + textHeight(dc, textFont, description, textWidth)};
        y = textRect.bottom + kMargin;
        versionRect = {kMargin, y, width - kMargin, y + textHeight(dc, versionFont, version, textWidth)};
        height = versionRect.bottom + kMargin;
    }

    void drawText(HDC dc, HFONT font, const std::wstring& text, RECT box) const
    {
        SelectObject(dc, font);
        DrawTextW(dc, text.c_str(), int(text.size()), &box, DT_WORDBREAK | DT_NOPREFIX);
    }

    void paint(HDC dc) const
    {
        const HGDIOBJ old = SelectObject(dc, textFont);
        if (!splashBgra.empty()) {
            BITMAPINFO info {};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = content.splash.width();
            info.bmiHeader.biHeight = -content.splash.height();  // top-down
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            info.bmiHeader.biCompression = BI_RGB;
            SetDIBitsToDevice(dc, (width - content.splash.width()) / 2, 0, DWORD(content.splash.width()),
                DWORD(content.splash.height()), 0, 0, 0, UINT(content.splash.height()), splashBgra.data(),
                &info, DIB_RGB_COLORS);
        }
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        drawText(dc, nameFont, name, nameRect);
        drawText(dc, textFont, description, textRect);
        drawText(dc, versionFont, version, versionRect);
        SelectObject(dc, old);
    }
};

// Makes the window's inside exactly the laid-out size, centred on the
// screen's work area (the template's size was only a placeholder).
void fitWindow(HWND dialog, const AboutWindow& about)
{
    RECT outer {0, 0, about.width, about.height};
    AdjustWindowRectEx(&outer, DWORD(GetWindowLongPtrW(dialog, GWL_STYLE)), FALSE,
        DWORD(GetWindowLongPtrW(dialog, GWL_EXSTYLE)));
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    RECT work {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const LONG x = work.left + std::max<LONG>(0, (work.right - work.left - width) / 2);
    const LONG y = work.top + std::max<LONG>(0, (work.bottom - work.top - height) / 2);
    SetWindowPos(dialog, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    auto* about = reinterpret_cast<AboutWindow*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        about = reinterpret_cast<AboutWindow*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, LONG_PTR(about));
        const HDC dc = GetDC(dialog);
        about->layOut(dc);
        ReleaseDC(dialog, dc);
        fitWindow(dialog, *about);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(dialog, &paint);
        if (about)
            about->paint(dc);
        EndPaint(dialog, &paint);
        return TRUE;
    }
    // A click anywhere or any command (Escape, Enter, the close box) closes it.
    case WM_LBUTTONDOWN:
    case WM_COMMAND:
        EndDialog(dialog, 0);
        return TRUE;
    default: return FALSE;
    }
}

// DLGTEMPLATE, then no menu, the standard dialog class and the title; no
// controls, no font. The words are aligned as the structure needs.
std::vector<WORD> dialogTemplate(const std::wstring& title)
{
    DLGTEMPLATE head {};
    head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    head.cx = 200;  // dialog units; resized to the content in pixels on opening
    head.cy = 200;
    std::vector<WORD> words(sizeof head / sizeof(WORD));
    std::copy_n(reinterpret_cast<const WORD*>(&head), words.size(), words.data());
    words.push_back(0);  // menu
    words.push_back(0);  // class
    words.insert(words.end(), title.begin(), title.end());
    words.push_back(0);
    return words;
}

}  // namespace

bool showAboutDialog(const AboutContent& content, void* owner)
{
    AboutWindow about(content);
    const std::vector<WORD> words = dialogTemplate(wide(content.title));
    DialogBoxIndirectParamW(Win32::thisModule(), reinterpret_cast<LPCDLGTEMPLATEW>(words.data()),
        static_cast<HWND>(owner), &dialogProc, LPARAM(&about));
    return true;
}

}  // namespace Quarn::Platform
