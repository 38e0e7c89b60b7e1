#include "app/UiHelpers.h"

#include <algorithm>

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "platform/vcl/Dialogs.h"
#include "platform/vcl/Gdi.h"
#include "platform/vcl/Graphics.h"
#include "platform/vcl/Printers.h"
#include "platform/vcl/StatusBar.h"
#include "platform/vcl/richedit/RichEdit.h"
#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinProcess.h"

std::optional<TRect> StatusPanelRect(const TRect& client, const std::vector<int>& widths, unsigned index) {
    if (index >= widths.size()) return std::nullopt;
    int left = client.left;
    for (unsigned i = 0; i < index; ++i) left += widths[i];
    return TRect(left, client.top, left + widths[index], client.bottom);
}

void InvalidateStatusPanel(TCustomStatusBar* bar, unsigned index) {
    if (!bar) return;
    std::vector<int> widths;
    for (int i = 0; i < bar->Panels()->Count(); ++i) widths.push_back(bar->Panels()->Items(i)->Width());
    const std::optional<TRect> rect = StatusPanelRect(bar->ClientRect(), widths, index);
    if (!rect) return;
    if (TWidgetPeer* peer = bar->Peer()) peer->Invalidate(&*rect);
}

void DrawStatusProgress(TCanvas* canvas, const TRect& rect, unsigned percent) {
    percent = std::min(percent, 100u);
    const TRect bar(rect.left + 3, rect.top + 2, rect.right - 3, rect.bottom - 2);
    const int filled = bar.Width() * static_cast<int>(percent) / 100;
    if (filled > 0) {
        canvas->Brush()->SetColor(clBlue);
        canvas->FillRect(TRect(bar.left, bar.top, bar.left + filled, bar.bottom));
    }
    if (bar.left + filled < rect.right) {
        canvas->Brush()->SetColor(clBtnFace);
        canvas->FillRect(TRect(bar.left + filled, bar.top, rect.right, bar.bottom));
    }
}

void DrawStatusProgress(TCustomStatusBar* bar, TStatusPanel*, const TRect& rect, unsigned percent) {
    if (bar) DrawStatusProgress(bar->Canvas(), rect, percent);
}

void ShowSystemError(int code) {
    // The platform's text names the number when it knows no text for the code.
    const WideString text = WinErrorMessage(static_cast<DWORD>(code));
    MessageBoxW(nullptr, text.c_str(), GetUiString(1007).c_str(), MB_OK | MB_ICONERROR);
}

WideString BrowseForFolder(HWND) {
    WideString folder;
    return SelectDirectory(WideString(), CAppUtils::getDesktopFolder(), folder) ? folder : WideString();
}

WideString GetProcessNameByHandle(HANDLE process) {
    if (!process) return {};
    char16_t path[4096];
    DWORD size = static_cast<DWORD>(std::size(path));
    if (!QueryFullProcessImageNameW(process, 0, path, &size)) return {};
    const WideString full(path, size);
    const std::size_t slash = full.rfind(u'/');
    return slash == WideString::npos ? full : full.substr(slash + 1);
}

WideString GetProcessNameById(DWORD pid) {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    if (!process) return {};
    WideString name = GetProcessNameByHandle(process);
    CloseHandle(process);
    return name;
}

int printRTF(HWND richEdit, HDC dc, int width, int height) {
    QUILLORA_TRACE(u"printRTF");
    LogPrintf(u"hdc == %X", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(dc)));
    if (!dc) return 0;
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    LogPrintf(u"%d %d", dpiX, dpiY);
    if (dpiX == 0 || dpiY == 0) return 0;
    if (width == 0 || height == 0) {
        HDC screen = GetDC(nullptr);
        if (width == 0) width = GetDeviceCaps(screen, HORZRES);
        if (height == 0) height = GetDeviceCaps(screen, VERTRES);
        ReleaseDC(nullptr, screen);
    }
    // A printer or PDF starts every page at its top; a metafile is one tall surface.
    const bool paged = GetDeviceCaps(dc, TECHNOLOGY) == DT_RASPRINTER;

    FORMATRANGE range;
    range.hdc = range.hdcTarget = dc;
    range.rcPage = RECT{0, 0, width * 1440 / dpiX + 10, height * 1440 / dpiY + 10};
    const LONG pageHeight = range.rcPage.bottom;
    range.rc = range.rcPage;
    LogPrintf(u"rcPage: %ld %ld %d", range.rcPage.right, range.rcPage.bottom, int(pageHeight));

    SendMessageW(richEdit, EM_SETSEL, 0, -1);
    SendMessageW(richEdit, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range.chrg));
    LogPrintf(u"fr.chrg.cpMax == %d", int(range.chrg.cpMax));

    int result = 1;
    LRESULT last = 0;
    while (range.chrg.cpMin < range.chrg.cpMax - 1 && result) {
        const LRESULT previous = last;
        last = SendMessageW(richEdit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
        LogPrintf(u"cpMin == %d", int(last));
        if (last <= range.chrg.cpMin || last == previous) {
            if (range.chrg.cpMax > 1) result = 0;
            break;
        }
        if (last < range.chrg.cpMax - 1) {
            LogPrintf(u"next page");
            EndPage(dc);
            StartPage(dc);
            if (!paged) {
                range.rcPage.top += pageHeight;
                range.rcPage.bottom += pageHeight;
            }
            range.rc = range.rcPage;
        }
        range.chrg.cpMin = static_cast<LONG>(last);
        LogPrintf(u"%ld %ld %ld", range.rcPage.top, range.rcPage.bottom, static_cast<LONG>(last));
    }
    SendMessageW(richEdit, EM_FORMATRANGE, FALSE, 0);
    return result;
}
