// Runs without the support library, so charsets go through the platform's code-page table.
// Decodes arbitrary bytes as header text, as a structured header value with parameters, and
// as HTML whose charset declaration is rewritten: none of it may crash, leak or hang.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/CharsetConv.h"
#include "message/HeaderDecode.h"
#include "platform/mime/IdHeaderList.h"
#include "platform/win/WinString.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const kCharsets[] = {"", "utf-8", "iso-8859-1", "windows-1251", "shift_jis",
                                            "iso-2022-jp", "x-unknown", "CP0"};
    if (size == 0) return 0;
    const std::string charset = kCharsets[data[0] % (sizeof kCharsets / sizeof kCharsets[0])];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

    (void)ConvertCharsetW(nullptr, text, charset);
    (void)DecodeHeaderText(text, charset);
    (void)DecodeHeaderParam(text, "filename", charset);
    (void)DecodeHeaderParam(text, "name", charset);

    TIdHeaderList list;
    list.Add("Content-Disposition", text);
    (void)GetDecodedHeader(list, "Content-Disposition", "filename", charset);

    WideString html = Utf8ToUtf16(text);
    (void)GetEncodedWordCharset(html);
    SetHtmlMetaCharset(html, u"utf-8");
    return 0;
}
