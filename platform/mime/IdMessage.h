// The internet message classes the program calls: a parsed MIME message with its header list,
// single-part body, recipient lists and flat list of parts, over GMime.
//
// The flat part list (MessageParts), walked depth-first in document order:
// - the top-level entity is not a part; when it is a multipart, its children are walked;
// - a multipart container (mixed, alternative, related, signed, ... at any depth) is listed as a
//   text part with an empty body, which readers skip, and then its children are walked;
// - a text/* leaf without a file name (Content-Disposition filename or Content-Type name) and
//   not marked "attachment" is a text part: its body transfer-decoded, its charset bytes left
//   as they are, with its own charset;
// - every other leaf is an attachment part with its content type, raw headers and content id;
//   its bytes are transfer-decoded when saved;
// - message/rfc822 is an attachment part whose bytes are the embedded message as written; the
//   walk does not descend into it.
// A message whose top-level entity is not a multipart has no parts when that entity is a text
// part by the rule above (its text is Body); otherwise that entity is the one attachment part
// and Body is empty.
// A headers-only load reads just the header block (up to the first empty line): it gives the
// header list, the charset and content type of the top-level entity, the recipient counts, no
// parts and an empty body.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "platform/mime/IdHeaderList.h"
#include "platform/vcl/Streams.h"
#include "platform/vcl/SysUtils.h"

// Malformed input or a failed library call.
QUILLORA_EXCEPTION_CLASS(EIdException, Exception);

// A counted reference to a GMime object, opaque outside this folder.
class MimeObjectRef {
public:
    MimeObjectRef() = default;
    // Takes one more reference on object (may be null).
    explicit MimeObjectRef(void* object);
    MimeObjectRef(const MimeObjectRef& other);
    MimeObjectRef(MimeObjectRef&& other) noexcept;
    MimeObjectRef& operator=(MimeObjectRef other) noexcept;
    ~MimeObjectRef();

    void* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    void* object_ = nullptr;
};

enum class TIdMessagePartKind { Text, Attachment };

class TIdMessagePart {
public:
    virtual ~TIdMessagePart() = default;
    virtual TIdMessagePartKind Kind() const = 0;

    TIdHeaderList& Headers() { return headers_; }
    const TIdHeaderList& Headers() const { return headers_; }
    // The media type without parameters, in lower case ("text/plain").
    const AnsiString& ContentType() const { return contentType_; }
    // The charset parameter of the content type, or empty.
    const AnsiString& CharSet() const { return charSet_; }
    // The Content-ID header value as written, angle brackets included; empty when none.
    AnsiString ContentID() const { return headers_.Values("Content-ID"); }

protected:
    friend class TIdMessage;
    TIdHeaderList headers_;
    AnsiString contentType_;
    AnsiString charSet_;
};

class TIdText : public TIdMessagePart {
public:
    TIdMessagePartKind Kind() const override { return TIdMessagePartKind::Text; }
    // The transfer-decoded text: its lines joined by CR LF (no break after the last one), in
    // the part's charset. Empty for a multipart container.
    const AnsiString& Body() const { return body_; }

private:
    friend class TIdMessage;
    AnsiString body_;
};

class TIdAttachment : public TIdMessagePart {
public:
    TIdMessagePartKind Kind() const override { return TIdMessagePartKind::Attachment; }
    // The part's bytes: transfer-decoded content, or the embedded message as written.
    AnsiString Content() const;
    // Writes Content() to the stream; raises EWriteError when the stream takes fewer bytes.
    void SaveToStream(TStream& stream) const;
    // The headers of the message this part holds (message/rfc822), in file order: taken from
    // the parse when the part was read as a message, else from the header block of Content().
    // Raises EIdException as a headers-only load does.
    TIdHeaderList MessageHeaders() const;

private:
    friend class TIdMessage;
    MimeObjectRef object_;
};

class TIdMessageParts {
public:
    int Count() const { return static_cast<int>(parts_.size()); }
    TIdMessagePart& Items(int index) { return *parts_.at(static_cast<size_t>(index)); }
    const TIdMessagePart& Items(int index) const { return *parts_.at(static_cast<size_t>(index)); }
    void Clear() { parts_.clear(); }

private:
    friend class TIdMessage;
    std::vector<std::unique_ptr<TIdMessagePart>> parts_;
};

struct TIdEmailAddressItem {
    AnsiString Name;     // display name, UTF-8
    AnsiString Address;  // the bare address, local@domain
};

// The mailboxes of an address-list text ("Ann <a@x.org>, b@y.org; group: c@z.org;"), encoded
// words decoded, group members in the group's place. Only entries with an "@" in their address
// count: a bare name or a directory path is not an internet address.
std::vector<TIdEmailAddressItem> ParseEmailAddressList(std::string_view text);

class TIdEmailAddressList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    const TIdEmailAddressItem& Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    void Clear() { items_.clear(); }

private:
    friend class TIdMessage;
    std::vector<TIdEmailAddressItem> items_;
};

class TIdMessage {
public:
    TIdMessage();
    ~TIdMessage();
    TIdMessage(const TIdMessage&) = delete;
    TIdMessage& operator=(const TIdMessage&) = delete;

    // Parses the message from the stream's position; raises EIdException when the input is not
    // a message (no header) or cannot be read. The previous content is cleared first.
    void LoadFromStream(TStream& stream, bool headersOnly);
    void LoadFromBytes(std::string_view bytes, bool headersOnly);
    void Clear();

    TIdHeaderList& Headers() { return headers_; }
    const TIdHeaderList& Headers() const { return headers_; }
    // The charset parameter of the top-level content type, or empty.
    const AnsiString& CharSet() const { return charSet_; }
    // The top-level media type without parameters, lower case; "text/plain" when none is given.
    const AnsiString& ContentType() const { return contentType_; }
    // The single-part text body (see the rule above), lines joined by CR LF.
    const AnsiString& Body() const { return body_; }
    TIdMessageParts& MessageParts() { return parts_; }
    const TIdMessageParts& MessageParts() const { return parts_; }
    const TIdEmailAddressList& Recipients() const { return to_; }
    const TIdEmailAddressList& CCList() const { return cc_; }
    const TIdEmailAddressList& BccList() const { return bcc_; }
    // True after a full load that found a message (and until Clear).
    bool IsLoaded() const { return static_cast<bool>(message_); }

    // Writes the message as a MIME file (the parsed form written back); raises EIdException
    // when nothing is loaded and EWriteError when the stream takes fewer bytes.
    void SaveToStream(TStream& stream) const;
    AnsiString SaveToBytes() const;

private:
    // Parses a GMime stream (GMimeStream*) of the whole message.
    void Parse(void* stream);
    void ParseHeaderBlock(std::string_view block);
    // The To, Cc and Bcc lists from the headers.
    void FillRecipientLists();
    void Fill();
    void AddPart(void* object);

    TIdHeaderList headers_;
    AnsiString charSet_;
    AnsiString contentType_;
    AnsiString body_;
    TIdMessageParts parts_;
    TIdEmailAddressList to_;
    TIdEmailAddressList cc_;
    TIdEmailAddressList bcc_;
    MimeObjectRef message_;
};
