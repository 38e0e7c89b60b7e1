#include "output/IRenderer.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

namespace {

// The legacy code page of "ANSI" files: this platform's own ANSI code page is UTF-8, which
// would make the ANSI saver a copy of the UTF-8 one.
constexpr UINT kLegacyCodePage = 1252;

// Writes the bytes to a temporary file in the target's folder, then renames it over the
// target. Nothing is left behind on failure.
bool WriteFileAtomically(const WideString& path, const std::string& bytes)
{
    namespace fs = std::filesystem;
    const fs::path target(Utf16ToUtf8(path));
    if (target.filename().empty()) return false;
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

}  // namespace

bool IRenderer::SaveToFileUTF8(const WideString& path)
{
    if (content_.empty()) return false;
    return WriteFileAtomically(path, Utf16ToUtf8(GetDocument()));
}

bool IRenderer::SaveToFileUnicode(const WideString& path)
{
    if (content_.empty()) return false;
    const WideString document = GetDocument();
    std::string bytes("\xFF\xFE", 2);
    bytes.reserve(2 + document.size() * 2);
    for (const char16_t unit : document) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return WriteFileAtomically(path, bytes);
}

bool IRenderer::SaveToFileAnsi(const WideString& path)
{
    if (content_.empty()) return false;
    return WriteFileAtomically(path, EncodeCodePage(kLegacyCodePage, GetDocument()));
}
