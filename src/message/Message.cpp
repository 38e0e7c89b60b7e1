#include "message/Message.h"

#include <iterator>
#include <string>

#include "platform/win/CodePages.h"

namespace {

UINT legacyCodePage = 1252;

// Code pages that only describe how mail travels (7-bit or stateful encodings, UTF-16), never
// how a client stores 8-bit text in a message; with the 8-bit code page of the same script.
UINT StoredFamilyOf(UINT codePage) {
    switch (codePage) {
        case 50220:
        case 50221:
        case 50222: return 932;
        case 50225: return 949;
        case 50227:
        case 52936: return 936;
        case 50229: return 950;
        case 20127:
        case 65000: return 1252;
        case 1200:
        case 1201:
        case 12000:
        case 12001: return 0;
        default: return codePage;
    }
}

bool CanHoldStoredText(UINT codePage) {
    return codePage != 0 && StoredFamilyOf(codePage) == codePage && IsValidCodePage(codePage);
}

// An integer property among the root's own items or its fixed-length entries.
UINT RootNumber(const TMSGProperties& root, std::uint32_t tag) {
    const TMSGProperty* p = root.GetPropertyByTag(tag, false, false);
    if (!p)
        for (const auto& item : root)
            if (item->TagID == 0 && (p = item->SubProperties().GetPropertyByTag(tag, false, false))) break;
    if (!p) return 0;
    if (const auto* v = std::get_if<std::int32_t>(&p->Value)) return static_cast<UINT>(*v);
    if (const auto* v = std::get_if<std::uint32_t>(&p->Value)) return *v;
    return 0;
}

}  // namespace

TOleObject& TOleObjects::Add(ComPtr<IUnknown> object) {
    items_.push_back(std::make_unique<TOleObject>(std::move(object)));
    return *items_.back();
}

TMessage::TMessage()
    : properties_(std::make_unique<TMSGProperties>(this)), oleObjects_(std::make_unique<TOleObjects>(this)) {}

TMessage::~TMessage() = default;

void TMessage::SetProperties(const TMSGProperties& source) {
    properties_->Assign(source);
    textCodePage_ = 0;
}

void TMessage::ClearInternalLists() {
    properties_->Clear();
    textCodePage_ = 0;
}

bool TMessage::LoadFromStream(std::istream&) {
    ClearInternalLists();
    return false;
}

bool TMessage::LoadFromMemory(std::span<const std::uint8_t>) {
    ClearInternalLists();
    return false;
}

bool TMessage::LoadFromFile(const WideString&) {
    ClearInternalLists();
    return false;
}

void TMessage::SetLegacyCodePage(UINT codePage) { legacyCodePage = codePage; }
UINT TMessage::LegacyCodePage() { return legacyCodePage; }

UINT TMessage::GetTextCodePage() const {
    if (textCodePage_) return textCodePage_;
    const TMSGProperties& root = *properties_;
    UINT cp = RootNumber(root, 0x3FFD0003);  // message code page
    if (!CanHoldStoredText(cp)) {
        const UINT internet = RootNumber(root, 0x3FDE0003);
        if (CanHoldStoredText(internet)) {
            cp = internet;
        } else if (UINT locale = CodePageOfLocale(RootNumber(root, 0x3FF10003))) {
            cp = locale;
        } else if (CanHoldStoredText(StoredFamilyOf(internet))) {
            cp = StoredFamilyOf(internet);
        } else {
            cp = legacyCodePage;
        }
    }
    textCodePage_ = cp;
    return cp;
}

AnsiString TMessage::GetHTMLCharset() const { return HTMLCharsetOfCodePage(properties_->GetCodePage()); }

AnsiString TMessage::HTMLCharsetOfCodePage(int codePage) {
    switch (codePage) {
        case 0:
        case 1252:
        case 28591: return "iso-8859-1";
        case 720: return "dos-720";
        case 862: return "dos-862";
        case 932: return "shift_jis";
        case 936: return "gb2312";
        case 949: return "ks_c_5601";
        case 950: return "big5";
        case 1255: return "iso-8859-8";
        case 1932: return "x-euc-jp";
        case 20105: return "us-ascii";
        case 20106: return "DIN_66003";
        case 20107: return "SEN_850200_B";
        case 20108: return "NS_4551-1";
        case 20866: return "koi8-r";
        case 28592: return "iso-8859-2";
        case 28594: return "iso-8859-4";
        case 28595: return "iso_8859-5";
        case 28597: return "iso-8859-7";
        case 28599: return "iso-8859-9";
        case 50220: return "iso-2022-jp";
        case 50221: return "csISO2022JP";
        case 50225: return "ISO-2022-KR";
        case 50949: return "_autodetect_kr";
        case 51949: return "euc-kr";
        case 52936: return "HZ-GB-2312";
        case 65000: return "UNICODE-1-1-UTF-7";
        case 65001: return "UTF-8";
        default: return "windows-" + std::to_string(codePage);
    }
}
