#include "platform/mime/MimeDraft.h"

#include <fstream>
#include <iterator>

#include "platform/win/WinString.h"
// After the platform headers: the C library defines TRUE and FALSE as macros.
#include "platform/mime/GMimeSupport.h"

using namespace mime_detail;

namespace {

void AddAddresses(GMimeMessage* message, GMimeAddressType type, const std::vector<TIdEmailAddressItem>& items)
{
    InternetAddressList* list = g_mime_message_get_addresses(message, type);
    for (const TIdEmailAddressItem& item : items) {
        GPtr<InternetAddress> mailbox(internet_address_mailbox_new(item.Name.c_str(), item.Address.c_str()));
        internet_address_list_add(list, mailbox.get());
    }
}

void SetContent(GMimePart* part, const std::string& bytes)
{
    GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    GPtr<GMimeDataWrapper> wrapper(g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part, wrapper.get());
}

GMimeObject* NewTextPart(const char* subtype, const std::string& text)
{
    // The text stays UTF-8 (the library would pick a narrower charset where the text fits).
    GMimeTextPart* part = g_mime_text_part_new_with_subtype(subtype);
    GMimePart* p = GMIME_PART(part);
    SetContent(p, text);
    g_mime_text_part_set_charset(part, "utf-8");
    g_mime_part_set_content_encoding(p, g_mime_part_get_best_content_encoding(p, GMIME_ENCODING_CONSTRAINT_7BIT));
    return GMIME_OBJECT(part);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EIdException(u"cannot read the attachment " + Utf8ToUtf16(path));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw EIdException(u"cannot read the attachment " + Utf8ToUtf16(path));
    return bytes;
}

GMimeObject* NewAttachment(const MimeDraftAttachment& a)
{
    const std::string bytes = ReadFile(a.path);
    GMimePart* part = g_mime_part_new_with_type("application", "octet-stream");
    const std::string name = a.displayName.empty() ? a.path.substr(a.path.find_last_of('/') + 1) : a.displayName;
    g_mime_part_set_filename(part, name.c_str());
    SetContent(part, bytes);
    g_mime_part_set_content_encoding(part, GMIME_CONTENT_ENCODING_BASE64);
    return GMIME_OBJECT(part);
}

// The body: one text part, both as alternatives, or an empty plain part.
GPtr<GMimeObject> NewBody(const MimeDraft& draft)
{
    const bool plain = !draft.plainBody.empty(), html = !draft.htmlBody.empty();
    if (plain && html) {
        GMimeMultipart* alternative = g_mime_multipart_new_with_subtype("alternative");
        GPtr<GMimeObject> p(NewTextPart("plain", draft.plainBody)), h(NewTextPart("html", draft.htmlBody));
        g_mime_multipart_add(alternative, p.get());
        g_mime_multipart_add(alternative, h.get());
        return GPtr<GMimeObject>(GMIME_OBJECT(alternative));
    }
    return GPtr<GMimeObject>(html ? NewTextPart("html", draft.htmlBody) : NewTextPart("plain", draft.plainBody));
}

}  // namespace

std::string BuildDraftMessage(const MimeDraft& draft)
{
    EnsureGMime();
    GPtr<GMimeMessage> message(g_mime_message_new(TRUE));
    AddAddresses(message.get(), GMIME_ADDRESS_TYPE_TO, draft.to);
    AddAddresses(message.get(), GMIME_ADDRESS_TYPE_CC, draft.cc);
    AddAddresses(message.get(), GMIME_ADDRESS_TYPE_BCC, draft.bcc);
    g_mime_message_set_subject(message.get(), draft.subject.c_str(), "utf-8");
    g_mime_object_set_header(GMIME_OBJECT(message.get()), "X-Unsent", "1", nullptr);

    GPtr<GMimeObject> body = NewBody(draft);
    if (draft.attachments.empty()) {
        g_mime_message_set_mime_part(message.get(), body.get());
    } else {
        GPtr<GMimeMultipart> mixed(g_mime_multipart_new_with_subtype("mixed"));
        g_mime_multipart_add(mixed.get(), body.get());
        for (const MimeDraftAttachment& a : draft.attachments) {
            GPtr<GMimeObject> part(NewAttachment(a));
            g_mime_multipart_add(mixed.get(), part.get());
        }
        g_mime_message_set_mime_part(message.get(), GMIME_OBJECT(mixed.get()));
    }
    const std::string bytes = WriteObject(GMIME_OBJECT(message.get()));
    if (bytes.empty()) throw EIdException(u"the draft could not be written");
    return bytes;
}
