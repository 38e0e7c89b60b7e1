#include "mapi/MessagePST.h"

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/RtfHtml.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/CompressedRTF.h"
#include "message/MSGHtmlBody.h"
#include "output/TextRenderer.h"
#include "platform/mapi/MapiTags.h"
#include "platform/win/CodePages.h"
#include "platform/win/WinString.h"

namespace {

constexpr ULONG kMsgFlagUnsent = 0x8;

WideString Widen(const std::string& bytes)
{
    WideString out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) out.push_back(static_cast<char16_t>(c));
    return out;
}

}  // namespace

MessagePST::MessagePST()
{
    fileType = mftPST;
    dateCaption = GetUiString(1130);
}

MessagePST::~MessagePST() = default;

MapiLibs& MessagePST::Libs() const
{
    return session && session->libs ? *session->libs : MapiLibs::get();
}

ULONG MessagePST::StringType() const { return unicodeStore ? PT_UNICODE : PT_STRING8; }

MSGType MessagePST::MSGTypeOfClass(const WideString& messageClass)
{
    const WideString upper = WideUpperCaseString(messageClass);
    if (upper == u"IPM.NOTE") return mtNote;
    if (upper == u"IPM.TASK") return mtTask;
    if (upper == u"IPM.CONTACT") return mtContact;
    if (upper == u"IPM.APPOINTMENT") return mtAppointment;
    return mtOther;
}

void MessagePST::FillFromSRow(std::shared_ptr<MapiSession> storeSession, const SRow& row)
{
    QUILLORA_TRACE(u"MessagePST::FillFromSRow");
    Clear();
    sent = true;  // until the row says the message is unsent
    session = std::move(storeSession);
    imageIndex = 7;
    codePage = 0;
    for (const SPropValue& v : row.lpProps)
        if (v.ulPropTag == PR_INTERNET_CPID) codePage = static_cast<std::uint32_t>(v.Value.l);
    auto text = [this](const SPropValue& v) { return MapiSession::GetPropValAsString(&v, codePage); };
    WideString senderName;
    for (const SPropValue& v : row.lpProps) {
        if (v.isError()) continue;
        const ULONG tag = v.ulPropTag;
        const ULONG id = v.id();
        const bool isString = v.type() == PT_UNICODE || v.type() == PT_STRING8;
        if (tag == PR_ENTRYID) {
            pstAttr.entryId = v;
        } else if (tag == PR_MESSAGE_FLAGS) {
            if (static_cast<ULONG>(v.Value.l) & kMsgFlagUnsent) sent = false;
        } else if (tag == PR_HASATTACH) {
            hasAttachments = v.Value.b != 0;
        } else if (tag == PR_MESSAGE_DELIVERY_TIME || tag == PR_CLIENT_SUBMIT_TIME) {
            date = FileTimeToDateTime(v.Value.ft);
            dateText = MessageDateText(date);
        } else if (isString) {
            switch (id) {
                case 0x1000: plainBody = text(v); htmlBody = plainBody; break;
                case 0x0037: subject = text(v); break;
                case 0x0042: from = text(v); break;
                case 0x0C1A: senderName = text(v); break;
                case 0x0E04: to = text(v); break;
                case 0x0E03: cc = text(v); break;
                case 0x0E02: bcc = text(v); break;
                default: break;
            }
        }
    }
    // A row without the represented sender's name shows the sender's own.
    if (from.empty()) from = senderName;
    dateCaption = GetUiString(1130);
    loadLevel = mllHeaders;
}

ComPtr<IMAPIFolder> MessagePST::GetIFolder()
{
    QUILLORA_TRACE(u"MessagePST::GetIFolder");
    if (!session || !session->GetStore()) return {};
    for (const mapi_TFolderInfo& f : *session->GetFolders()) {
        if (f.type != pstAttr.folderType || Utf8ToUtf16(f.name) != pstAttr.folderName ||
            Utf8ToUtf16(f.path) != pstAttr.folderPath || f.eid.empty())
            continue;
        ULONG type = 0;
        IUnknown* object = nullptr;
        if (session->GetStore()->OpenEntry(f.eid.cb, f.eid.ab.data(), nullptr, 0, &type, &object) != S_OK) continue;
        ComPtr<IUnknown> held = ComPtr<IUnknown>::Adopt(object);
        if (type == MAPI_FOLDER) return ComPtr<IMAPIFolder>::Adopt(static_cast<IMAPIFolder*>(held.Detach()));
    }
    return {};
}

ComPtr<IMessage> MessagePST::GetIMessage(IMAPIFolder* folder)
{
    QUILLORA_TRACE(u"MessagePST::GetIMessage");
    if (pstAttr.entryId.empty()) {
        LogPrintf(u"FAILED: the record has no entry id");
        return {};
    }
    ULONG type = 0;
    IUnknown* object = nullptr;
    HRESULT hr = MAPI_E_NOT_FOUND;
    const mapi_TEntryid& id = pstAttr.entryId;
    if (folder)
        hr = folder->OpenEntry(id.cb, id.ab.data(), nullptr, 0, &type, &object);
    else if (session && session->GetStore())
        hr = session->GetStore()->OpenEntry(id.cb, id.ab.data(), nullptr, 0, &type, &object);
    ComPtr<IUnknown> held = ComPtr<IUnknown>::Adopt(object);
    if (hr != S_OK || type != MAPI_MESSAGE || !held) {
        LogPrintf(u"FAILED: get imessage %X", static_cast<unsigned>(hr));
        return {};
    }
    return ComPtr<IMessage>::Adopt(static_cast<IMessage*>(held.Detach()));
}

ComPtr<IMessage> MessagePST::OpenIMessage()
{
    QUILLORA_TRACE(u"MessagePST::OpenIMessage");
    if (!session || !session->GetStore()) return {};
    SPropValuePtr mask;
    if (MapiLibs::HrGetOneProp(session->GetStore(), PR_STORE_SUPPORT_MASK, &mask) == S_OK && mask &&
        (static_cast<ULONG>(mask->Value.l) & STORE_UNICODE_OK))
        unicodeStore = true;
    return GetIMessage(nullptr);
}

bool MessagePST::OpenMessage()
{
    QUILLORA_TRACE(u"MessagePST::OpenMessage");
    ComPtr<IMessage> message = OpenIMessage();
    if (!message) return false;
    SPropValuePtr cls;
    if (MapiLibs::HrGetOneProp(message.get(), PR_MESSAGE_CLASS_W, &cls) == S_OK && cls)
        msgType = MSGTypeOfClass(PropValueText(*cls));
    GetMessageBody(message.get());
    loadLevel = mllFull;
    return true;
}

bool MessagePST::OpenPlainMessage()
{
    QUILLORA_TRACE(u"MessagePST::OpenPlainMessage");
    ComPtr<IMessage> message = GetIMessage(nullptr);
    if (!message) return false;
    GetPlainTextFromIMessage(message.get());
    return true;
}

bool MessagePST::GetMessageBody(IMessage* message)
{
    QUILLORA_TRACE(u"MessagePST::GetMessageBody");
    if (!message) return false;
    // Every body kind is read whether or not the store kept the RTF in sync: HTML-only and
    // plain-only items carry no PR_RTF_IN_SYNC.
    bodyIsHtml = false;
    bodyIsRtf = false;
    htmlBody.clear();
    loadedHtmlBody.clear();
    rtfBody.clear();
    GetBodyFromIMessage(message);
    GetPlainTextFromIMessage(message);
    EnumAttachmentNames(message);
    if (bodyIsHtml) FormatHtmlBodyLinks();
    SPropValuePtr headers;
    headerText.clear();
    if (MapiLibs::HrGetOneProp(message, PR_TRANSPORT_MESSAGE_HEADERS_W, &headers) == S_OK && headers) {
        headerText = PropValueText(*headers);
        zoneHours = GetTimeZone(headerText);
    }
    switch (msgType) {
        case mtTask: FillMsgTask(message); break;
        case mtAppointment: FillMsgAppointment(message); break;
        case mtContact: FillMsgContact(message); break;
        default: break;
    }
    return true;
}

bool MessagePST::GetBodyFromIMessage(IMessage* message)
{
    QUILLORA_TRACE(u"MessagePST::GetBodyFromIMessage");
    // 1. The HTML body as stored: bytes in the message's internet code page, or text.
    SPropValuePtr html;
    WideString htmlText;
    if (MapiLibs::HrGetOneProp(message, PR_HTML, &html) == S_OK && html && html->Value.bin.cb > 0) {
        // Stored in the charset the mail came in: its internet code page, else the charset the
        // HTML declares, else windows-1252.
        const std::string_view bytes(reinterpret_cast<const char*>(html->Value.bin.lpb), html->Value.bin.cb);
        SPropValuePtr cpid;
        UINT cp = 0;
        if (MapiLibs::HrGetOneProp(message, PR_INTERNET_CPID, &cpid) == S_OK && cpid && cpid->Value.l > 0 &&
            IsValidCodePage(static_cast<UINT>(cpid->Value.l)))
            cp = static_cast<UINT>(cpid->Value.l);
        if (cp == 0) cp = CodePageFromCharsetName(HtmlDeclaredCharset(bytes));
        if (cp == 0 || !IsValidCodePage(cp)) cp = 1252;
        htmlText = DecodeCodePage(cp, bytes);
    } else if (MapiLibs::HrGetOneProp(message, PR_HTML_W, &html) == S_OK && html) {
        htmlText = PropValueText(*html);
    }
    while (!htmlText.empty() && htmlText.back() == 0) htmlText.pop_back();

    // 2. The RTF body, decompressed.
    SPropValuePtr rtf;
    std::string rtfText;
    if (MapiLibs::HrGetOneProp(message, PR_RTF_COMPRESSED, &rtf) == S_OK && rtf && rtf->Value.bin.cb > 0) {
        const CompressedRTFResult r = DecodeCompressedRTFEx(std::span(rtf->Value.bin.lpb, rtf->Value.bin.cb));
        if (r.status == CompressedRTFStatus::Decoded)
            rtfText.assign(r.text.begin(), r.text.end());
        else
            LogPrintf(u"FAILED: compressed RTF (%s)", Utf8ToUtf16(r.reason).c_str());
        while (!rtfText.empty() && rtfText.back() == '\0') rtfText.pop_back();
    }
    bodyBuffer.assign(rtfText.begin(), rtfText.end());

    if (!htmlText.empty()) {
        bodyIsHtml = true;
        bodyIsRtf = false;
        loadedHtmlBody = htmlText;
        htmlBody = PrependScriptErrorHandler(htmlText);
        if (!rtfText.empty() && !IsHtmlEncapsulatedRtf(rtfText.data(), rtfText.size())) rtfBody = rtfText;
        return true;
    }
    if (rtfText.empty()) return false;
    if (IsHtmlEncapsulatedRtf(rtfText.data(), rtfText.size())) {
        WideString decapsulated;
        DecapsulateHtmlFromRtf(rtfText.data(), rtfText.size(), decapsulated);
        if (!decapsulated.empty()) {
            bodyIsHtml = true;
            bodyIsRtf = false;
            loadedHtmlBody = decapsulated;
            htmlBody = PrependScriptErrorHandler(decapsulated);
            return true;
        }
    }
    bodyIsRtf = true;
    bodyIsHtml = false;
    rtfBody = rtfText;
    // Each byte one unit: the rich-text view takes units below 256 as the bytes they were.
    htmlBody = Widen(rtfText);
    return true;
}

void MessagePST::GetPlainTextFromIMessage(IMessage* message)
{
    QUILLORA_TRACE(u"MessagePST::GetPlainTextFromIMessage");
    // Read wide: 8-bit text would lose what the system code page cannot hold.
    plainBody.clear();
    SPropValuePtr body;
    if (MapiLibs::HrGetOneProp(message, PR_BODY_W, &body) == S_OK && body) plainBody = PropValueText(*body);
    while (!plainBody.empty() && plainBody.back() == 0) plainBody.pop_back();
    if (htmlBody.empty() && !plainBody.empty()) {
        // Plain text stays flagged as plain text: no rich-text reader takes it for RTF.
        htmlBody = plainBody;
        bodyIsRtf = false;
        bodyIsHtml = false;
    }
}

void MessagePST::Display(IView& view, bool plainText, bool withHeader)
{
    QUILLORA_TRACE(u"MessagePST::Display");
    TMessageAttr::Display(view, plainText, false);
    // Reopened on every display, and kept among the recent full loads.
    ReleaseFullLoad();
    if (!EnsureFullyLoaded()) LogPrintf(u"FAILED: the message could not be reopened");
    if (sent) view.SetDateFiled(*this, date, dateCaption, zoneHours);
    (void)withHeader;  // callers pass false; a quote header in front of RTF is not offered
    if (plainText) {
        view.ViewRTFString(*this, plainBody);
    } else if (bodyIsHtml) {
        ShowHtmlBodyPage(view, htmlBody);
    } else {
        view.ViewRTFString(*this, htmlBody);
    }
    view.SetAttachmentsList(*this, attachments);
    view.SetHeader(*this, headerText);
}

bool MessagePST::LoadFromFile(const WideString&, bool) { return OpenMessage(); }

void MessagePST::LoadPlainTextBody()
{
    if (htmlBody.empty()) OpenPlainMessage();
}

void MessagePST::Clear() { TMessageAttr::Clear(); }
