#include "platform/shell/menus/ShellFileTransfer.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <memory>
#include <system_error>

#include "platform/shell/menus/ShellTransferProgress.h"
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

std::error_code Cancelled() { return std::make_error_code(std::errc::operation_canceled); }

// Copies a file, a link or a folder with everything in it, looking at cancel between entries.
std::error_code CopyTree(const fs::path& source, const fs::path& target, const std::atomic<bool>& cancel) {
    if (cancel) return Cancelled();
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(source, ec);
    if (ec) return ec;
    if (fs::is_symlink(st)) {
        fs::copy_symlink(source, target, ec);
        return ec;
    }
    if (!fs::is_directory(st)) {
        fs::copy_file(source, target, ec);
        return ec;
    }
    fs::create_directory(target, source, ec);
    if (ec) return ec;
    for (fs::directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec))
        if (const std::error_code inner = CopyTree(it->path(), target / it->path().filename(), cancel)) return inner;
    return ec;
}

std::error_code CopyInto(const fs::path& source, const fs::path& target, const std::atomic<bool>& cancel) {
    const std::error_code ec = CopyTree(source, target, cancel);
    if (ec) {
        // The target name was free before: what is there now is the part copied.
        std::error_code ignored;
        fs::remove_all(target, ignored);
    }
    return ec;
}

struct Failure {
    fs::path source;
    WideString reason;
};

// One transfer, shared by the thread that does it and the window that waits for it.
struct Transfer : TShellTransferProgress {
    bool move = false;
    std::vector<std::pair<fs::path, fs::path>> items;  // source, target
    std::vector<Failure> failures;                    // the worker's until it is done
    HRESULT result = S_OK;

    void Run() {
        for (const auto& [source, target] : items) {
            if (Cancel) {
                result = kShellTransferCancelled;
                break;
            }
            SetCurrent(source.filename().string());
            std::error_code ec;
            if (move) {
                fs::rename(source, target, ec);
                if (ec == std::errc::cross_device_link) {
                    ec = CopyInto(source, target, Cancel);
                    if (!ec) fs::remove_all(source, ec);
                }
            } else {
                ec = CopyInto(source, target, Cancel);
            }
            ++Done;
            if (ec == std::errc::operation_canceled) {
                result = kShellTransferCancelled;
                break;
            }
            if (ec) {
                result = ErrorResult(ec);
                failures.push_back({source, SysErrorMessage(static_cast<DWORD>(result))});
            }
        }
    }
};

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
    auto transfer = std::make_shared<Transfer>();
    transfer->move = move;
    HRESULT checked = S_OK;
    for (const std::string& name : sources) {
        const fs::path source(TransferSourcePath(name));
        if (const WideString problem = ShellTransferProblem(folder, name); !problem.empty()) {
            checked = HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER);
            ShowFailure(owner, source, problem);
            continue;
        }
        std::error_code ec;
        if (move && fs::equivalent(source.parent_path(), folder, ec)) continue;
        // Names are chosen here, so two sources of one name get names of their own.
        fs::path target = FreeName(folder, source.filename());
        for (int n = 2; std::any_of(transfer->items.begin(), transfer->items.end(), [&](const auto& i) { return i.second == target; }); ++n)
            target = fs::path(folder) / (source.stem().string() + " (" + std::to_string(n) + ")" + source.extension().string());
        transfer->items.emplace_back(source, target);
    }
    transfer->Total = static_cast<int>(transfer->items.size());
    if (transfer->items.empty()) return checked;
    // The copying runs beside the window; one that takes a while shows its progress and can
    // be cancelled.
    std::future<void> work = std::async(std::launch::async, [transfer] { transfer->Run(); });
    if (work.wait_for(std::chrono::milliseconds(ShellTransferProgressDelay)) != std::future_status::ready)
        ShowShellTransferProgress(owner, *transfer, move, [&work] {
            return work.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
        });
    work.get();
    for (const Failure& f : transfer->failures) ShowFailure(owner, f.source, f.reason);
    return FAILED(transfer->result) ? transfer->result : checked;
}
