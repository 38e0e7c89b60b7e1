#include "output/IRenderer.h"

#include "platform/win/AtomicFile.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

namespace {

// The legacy code page of "ANSI" files: this platform's own ANSI code page is UTF-8, which
// would make the ANSI saver a copy of the UTF-8 one.
constexpr UINT kLegacyCodePage = 1252;

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
