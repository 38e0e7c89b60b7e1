#include "platform/win/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/win/UniqueFd.h"
#include "platform/win/WinString.h"

namespace fs = std::filesystem;

namespace {

// Enough tries that only a folder we cannot create in, not bad luck, makes the save fail.
constexpr unsigned kTempNameAttempts = 100;

// Hidden, beside the target (same file system), random so that writers do not meet. A long
// target name is shortened (on a character boundary) to keep within the 255-byte name limit.
std::string RandomTempName(const std::string& fileName, unsigned)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdef";
    constexpr std::size_t kRoom = 255 - std::char_traits<char>::length("..0123456789ab.tmp");
    std::size_t keep = std::min(fileName.size(), kRoom);
    while (keep > 0 && keep < fileName.size() && (static_cast<unsigned char>(fileName[keep]) & 0xC0) == 0x80) --keep;
    std::string name = "." + fileName.substr(0, keep) + ".";
    std::uint64_t bits = random();
    for (int i = 0; i < 12; ++i, bits >>= 4) name.push_back(kDigits[bits & 0xF]);
    return name + ".tmp";
}

int WriteAll(int fd, std::string_view bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

int ReplaceFileAtomically(const fs::path& target, std::string_view bytes, AtomicFilePermissions permissions,
                          const AtomicTempName& tempName)
{
    const std::string fileName = target.filename().string();
    if (fileName.empty() || fileName == "." || fileName == "..") return EISDIR;
    const fs::path dir = target.parent_path().empty() ? fs::path(".") : target.parent_path();

    UniqueFd fd;
    fs::path temp;
    for (unsigned attempt = 0; attempt < kTempNameAttempts && fd.get() < 0; ++attempt) {
        temp = dir / (tempName ? tempName(fileName, attempt) : RandomTempName(fileName, attempt));
        fd.reset(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, permissions.createMode));
        if (fd.get() < 0 && errno != EEXIST) return errno;
    }
    if (fd.get() < 0) return EEXIST;

    const auto fail = [&](int err) {
        fd.reset();
        ::unlink(temp.c_str());
        return err;
    };
    struct stat old {};
    if (permissions.keepExisting && ::stat(target.c_str(), &old) == 0 && ::fchmod(fd.get(), old.st_mode & 07777) != 0)
        return fail(errno);
    if (const int err = WriteAll(fd.get(), bytes)) return fail(err);
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (::close(fd.release()) != 0) return fail(errno);
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail(errno);
    // The rename itself lasts only once the folder is on disk. A folder we may write but not
    // open, or a file system that cannot sync folders (EINVAL), leaves that to the system.
    const UniqueFd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0 && ::fsync(dirFd.get()) != 0 && errno != EINVAL) return errno;
    return 0;
}

bool WriteFileAtomically(const WideString& path, std::string_view bytes)
{
    return ReplaceFileAtomically(fs::path(Utf16ToUtf8(path)), bytes) == 0;
}
