// Reads a .msg image from memory and walks everything a viewer would read from it.
#include <cstddef>
#include <cstdint>
#include <sstream>

#include "message/MSGFile.h"

namespace {

void Walk(const TMSGProperties& c, int depth) {
    for (const auto& p : c) {
        (void)p->GetAsString();
        (void)p->GetName(true, false);
        (void)p->GetCategory();
        if (depth < 200) Walk(p->SubProperties(), depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMSGFile msg;
    msg.LoadFromMemory({data, size});
    const TMSGProperties& root = msg.GetProperties();
    Walk(root, 0);
    (void)msg.GetSubject();
    (void)msg.GetBody();
    (void)msg.GetSenderName();
    (void)msg.GetRecipientName();
    (void)msg.GetHTMLCharset();
    (void)root.GetHTMLBody();
    for (int i = 0; i < root.GetAttachmentCount(); ++i) {
        const TMSGProperty* att = root.GetAttachment(i);
        (void)att->GetAttachmentName();
        (void)att->AttachmentIsEmbeddedMessage();
        std::ostringstream out;
        root.SaveAttachmentToStream(i, out);
    }
    return 0;
}
