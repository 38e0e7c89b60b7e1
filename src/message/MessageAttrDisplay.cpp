// How a record shows itself in a view and writes itself into a document builder, the HTML
// helpers the readers use while filling it, and the time zone of its Date header.
#include <cstdlib>
#include <iterator>
#include <memory>

#include "app/AppLocDB.h"
#include "app/CAppUtils.h"
#include "app/cLogger.h"
#include "app/RegExpUtils.h"
#include "controls/unicode/TntSysUtils.h"
#include "message/DateLine.h"
#include "message/HtmlTagRefs.h"
#include "message/MessageAttr.h"
#include "output/HtmlRenderer.h"
#include "output/IRenderer.h"
#include "output/TextRenderer.h"
#include "regex/RegexpT.h"

namespace {

struct Zone {
    const char16_t* name;
    int hours;    // what the zone selector shows
    int minutes;  // the exact offset, for the UTC date
};

// Looked up in this order; the first equal entry wins.
constexpr Zone kZones[] = {
    {u"A", 1, 60},         {u"ACDT", 10, 630},   {u"ACST", 9, 570},    {u"ADT", -3, -180},
    {u"AEDT", 11, 660},    {u"AEST", 10, 600},   {u"AKDT", -8, -480},  {u"AKST", -9, -540},
    {u"AST", -4, -240},    {u"AWDT", 9, 540},    {u"AWST", 8, 480},    {u"B", 2, 120},
    {u"BST", 1, 60},       {u"C", 3, 180},       {u"CDT", -5, -300},   {u"CEDT", 2, 120},
    {u"CEST", 2, 120},     {u"CET", 1, 60},      {u"CST", -6, -360},   {u"CXT", 7, 420},
    {u"D", 4, 240},        {u"E", 5, 300},       {u"EDT", -4, -240},   {u"EEDT", 3, 180},
    {u"EEST", 3, 180},     {u"EET", 2, 120},     {u"EST", -5, -300},   {u"F", 6, 360},
    {u"G", 7, 420},        {u"GMT", 0, 0},       {u"H", 8, 480},       {u"HAA", -3, -180},
    {u"HAC", -5, -300},    {u"HADT", -9, -540},  {u"HAE", -4, -240},   {u"HAP", -7, -420},
    {u"HAR", -6, -360},    {u"HAST", -10, -600}, {u"HAT", -2, -150},   {u"HAY", -8, -480},
    {u"HNA", -4, -240},    {u"HNC", -6, -360},   {u"HNE", -5, -300},   {u"HNP", -8, -480},
    {u"HNR", -7, -420},    {u"HNT", -3, -210},   {u"HNY", -9, -540},   {u"I", 9, 540},
    {u"IST", 1, 60},       {u"K", 10, 600},      {u"L", 11, 660},      {u"M", 12, 720},
    {u"MDT", -6, -360},    {u"MESZ", 2, 120},    {u"MEZ", 1, 60},      {u"MST", -7, -420},
    {u"N", -1, -60},       {u"NDT", -2, -150},   {u"NFT", 11, 660},    {u"NST", -3, -210},
    {u"O", -2, -120},      {u"P", -3, -180},     {u"PDT", -7, -420},   {u"PST", -8, -480},
    {u"Q", -4, -240},      {u"R", -5, -300},     {u"S", -6, -360},     {u"T", -7, -420},
    {u"U", -8, -480},      {u"UTC", 0, 0},       {u"V", -9, -540},     {u"W", -10, -600},
    {u"WDT", 9, 540},      {u"WEDT", 1, 60},     {u"WEST", 1, 60},     {u"WET", 0, 0},
    {u"WST", 8, 480},      {u"X", -11, -660},    {u"Y", -12, -720},    {u"Z", 0, 0},
};
static_assert(std::size(kZones) == 80);

// The zone token of the Date header's value (a signed number, or a word after a space or parenthesis,
// following the whole seconds); empty when there is none, so a zone-less time is never split.
WideString DateZoneToken(const WideString& value)
{
    if (value.empty()) return {};
    if (std::u16string_view token; DateZoneWithoutBacktracking(value, token)) return WideString(token);
    if (!MayHoldZone(value)) return {};
    static const auto re = [] {
        auto compiled = std::make_unique<CRegexpT<char16_t>>(
            kDateZonePattern, static_cast<int>(std::size(kDateZonePattern) - 1), CaseInsensitive);
        compiled->SetStepBudget(kDatePatternStepBudget);
        return compiled;
    }();
    const MatchResult m = re->Match(value.c_str(), static_cast<int>(value.size()), -1);
    if (!m.Found()) return {};
    const int group = m.GroupBegin(1) >= 0 ? 1 : 2;
    if (m.GroupBegin(group) < 0) return {};
    return value.substr(static_cast<size_t>(m.GroupBegin(group)),
                        static_cast<size_t>(m.GroupEnd(group) - m.GroupBegin(group)));
}

bool IsNumericToken(const WideString& token)
{
    size_t i = !token.empty() && (token[0] == u'+' || token[0] == u'-') ? 1 : 0;
    if (i >= token.size()) return false;
    for (; i < token.size(); ++i)
        if (token[i] < u'0' || token[i] > u'9') return false;
    return true;
}

// The numeric token's last six characters as a number ("-0530" gives -530).
long NumericZone(const WideString& token)
{
    const WideString tail = token.size() > 6 ? token.substr(token.size() - 6) : token;
    std::string ascii(tail.begin(), tail.end());
    return std::strtol(ascii.c_str(), nullptr, 10);
}

const Zone* NamedZone(const WideString& token)
{
    WideString name;
    // Only word characters (letters, digits, "_") count, upper-cased.
    for (const char16_t c : token) {
        if (c >= u'a' && c <= u'z') name += static_cast<char16_t>(c - 32);
        else if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_') name += c;
    }
    for (const Zone& z : kZones)
        if (name == z.name) return &z;
    return nullptr;
}

}  // namespace

// --- Display and rendering ---

void TMessageAttr::Display(IView& view, bool /*plainText*/, bool /*withHeader*/)
{
    view.Clear();
    view.SetToField(*this, to);
    view.SetFromFiled(*this, from);
    view.SetCCFiled(*this, cc);
    view.SetSubjectFiled(*this, subject);
    view.SetFileName(*this, fileName);
    view.SetHeader(*this, headerText);
    view.SetAttachmentsList(*this, attachments);
}

// Message text goes through the renderer's Escape: an HTML document shows it as text.
void TMessageAttr::RenderHeaders(IRenderer& renderer)
{
    renderer.AddParagraph(renderer.Escape(GetUiString(1024) + u": " + from));
    renderer.AddParagraph(renderer.Escape(GetUiString(1027) + u": " + to));
    renderer.AddParagraph(renderer.Escape(GetUiString(1028) + u": " + cc));
    renderer.AddParagraph(renderer.Escape(GetUiString(1025) + u": " + subject));
    renderer.AddParagraph(renderer.Escape(GetUiString(1026) + u": " + dateText));
}

void TMessageAttr::RenderBody(IRenderer& renderer)
{
    renderer.AddParagraph(renderer.Escape(!plainBody.empty() ? plainBody : htmlBody));
}

void TMessageAttr::RenderHeadersAndBody(IRenderer& renderer)
{
    RenderHeaders(renderer);
    renderer.AddRule();
    RenderBody(renderer);
}

// --- HTML helpers ---

void TMessageAttr::FormatHtmlBodyLinks()
{
    for (const AttachmentItem& part : inlineParts) {
        if (part.contentId.empty()) continue;
        const WideString pattern = u"\\bsrc\\s*=\\s*\"(cid:)?" + RegExpEscape(part.contentId) + u"\"";
        // Relative to the page beside it, encoded: no "$" is left to read as a group reference.
        htmlBody = RegExpReplace(htmlBody, pattern, u"src=\"" + UrlOfFileName(WideExtractFileName(part.name)) + u"\"");
    }
}

WideString PrependScriptErrorHandler(const WideString& html)
{
    return u"<SCRIPT language=JavaScript>function errorHandler(message, url, line) { return true; }"
           u"window.onerror = errorHandler;</SCRIPT>" +
           html;
}

// --- Time zones ---

TMessageAttr::DateZone TMessageAttr::GetDateZone(const WideString& headerText)
{
    return DateZoneOfValue(DateHeaderValue(headerText, true));
}

TMessageAttr::DateZone TMessageAttr::DateZoneOfValue(const WideString& dateValue)
{
    const WideString token = DateZoneToken(dateValue);
    if (token.empty()) return {};
    if (IsNumericToken(token)) {
        const long value = NumericZone(token);
        const long magnitude = value < 0 ? -value : value;
        const long minutes = (magnitude / 100) * 60 + magnitude % 100;
        return {static_cast<int>(value / 100), static_cast<int>(value < 0 ? -minutes : minutes)};
    }
    const Zone* zone = NamedZone(token);
    return zone ? DateZone{zone->hours, zone->minutes} : DateZone{};
}

int TMessageAttr::GetTimeZone(const WideString& headerText) { return GetDateZone(headerText).hours; }

int TMessageAttr::GetTimeZoneMinutes(const WideString& headerText) { return GetDateZone(headerText).minutes; }

bool TMessageAttr::ShowHtmlBodyPage(IView& view, const WideString& html)
{
    const WideString folder = CAppUtils::getAppTempFolder();
    // The record's own page: a print or export run never overwrites the one a window shows.
    const WideString path = folder.empty() ? WideString() : folder + u"page-" + TempTag() + u".html";
    TextRenderer page;
    page.AddParagraph(u"\uFEFF" + html);
    if (path.empty() || !page.SaveToFileUTF8(path)) {
        LogPrintf(u"FAILED: body page not written");
        return false;
    }
    shownFile = path;
    shownCharset = "utf-8";
    view.ViewHTMLFile(*this, path, u"");
    return true;
}

bool TMessageAttr::SaveBodyAsHtml(const WideString& path) const
{
    bool ok;
    if (bodyIsHtml) {
        TextRenderer page;
        page.AddPreformatted(htmlBody);
        ok = page.SaveToFileUnicode(path);
    } else {
        HtmlRenderer page;
        page.AddPreformatted(page.Escape(plainBody));
        ok = page.SaveToFileUnicode(path);
    }
    LogPrintf(u"res: %d", ok ? 1 : 0);
    return ok;
}
