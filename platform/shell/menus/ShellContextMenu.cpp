#include "platform/shell/menus/ShellContextMenu.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/com/DropFilesBlock.h"
#include "platform/shell/DesktopApps.h"
#include "platform/shell/ShellFileOps.h"
#include "platform/shell/ShellIcons.h"
#include "platform/shell/ShellNamespace.h"
#include "platform/shell/menus/ShellFileTransfer.h"
#include "platform/shell/menus/ShellProperties.h"
#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/FileNameText.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

enum Offset : UINT { kOpen, kCut, kCopy, kPaste, kDelete, kRename, kProperties, kCommandCount };
// Send To entries follow the commands.
constexpr UINT kFirstSendTo = kCommandCount;

struct Command {
    const char* verb;
    const char16_t* caption;
    const char* help;
};

constexpr Command kCommands[kCommandCount] = {
    {"open", u"&Open", "Opens the selected items with the programs the desktop chooses for them."},
    {"cut", u"Cu&t", "Removes the selected items when they are pasted elsewhere."},
    {"copy", u"&Copy", "Copies the selected items to the clipboard."},
    {"paste", u"&Paste", "Puts the files on the clipboard into this folder."},
    {"delete", u"&Delete", "Moves the selected items to the trash."},
    {"rename", u"Rena&me", "Renames the selected item."},
    {"properties", u"P&roperties", "Shows the name, type, size and dates of the selected item."},
};

// A success result whose code is the number of ids a menu took.
HRESULT IdsUsed(UINT count) { return static_cast<HRESULT>(count & 0xFFFF); }

constexpr DWORD kDropCopy = 1, kDropMove = 2;

bool ClipboardFiles(std::vector<WideString>& files, DWORD& effect) {
    files.clear();
    effect = kDropCopy;
    if (!OpenClipboard(nullptr)) return false;
    if (HANDLE h = GetClipboardData(CF_HDROP)) files = ReadFilesFromHGlobal(static_cast<HGLOBAL>(h));
    if (HGLOBAL h = GetClipboardData(CF_PREFERREDDROPEFFECT()); h && GlobalSize(h) >= sizeof(DWORD)) {
        if (const void* bytes = GlobalLock(h)) {
            std::memcpy(&effect, bytes, sizeof(DWORD));
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return !files.empty();
}

class ShellItemsMenu : public IContextMenu {
public:
    ShellItemsMenu(ShellIdList folder, std::vector<ShellIdList> items) : folder_(std::move(folder)), items_(std::move(items)) {
        for (const ShellIdList& item : items_) {
            const ShellIdList absolute = folder_ + item;
            paths_.push_back(ShellIdListToPath(absolute));
            entries_ &= GetShellPlace(absolute) == ShellPlace::Entry;
            hasPaths_ &= !paths_.back().empty();
        }
        DWORD a = 0;
        folderTarget_ = items_.size() == 1 && hasPaths_ && SUCCEEDED(GetShellAttributes(folder_ + items_[0], a)) &&
                        (a & SFGAO_FOLDER);
        attributes_ = a;
    }

    HRESULT QueryContextMenu(HMENU menu, UINT index, UINT first, UINT last, UINT flags) override {
        UINT used = 0;
        auto add = [&](UINT offset, bool enabled = true) {
            if (first + offset > last) return;
            InsertMenuW(menu, index++, MF_BYPOSITION | MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), first + offset,
                        kCommands[offset].caption);
            used = std::max(used, offset + 1);
        };
        auto separator = [&] { InsertMenuW(menu, index++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr); };
        if (hasPaths_) {
            add(kOpen);
            MENUITEMINFOW info;
            info.fMask = MIIM_STATE;
            info.fState = MFS_DEFAULT;
            SetMenuItemInfoW(menu, first + kOpen, FALSE, &info);
        }
        if (flags & CMF_DEFAULTONLY) return IdsUsed(used);
        if (hasPaths_) {
            separator();
            if (entries_) add(kCut);
            add(kCopy);
            if (folderTarget_) add(kPaste, IsClipboardFormatAvailable(CF_HDROP));
        }
        if (hasPaths_) AddSendTo(menu, index, first, last, used);
        if (entries_) {
            separator();
            add(kDelete);
            if ((flags & CMF_CANRENAME) && items_.size() == 1) add(kRename);
        }
        if (hasPaths_ && items_.size() == 1) {
            separator();
            add(kProperties);
        }
        return IdsUsed(used);
    }

    HRESULT GetCommandString(UINT offset, UINT kind, std::string& text) override {
        if (const DesktopApp* app = SendToApp(offset)) {
            if (kind == GCS_VERBA) text = "sendto:" + app->id;
            else if (kind == GCS_HELPTEXTA) text = "Opens the selected items with " + app->name + ".";
            else return E_INVALIDARG;
            return S_OK;
        }
        if (offset >= kCommandCount) return E_INVALIDARG;
        if (kind == GCS_VERBA) text = kCommands[offset].verb;
        else if (kind == GCS_HELPTEXTA) text = kCommands[offset].help;
        else return E_INVALIDARG;
        return S_OK;
    }

    HRESULT InvokeCommand(HWND owner, UINT offset) override {
        switch (offset) {
        case kOpen: return Open();
        case kCut: return ToClipboard(owner, kDropMove);
        case kCopy: return ToClipboard(owner, kDropCopy);
        case kPaste: return Paste(owner);
        case kDelete: return Delete(owner);
        case kRename: return E_NOTIMPL;  // a new name comes from the caller's label editing
        case kProperties: return ShowShellProperties(owner, paths_[0], attributes_) ? S_OK : E_FAIL;
        default: return SendTo(owner, offset);
        }
    }

private:
    // A "Send To" submenu of the applications that take every item's type.
    void AddSendTo(HMENU menu, UINT& index, UINT first, UINT last, UINT& used) {
        sendTo_.clear();
        std::vector<std::vector<std::string>> types;
        for (const std::string& p : paths_) {
            DWORD a = 0;
            GetShellAttributes(ShellIdList(folder_ + items_[types.size()]), a);
            types.push_back(ShellMimeTypes(p, (a & SFGAO_FOLDER) != 0));
        }
        for (const DesktopApp& app : CachedDesktopApps()) {
            if (first + kFirstSendTo + sendTo_.size() > last) break;
            if (std::all_of(types.begin(), types.end(), [&](const auto& t) { return DesktopAppAccepts(app, t); }))
                sendTo_.push_back(app);
        }
        if (sendTo_.empty()) return;
        HMENU sub = CreatePopupMenu();
        for (std::size_t i = 0; i < sendTo_.size(); ++i) {
            const WideString caption = Utf8ToUtf16(sendTo_[i].name);
            AppendMenuW(sub, MF_STRING, first + kFirstSendTo + static_cast<UINT>(i), caption.c_str());
        }
        InsertMenuW(menu, index++, MF_BYPOSITION | MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub), u"Se&nd To");
        used = std::max(used, kFirstSendTo + static_cast<UINT>(sendTo_.size()));
    }

    const DesktopApp* SendToApp(UINT offset) const {
        return offset >= kFirstSendTo && offset - kFirstSendTo < sendTo_.size() ? &sendTo_[offset - kFirstSendTo] : nullptr;
    }

    HRESULT SendTo(HWND owner, UINT offset) const {
        const DesktopApp* app = SendToApp(offset);
        if (!app) return E_INVALIDARG;
        if (LaunchDesktopApp(*app, paths_)) return S_OK;
        const WideString text = u"Unable to start " + Utf8ToUtf16(app->name) + u".";
        MessageBoxW(owner, text.c_str(), u"Error", MB_OK | MB_ICONWARNING);
        return E_FAIL;
    }

    HRESULT Open() const {
        if (!hasPaths_) return E_FAIL;
        for (const std::string& p : paths_)
            if (!OpenWithDesktop(p)) return E_FAIL;
        return S_OK;
    }

    HRESULT ToClipboard(HWND owner, DWORD effect) const {
        if (!hasPaths_ || (effect == kDropMove && !entries_)) return E_FAIL;
        std::vector<WideString> names;
        for (const std::string& p : paths_) names.push_back(FileNameToUtf16(p));
        HGLOBAL files = BuildDropFilesGlobal(names, true);
        HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE, sizeof(DWORD));
        if (void* bytes = drop ? GlobalLock(drop) : nullptr) {
            std::memcpy(bytes, &effect, sizeof(DWORD));
            GlobalUnlock(drop);
        }
        if (!files || !drop || !OpenClipboard(owner)) {
            if (files) GlobalFree(files);
            if (drop) GlobalFree(drop);
            return E_FAIL;
        }
        EmptyClipboard();
        SetClipboardData(CF_HDROP, files);
        SetClipboardData(CF_PREFERREDDROPEFFECT(), drop);
        CloseClipboard();
        return S_OK;
    }

    HRESULT Paste(HWND owner) const {
        if (!folderTarget_) return E_FAIL;
        std::vector<WideString> files;
        DWORD effect = kDropCopy;
        if (!ClipboardFiles(files, effect)) return S_FALSE;
        std::vector<std::string> sources;
        for (const WideString& file : files) sources.push_back(FileNameFromUtf16(file));
        const HRESULT result = TransferShellFiles(owner, paths_[0], sources, effect == kDropMove ? kShellTransferMove : kShellTransferCopy);
        if (effect == kDropMove && OpenClipboard(owner)) {
            EmptyClipboard();
            CloseClipboard();
        }
        return result;
    }

    HRESULT Delete(HWND owner) const {
        if (!entries_ || !hasPaths_) return E_FAIL;
        const WideString text = paths_.size() == 1
                                    ? u"Move \"" + Utf8ToUtf16(fs::path(paths_[0]).filename().string()) + u"\" to the trash?"
                                    : u"Move these " + Utf8ToUtf16(std::to_string(paths_.size())) + u" items to the trash?";
        if (MessageBoxW(owner, text.c_str(), u"Confirm Delete", MB_YESNO | MB_ICONQUESTION) != IDYES) return S_FALSE;
        HRESULT result = S_OK;
        for (const std::string& p : paths_) {
            if (const HRESULT hr = MoveToTrash(p); FAILED(hr)) {
                result = hr;
                ShowError(owner, u"Unable to move \"" + Utf8ToUtf16(fs::path(p).filename().string()) + u"\" to the trash.", hr);
            }
        }
        return result;
    }

    static void ShowError(HWND owner, const WideString& what, HRESULT hr) {
        const WideString text = what + u"\n\n" + SysErrorMessage(static_cast<DWORD>(hr));
        MessageBoxW(owner, text.c_str(), u"Error", MB_OK | MB_ICONWARNING);
    }

    ShellIdList folder_;
    std::vector<ShellIdList> items_;
    std::vector<std::string> paths_;
    bool entries_ = true;   // every item is an entry of a real folder (not a place)
    bool hasPaths_ = true;  // every item has a file-system path
    bool folderTarget_ = false;
    DWORD attributes_ = 0;  // of a single item
    std::vector<DesktopApp> sendTo_;
};

}  // namespace

UINT CF_PREFERREDDROPEFFECT() {
    static const UINT format = RegisterClipboardFormatW(u"Preferred DropEffect");
    return format;
}

std::unique_ptr<IContextMenu> GetShellContextMenu(const ShellIdList& folder, const std::vector<ShellIdList>& items) {
    if (items.empty() || GetShellPlace(folder) == ShellPlace::None) return nullptr;
    for (const ShellIdList& item : items)
        if (item.Count() != 1 || GetShellPlace(folder + item) == ShellPlace::None) return nullptr;
    return std::make_unique<ShellItemsMenu>(folder, items);
}
