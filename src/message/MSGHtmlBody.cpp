#include "message/MSGHtmlBody.h"

#include <cctype>

#include "platform/mapi/MapiTags.h"
#include "platform/win/CodePages.h"

namespace {

constexpr std::uint32_t kTagHtml = 0x10130000;

int IntegerValue(const TMSGProperty& p)
{
    if (const auto* v = std::get_if<std::int32_t>(&p.Value)) return *v;
    if (const auto* v = std::get_if<std::uint32_t>(&p.Value)) return static_cast<int>(*v);
    if (const auto* v = std::get_if<std::int16_t>(&p.Value)) return *v;
    return 0;
}

// 0x3FDE0003 among the own items, else among the entries of the fixed-length stream.
UINT InternetCodePage(const TMSGProperties& collection)
{
    if (const TMSGProperty* p = collection.GetPropertyByTag(PR_INTERNET_CPID, false, false))
        return static_cast<UINT>(IntegerValue(*p));
    for (const auto& item : collection)
        if (item->TagID == 0)
            if (const TMSGProperty* p = item->SubProperties().GetPropertyByTag(PR_INTERNET_CPID, false, false))
                return static_cast<UINT>(IntegerValue(*p));
    return 0;
}

// Code pages that tell how the mail travelled but cannot decode 8-bit bytes stored from it.
bool DecodesStoredBytes(UINT codePage)
{
    return codePage != 0 && codePage != 20127 && codePage != 65000 && codePage != 1200 && codePage != 1201 &&
           IsValidCodePage(codePage);
}

}  // namespace

AnsiString HtmlDeclaredCharset(std::string_view html)
{
    // Only the head can declare it; looking at the first 64 KiB is plenty.
    const std::string_view head = html.substr(0, 65536);
    std::string lower(head);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    for (std::size_t at = lower.find("charset"); at != std::string::npos; at = lower.find("charset", at + 7)) {
        std::size_t i = at + 7;
        while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\t')) ++i;
        if (i >= lower.size() || lower[i] != '=') continue;
        ++i;
        while (i < lower.size() && (lower[i] == ' ' || lower[i] == '"' || lower[i] == '\'')) ++i;
        const std::size_t begin = i;
        while (i < lower.size() && (std::isalnum(static_cast<unsigned char>(lower[i])) || lower[i] == '-' ||
                                    lower[i] == '_' || lower[i] == '.' || lower[i] == ':'))
            ++i;
        if (i > begin) return AnsiString(head.substr(begin, i - begin));
    }
    return {};
}

WideString MSGHtmlBodyText(const TMSGProperties& collection)
{
    const TMSGProperty* p = collection.GetPropertyByTag(kTagHtml, true, false);
    if (!p) return {};
    if (std::holds_alternative<std::u16string>(p->Value)) return p->GetAsString();
    const std::string* raw = p->RawBytes();
    if (!raw) return p->GetAsString();
    std::string_view bytes(*raw);
    while (!bytes.empty() && bytes.back() == '\0') bytes.remove_suffix(1);
    if (bytes.empty()) return {};

    UINT codePage = InternetCodePage(collection);
    if (!DecodesStoredBytes(codePage)) codePage = 0;
    if (!codePage) codePage = CodePageFromCharsetName(HtmlDeclaredCharset(bytes));
    if (!DecodesStoredBytes(codePage)) codePage = 1252;
    return DecodeCodePage(codePage, bytes);
}
