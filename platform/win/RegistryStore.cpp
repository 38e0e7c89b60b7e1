#include "platform/win/RegistryStore.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/AtomicFile.h"
#include "platform/win/RegistryFormat.h"
#include "platform/win/UniqueFd.h"
#include "platform/win/WinError.h"
#include "platform/win/WinString.h"

namespace fs = std::filesystem;

// ---- names -------------------------------------------------------------------------------

char16_t RegistryFoldChar(char16_t c) {
    const auto pairEvenUpper = [&](char16_t first, char16_t last) {
        return c >= first && c <= last && (c - first) % 2 == 1;
    };
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? char16_t(c - 0x20) : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return char16_t(c - 0x20);
    if (c == 0xFF) return 0x178;
    // Latin Extended-A: upper at even code points, except 0x139-0x148 and 0x179-0x17E.
    if (pairEvenUpper(0x100, 0x12F) || pairEvenUpper(0x132, 0x137) || pairEvenUpper(0x14A, 0x177))
        return char16_t(c - 1);
    if ((c >= 0x139 && c <= 0x148 && c % 2 == 0) || (c >= 0x179 && c <= 0x17E && c % 2 == 0))
        return char16_t(c - 1);
    // Greek.
    if (c >= 0x3B1 && c <= 0x3C9) return char16_t(c == 0x3C2 ? 0x3A3 : c - 0x20);
    if (c == 0x3AC) return 0x386;
    if (c >= 0x3AD && c <= 0x3AF) return char16_t(c - 0x25);
    if (c == 0x3CC) return 0x38C;
    if (c == 0x3CD || c == 0x3CE) return char16_t(c - 0x3F);
    // Cyrillic.
    if (c >= 0x430 && c <= 0x44F) return char16_t(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return char16_t(c - 0x50);
    if (pairEvenUpper(0x460, 0x481) || pairEvenUpper(0x48A, 0x4BF) || pairEvenUpper(0x4D0, 0x52F))
        return char16_t(c - 1);
    if (c >= 0x4C1 && c <= 0x4CE && c % 2 == 0) return char16_t(c - 1);
    if (c == 0x4CF) return 0x4C0;
    // Armenian.
    if (c >= 0x561 && c <= 0x586) return char16_t(c - 0x30);
    // Latin Extended Additional.
    if (pairEvenUpper(0x1E00, 0x1E95) || pairEvenUpper(0x1EA0, 0x1EFF)) return char16_t(c - 1);
    // Full-width Latin.
    if (c >= 0xFF41 && c <= 0xFF5A) return char16_t(c - 0x20);
    return c;
}

WideString RegistryFoldName(std::u16string_view name) {
    WideString out(name);
    for (auto& c : out) c = RegistryFoldChar(c);
    return out;
}

bool RegistryNamesEqual(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && RegistryFoldChar(a[i]) != RegistryFoldChar(b[i])) return false;
    return true;
}

std::vector<WideString> SplitRegistryPath(std::u16string_view path) {
    std::vector<WideString> out;
    while (!path.empty()) {
        const std::size_t sep = path.find(u'\\');
        const std::u16string_view part = path.substr(0, sep);
        if (!part.empty()) out.emplace_back(part);
        if (sep == std::u16string_view::npos) break;
        path.remove_prefix(sep + 1);
    }
    return out;
}

std::int64_t RegistryNow() {
    using namespace std::chrono;
    constexpr std::int64_t kUnixEpochInFileTime = 116444736000000000LL;
    const auto since = duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count();
    return kUnixEpochInFileTime + since / 100;
}

// ---- RegistryKey -------------------------------------------------------------------------

RegistryKey* RegistryKey::subkey(std::u16string_view name) {
    const auto it = subkeys_.find(RegistryFoldName(name));
    return it == subkeys_.end() ? nullptr : it->second.get();
}

const RegistryKey* RegistryKey::subkey(std::u16string_view name) const {
    return const_cast<RegistryKey*>(this)->subkey(name);
}

RegistryKey& RegistryKey::createSubkey(std::u16string_view name, bool* created) {
    auto& slot = subkeys_[RegistryFoldName(name)];
    if (created) *created = !slot;
    if (!slot) slot = std::make_unique<RegistryKey>(WideString(name));
    return *slot;
}

bool RegistryKey::removeSubkey(std::u16string_view name) { return subkeys_.erase(RegistryFoldName(name)) > 0; }

RegistryKey* RegistryKey::find(const std::vector<WideString>& path) {
    RegistryKey* key = this;
    for (const auto& name : path)
        if (!(key = key->subkey(name))) return nullptr;
    return key;
}

const RegistryKey* RegistryKey::find(const std::vector<WideString>& path) const {
    return const_cast<RegistryKey*>(this)->find(path);
}

const RegistryValue* RegistryKey::value(std::u16string_view name) const {
    for (const auto& v : values_)
        if (RegistryNamesEqual(v.name, name)) return &v;
    return nullptr;
}

void RegistryKey::setValue(std::u16string_view name, DWORD type, std::vector<BYTE> data) {
    if (auto* v = const_cast<RegistryValue*>(value(name))) {
        v->type = type;
        v->data = std::move(data);
        return;
    }
    values_.push_back(RegistryValue{WideString(name), type, std::move(data)});
}

bool RegistryKey::removeValue(std::u16string_view name) {
    const auto it = std::find_if(values_.begin(), values_.end(),
                                 [&](const RegistryValue& v) { return RegistryNamesEqual(v.name, name); });
    if (it == values_.end()) return false;
    values_.erase(it);
    return true;
}

void RegistryKey::setLastWriteDeep(std::int64_t t) {
    lastWrite_ = t;
    for (auto& [folded, sub] : subkeys_) sub->setLastWriteDeep(t);
}

// ---- files -------------------------------------------------------------------------------

namespace {

WideString PathText(const fs::path& p) { return Utf8ToUtf16(p.string()); }

WideString ErrnoText(int err) { return Utf8ToUtf16(std::strerror(err)); }

// Holds an exclusive flock on "<file>.lock" while alive (when it could be taken).
class HiveLock {
public:
    explicit HiveLock(const fs::path& file) {
        fs::path lockPath = file;
        lockPath += ".lock";
        fd_.reset(::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
        if (fd_.get() < 0) {
            error_ = errno;
            return;
        }
        while (::flock(fd_.get(), LOCK_EX) != 0) {
            if (errno != EINTR) {
                error_ = errno;
                fd_.reset();
                return;
            }
        }
    }
    bool held() const { return fd_.get() >= 0; }
    int error() const { return error_; }

private:
    UniqueFd fd_;
    int error_ = 0;
};

enum class ReadStatus { Ok, Missing, Failed };

ReadStatus ReadWholeFile(const fs::path& file, std::string& bytes, int& err, std::int64_t& mtime) {
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        err = errno;
        return err == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        err = errno;
        return ReadStatus::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        err = EISDIR;
        return ReadStatus::Failed;
    }
    constexpr std::int64_t kUnixEpochInFileTime = 116444736000000000LL;
    mtime = kUnixEpochInFileTime + std::int64_t(st.st_mtim.tv_sec) * 10000000 + st.st_mtim.tv_nsec / 100;
    if (static_cast<std::uint64_t>(st.st_size) > kRegistryFileMaxBytes) {
        err = EFBIG;
        return ReadStatus::Failed;
    }
    bytes.clear();
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = errno;
            return ReadStatus::Failed;
        }
        if (n == 0) break;
        bytes.append(buf, static_cast<std::size_t>(n));
        if (bytes.size() > kRegistryFileMaxBytes) {
            err = EFBIG;
            return ReadStatus::Failed;
        }
    }
    return ReadStatus::Ok;
}

}  // namespace

// ---- RegistryHive ------------------------------------------------------------------------

RegistryHive::RegistryHive(fs::path file, bool readOnly, RegistryProblemReporter report)
    : file_(std::move(file)), readOnly_(readOnly), report_(std::move(report)) {}

RegistryHive::~RegistryHive() = default;

void RegistryHive::report(const WideString& text) const {
    if (report_) report_(text);
}

const RegistryKey& RegistryHive::root() {
    ensureLoaded();
    return *root_;
}

void RegistryHive::ensureLoaded() {
    if (root_) return;
    std::unique_ptr<RegistryKey> tree;
    std::string problem = readFile(tree);
    if (!problem.empty() && !readOnly_) {
        // Look again under the lock, so that we never move aside a good file that another
        // process has just renamed into place.
        const HiveLock lock(file_);
        problem = readFile(tree);
        if (!problem.empty()) setAside(problem, lock.held());
    } else if (!problem.empty()) {
        setAside(problem, false);
    }
    root_ = std::move(tree);
}

std::string RegistryHive::readFile(std::unique_ptr<RegistryKey>& tree) {
    tree = std::make_unique<RegistryKey>();
    std::string bytes;
    int err = 0;
    std::int64_t mtime = 0;
    std::string why;
    switch (ReadWholeFile(file_, bytes, err, mtime)) {
    case ReadStatus::Missing: return {};
    case ReadStatus::Failed: why = "cannot be read (" + std::string(std::strerror(err)) + ")"; break;
    case ReadStatus::Ok:
        if (ReadRegistryText(bytes, *tree, why)) {
            tree->setLastWriteDeep(mtime);
            return {};
        }
        why = "is damaged (" + why + ")";
        break;
    }
    tree = std::make_unique<RegistryKey>();
    return why;
}

bool RegistryHive::setAside(const std::string& why, bool mayMove) {
    const WideString what = u"registry: " + PathText(file_) + u" " + Utf8ToUtf16(why);
    if (!mayMove) {
        report(what + u"; the hive starts empty and the file is left untouched");
        return false;
    }
    for (int n = 1; n <= 100; ++n) {
        fs::path aside = file_;
        aside += n == 1 ? std::string(".bad") : ".bad." + std::to_string(n);
        if (::renameat2(AT_FDCWD, file_.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) {
            report(what + u"; kept aside as " + PathText(aside) + u"; the hive starts empty");
            return true;
        }
        const int err = errno;
        if (err == EEXIST) continue;
        if (err == ENOENT) return true;  // gone meanwhile: nothing left to protect
        report(what + u"; it could not be kept aside (" + ErrnoText(err) +
               u"), so the hive starts empty and the file is left untouched");
        return false;
    }
    report(what + u"; too many damaged copies are kept already, so the file is left untouched");
    return false;
}

void RegistryHive::apply(RegistryKey& root, const Change& change, std::int64_t now) {
    using Kind = Change::Kind;
    if (change.kind == Kind::DeleteKey) {
        if (change.path.empty()) return;
        std::vector<WideString> parentPath(change.path.begin(), change.path.end() - 1);
        RegistryKey* parent = root.find(parentPath);
        const RegistryKey* key = parent ? parent->subkey(change.path.back()) : nullptr;
        // A subkey that another process added meanwhile keeps the key alive.
        if (key && key->subkeys().empty()) {
            parent->removeSubkey(change.path.back());
            parent->setLastWrite(now);
        }
        return;
    }
    if (change.kind == Kind::DeleteValue) {
        if (RegistryKey* key = root.find(change.path)) {
            if (key->removeValue(change.name)) key->setLastWrite(now);
        }
        return;
    }
    RegistryKey* key = &root;
    for (const auto& name : change.path) {
        bool created = false;
        key = &key->createSubkey(name, &created);
        if (created) key->setLastWrite(now);
    }
    if (change.kind == Kind::SetValue) {
        key->setValue(change.name, change.type, change.data);
        key->setLastWrite(now);
    }
}

RegistryKey* RegistryHive::createKey(const std::vector<WideString>& path, bool* created) {
    ensureLoaded();
    RegistryKey* existing = root_->find(path);
    if (created) *created = !existing;
    if (existing) return existing;
    if (readOnly_) return nullptr;
    const Change change{Change::Kind::CreateKey, path, {}, 0, {}};
    apply(*root_, change, RegistryNow());
    journal_.push_back(change);
    return root_->find(path);
}

bool RegistryHive::setValue(const std::vector<WideString>& path, std::u16string_view name, DWORD type,
                            std::vector<BYTE> data) {
    ensureLoaded();
    if (readOnly_) return false;
    journal_.push_back(Change{Change::Kind::SetValue, path, WideString(name), type, std::move(data)});
    apply(*root_, journal_.back(), RegistryNow());
    return true;
}

bool RegistryHive::deleteValue(const std::vector<WideString>& path, std::u16string_view name) {
    ensureLoaded();
    if (readOnly_) return false;
    const RegistryKey* key = root_->find(path);
    if (!key || !key->value(name)) return false;
    journal_.push_back(Change{Change::Kind::DeleteValue, path, WideString(name), 0, {}});
    apply(*root_, journal_.back(), RegistryNow());
    return true;
}

bool RegistryHive::deleteKey(const std::vector<WideString>& path) {
    ensureLoaded();
    if (readOnly_ || path.empty()) return false;
    const RegistryKey* key = root_->find(path);
    if (!key || !key->subkeys().empty()) return false;
    journal_.push_back(Change{Change::Kind::DeleteKey, path, {}, 0, {}});
    apply(*root_, journal_.back(), RegistryNow());
    return true;
}

DWORD RegistryHive::save() {
    if (journal_.empty()) return ERROR_SUCCESS;
    if (readOnly_) return ERROR_ACCESS_DENIED;
    const auto failed = [&](const char16_t* step, int err) {
        report(u"registry: cannot save " + PathText(file_) + u" (" + step + u": " + ErrnoText(err) +
               u"); the changes stay in memory");
        return WinErrorFromErrno(err) == ERROR_DISK_FULL ? ERROR_DISK_FULL : ERROR_CANTWRITE;
    };
    std::error_code ec;
    fs::create_directories(file_.parent_path(), ec);
    if (ec) return failed(u"creating its folder", ec.value());
    const HiveLock lock(file_);
    if (!lock.held()) return failed(u"locking", lock.error());

    std::unique_ptr<RegistryKey> merged;
    const std::string problem = readFile(merged);
    if (!problem.empty() && !setAside(problem, true)) return ERROR_BADDB;  // never write over it
    const std::int64_t now = RegistryNow();
    for (const auto& change : journal_) apply(*merged, change, now);
    if (const int err = ReplaceFileAtomically(file_, WriteRegistryText(*merged), {0600, true})) return failed(u"writing", err);
    root_ = std::move(merged);
    journal_.clear();
    return ERROR_SUCCESS;
}
