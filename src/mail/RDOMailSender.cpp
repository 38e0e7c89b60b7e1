#include "mail/RDOMailSender.h"

#include "app/RegExpUtils.h"
#include "app/RtfHtml.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "mail/QuoteHeader.h"
#include "message/CompressedRTF.h"
#include "platform/mapi/MapiTags.h"
#include "regex/RegexpT.h"
#include "platform/win/WinString.h"

namespace {

// Removes the drafts item made for the import whatever way SetMessage ends.
class ImportedItem {
public:
    ~ImportedItem() {
        if (item) item->Delete();
    }
    std::shared_ptr<IRDOMail> item;
};

}  // namespace

RDOMailSender::RDOMailSender(const WideString& tempFolder, HWND parent, RDOSessionFactory factory)
    : tempFolder_(WideIncludeTrailingBackslash(tempFolder)), parent_(parent), factory_(std::move(factory)) {}

RDOMailSender::~RDOMailSender() {
    if (rdoMail) rdoMail->Close();
    if (rdoSession && rdoSession->LoggedOn()) rdoSession->Logoff();
}

HRESULT RDOMailSender::Import(IRDOMail& item) {
    switch (message->fileType) {
    case mftEML: {
        const HRESULT hr = item.Import(message->fileName, olRFC822);
        if (FAILED(hr) || message->htmlBody.empty()) return hr;
        item.SetBody(u"");
        item.SetHTMLBody(message->htmlBody);
        item.SetRTFBody(Utf16ToUtf8(encodertfhtml(message->htmlBody)));
        item.SetBodyFormat(olFormatRichText);
        return hr;
    }
    case mftMSG:
        return item.Import(message->fileName, olMSG);
    case mftPST: {
        const WideString path = message->Export(tempFolder_ + message->GetExportFileName());
        if (path.empty()) return E_FAIL;
        const HRESULT hr = item.Import(path, olMSG);
        // The ".msg" was written for the import only.
        if (!path.empty()) WideDeleteFile(path);
        return hr;
    }
    default:
        return S_OK;
    }
}

int RDOMailSender::SetMessage(TMessageAttr* msg, bool forward) {
    QUILLORA_TRACE(u"RDOMailSender::SetMessage");
    MailSender::SetMessage(msg, forward);
    if (!message) return E_POINTER;
    HRESULT hr = factory_(rdoSession);
    if (FAILED(hr) || !rdoSession) return FAILED(hr) ? hr : E_POINTER;
    hr = rdoSession->Logon(u"", u"", 0, 1, 0, 0);
    if (FAILED(hr)) return hr;
    std::shared_ptr<IRDOFolder> drafts;
    hr = rdoSession->GetDefaultFolder(olFolderDrafts, drafts);
    if (FAILED(hr) || !drafts) return FAILED(hr) ? hr : E_POINTER;
    const std::shared_ptr<IRDOItems> items = drafts->GetItems();
    if (!items) return E_POINTER;
    ImportedItem imported;
    hr = items->Add(olMailItem, imported.item);
    if (FAILED(hr) || !imported.item) return FAILED(hr) ? hr : E_POINTER;
    hr = Import(*imported.item);
    if (FAILED(hr)) return hr;
    LogPrintf(u"attachments: %d, subject: %s", imported.item->GetAttachmentCount(), imported.item->GetSubject().c_str());
    hr = imported.item->Forward(rdoMail);
    if (FAILED(hr) || !rdoMail) return FAILED(hr) ? hr : E_POINTER;
    rdoMail->SetBody(imported.item->GetBody());
    rdoMail->SetRTFBody(imported.item->GetRTFBody());
    if (!forward) {
        std::shared_ptr<IRDOMail> reply;
        if (SUCCEEDED(imported.item->Reply(reply)) && reply) rdoMail->SetRecipients(reply->GetRecipients());
    }
    return 0;
}

void RDOMailSender::SetPlainBodies() {
    const WideString html =
        RegExpReplace(u"<html><body>" + HtmlEscape(message->plainBody) + u"</body></html>", u"\n", u"<br>", DotMatchesNewline);
    // The RTF carries the same HTML, so text that looks like markup stays text there too.
    rdoMail->SetRTFBody(Utf16ToUtf8(encodertfhtml(html)));
    rdoMail->SetHTMLBody(html);
}

void RDOMailSender::PrepareBody() {
    if (message->msgType == mtTask || message->msgType == mtAppointment || message->msgType == mtContact)
        SetPlainBodies();
    else
        FormatRTFBody(true);
}

int RDOMailSender::Reply() {
    QUILLORA_TRACE(u"RDOMailSender::Reply");
    mode = 0;
    PrepareBody();
    return SendMessage(true);
}

int RDOMailSender::Forward() {
    QUILLORA_TRACE(u"RDOMailSender::Forward");
    mode = 1;
    PrepareBody();
    if (const std::shared_ptr<IRDORecipients> recipients = rdoMail->GetRecipients()) recipients->Clear();
    return SendMessage(true);
}

int RDOMailSender::SendMessage(bool /*withDialog*/) {
    rdoMail->Display(true, parent_);
    return 0;
}

WideString RDOMailSender::BuildRdoRtfHeader(const TMessageAttr& m, bool withHeader) {
    WideString out = u"\n\n\\par \\par";
    if (!withHeader) return out;
    out += u"\n" + WideString(35, u'_') + u"\n \\par \\b From: \\b0 ";
    WideString name, address;
    if (!m.from.empty()) SplitNameAndAddress(m.from, name, address);
    if (!name.empty() && !address.empty()) out += RtfEscape(name) + u" [" + RtfEscape(address) + u"]";
    else if (!m.from.empty()) out += RtfEscape(m.from) + u" [" + RtfEscape(m.from) + u"]";
    if (m.sent) out += u"\\par\\b " + RtfEscape(m.dateCaption) + u"\\b0 " + MessageDateText(m.date);
    out += u"\\par\\b To: \\b0 " + RtfEscape(m.to);
    out += u"\\par\\b Subject: \\b0 " + RtfEscape(m.subject);
    return out + u"\\par \\par\n\n";
}

AnsiString RDOMailSender::InsertAfterColorTable(const AnsiString& rtf, const WideString& header) {
    const CRegexpT<char> re("\\{\\\\colortbl.*?\\}", DotMatchesNewline);
    const MatchResult m = re.Match(rtf.c_str(), static_cast<int>(rtf.size()), -1);
    if (!m.Found() || m.MatchEnd() <= 0 || m.MatchEnd() >= static_cast<int>(rtf.size()) - 1) return rtf;
    AnsiString out = rtf;
    out.insert(static_cast<size_t>(m.MatchEnd()), Utf16ToUtf8(EncodeRtfUnicode(header)));
    return out;
}

void RDOMailSender::FormatRTFBody(bool withHeader) {
    QUILLORA_TRACE(u"RDOMailSender::FormatRTFBody");
    const std::shared_ptr<IRDOMapiObject> mapi = rdoMail->GetMAPIOBJECT();
    if (!mapi) return;
    std::vector<BYTE> stored;
    if (FAILED(mapi->GetBinaryProp(PR_RTF_COMPRESSED, stored))) return;
    const CompressedRTFResult decoded = DecodeCompressedRTFEx(stored);
    if (decoded.status != CompressedRTFStatus::Decoded) {
        LogPrintf(u"FAILED: RTF body not read: %hs", decoded.reason);
        return;
    }
    rdoMail->SetRTFBody("");
    const AnsiString rtf(decoded.text.begin(), decoded.text.end());
    WriteRTFBody(InsertAfterColorTable(rtf, BuildRdoRtfHeader(*message, withHeader)));
}

HRESULT RDOMailSender::WriteRTFBody(const AnsiString& rtf) {
    const std::shared_ptr<IRDOMapiObject> mapi = rdoMail->GetMAPIOBJECT();
    if (!mapi) return E_POINTER;
    ULONG support = 0;
    HRESULT hr = mapi->GetLongProp(PR_STORE_SUPPORT_MASK, support);
    if (FAILED(hr)) return hr;
    // Compressed whether or not the store would take it plain: every store reads that form.
    const std::vector<BYTE> compressed =
        EncodeCompressedRTF(std::span(reinterpret_cast<const std::uint8_t*>(rtf.data()), rtf.size()));
    hr = mapi->SetBinaryProp(PR_RTF_COMPRESSED, compressed);
    if (FAILED(hr)) return hr;
    return mapi->RTFSync(RTF_SYNC_RTF_CHANGED);
}
