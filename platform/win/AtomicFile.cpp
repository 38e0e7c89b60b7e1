#include "platform/win/AtomicFile.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <unistd.h>

#include "platform/win/WinString.h"

bool WriteFileAtomically(const WideString& path, std::string_view bytes)
{
    namespace fs = std::filesystem;
    const fs::path target(Utf16ToUtf8(path));
    if (target.filename().empty()) return false;
    // A name of its own per process and call, hidden, beside the target (same file system).
    std::random_device seed;
    std::string tempName(".");
    tempName.append(target.filename().string());
    tempName.append(".").append(std::to_string(getpid()));
    tempName.append(".").append(std::to_string(seed() % 1000000)).append(".tmp");
    const fs::path temp = target.parent_path() / tempName;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            fs::remove(temp, ignored);
            return false;
        }
    }
    std::error_code error;
    fs::rename(temp, target, error);
    if (error) {
        fs::remove(temp, error);
        return false;
    }
    return true;
}
