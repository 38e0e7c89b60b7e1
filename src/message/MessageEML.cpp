// Loading an internet message file into the record: headers, date, addresses, bodies,
// attachments, inline parts and attached messages.
#include "message/MessageEML.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string_view>

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/CharsetConv.h"
#include "app/MiscUtils.h"
#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/DateLine.h"
#include "message/HeaderDecode.h"
#include "message/ViewEmpty.h"
#include "platform/mime/MimeTypes.h"
#include "regex/RegexpT.h"
#include "platform/win/WinString.h"

namespace {

WideString WithoutBackslashes(WideString text)
{
    std::erase(text, u'\\');
    return text;
}

// What "(From:|To:|Subject:).*=\\?.+?\\?" matches first in the header text (empty when
// nothing), in one pass: a line's first From:, To: or Subject: matches when an "=?" after it
// has, further on the line, a character and a "?"; the greedy run takes the last such "=?".
WideString AddressLineWithEncodedWord(const WideString& text)
{
    const std::u16string_view all(text);
    for (size_t start = 0; start < all.size();) {
        const size_t end = std::min(all.find(u'\n', start), all.size());
        const std::u16string_view line = all.substr(start, end - start);
        start = end + 1;
        size_t key = std::u16string_view::npos, from = 0;
        for (const std::u16string_view name : {u"From:", u"To:", u"Subject:"}) {
            const size_t at = line.find(name);
            if (at < key) {
                key = at;
                from = at + name.size();
            }
        }
        const size_t lastMark = line.rfind(u'?');
        if (key == std::u16string_view::npos || lastMark == std::u16string_view::npos || lastMark < from + 3) continue;
        const size_t word = line.rfind(u"=?", lastMark - 3);
        if (word == std::u16string_view::npos || word < from) continue;
        return WideString(line.substr(key, line.find(u'?', word + 3) + 1 - key));
    }
    return {};
}

// The leading decimal digits, as the runtime's atol reads them (0 when none).
long LeadingNumber(const AnsiString& text) { return std::atol(text.c_str()); }

bool IsUpperEqual(const AnsiString& text, std::string_view upper)
{
    if (text.size() != upper.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i] >= 'a' && text[i] <= 'z' ? static_cast<char>(text[i] - 32) : text[i];
        if (c != upper[i]) return false;
    }
    return true;
}

}  // namespace

MessageEML::MessageEML()
{
    fileType = mftEML;
    imageIndex = 6;
    dateCaption = GetUiString(1131);
}

MessageEML::~MessageEML() = default;

void MessageEML::Clear()
{
    TMessageAttr::Clear();
    idMessage.reset();
    parsedWholeFile_ = false;
    inlineFiles_.clear();
}

void MessageEML::ReleaseFullLoad()
{
    TMessageAttr::ReleaseFullLoad();
    idMessage.reset();
    parsedWholeFile_ = false;
    inlineFiles_.clear();
}

bool MessageEML::LoadFromFile(const WideString& path, bool headersOnly)
{
    QUILLORA_TRACE(u"MessageEML::LoadFromFile");
    Clear();
    fileName = path;
    // One open for both loads; a headers-only load reads no further than the header block.
    const std::unique_ptr<THandleStream> stream = OpenStream(path, false);
    if (!stream) {
        LogPrintf(u"cannot open: %s", path.c_str());
        return false;
    }
    // Sized from the open file, not looked up again by name. An empty file holds no message,
    // and neither does a device or a pipe, which has no size: reading one might never end.
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(stream->Handle(), &size) || size.QuadPart == 0) return false;
    if (!LoadFromStream(*stream, headersOnly)) return false;
    parsedWholeFile_ = !headersOnly;
    return true;
}

bool MessageEML::LoadFromStream(TStream& stream, bool headersOnly)
{
    try {
        if (!idMessage) idMessage = std::make_unique<TIdMessage>();
        idMessage->LoadFromStream(stream, headersOnly);
        FillFromTIdMessage(*idMessage);
        // A listed record keeps the fields it filled, not the parse or the header text behind them.
        if (headersOnly) {
            idMessage.reset();
            WideString().swap(headerText);
        }
    } catch (const std::exception& e) {
        LogPrintf(u"exception: %s", Utf8ToUtf16(e.what()).c_str());
        const WideString keep = fileName;
        Clear();
        fileName = keep;
        return false;
    }
    loadLevel = headersOnly ? mllHeaders : mllFull;
    return true;
}

void MessageEML::FillFromTIdMessage(TIdMessage& message)
{
    QUILLORA_TRACE(u"MessageEML::FillFromTIdMessage");
    TMessageAttr::Clear();
    inlineFiles_.clear();
    imageIndex = 6;
    hasAttachments = false;
    bodyIsHtml = false;

    TIdHeaderList& headers = message.Headers();
    const AnsiString rawText = headers.Text();
    const bool validUtf8 = IsValidUtf8(rawText);
    headerText = validUtf8 ? Utf8ToUtf16(rawText) : ConvertCharsetBytes(rawText, "");

    // The charset of the headers: the message's own, else the first text part's, else the one
    // named by the first encoded word on a From, To or Subject line.
    charset = message.CharSet();
    if (charset.empty() && message.MessageParts().Count() > 0) {
        const TIdMessageParts& parts = message.MessageParts();
        for (int i = 0; i < parts.Count() && charset.empty(); ++i)
            if (parts.Items(i).Kind() == TIdMessagePartKind::Text) charset = parts.Items(i).CharSet();
    } else if (charset.empty()) {
        charset = Utf16ToUtf8(GetEncodedWordCharset(AddressLineWithEncodedWord(headerText)));
    }

    // Raw 8-bit header text that is valid UTF-8 is UTF-8 (the charset may be borrowed from a
    // body part, and the list row, which sees no parts, must read the same text).
    const bool utf8Headers = validUtf8 && std::any_of(rawText.begin(), rawText.end(), [](char c) { return c < 0; });
    const AnsiString headerCharset = utf8Headers ? AnsiString("utf-8") : charset;

    subject = GetDecodedHeader(headers, "Subject", "", headerCharset);
    FillDate();

    if (message.Recipients().Count() > 0) {
        to = GetDecodedHeader(headers, "To", "", headerCharset);
        while (!to.empty() && (to.back() == u'\n' || to.back() == u'\r')) to.pop_back();
        to = WithoutBackslashes(to);
    }
    from = WithoutBackslashes(GetDecodedHeader(headers, "From", "", headerCharset));
    if (message.CCList().Count() > 0) cc = WithoutBackslashes(GetDecodedHeader(headers, "CC", "", headerCharset));
    if (message.BccList().Count() > 0) bcc = WithoutBackslashes(GetDecodedHeader(headers, "BCC", "", headerCharset));

    if (message.MessageParts().Count() == 0) {
        processSinglePartEML(message);
    } else {
        processMultiPartEML(message);
    }
    if (IsUpperEqual(message.ContentType(), "MULTIPART/MIXED")) hasAttachments = true;
}

// The date of the Date line made UTC with the exact zone offset; 0 when it cannot be read.
void MessageEML::FillDate()
{
    // One pass finds the value for both readers when the line is written "Date:", as it nearly
    // always is; the zone reader takes any case.
    bool writtenExactly = false;
    const WideString anyCase = DateHeaderValue(headerText, true, &writtenExactly);
    const AnsiString header = Utf16ToUtf8(writtenExactly ? anyCase : DateHeaderValue(headerText, false));
    // Compiled once: every row of a folder scan reads its date.
    static const auto re = [] {
        auto compiled = std::make_unique<CRegexpT<char>>(kDateFieldsPattern, static_cast<int>(std::size(kDateFieldsPattern) - 1), 0);
        compiled->SetStepBudget(kDatePatternStepBudget);
        return compiled;
    }();
    std::vector<AnsiString> groups;
    if (!DateGroupsWithoutBacktracking(header, groups)) {
        groups.clear();
        const MatchResult m = re->Match(header.c_str(), static_cast<int>(header.size()), -1);
        for (int g = 1; m.Found() && g <= 7; ++g)
            groups.push_back(m.GroupBegin(g) < 0 ? AnsiString()
                                                 : header.substr(static_cast<size_t>(m.GroupBegin(g)),
                                                                 static_cast<size_t>(m.GroupEnd(g) - m.GroupBegin(g))));
    }
    date = 0;
    if (groups.size() == 7) {
        long year = LeadingNumber(groups[3]);
        const long day = LeadingNumber(groups[1]);
        const int month = ExtractMonthNumber(groups[2]);
        const long hours = LeadingNumber(groups[4]);
        const long minutes = LeadingNumber(groups[5]);
        const long seconds = LeadingNumber(groups[6]);
        // Two- and three-digit years as RFC 5322 reads them.
        if (groups[3].size() <= 2) year += year < 50 ? 2000 : 1900;
        else if (groups[3].size() == 3) year += 1900;
        TDateTime d = 0, t = 0;
        const auto fits = [](long v, long hi) { return v >= 0 && v <= hi; };
        if (month >= 1 && fits(year, 9999) && fits(day, 31) && fits(hours, 23) && fits(minutes, 59) &&
            fits(seconds, 59) &&
            TryEncodeDate(static_cast<WORD>(year), static_cast<WORD>(month), static_cast<WORD>(day), d) &&
            TryEncodeTime(static_cast<WORD>(hours), static_cast<WORD>(minutes), static_cast<WORD>(seconds), 0, t))
            date = d + t;
    }
    const DateZone zone = DateZoneOfValue(anyCase);
    zoneHours = zone.hours;
    if (date != 0) date = SubtractMinutes(date, zone.minutes);
    dateText = MessageDateText(date);
}

void MessageEML::processSinglePartEML(TIdMessage& message)
{
    WideString text = DecodeHeaderText(message.Body(), charset);
    if (IsUpperEqual(message.ContentType(), "TEXT/HTML")) {
        bodyIsHtml = true;
        htmlBody = PrependScriptErrorHandler(text);
        loadedHtmlBody = htmlBody;
        plainBody.clear();
    } else {
        htmlBody = text;
        plainBody = std::move(text);
    }
    hasAttachments = false;
}

void MessageEML::processMultiPartEML(TIdMessage& message)
{
    TIdMessageParts& parts = message.MessageParts();
    plainFromPlainPart_ = false;
    for (int i = 0; i < parts.Count(); ++i) {
        TIdMessagePart& part = parts.Items(i);
        if (part.Kind() == TIdMessagePartKind::Text) {
            const auto& text = static_cast<const TIdText&>(part);
            if (!text.Body().empty()) processTextPartEML(text);
        } else if (IsUpperEqual(part.ContentType(), "MESSAGE/RFC822")) {
            processMimeAttachmentEML(static_cast<const TIdAttachment&>(part), i);
        } else {
            processNonMimeAttachmentEML(static_cast<TIdAttachment&>(part), i);
        }
    }
}

void MessageEML::processTextPartEML(const TIdText& part)
{
    WideString text = DecodeHeaderText(part.Body(), part.CharSet());
    if (IsUpperEqual(part.ContentType(), "TEXT/HTML")) {
        bodyIsHtml = true;
        htmlBody = PrependScriptErrorHandler(text);
        loadedHtmlBody = htmlBody;
    } else if (IsUpperEqual(part.ContentType(), "TEXT/PLAIN")) {
        // The first plain part is the body; a later one is a note of a list server or such.
        if (plainFromPlainPart_) return;
        plainFromPlainPart_ = true;
        plainBody = std::move(text);
        if (!bodyIsHtml) htmlBody = plainBody;
    } else if (!plainFromPlainPart_ && plainBody.empty()) {
        // Another text part (a calendar, a vCard) stands in only while there is no plain one.
        plainBody = std::move(text);
        if (htmlBody.empty()) htmlBody = plainBody;
    }
}

void MessageEML::processMimeAttachmentEML(const TIdAttachment& part, int index)
{
    TIdHeaderList headers;
    try {
        headers = part.MessageHeaders();
    } catch (const std::exception& e) {
        LogPrintf(u"attached message: %s", Utf8ToUtf16(e.what()).c_str());
        return;
    }
    WideString name = GetDecodedHeader(headers, "Subject", "", charset);
    if (name.empty()) name = GetDecodedHeader(headers, "From", "", charset);
    if (name.empty()) return;
    hasAttachments = true;
    attachments.push_back({index, 5, CAppUtils::MakeValidFileName(name, false), {}});
}

void MessageEML::processNonMimeAttachmentEML(TIdAttachment& part, int index)
{
    AnsiString id = part.ContentID();
    if (!id.empty() && id.back() == '>') id.pop_back();
    if (!id.empty() && id.front() == '<') id.erase(0, 1);
    const WideString cid = ConvertCharsetBytes(id, "");
    TIdHeaderList& headers = part.Headers();

    WideString name = GetDecodedHeader(headers, "Content-Disposition", "filename", charset);
    if (name.empty()) name = GetDecodedHeader(headers, "Content-Type", "name", charset);
    if (name.empty()) {
        // The desktop opens a file by its extension: the part's type gives one.
        const std::string extension = ExtensionOfContentType(part.ContentType());
        name = u"Unnamed attachment" + (extension.empty() ? WideString() : u"." + Utf8ToUtf16(extension));
    }
    // A name from the message never leaves the folder it is saved into.
    name = CAppUtils::MakeValidFileName(name, false);

    if (IsRealAttachment(htmlBody, cid)) {
        hasAttachments = true;
        attachments.push_back({index, 0, name, {}});
    } else {
        inlineParts.push_back({index, 0, name, cid});
    }
}

bool MessageEML::SavePart(int number, const WideString& path)
{
    TIdMessage fresh;
    const TIdMessage* source = idMessage.get();
    try {
        if (!parsedWholeFile_) {
            const std::unique_ptr<THandleStream> in = OpenStream(fileName, false);
            if (!in) return false;
            fresh.LoadFromStream(*in, false);
            source = &fresh;
        }
        if (number < 0 || number >= source->MessageParts().Count()) return false;
        const TIdMessagePart& part = source->MessageParts().Items(number);
        if (part.Kind() != TIdMessagePartKind::Attachment) return false;
        {
            const std::unique_ptr<THandleStream> out = OpenStream(path, true);
            if (!out) return false;
            try {
                static_cast<const TIdAttachment&>(part).SaveToStream(*out);
                return true;
            } catch (const std::exception&) {
                // falls through to remove the partial file once the handle is closed
            }
        }
        WideDeleteFile(path);
        return false;
    } catch (const std::exception& e) {
        LogPrintf(u"exception: %s", Utf8ToUtf16(e.what()).c_str());
        return false;
    }
}

bool MessageEML::SaveAttachment(int index, const WideString& path, bool /*flag*/)
{
    QUILLORA_TRACE(u"MessageEML::SaveAttachment");
    if (index < 0 || index >= static_cast<int>(attachments.size())) return false;
    const bool ok = SavePart(attachments[static_cast<size_t>(index)].number, CAppUtils::MakeValidFileName(path, true));
    if (!ok) LogPrintf(u"exception");
    return ok;
}

std::unique_ptr<TMessageAttr> MessageEML::GetEmbeddedMessage(int index)
{
    QUILLORA_TRACE(u"MessageEML::GetEmbeddedMessage");
    if (index < 0 || index >= static_cast<int>(attachments.size())) return nullptr;
    const WideString folder = CAppUtils::getAppTempFolder();
    if (folder.empty()) return nullptr;
    const WideString path = CAppUtils::MakeUniqueFileName(
        folder + CAppUtils::MakeValidFileName(attachments[static_cast<size_t>(index)].name, false));
    if (path.empty() || !SaveAttachment(index, path)) return nullptr;
    std::unique_ptr<TMessageAttr> message = GetMessageFileType(path, true) == mftMSG
                                                ? NewMessageOfKind(mftMSG)
                                                : std::make_unique<MessageEML>();
    if (!message) {
        LogPrintf(u"no reader for %s", path.c_str());
        return nullptr;
    }
    if (!message->LoadFromFile(path, false)) return nullptr;
    message->fileName = path;
    return message;
}

void MessageEML::LoadPlainTextBody()
{
    // The plain-text display loads the bodies without writing a page.
    ViewEmpty view;
    Display(view, true);
}
