// Loads an internet message from memory, headers only and in full, and reads what a viewer
// reads from it: fields, bodies, attachment and inline part bytes, the zone of its date.
#include <cstddef>
#include <cstdint>

#include "message/MessageEML.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const AnsiString text(reinterpret_cast<const char*>(data), size);
    {
        TStringStream stream(text);
        MessageEML headers;
        (void)headers.LoadFromStream(stream, true);
    }
    TStringStream stream(text);
    MessageEML message;
    if (!message.LoadFromStream(stream, false)) return 0;
    (void)message.GetExportFilterString();
    (void)TMessageAttr::GetTimeZone(message.headerText);
    message.FormatHtmlBodyLinks();
    const TIdMessageParts& parts = message.idMessage->MessageParts();
    for (int i = 0; i < parts.Count(); ++i) {
        if (parts.Items(i).Kind() != TIdMessagePartKind::Attachment) continue;
        TMemoryStream out;
        static_cast<const TIdAttachment&>(parts.Items(i)).SaveToStream(out);
    }
    TStringStream saved;
    message.idMessage->SaveToStream(saved);
    return 0;
}
