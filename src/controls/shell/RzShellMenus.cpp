#include "controls/shell/RzShellMenus.h"

#include <cctype>

#include "platform/shell/ShellFileOps.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinError.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

namespace {

constexpr int kNameAttempts = 50;
constexpr int kMaxInserts = 50;

bool SameVerb(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

WideChar Upper(WideChar c) { return c >= u'a' && c <= u'z' ? static_cast<WideChar>(c - u'a' + u'A') : c; }

void WarnCreateFailed(HWND owner, DWORD error, const WideString& name) {
    const WideString text = FormatStrPos(u"Unable to create the folder '%2'\n\n%1", {SysErrorMessage(error), name});
    MessageBoxW(owner, text.c_str(), u"Warning", MB_OK | MB_ICONWARNING);
}

}  // namespace

std::unique_ptr<IContextMenu> BuildContextMenu(const ShellIdList& folder, const std::vector<ShellIdList>& items,
                                               UINT flags, UINT firstId, TShellPopup& popup) {
    std::unique_ptr<IContextMenu> menu = GetShellContextMenu(folder, items);
    if (!menu) return nullptr;
    const HRESULT hr = menu->QueryContextMenu(popup.Handle(), 0, firstId, kLastShellCommand, flags);
    if (FAILED(hr)) throw Exception(SysErrorMessage(static_cast<DWORD>(hr)));
    return menu;
}

namespace {

// The offset of verb's command in popup or its sub-menus; -1 when none.
int FindVerbIn(IContextMenu& menu, HMENU popup, const std::string& verb) {
    const int count = GetMenuItemCount(popup);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(popup, i)) {
            if (const int found = FindVerbIn(menu, sub, verb); found >= 0) return found;
            continue;
        }
        const UINT id = GetMenuItemID(popup, i);
        if (id == 0xFFFFFFFF || id < kFirstShellCommand) continue;
        if (SameVerb(ContextCommandVerb(menu, id - kFirstShellCommand), verb)) return static_cast<int>(id - kFirstShellCommand);
    }
    return -1;
}

}  // namespace

int FindVerbOffset(IContextMenu& menu, const std::string& verb) {
    TShellPopup popup;
    if (FAILED(menu.QueryContextMenu(popup.Handle(), 0, kFirstShellCommand, kLastShellCommand, CMF_EXPLORE))) return -1;
    return FindVerbIn(menu, popup.Handle(), verb);
}

std::string ContextCommandVerb(IContextMenu& menu, UINT offset) {
    std::string verb;
    return SUCCEEDED(menu.GetCommandString(offset, GCS_VERBA, verb)) ? verb : std::string();
}

HRESULT InvokeContextCommand(HWND owner, IContextMenu& menu, const std::string& verb) {
    const int offset = FindVerbOffset(menu, verb);
    return offset < 0 ? S_FALSE : InvokeContextCommand(owner, menu, static_cast<UINT>(offset));
}

HRESULT InvokeContextCommand(HWND owner, IContextMenu& menu, UINT offset) { return menu.InvokeCommand(owner, offset); }

AnsiString MenuSelectHint(IContextMenu& menu, WPARAM wParam) {
    constexpr UINT kSystemMenu = 0x2000;
    const UINT id = LOWORD(static_cast<DWORD_PTR>(wParam)), flags = HIWORD(static_cast<DWORD_PTR>(wParam));
    if (id < kFirstShellCommand || (flags & (MF_POPUP | kSystemMenu))) return {};
    std::string help;
    return SUCCEEDED(menu.GetCommandString(id - kFirstShellCommand, GCS_HELPTEXTA, help)) ? help : std::string();
}

LRESULT MenuCharAnswer(WideChar typed, const std::vector<WideString>& entries, int highlighted) {
    const WideChar key = Upper(typed);
    const int count = static_cast<int>(entries.size());
    auto matches = [&](int i) { return !entries[i].empty() && Upper(entries[i][0]) == key; };
    int found = -1, hits = 0;
    for (int step = 1; step <= count; ++step) {
        const int i = (highlighted + step + count) % count;
        if (!matches(i)) continue;
        if (found < 0) found = i;
        ++hits;
    }
    if (found < 0) return static_cast<LRESULT>(MAKELONG(0, MNC_CLOSE));
    return static_cast<LRESULT>(MAKELONG(static_cast<WORD>(found), hits > 1 ? MNC_SELECT : MNC_EXECUTE));
}

WideString FormatStrPos(const WideString& format, const std::vector<WideString>& inserts) {
    if (inserts.size() > kMaxInserts) throw Exception(u"FormatStrPos: Too many substitution strings");
    WideString out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 >= format.size()) {
            out += format[i];
            continue;
        }
        if (format[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        std::size_t end = i + 1;
        int number = 0;
        while (end < format.size() && format[end] >= u'0' && format[end] <= u'9' && end - i <= 2)
            number = number * 10 + (format[end++] - u'0');
        if (end == i + 1 || number < 1 || number > static_cast<int>(inserts.size())) {
            out += format[i];
            continue;
        }
        out += inserts[static_cast<std::size_t>(number - 1)];
        i = end - 1;
    }
    return out;
}

bool CreateNewShellFolder(HWND owner, const AnsiString& path, WideString& name) {
    // No folder: never the working directory.
    if (path.empty()) return false;
    // The folder's bytes as they are: a name that is not UTF-8 still names it.
    const AnsiString folder = path.ends_with('/') ? path : path + "/";
    const std::pair<const char16_t*, const char16_t*> forms[] = {{u"New Folder", u" (%d)"}, {u"fldr", u"%d"}};
    for (const auto& [base, suffix] : forms) {
        for (int i = 1; i <= kNameAttempts; ++i) {
            WideString candidate = base;
            if (i > 1) {
                const WideString number = Utf8ToUtf16(std::to_string(i));
                WideString s = suffix;
                s.replace(s.find(u"%d"), 2, number);
                candidate += s;
            }
            const HRESULT hr = MakeShellFolder(folder + Utf16ToUtf8(candidate));
            if (SUCCEEDED(hr)) {
                name = candidate;
                return true;
            }
            const DWORD error = static_cast<DWORD>(hr & 0xFFFF);
            if (error == ERROR_ALREADY_EXISTS) continue;
            WarnCreateFailed(owner, error, candidate);
            return false;
        }
    }
    WarnCreateFailed(owner, ERROR_ALREADY_EXISTS, u"New Folder");
    return false;
}

UINT TrackShellContextMenu(const TShellPopup& popup, IContextMenu& menu, TPoint screen, HWND owner, bool& active,
                           IContextMenu*& current) {
    active = true;
    current = &menu;
    struct Done {
        bool& flag;
        IContextMenu*& menu;
        ~Done() {
            flag = false;
            menu = nullptr;
        }
    } done{active, current};
    return static_cast<UINT>(TrackPopupMenu(popup.Handle(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr));
}
