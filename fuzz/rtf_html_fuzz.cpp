// Runs without the support library, so charsets go through the platform's code-page table.
// Reads arbitrary bytes as HTML-encapsulating RTF (font table, code pages, tag groups,
// suppressed runs, Unicode escapes), and reads the same bytes as HTML through the
// encapsulation and back, which must give the HTML again with CR LF line ends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/RtfFonts.h"
#include "app/RtfHtml.h"
#include "platform/win/WinString.h"

namespace {

WideString WithCrLf(const WideString& text) {
    WideString out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            out += u"\r\n";
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    Helpers::Fonts fonts(bytes);
    (void)fonts.CurrentCodePage();
    (void)IsHtmlEncapsulatedRtf(bytes.data(), bytes.size());
    WideString decapsulated;
    DecapsulateHtmlFromRtf(bytes.data(), bytes.size(), decapsulated);

    if (size < 8192) {
        const WideString html = Utf8ToUtf16(bytes);
        const std::string rtf = Utf16ToUtf8(encodertfhtml(html));
        WideString back;
        DecapsulateHtmlFromRtf(rtf.data(), rtf.size(), back);
        if (back != WithCrLf(html)) std::abort();
        (void)EncodeRtfUnicode(html);
    }
    return 0;
}
