#include "platform/mime/IdMessage.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/mime/GMimeSupport.h"
#include "platform/mime/PlainHeaderBlock.h"

using namespace mime_detail;

// --- MimeObjectRef ---

MimeObjectRef::MimeObjectRef(void* object) : object_(object)
{
    if (object_) g_object_ref(object_);
}

MimeObjectRef::MimeObjectRef(const MimeObjectRef& other) : MimeObjectRef(other.object_) {}

MimeObjectRef::MimeObjectRef(MimeObjectRef&& other) noexcept : object_(other.object_)
{
    other.object_ = nullptr;
}

MimeObjectRef& MimeObjectRef::operator=(MimeObjectRef other) noexcept
{
    std::swap(object_, other.object_);
    return *this;
}

MimeObjectRef::~MimeObjectRef()
{
    if (object_) g_object_unref(object_);
}

namespace {

// Deeper nesting is not walked: real mail nests a few levels, hostile input thousands.
constexpr int kMaxDepth = 64;

AnsiString LowerAscii(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

AnsiString MediaType(GMimeObject* object)
{
    GMimeContentType* type = g_mime_object_get_content_type(object);
    if (!type) return "text/plain";
    const char* media = g_mime_content_type_get_media_type(type);
    const char* subtype = g_mime_content_type_get_media_subtype(type);
    if (media && subtype) return LowerAscii(std::string(media) + '/' + subtype);
    GCharPtr text(g_mime_content_type_get_mime_type(type));
    return text ? LowerAscii(text.get()) : AnsiString("text/plain");
}

AnsiString CharsetOf(GMimeObject* object)
{
    const char* charset = g_mime_object_get_content_type_parameter(object, "charset");
    return charset ? AnsiString(charset) : AnsiString();
}

// Lines joined by CR LF, without a break after the last line; a line ends at CR LF, LF or a
// lone CR. Lines are found with memchr and copied whole.
AnsiString JoinLines(std::string_view text)
{
    AnsiString out;
    out.reserve(text.size() + text.size() / 32);
    for (size_t i = 0; i < text.size();) {
        const size_t lf = text.find('\n', i);
        size_t end = lf == std::string_view::npos ? text.size() : lf;
        if (lf != std::string_view::npos && end > i && text[end - 1] == '\r') --end;
        std::string_view line = text.substr(i, end - i);
        for (size_t cr = line.find('\r'); cr != std::string_view::npos; cr = line.find('\r')) {
            out.append(line.substr(0, cr));
            out += "\r\n";
            line.remove_prefix(cr + 1);
        }
        out.append(line);
        if (lf == std::string_view::npos) break;
        out += "\r\n";
        i = lf + 1;
    }
    if (out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0) out.resize(out.size() - 2);
    return out;
}

// A header of a parsed object: views into the object, which outlives the list built from them.
struct RawHeader {
    gint64 offset;
    const char* name;
    const char* raw;
};

void CollectHeaders(GMimeObject* object, std::vector<RawHeader>& out)
{
    GMimeHeaderList* list = object ? g_mime_object_get_header_list(object) : nullptr;
    if (!list) return;
    const int count = g_mime_header_list_get_count(list);
    out.reserve(out.size() + static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        GMimeHeader* h = g_mime_header_list_get_header_at(list, i);
        const char* name = g_mime_header_get_name(h);
        const char* raw = g_mime_header_get_raw_value(h);
        out.push_back({g_mime_header_get_offset(h), name ? name : "", raw ? raw : ""});
    }
}

// The headers in file order: one object's list is in order already, a message's own and its
// top part's are merged.
void FillHeaders(TIdHeaderList& list, std::vector<RawHeader> headers)
{
    const auto byOffset = [](const RawHeader& a, const RawHeader& b) { return a.offset < b.offset; };
    if (!std::is_sorted(headers.begin(), headers.end(), byOffset))
        std::stable_sort(headers.begin(), headers.end(), byOffset);
    list.Clear();
    for (const RawHeader& h : headers) list.Add(h.name, h.raw);
}

void FillAddresses(InternetAddressList* list, std::vector<TIdEmailAddressItem>& items)
{
    if (list) AppendAddresses(list, items);
}

bool IsTextLeaf(GMimeObject* object)
{
    if (!GMIME_IS_PART(object)) return false;
    GMimeContentType* type = g_mime_object_get_content_type(object);
    if (type && !g_mime_content_type_is_type(type, "text", "*")) return false;
    GMimeContentDisposition* disposition = g_mime_object_get_content_disposition(object);
    if (disposition && g_mime_content_disposition_is_attachment(disposition)) return false;
    return g_mime_part_get_filename(GMIME_PART(object)) == nullptr;
}

struct ByteArrayUnref {
    void operator()(GByteArray* array) const { g_byte_array_unref(array); }
};
using ByteArrayPtr = std::unique_ptr<GByteArray, ByteArrayUnref>;

// The rest of the stream, read straight into the array a memory stream can take over. Most
// messages fit the first block, read without asking the stream its size (which costs it
// seeks); a larger one is measured then and read in one more block (one byte more than is
// left, so that the read that fills it also sees the end).
ByteArrayPtr ReadAll(TStream& stream)
{
    ByteArrayPtr data(g_byte_array_new());
    constexpr guint kFirst = 32768;
    constexpr guint kChunk = 65536;
    guint want = kFirst;
    guint used = 0;
    for (bool measured = false;;) {
        if (want > G_MAXUINT - used) throw EIdException(std::string_view("The message is too large."));
        g_byte_array_set_size(data.get(), used + want);
        const std::int64_t n = stream.Read(data->data + used, want);
        used += static_cast<guint>(n > 0 ? n : 0);
        if (n < static_cast<std::int64_t>(want)) break;  // a stream reads short only at its end
        want = kChunk;
        if (!measured) {
            measured = true;
            const std::int64_t position = stream.Position();
            const std::int64_t left = position < 0 ? -1 : stream.Size() - position;
            if (left >= 0 && left < static_cast<std::int64_t>(G_MAXUINT - used) - 1) want = static_cast<guint>(left) + 1;
        }
    }
    g_byte_array_set_size(data.get(), used);
    return data;
}

// Where the header block ends: just after its terminating empty line, searching from `from`;
// npos while no empty line has been seen.
size_t HeaderBlockEnd(std::string_view data, size_t from)
{
    if (from == 0) {
        if (data.starts_with("\n")) return 1;
        if (data.starts_with("\r\n")) return 2;
    }
    for (size_t i = data.find('\n', from); i != std::string::npos; i = data.find('\n', i + 1)) {
        size_t j = i + 1;
        if (j < data.size() && data[j] == '\r') ++j;
        if (j < data.size() && data[j] == '\n') return j + 1;
    }
    return std::string::npos;
}

// The header block: everything up to and including the first empty line, else all of it,
// ended by an empty line. A header block never runs past kMaxHeaderBlock: a device or an
// endless file stops there.
std::string ReadHeaderBlock(TStream& stream)
{
    constexpr size_t kMaxHeaderBlock = size_t{4} << 20;
    std::string data;
    char buffer[16384];
    while (data.size() < kMaxHeaderBlock) {
        const size_t from = data.size() < 3 ? 0 : data.size() - 3;
        const std::int64_t n = stream.Read(buffer, sizeof buffer);
        if (n <= 0) break;
        data.append(buffer, static_cast<size_t>(n));
        const size_t end = HeaderBlockEnd(data, from);
        if (end != std::string::npos) {
            data.resize(end);
            return data;
        }
    }
    if (!data.empty() && data.back() != '\n') data += "\r\n";
    return data + "\r\n";
}

}  // namespace

// --- TIdAttachment ---

AnsiString TIdAttachment::Content() const
{
    auto* object = static_cast<GMimeObject*>(object_.get());
    if (!object) return {};
    if (GMIME_IS_MESSAGE_PART(object)) {
        GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
        return inner ? WriteObject(GMIME_OBJECT(inner)) : AnsiString();
    }
    if (GMIME_IS_PART(object)) return AnsiString(BytesOf(DecodedStream(GMIME_PART(object)).get()));
    return WriteObject(object);
}

void TIdAttachment::SaveToStream(TStream& stream) const
{
    const AnsiString bytes = Content();
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

TIdHeaderList TIdAttachment::MessageHeaders() const
{
    auto* object = static_cast<GMimeObject*>(object_.get());
    GMimeMessage* inner =
        object && GMIME_IS_MESSAGE_PART(object) ? g_mime_message_part_get_message(GMIME_MESSAGE_PART(object)) : nullptr;
    if (!inner) {
        TIdMessage message;
        message.LoadFromBytes(Content(), true);
        return message.Headers();
    }
    // The message is parsed already: writing it out to read its header block again is the
    // slow way to the same list.
    std::vector<RawHeader> raw;
    CollectHeaders(GMIME_OBJECT(inner), raw);
    CollectHeaders(g_mime_message_get_mime_part(inner), raw);
    TIdHeaderList headers;
    FillHeaders(headers, std::move(raw));
    return headers;
}

// --- TIdMessage ---

TIdMessage::TIdMessage() = default;
TIdMessage::~TIdMessage() = default;

void TIdMessage::Clear()
{
    headers_.Clear();
    charSet_.clear();
    contentType_.clear();
    body_.clear();
    parts_.Clear();
    to_.Clear();
    cc_.Clear();
    bcc_.Clear();
    message_ = MimeObjectRef();
}

void TIdMessage::LoadFromStream(TStream& stream, bool headersOnly)
{
    std::string header;
    ByteArrayPtr all;
    try {
        if (headersOnly) header = ReadHeaderBlock(stream);
        else all = ReadAll(stream);
    } catch (const Exception& e) {
        Clear();
        throw EIdException(WideString(u"Cannot read the message: ") + e.Message());
    }
    if (headersOnly) {
        ParseHeaderBlock(header);
        return;
    }
    Clear();
    EnsureGMime();
    GPtr<GMimeStream> memory(g_mime_stream_mem_new_with_byte_array(all.release()));
    Parse(memory.get());
}

void TIdMessage::LoadFromBytes(std::string_view bytes, bool headersOnly)
{
    Clear();
    if (headersOnly) {
        TStringStream stream{AnsiString(bytes)};
        LoadFromStream(stream, true);
        return;
    }
    EnsureGMime();
    GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    Parse(stream.get());
}

// The header block alone: the headers, content type, charset and address lists the message
// reader gives, without the rest of its work on each header. A plain block is split here; any
// other is read as one part by the MIME reader. Nothing of the parse is kept.
void TIdMessage::ParseHeaderBlock(std::string_view block)
{
    Clear();
    EnsureGMime();
    if (PlainHeaderBlock plain; SplitPlainHeaderBlock(block, plain)) {
        for (auto& [name, raw] : plain.headers) headers_.Add(std::move(name), std::move(raw));
        FillRecipientLists();
        contentType_ = std::move(plain.contentType);
        charSet_ = std::move(plain.charset);
        return;
    }
    GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(block.data(), block.size()));
    GPtr<GMimeObject> part;
    // The part reader refuses what the message reader skips (an mbox "From " line first): the
    // message reader decides those.
    if (!block.starts_with("From ")) {
        GPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
        part.reset(g_mime_parser_construct_part(parser.get(), nullptr));
    }
    if (!part) {
        g_mime_stream_reset(stream.get());
        Parse(stream.get());
        parts_.Clear();
        message_ = MimeObjectRef();
        return;
    }

    std::vector<RawHeader> raw;
    CollectHeaders(part.get(), raw);
    FillHeaders(headers_, std::move(raw));
    FillRecipientLists();
    contentType_ = MediaType(part.get());
    charSet_ = CharsetOf(part.get());
}

void TIdMessage::FillRecipientLists()
{
    // Every header of a kind joins one list, as in the message.
    const std::pair<const char*, TIdEmailAddressList*> kinds[] = {{"To", &to_}, {"Cc", &cc_}, {"Bcc", &bcc_}};
    for (const auto& [kind, target] : kinds) {
        // Plain lists are split here; one that is not sends the whole kind to the MIME reader.
        std::vector<TIdEmailAddressItem> plain;
        bool allPlain = true;
        for (int i = 0; i < headers_.Count() && allPlain; ++i)
            if (g_ascii_strcasecmp(headers_.Names(i).c_str(), kind) == 0)
                allPlain = SplitPlainAddressList(headers_.RawValues(i), plain);
        if (allPlain) {
            target->items_ = std::move(plain);
            continue;
        }
        GPtr<InternetAddressList> all(internet_address_list_new());
        for (int i = 0; i < headers_.Count(); ++i) {
            if (g_ascii_strcasecmp(headers_.Names(i).c_str(), kind) != 0) continue;
            GPtr<InternetAddressList> one(internet_address_list_parse(nullptr, headers_.RawValues(i).c_str()));
            if (one) internet_address_list_append(all.get(), one.get());
        }
        FillAddresses(all.get(), target->items_);
    }
}

void TIdMessage::Parse(void* stream)
{
    GPtr<GMimeParser> parser(g_mime_parser_new_with_stream(static_cast<GMimeStream*>(stream)));
    GPtr<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), nullptr));
    if (!message) throw EIdException(std::string_view("The text is not an internet message."));
    message_ = MimeObjectRef(message.get());
    Fill();
}

void TIdMessage::Fill()
{
    auto* message = static_cast<GMimeMessage*>(message_.get());
    GMimeObject* top = g_mime_message_get_mime_part(message);

    std::vector<RawHeader> raw;
    CollectHeaders(GMIME_OBJECT(message), raw);
    CollectHeaders(top, raw);
    FillHeaders(headers_, std::move(raw));

    FillAddresses(g_mime_message_get_addresses(message, GMIME_ADDRESS_TYPE_TO), to_.items_);
    FillAddresses(g_mime_message_get_addresses(message, GMIME_ADDRESS_TYPE_CC), cc_.items_);
    FillAddresses(g_mime_message_get_addresses(message, GMIME_ADDRESS_TYPE_BCC), bcc_.items_);

    if (!top) {
        contentType_ = "text/plain";
        return;
    }
    contentType_ = MediaType(top);
    charSet_ = CharsetOf(top);
    if (GMIME_IS_MULTIPART(top)) {
        GMimeMultipart* multipart = GMIME_MULTIPART(top);
        const int count = g_mime_multipart_get_count(multipart);
        for (int i = 0; i < count; ++i) AddPart(g_mime_multipart_get_part(multipart, i));
    } else if (IsTextLeaf(top)) {
        body_ = JoinLines(BytesOf(DecodedStream(GMIME_PART(top)).get()));
    } else {
        AddPart(top);
    }
}

void TIdMessage::AddPart(void* objectPointer)
{
    struct Item {
        GMimeObject* object;
        int depth;
    };
    std::vector<Item> stack{{static_cast<GMimeObject*>(objectPointer), 0}};
    while (!stack.empty()) {
        const Item item = stack.back();
        stack.pop_back();
        GMimeObject* object = item.object;
        if (!object) continue;

        std::unique_ptr<TIdMessagePart> part;
        if (GMIME_IS_MULTIPART(object) || IsTextLeaf(object)) {
            auto text = std::make_unique<TIdText>();
            if (GMIME_IS_PART(object)) text->body_ = JoinLines(BytesOf(DecodedStream(GMIME_PART(object)).get()));
            part = std::move(text);
        } else {
            auto attachment = std::make_unique<TIdAttachment>();
            attachment->object_ = MimeObjectRef(object);
            part = std::move(attachment);
        }
        std::vector<RawHeader> raw;
        CollectHeaders(object, raw);
        FillHeaders(part->headers_, std::move(raw));
        part->contentType_ = MediaType(object);
        part->charSet_ = CharsetOf(object);
        parts_.parts_.push_back(std::move(part));

        if (GMIME_IS_MULTIPART(object) && item.depth < kMaxDepth) {
            GMimeMultipart* multipart = GMIME_MULTIPART(object);
            // Pushed in reverse so that the children come out in document order.
            for (int i = g_mime_multipart_get_count(multipart) - 1; i >= 0; --i)
                stack.push_back({g_mime_multipart_get_part(multipart, i), item.depth + 1});
        }
    }
}

AnsiString TIdMessage::SaveToBytes() const
{
    if (!message_) throw EIdException(std::string_view("No message is loaded."));
    return WriteObject(GMIME_OBJECT(message_.get()));
}

void TIdMessage::SaveToStream(TStream& stream) const
{
    const AnsiString bytes = SaveToBytes();
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

namespace {

// Lists written by mail programs often separate with ";". Outside quotes, comments and angle
// brackets it becomes ",", unless the text uses group syntax ("name: a, b;"), where ";" ends
// the group.
std::string CommaSeparated(std::string_view text)
{
    std::string out(text);
    std::vector<size_t> semicolons;
    bool quoted = false;
    int depth = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        if (quoted) {
            if (c == '\\') ++i;
            else if (c == '"') quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == '(' || c == '<') {
            ++depth;
        } else if ((c == ')' || c == '>') && depth > 0) {
            --depth;
        } else if (depth == 0 && c == ':') {
            return out;
        } else if (depth == 0 && c == ';') {
            semicolons.push_back(i);
        }
    }
    for (const size_t i : semicolons) out[i] = ',';
    return out;
}

}  // namespace

std::vector<TIdEmailAddressItem> ParseEmailAddressList(std::string_view text)
{
    EnsureGMime();
    std::vector<TIdEmailAddressItem> all;
    const std::string copy = CommaSeparated(text);
    GPtr<InternetAddressList> list(internet_address_list_parse(nullptr, copy.c_str()));
    AppendAddresses(list.get(), all);
    std::vector<TIdEmailAddressItem> mailboxes;
    for (TIdEmailAddressItem& item : all)
        if (item.Address.find('@') != AnsiString::npos) mailboxes.push_back(std::move(item));
    return mailboxes;
}
