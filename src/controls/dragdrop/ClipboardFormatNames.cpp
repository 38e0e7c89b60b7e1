#include "controls/dragdrop/ClipboardFormatNames.h"

#include <array>

#include "platform/vcl/Clipbrd.h"

AnsiString GetClipboardFormatNameStr(UINT format) {
    static constexpr std::array<const char*, 18> kStandard{
        "CF_TEXT", "CF_BITMAP", "CF_METAFILEPICT", "CF_SYLK", "CF_DIF", "CF_TIFF", "CF_OEMTEXT", "CF_DIB", "CF_PALETTE",
        "CF_PENDATA", "CF_RIFF", "CF_WAVE", "CF_UNICODETEXT", "CF_ENHMETAFILE", "CF_HDROP", "CF_LOCALE", "CF_DIBV5",
        "CF_MAX_XP"};
    if (format >= 1 && format <= kStandard.size()) return kStandard[format - 1];
    switch (format) {
        case 128: return "CF_OWNERDISPLAY";
        case 129: return "CF_DSPTEXT";
        case 130: return "CF_DSPBITMAP";
        case 131: return "CF_DSPMETAFILEPICT";
        case 142: return "CF_DSPENHMETAFILE";
        default: break;
    }
    char buffer[256] = {};
    const int n = GetClipboardFormatNameA(format, buffer, 255);
    return AnsiString(buffer, static_cast<std::size_t>(n > 0 ? n : 0));
}
