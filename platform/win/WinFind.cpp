// Directory search: FindFirstFileW / FindNextFileW / FindClose and the Windows pattern rules.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>
#include <wctype.h>

#include "platform/win/WinError.h"
#include "platform/win/WinFileSupport.h"
#include "platform/win/WinFiles.h"
#include "platform/win/WinString.h"

using namespace winfiles;

namespace {

// --- Case-insensitive names ---------------------------------------------------------------

// The C library's Unicode tables of the built-in UTF-8 locale, independent of the
// process locale. Without them only ASCII letters fold.
locale_t CaseLocale() {
    static const locale_t loc = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return loc;
}

char32_t Upper(char32_t c) {
    if (c < 0x80) return (c >= U'a' && c <= U'z') ? c - 0x20 : c;
    const locale_t loc = CaseLocale();
    if (!loc || (c >= 0xD800 && c <= 0xDFFF)) return c;
    return static_cast<char32_t>(::towupper_l(static_cast<wint_t>(c), loc));
}

// Code points of a UTF-16 text, upper-cased; a lone surrogate stands for itself.
std::u32string UpperCodePoints(std::u16string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        out.push_back(Upper(c));
    }
    return out;
}

// --- Pattern rules ------------------------------------------------------------------------
// A pattern is read as the Windows file system reads it after the Win32 translation:
//   '*'             any run of characters
//   '*' before '.'  any run that stops short of the name's last dot
//   '?'             one character, or none at a dot or at the end of the name
//   '.' before '?', '*' or at the end: a dot, or nothing at the end of the name
// so "*.*" matches every name, "*." names without an extension and "a.*" also "a".

constexpr char32_t kStar = 0x110001;
constexpr char32_t kDosStar = 0x110002;
constexpr char32_t kDosQm = 0x110003;
constexpr char32_t kDosDot = 0x110004;

std::u32string CompilePattern(std::u16string_view pattern) {
    const std::u32string p = UpperCodePoints(pattern);
    std::u32string out;
    out.reserve(p.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char32_t next = i + 1 < p.size() ? p[i + 1] : 0;
        if (p[i] == U'?')
            out.push_back(kDosQm);
        else if (p[i] == U'*')
            out.push_back(next == U'.' ? kDosStar : kStar);
        else if (p[i] == U'.' && (next == 0 || next == U'?' || next == U'*'))
            out.push_back(kDosDot);
        else
            out.push_back(p[i]);
    }
    return out;
}

class Matcher {
public:
    Matcher(const std::u32string& pattern, const std::u32string& name)
        : p_(pattern), n_(name), lastDot_(name.rfind(U'.')),
          memo_((pattern.size() + 1) * (name.size() + 1), -1) {}

    bool Match(std::size_t pi, std::size_t ni) {
        signed char& seen = memo_[pi * (n_.size() + 1) + ni];
        if (seen < 0) seen = Step(pi, ni) ? 1 : 0;
        return seen == 1;
    }

private:
    bool Step(std::size_t pi, std::size_t ni) {
        const bool atEnd = ni == n_.size();
        if (pi == p_.size()) return atEnd;
        switch (const char32_t t = p_[pi]) {
        case kStar: return Match(pi + 1, ni) || (!atEnd && Match(pi, ni + 1));
        case kDosStar:
            return Match(pi + 1, ni) ||
                   (!atEnd && (lastDot_ == std::u32string::npos || ni < lastDot_) && Match(pi, ni + 1));
        case kDosQm:
            if (atEnd || n_[ni] == U'.') {
                while (pi < p_.size() && p_[pi] == kDosQm) ++pi;
                return Match(pi, ni);
            }
            return Match(pi + 1, ni + 1);
        case kDosDot:
            if (atEnd) return Match(pi + 1, ni);
            return n_[ni] == U'.' && Match(pi + 1, ni + 1);
        default: return !atEnd && n_[ni] == t && Match(pi + 1, ni + 1);
        }
    }

    const std::u32string& p_;
    const std::u32string& n_;
    const std::size_t lastDot_;
    std::vector<signed char> memo_;
};

bool MatchCompiled(const std::u32string& compiled, const std::u32string& upperName) {
    return Matcher(compiled, upperName).Match(0, 0);
}

bool HasWildcards(std::string_view name) { return name.find_first_of("*?") != std::string_view::npos; }

// --- Searches -----------------------------------------------------------------------------

struct Entry {
    std::string name;  // as the file system holds it
    WideString wide;
    std::u32string key;  // upper-cased, for ordering
};

bool DotName(const std::string& n) { return n == "." || n == ".."; }

void Fill(const FileFacts& facts, const Entry& e, WIN32_FIND_DATAW& data) {
    data = WIN32_FIND_DATAW {};
    data.dwFileAttributes = AttributesOf(facts, e.name);
    data.ftCreationTime = facts.created;
    data.ftLastAccessTime = facts.accessed;
    data.ftLastWriteTime = facts.written;
    const std::uint64_t size = S_ISDIR(facts.mode) ? 0 : facts.size;
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFFu);
    std::copy(e.wide.begin(), e.wide.end(), data.cFileName);
}

class FindObject final : public WinHandleObject {
public:
    // A search over the folder's entries (the folder stays open so that entries are looked up
    // relative to it, whatever the current directory does meanwhile).
    FindObject(DIR* dir, std::vector<Entry> entries) : dir_(dir), entries_(std::move(entries)) {}
    // A search for one name.
    FindObject(std::string path, Entry entry) : path_(std::move(path)) { entries_.push_back(std::move(entry)); }
    ~FindObject() override {
        if (dir_) ::closedir(dir_);
    }

    bool Close() override {
        DIR* dir = dir_;
        dir_ = nullptr;
        if (dir && ::closedir(dir) != 0) return FailWithErrno();
        return true;
    }

    // Fills data with the next entry that still exists; false at the end.
    bool Next(WIN32_FIND_DATAW& data) {
        while (next_ < entries_.size()) {
            const Entry& e = entries_[next_++];
            FileFacts facts;
            const int err = dir_ ? FactsAt(::dirfd(dir_), e.name.c_str(), facts)
                                 : FactsAt(AT_FDCWD, path_.c_str(), facts);
            if (err == 0) {
                Fill(facts, e, data);
                return true;
            }
            lastError_ = err;
        }
        return false;
    }

    int lastError() const { return lastError_; }

private:
    DIR* dir_ = nullptr;
    std::string path_;
    std::vector<Entry> entries_;
    std::size_t next_ = 0;
    int lastError_ = ENOENT;
};

// The entry for a file-system name, or false when the name cannot be handed out as UTF-16
// and come back as the same bytes (it would name a different, missing file).
bool MakeEntry(std::string name, Entry& e) {
    // An ASCII name is its own UTF-16 text and folds by ASCII alone (most names are).
    if (name.size() < MAX_PATH && std::all_of(name.begin(), name.end(), [](char c) { return c > 0; })) {
        e.wide.assign(name.begin(), name.end());
        e.key.resize(name.size());
        for (std::size_t i = 0; i < name.size(); ++i) e.key[i] = Upper(static_cast<char32_t>(name[i]));
        e.name = std::move(name);
        return true;
    }
    WideString wide = Utf8ToUtf16(name);
    if (wide.size() >= MAX_PATH || Utf16ToUtf8(wide) != name) return false;
    e.key = UpperCodePoints(wide);
    e.wide = std::move(wide);
    e.name = std::move(name);
    return true;
}

}  // namespace

bool WildcardMatch(std::u16string_view name, std::u16string_view pattern) {
    return MatchCompiled(CompilePattern(pattern), UpperCodePoints(name));
}

HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) {
    std::string path;
    if (!PathArg(lpFileName, path)) return INVALID_HANDLE_VALUE;
    if (!lpFindFileData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    if (path.back() == '/') {  // a folder path without a name to look for
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    const std::string folder = ParentOf(path);
    const std::string pattern = LastComponent(path);

    std::unique_ptr<FindObject> search;
    if (!HasWildcards(pattern)) {
        Entry e;
        if (!MakeEntry(pattern, e)) {
            SetLastError(ERROR_INVALID_NAME);
            return INVALID_HANDLE_VALUE;
        }
        search = std::make_unique<FindObject>(path, std::move(e));
    } else {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
        if (!dir) {
            const int err = errno;
            if (fd >= 0) ::close(fd);
            SetLastError(err == ENOENT ? ERROR_PATH_NOT_FOUND : WinErrorFromErrno(err));
            return INVALID_HANDLE_VALUE;
        }
        const std::u32string compiled = CompilePattern(Utf8ToUtf16(pattern));
        // "*" takes every name: a folder walk asks for it, entry by entry.
        const bool everyName = compiled == std::u32string(1, kStar);
        std::vector<Entry> entries;
        errno = 0;
        while (const dirent* d = ::readdir(dir)) {
            Entry e;
            if (MakeEntry(d->d_name, e) && (everyName || MatchCompiled(compiled, e.key))) entries.push_back(std::move(e));
            errno = 0;
        }
        if (errno != 0) {
            const int err = errno;
            ::closedir(dir);
            SetLastErrorFromErrno(err);
            return INVALID_HANDLE_VALUE;
        }
        // Stable order, as NTFS gives it: "." and ".." first, then names without regard to case.
        // Sorted by index, so that no entry is moved more than once.
        std::vector<std::uint32_t> order(entries.size());
        for (std::uint32_t i = 0; i < order.size(); ++i) order[i] = i;
        std::sort(order.begin(), order.end(), [&entries](std::uint32_t ia, std::uint32_t ib) {
            const Entry& a = entries[ia];
            const Entry& b = entries[ib];
            const bool da = DotName(a.name), db = DotName(b.name);
            if (da != db) return da;
            if (a.key != b.key) return a.key < b.key;
            return a.name < b.name;
        });
        std::vector<Entry> sorted;
        sorted.reserve(entries.size());
        for (const std::uint32_t i : order) sorted.push_back(std::move(entries[i]));
        search = std::make_unique<FindObject>(dir, std::move(sorted));
    }

    if (!search->Next(*lpFindFileData)) {
        SetPathError(path, search->lastError());
        return INVALID_HANDLE_VALUE;
    }
    HANDLE h = RegisterHandle(std::move(search));
    SetLastError(ERROR_SUCCESS);
    return h;
}

BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) {
    FindObject* search = HandleAs<FindObject>(hFindFile);
    if (!search) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!lpFindFileData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!search->Next(*lpFindFileData)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return TRUE;
}

BOOL FindClose(HANDLE hFindFile) {
    if (!HandleAs<FindObject>(hFindFile)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::unique_ptr<WinHandleObject> search = ReleaseHandle(hFindFile);
    if (!search) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return search->Close() ? TRUE : FALSE;
}
