// Message fields as a reply sees them: arbitrary bytes as a sender, recipients and subject go
// through the address-list parser, the name splitter and the three quote headers and their
// inserters; a desktop entry's Exec line through its argument parser. None of it may crash,
// leak or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "mail/QuoteHeader.h"
#include "platform/mapi/MailHandoff.h"
#include "platform/mime/IdMessage.h"
#include "platform/win/WinString.h"

namespace {
struct Msg : TMessageAttr {
    int GetType() override { return 1; }
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    (void)ParseEmailAddressList(text);
    (void)ExecArguments(text, "target");

    Msg m;
    const WideString wide = Utf8ToUtf16(text);
    m.from = m.to = m.subject = m.fileName = wide;
    m.attachments.push_back({0, 0, wide, u""});
    (void)InsertHtmlQuoteHeader(m, wide, qhAttachments | qhFileName | qhSeparator);
    (void)InsertRtfQuoteHeader(m, wide, qhAttachments | qhFileName | qhSeparator);
    (void)InsertTextQuoteHeader(m, wide, qhAttachments);
    return 0;
}
