// Loading an Outlook message file into the record: kind, header, addresses, date, body
// choice; display, export to HTML and clearing.
#include "message/MessageMSG.h"

#include <filesystem>

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "app/RegExpUtils.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/ExtractRTF.h"
#include "message/MSGHtmlBody.h"
#include "message/MessageFileDialogs.h"
#include "platform/mapi/MapiTags.h"
#include "platform/vcl/richedit/RichEditOfWindow.h"
#include "platform/win/WinString.h"

namespace {

constexpr int kMsgFlagUnsent = 0x8;

void RegisterKind() { RegisterMessageKind(mftMSG, []() -> std::unique_ptr<TMessageAttr> { return std::make_unique<MessageMSG>(); }); }
const bool registered = (RegisterKind(), true);

// Header fields shown on one line: line breaks and tabs go.
WideString Cleaned(const WideString& text)
{
    WideString out;
    out.reserve(text.size());
    for (char16_t c : text)
        if (c != u'\r' && c != u'\n' && c != u'\t') out += c;
    return out;
}

// The fixed-length property node of the root (the root item with tag 0).
const TMSGProperty* FixedNode(const TMSGProperties& root)
{
    for (const auto& item : root)
        if (item->TagID == 0) return item.get();
    return nullptr;
}

// name + " <" + address + ">" when the address is a valid one of its own.
WideString WithAddress(const WideString& name, const WideString& address)
{
    if (!address.empty() && address != name && IsValidEmailAddress(address, true))
        return name + u" <" + address + u">";
    return name;
}

bool IsFolder(const WideString& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(std::filesystem::path(Utf16ToUtf8(path)), error);
}

// The compressed RTF of the root when it is usable: in sync (or no flag saying otherwise) and
// really RTF (a stream that did not decompress is no body to show). Without its zero.
const std::string* UsableRtf(const TMSGProperties& root, std::string_view& text)
{
    const TMSGProperty* fixed = FixedNode(root);
    if (fixed)
        if (const TMSGProperty* sync = fixed->SubProperties().GetPropertyByTag(PR_RTF_IN_SYNC, true, true)) {
            WideString value = sync->GetAsString();
            for (char16_t& c : value)
                if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
            if (value != u"TRUE") return nullptr;
        }
    const TMSGProperty* rtf = root.GetPropertyByTag(PR_RTF_COMPRESSED, true, false);
    const std::string* bytes = rtf ? rtf->RawBytes() : nullptr;
    if (!bytes) return nullptr;
    text = *bytes;
    while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    if (text.substr(0, 5) != "{\\rtf") return nullptr;
    return bytes;
}

}  // namespace

MessageMSG::MessageMSG() { fileType = mftMSG; }

MessageMSG::~MessageMSG() = default;

void MessageMSG::Clear()
{
    TMessageAttr::Clear();
    msgFile_.reset();
    inlineWritten_.clear();
    shownRtf_.clear();
    pictureFiles.clear();
}

bool MessageMSG::LoadFromFile(const WideString& path, bool headersOnly)
{
    QUILLORA_TRACE(u"MessageMSG::LoadFromFile");
    LogPrintf(u"fileName: %s", path.c_str());
    Clear();
    fileName = path;
    auto file = std::make_unique<TMSGFile>();
    if (headersOnly) file->SetScope(TMSGFile::Scope::ListColumns);
    compoundFile_ = true;
    if (!file->LoadFromFile(path)) {
        // A file that is no compound file is an empty message, not a failure.
        compoundFile_ = file->LastError() != S_FALSE;
        if (compoundFile_) {
            LogPrintf(u"exception: %s", Utf8ToUtf16(file->LastErrorText()).c_str());
            return false;
        }
    }
    if (headersOnly) {
        FillListColumns(*file);
        loadLevel = mllHeaders;
    } else {
        FillFromTMSGFile(*file);
        msgFile_ = std::move(file);
        loadLevel = mllFull;
    }
    LogPrintf(u"end");
    return true;
}

void MessageMSG::LoadPlainTextBody() { EnsureCompoundFile(); }

bool MessageMSG::EnsureCompoundFile()
{
    // A record filled from a file kept elsewhere keeps its fields when there is no file here.
    if (msgFile_ && loadLevel >= mllFull) return TMessageAttr::EnsureFullyLoaded();
    if (fileName.empty()) return false;
    // Loaded fully, yet without the compound file (released or filled elsewhere): load again.
    if (loadLevel >= mllFull) loadLevel = mllHeaders;
    return TMessageAttr::EnsureFullyLoaded() && msgFile_;
}

void MessageMSG::ReleaseFullLoad()
{
    TMessageAttr::ReleaseFullLoad();
    msgFile_.reset();
    AnsiString().swap(shownRtf_);
    inlineWritten_.clear();
    std::vector<WideString>().swap(pictureFiles);
}

void MessageMSG::FillListColumns(const TMSGFile& file)
{
    QUILLORA_TRACE(u"MessageMSG::FillListColumns");
    TMessageAttr::Clear();
    msgType = GetMSGType(file);
    imageIndex = GetImageIndexFromMSGType(msgType);
    GetProperties(file);
    if (msgType == mtTask || msgType == mtAppointment || msgType == mtContact) {
        dateCaption = GetUiString(1131);
        sent = true;
    }
    // Without the body, an attachment counts as listed when it is an OLE object (always
    // listed), or has a name and is either rendered or named by no content id (a body would
    // show it inline). A full load decides exactly.
    const TMSGProperties& root = file.GetProperties();
    for (int i = 0, n = root.GetAttachmentCount(); i < n && !hasAttachments; ++i) {
        const TMSGProperty* node = root.GetAttachment(i);
        if (!node) continue;
        const TMSGProperties& a = node->SubProperties();
        const TMSGProperty* method = a.GetPropertyByTag(PR_ATTACH_METHOD, true, true);
        if (method && std::atol(method->GetAsAnsiString().c_str()) == 6) {
            hasAttachments = true;
            break;
        }
        const auto text = [&a](std::uint32_t tag) { return a.GetPropertyAsString(tag, true, false); };
        if (text(PR_ATTACH_LONG_FILENAME_A).empty() && text(PR_ATTACH_FILENAME_A).empty() &&
            text(PR_DISPLAY_NAME_A).empty())
            continue;
        const TMSGProperty* rendering = a.GetPropertyByTag(PR_ATTACH_RENDERING, false, false);
        const bool rendered = rendering && rendering->RawBytes() && !rendering->RawBytes()->empty();
        hasAttachments = rendered || (text(PR_ATTACH_CONTENT_ID_A).empty() && text(PR_ATTACH_CONTENT_LOCATION_A).empty());
    }
}

void MessageMSG::FillFromTMSGFile(const TMSGFile& file, const WideString& /*dateFormat*/)
{
    QUILLORA_TRACE(u"MessageMSG::FillFromTMSGFile");
    TMessageAttr::Clear();
    msgType = GetMSGType(file);
    imageIndex = GetImageIndexFromMSGType(msgType);
    GetHeaderMSG(file);
    GetProperties(file);
    GetBodyMSG(file);
    ProcesssAttachmentsMSG(file);
    ProcessBodyMSG(file);
}

MSGType MessageMSG::GetMSGType(const TMSGFile& file)
{
    const AnsiString cls = Utf16ToUtf8(file.GetProperties().GetPropertyAsString(PR_MESSAGE_CLASS_A, true, true));
    if (cls.find("Task") != AnsiString::npos) return mtTask;
    if (cls.find("Appointment") != AnsiString::npos) return mtAppointment;
    if (cls.find("Contact") != AnsiString::npos) return mtContact;
    if (cls.find("Note") != AnsiString::npos) return mtNote;
    return mtOther;
}

int MessageMSG::GetImageIndexFromMSGType(MSGType type)
{
    switch (type) {
        case mtTask: return 4;
        case mtAppointment: return 2;
        case mtContact: return 3;
        case mtNote: return 5;
        default: return 6;
    }
}

void MessageMSG::GetHeaderMSG(const TMSGFile& file)
{
    headerText = file.GetProperties().GetPropertyAsString(PR_TRANSPORT_MESSAGE_HEADERS_A, true, false);
    zoneHours = GetTimeZone(headerText);
}

void MessageMSG::GetProperties(const TMSGFile& file)
{
    QUILLORA_TRACE(u"MessageMSG::GetProperties");
    const TMSGProperties& root = file.GetProperties();
    const TMSGProperty* fixed = FixedNode(root);

    from = root.GetPropertyAsString(PR_SENDER_NAME_A, true, false);
    LogPrintf(u"MessageAttr.From = %s", from.c_str());

    const TMSGProperty* flags = root.GetPropertyByTag(PR_MESSAGE_FLAGS, true, false);
    if (fixed)
        if (const TMSGProperty* f = fixed->SubProperties().GetPropertyByTag(PR_MESSAGE_FLAGS, true, true)) flags = f;
    if (flags) {
        const WideString text = flags->GetAsString();
        const long value = std::atol(Utf16ToUtf8(text).c_str());
        LogPrintf(u"msgFlags == %d", static_cast<int>(value));
        if (value & kMsgFlagUnsent) sent = false;
    }

    const WideString senderAddress = root.GetPropertyAsString(PR_SENDER_EMAIL_ADDRESS_A, true, false);
    LogPrintf(u"PR_SENDER_EMAIL_ADDRESS = %s", senderAddress.c_str());
    from = Cleaned(WithAddress(from, senderAddress));

    to = root.GetPropertyAsString(PR_DISPLAY_TO_A, true, false);
    const WideString receivedBy = root.GetPropertyAsString(PR_RECEIVED_BY_EMAIL_ADDRESS_A, true, false);
    to = Cleaned(WithAddress(to, receivedBy));
    if (to.empty()) {
        for (const auto& item : root) {
            if (item->TagID != kTagRecipient) continue;
            const TMSGProperties& r = item->SubProperties();
            to += r.GetPropertyAsString(PR_DISPLAY_NAME_A, true, true) + u" <" +
                  r.GetPropertyAsString(PR_EMAIL_ADDRESS_A, true, true) + u"> ";
            LogPrintf(u"MessageAttr.To = %s", to.c_str());
        }
    }
    subject = Cleaned(file.GetSubject());
    cc = Cleaned(root.GetPropertyAsString(PR_DISPLAY_CC_A, true, false));
    bcc = Cleaned(root.GetPropertyAsString(PR_DISPLAY_BCC_A, true, false));

    DateTime when = root.GetMessageDate();
    if (when.days == 0 && fixed)
        if (const TMSGProperty* p = fixed->SubProperties().GetPropertyByTag(PR_CLIENT_SUBMIT_TIME, false, true))
            if (const DateTime* d = std::get_if<DateTime>(&p->Value)) when = *d;
    date = when.days;
    dateText = MessageDateText(date);
    dateCaption = GetUiString(1130);
    LogPrintf(u"Date = %s", dateText.c_str());
}

void MessageMSG::GetBodyMSG(const TMSGFile& file)
{
    QUILLORA_TRACE(u"MessageMSG::GetBodyMSG");
    const TMSGProperties& root = file.GetProperties();
    bool encapsulated = false;
    const WideString extracted = ExtractRTF(file, encapsulated);
    std::string_view rtf;
    bool chosen = false;
    if (!extracted.empty() && encapsulated) {
        htmlBody = extracted;
        bodyIsHtml = true;
        bodyIsRtf = false;
        chosen = true;
    } else if (!extracted.empty() && UsableRtf(root, rtf)) {
        // The RTF stays bytes: it names its own code pages.
        rtfBody = AnsiString(rtf);
        bodyIsRtf = true;
        bodyIsHtml = false;
        chosen = true;
    }
    if (!chosen) {
        htmlBody = MSGHtmlBodyText(root);
        if (!htmlBody.empty()) {
            bodyIsHtml = true;
            bodyIsRtf = false;
        }
    }
    plainBody = file.GetBody();
    loadedHtmlBody = htmlBody;
}

void MessageMSG::ProcessBodyMSG(const TMSGFile& file)
{
    if (msgType == mtTask || msgType == mtAppointment || msgType == mtContact) {
        if (msgType == mtTask) FillMsgTask(file);
        if (msgType == mtAppointment) FillMsgAppointment(file);
        if (msgType == mtContact) FillMsgContact(file);
        dateCaption = GetUiString(1131);
        sent = true;
    }
    if (bodyIsHtml && !htmlBody.empty()) {
        FormatHtmlBodyLinks();
        htmlBody = PrependScriptErrorHandler(htmlBody);
    }
}

void MessageMSG::Display(IView& view, bool plainText, bool withHeader)
{
    QUILLORA_TRACE(u"MessageMSG::Display");
    if (!fileName.empty() && !EnsureCompoundFile()) LogPrintf(u"load failed: %s", fileName.c_str());
    TMessageAttr::Display(view, plainText, withHeader);
    if (sent) view.SetDateFiled(*this, date, dateCaption, zoneHours);
    if (msgFile_) view.SetMessageProperties(*this, *msgFile_);
    if ((bodyIsHtml || bodyIsRtf) && !plainText) WriteInlineParts();

    if (plainText) {
        view.ViewRTFString(*this, plainBody);
    } else if (bodyIsHtml) {
        if (!ShowHtmlBodyPage(view, htmlBody)) return;
    } else if (bodyIsRtf) {
        if (shownRtf_.empty()) {
            shownRtf_ = rtfBody;
            pictureFiles.clear();
            ExtractRtfObjects(shownRtf_);
        }
        // Each byte one unit: the RTF reader takes units below 256 as the bytes they were.
        WideString text;
        text.reserve(shownRtf_.size());
        for (unsigned char c : shownRtf_) text.push_back(static_cast<char16_t>(c));
        HWND richEdit = nullptr;
        view.ViewRTFString(*this, text, &richEdit);
        // A view without a control (the off-screen renderer) places them into its own document.
        if (richEdit && !ChangeRichEditDocument(richEdit, [this](richtext::RichTextDocument& d) { PlaceRtfObjects(d); }))
            LogPrintf(u"the body control is no rich edit: nothing placed");
    } else {
        view.ViewRTFString(*this, plainBody);
    }
}

void MessageMSG::PlaceRtfObjects(richtext::RichTextDocument& document) { ReplaceRichEditPlaceholders(document); }

void MessageMSG::WriteInlineParts()
{
    if (!msgFile_) return;
    for (const AttachmentItem& part : inlineParts) {
        if (part.name.empty() || inlineWritten_.count(part.number)) continue;
        if (SaveAttachmentAsBin(*msgFile_, part.name, part.number)) inlineWritten_.insert(part.number);
        else LogPrintf(u"not written: %s", part.name.c_str());
    }
}

WideString MessageMSG::ExportToHtml(const WideString& destination)
{
    QUILLORA_TRACE(u"MessageMSG::ExportToHtml");
    if (!fileName.empty() && !EnsureFullyLoaded()) return {};
    WideString path = IsFolder(destination) ? WideIncludeTrailingBackslash(destination) + GetExportFileName() : destination;
    path = CAppUtils::MakeUniqueFileName(WideChangeFileExt(path, u".html"));
    if (path.empty()) return {};
    return SaveBodyAsHtml(path) ? path : WideString();
}

WideString MessageMSG::GetExportFilterString() { return MessageExportFilterString(*this); }
WideString MessageMSG::GetSaveFilterString() { return MsgSaveFilterString(); }
WideString MessageMSG::GetDefaultExtension() { return MsgDefaultExtension(); }
WideString MessageMSG::GetExportDefaultExtension() { return MessageExportDefaultExtension(); }
