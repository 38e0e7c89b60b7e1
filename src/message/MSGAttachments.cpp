// The attachments of an Outlook message: sorted into the listed attachments and the inline
// parts the body shows, saved as files, and attached messages handed out as records.
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/MSGWriter.h"
#include "message/MessageMSG.h"
#include "platform/mapi/MapiTags.h"
#include "platform/win/WinString.h"

namespace {

constexpr int kMethodAttachedMessage = 5;
constexpr int kMethodOle = 6;
constexpr size_t kMaxNameBytes = 255;  // of a file name on the file system

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// A property of the attachment's own items, else of its fixed-length entries (where the
// fixed-size ones are stored).
const TMSGProperty* AttachmentProperty(const TMSGProperties& attachment, std::uint32_t tag)
{
    if (const TMSGProperty* p = attachment.GetPropertyByTag(tag, true, false)) return p;
    for (const auto& item : attachment)
        if (item->TagID == 0)
            if (const TMSGProperty* p = item->SubProperties().GetPropertyByTag(tag, true, false)) return p;
    return nullptr;
}

WideString Text(const TMSGProperties& attachment, std::uint32_t tag)
{
    const TMSGProperty* p = attachment.GetPropertyByTag(tag, true, false);
    return p ? p->GetAsString() : WideString();
}

bool IsAttachedMessage(const TMSGProperty& node)
{
    for (const auto& item : node.SubProperties())
        if (!item->SubProperties().GetPropertyAsString(PR_MESSAGE_CLASS_A, true, false).empty()) return true;
    return false;
}

// The last component of a location ("http://host/images/a.png" gives "a.png").
WideString LastComponent(const WideString& location)
{
    WideString name = location;
    const std::size_t query = name.find_first_of(u"?#");
    if (query != WideString::npos) name.erase(query);
    while (!name.empty() && (name.back() == u'/' || name.back() == u'\\')) name.pop_back();
    const std::size_t slash = name.find_last_of(u"/\\");
    return slash == WideString::npos ? name : name.substr(slash + 1);
}

}  // namespace

WideString PercentDecode(const WideString& text)
{
    WideString out;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != u'%' || i + 2 >= text.size() || HexDigit(text[i + 1]) < 0 || HexDigit(text[i + 2]) < 0) {
            out += text[i++];
            continue;
        }
        std::string bytes;
        while (i + 2 < text.size() && text[i] == u'%' && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2])));
            i += 3;
        }
        if (IsValidUtf8(bytes)) {
            out += Utf8ToUtf16(bytes);
        } else {
            for (unsigned char b : bytes) out += static_cast<char16_t>(b);
        }
    }
    return out;
}

void MessageMSG::ProcesssAttachmentsMSG(const TMSGFile& file)
{
    QUILLORA_TRACE(u"MessageMSG::ProcesssAttachmentsMSG");
    const TMSGProperties& root = file.GetProperties();
    const int count = root.GetAttachmentCount();
    if (count < 1) {
        hasAttachments = false;
        return;
    }
    const WideString temp = CAppUtils::getAppTempFolder();
    for (int i = 0; i < count; ++i) {
        const TMSGProperty* node = root.GetAttachment(i);
        if (!node) continue;
        const TMSGProperties& a = node->SubProperties();
        const bool attachedMessage = IsAttachedMessage(*node);

        WideString longName = Text(a, PR_ATTACH_LONG_FILENAME_A);
        if (longName.empty()) longName = Text(a, PR_ATTACH_FILENAME_A);
        WideString name = Text(a, PR_DISPLAY_NAME_A);
        if (name.empty()) name = longName;

        int method = 0;
        if (const TMSGProperty* p = AttachmentProperty(a, PR_ATTACH_METHOD)) {
            const long value = std::atol(p->GetAsAnsiString().c_str());
            if (value == kMethodAttachedMessage || value == kMethodOle) method = static_cast<int>(value);
        }
        if (attachedMessage) {
            name += u".msg";
            method = kMethodAttachedMessage;
        }

        WideString contentId = Text(a, PR_ATTACH_CONTENT_ID_A);
        if (contentId.empty()) {
            contentId = Text(a, PR_ATTACH_CONTENT_LOCATION_A);
            if (!contentId.empty() && name.empty()) {
                name = CAppUtils::MakeValidFileName(PercentDecode(LastComponent(contentId)), false);
                LogPrintf(u"cid -> filename: %s", name.c_str());
            }
        }
        const TMSGProperty* rendering = a.GetPropertyByTag(PR_ATTACH_RENDERING, false, false);
        const bool hasRendering = rendering && rendering->RawBytes() && !rendering->RawBytes()->empty();

        bool real;
        if (method == kMethodOle) {
            // No object runs here: listed, so that its data can be saved; an RTF body draws it
            // from its rendering.
            real = true;
            if (name.empty()) name = u"attachment " + Utf8ToUtf16(std::to_string(i + 1));
        } else if (name.empty() && longName.empty()) {
            real = false;
        } else if (hasRendering) {
            real = true;
            inlineParts.push_back(AttachmentItem{i, 0, {}, {}});
        } else {
            real = IsRealAttachment(htmlBody, contentId.empty() ? name : contentId);
        }

        if ((!bodyIsHtml && !bodyIsRtf) || real) {
            name = CAppUtils::MakeValidFileName(name, false);
            LogPrintf(u"attach name: %s", name.c_str());
            attachments.push_back(AttachmentItem{i, method, name, {}});
            hasAttachments = true;
        } else {
            // The file the body's reference points at, always inside the temporary folder, and
            // this record's own: another message's "image001.png" is another file.
            WideString file = CAppUtils::MakeValidFileName(name, false);
            if (file.empty()) file = u"part";
            file = CutToUtf8Bytes(TempTag() + u"-" + Utf8ToUtf16(std::to_string(i)) + u"-" + file, kMaxNameBytes);
            LogPrintf(u"attach name: %s", file.c_str());
            inlineParts.push_back(AttachmentItem{i, method, temp.empty() ? WideString() : temp + file, contentId});
        }
    }
}

bool MessageMSG::SaveAttachment(int index, const WideString& path, bool /*flag*/)
{
    QUILLORA_TRACE(u"MessageMSG::SaveAttachment");
    if (index < 0 || index >= static_cast<int>(attachments.size())) return false;
    const int number = attachments[static_cast<std::size_t>(index)].number;
    const bool asMessage = IsEmbeddedAttachMessage(index);
    if (!EnsureCompoundFile()) return false;
    const WideString target = CAppUtils::MakeValidFileName(path, true);
    const bool res = asMessage ? SaveAttachmentAsMSG(*msgFile_, target, number)
                               : SaveAttachmentAsBin(*msgFile_, target, number);
    LogPrintf(u"res: %d", res ? 1 : 0);
    return res;
}

bool MessageMSG::SaveAttachmentAsBin(const TMSGFile& file, const WideString& path, int number)
{
    QUILLORA_TRACE(u"MessageMSG::SaveAttachmentAsBin");
    const TMSGProperties& root = file.GetProperties();
    if (number < 0 || number >= root.GetAttachmentCount() || path.empty()) return false;
    return root.SaveAttachmentToFile(number, Utf16ToUtf8(path));
}

bool MessageMSG::SaveAttachmentAsMSG(const TMSGFile& file, const WideString& path, int number)
{
    QUILLORA_TRACE(u"MessageMSG::SaveAttachmentAsMSG");
    const TMSGProperties& root = file.GetProperties();
    if (number < 0 || number >= root.GetAttachmentCount() || path.empty()) return false;
    const TMSGProperty* attachment = root.GetAttachment(number);
    const TMSGProperty* inner = attachment ? attachment->SubProperties().GetPropertyByTag(PR_ATTACH_DATA_OBJ, false, true) : nullptr;
    if (!inner) return false;
    TMSGFile copy;
    copy.SetProperties(inner->SubProperties());
    // Named properties of an attached message use the ids of the outer file's mapping.
    const TMSGProperty* names = root.GetPropertyByTag(kTagNamedProperties, false, false);
    if (names && !copy.GetProperties().GetPropertyByTag(kTagNamedProperties, false, false))
        copy.GetProperties().Add().Assign(*names);
    const HRESULT hr = SaveToMsgFile(copy, path, true);
    LogPrintf(u"hr: %X", static_cast<unsigned>(hr));
    return SUCCEEDED(hr);
}

std::unique_ptr<TMessageAttr> MessageMSG::GetEmbeddedMessage(int index)
{
    QUILLORA_TRACE(u"MessageMSG::GetEmbeddedMessage");
    if (!IsEmbeddedAttachMessage(index)) return nullptr;
    const AttachmentItem item = attachments[static_cast<std::size_t>(index)];
    if (!EnsureCompoundFile()) return nullptr;
    const WideString folder = CAppUtils::getAppTempFolder();
    if (folder.empty()) return nullptr;
    WideString name = CAppUtils::MakeValidFileName(item.name, false);
    if (WideUpperCaseString(WideExtractFileExt(name)) != u".MSG") name += u".msg";
    if (name.size() == 4) name = u"message.msg";  // an attached message without a name
    const WideString path = CAppUtils::MakeUniqueFileName(folder + name);
    if (path.empty() || !SaveAttachmentAsMSG(*msgFile_, path, item.number)) return nullptr;
    auto message = std::make_unique<MessageMSG>();
    if (!message->LoadFromFile(path, false)) return nullptr;
    return message;
}
