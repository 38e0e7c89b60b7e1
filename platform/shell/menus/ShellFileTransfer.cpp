#include "platform/shell/menus/ShellFileTransfer.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "platform/vcl/Forms.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace {

namespace fs = std::filesystem;

HRESULT ErrorResult(const std::error_code& ec) { return HRESULT_FROM_WIN32(WinErrorFromErrno(ec.value() ? ec.value() : EIO)); }

// A name for name in folder that nothing uses yet: "name", "name (2)", ...
fs::path FreeName(const fs::path& folder, const fs::path& name) {
    fs::path target = folder / name;
    std::error_code ec;
    for (int n = 2; fs::exists(fs::symlink_status(target, ec)); ++n)
        target = folder / (name.stem().string() + " (" + std::to_string(n) + ")" + name.extension().string());
    return target;
}

bool HasDotParts(const fs::path& p) {
    for (const fs::path& part : p)
        if (part == "." || part == "..") return true;
    return false;
}

// Whether inner is outer or lies below it, links resolved.
bool IsWithin(const fs::path& inner, const fs::path& outer) {
    std::error_code ec;
    const fs::path a = fs::weakly_canonical(inner, ec);
    if (ec) return false;
    const fs::path b = fs::weakly_canonical(outer, ec);
    if (ec) return false;
    auto ai = a.begin();
    for (auto bi = b.begin(); bi != b.end(); ++bi, ++ai)
        if (bi->empty()) continue;
        else if (ai == a.end() || *ai != *bi) return false;
    return true;
}

void ShowFailure(HWND owner, const fs::path& source, const WideString& reason) {
    const WideString text = u"Unable to copy or move \"" + Utf8ToUtf16(source.filename().string()) + u"\".\n\n" + reason;
    MessageBoxW(owner, text.c_str(), u"Error", MB_OK | MB_ICONWARNING);
}

std::error_code CopyInto(const fs::path& source, const fs::path& target) {
    std::error_code ec;
    fs::copy(source, target, fs::copy_options::recursive | fs::copy_options::copy_symlinks, ec);
    if (ec) {
        // The target name was free before: what is there now is the part copied.
        std::error_code ignored;
        fs::remove_all(target, ignored);
    }
    return ec;
}

}  // namespace

std::string TransferSourcePath(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

WideString ShellTransferProblem(const std::string& folder, const std::string& name) {
    const std::string source = TransferSourcePath(name);
    const fs::path s(source);
    if (source.empty() || !s.is_absolute() || HasDotParts(s) || !s.has_filename()) return u"The name is not a full path.";
    struct stat st {};
    if (lstat(source.c_str(), &st) != 0) return SysErrorMessage(WinErrorFromErrno(errno));
    if (S_ISDIR(st.st_mode) && IsWithin(folder, s)) return u"A folder cannot go into itself or into a folder it holds.";
    return {};
}

HRESULT TransferShellFiles(HWND owner, const std::string& folder, const std::vector<std::string>& sources, DWORD effect) {
    const bool move = effect == kShellTransferMove;
    if (!move && effect != kShellTransferCopy) return E_INVALIDARG;
    HRESULT result = S_OK;
    for (const std::string& name : sources) {
        const fs::path source(TransferSourcePath(name));
        if (const WideString problem = ShellTransferProblem(folder, name); !problem.empty()) {
            result = HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
            ShowFailure(owner, source, problem);
            continue;
        }
        std::error_code ec;
        if (move && fs::equivalent(source.parent_path(), folder, ec)) continue;
        const fs::path target = FreeName(folder, source.filename());
        if (move) {
            fs::rename(source, target, ec);
            if (ec == std::errc::cross_device_link) {
                ec = CopyInto(source, target);
                if (!ec) fs::remove_all(source, ec);
            }
        } else {
            ec = CopyInto(source, target);
        }
        if (ec) {
            result = ErrorResult(ec);
            ShowFailure(owner, source, SysErrorMessage(static_cast<DWORD>(result)));
        }
    }
    return result;
}
