#include "controls/dragdrop/TextFormats.h"

#include <cstring>

#include "platform/vcl/Clipbrd.h"
#include "platform/vcl/SysUtils.h"
#include "platform/win/WinString.h"

DRAGDROP_DEFINE_ABSTRACT_CLASS(TClipboardFormatClass, TCustomAnsiTextClipboardFormat, TCustomAnsiStringClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TAnsiTextClipboardFormat, TCustomAnsiTextClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TOEMTextClipboardFormat, TCustomAnsiTextClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TRichTextClipboardFormat, TCustomAnsiTextClipboardFormat)
DRAGDROP_DEFINE_ABSTRACT_CLASS(TClipboardFormatClass, TCustomUnicodeTextClipboardFormat, TCustomSimpleClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TUnicodeTextClipboardFormat, TCustomUnicodeTextClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TCSVClipboardFormat, TCustomStringListClipboardFormat)
DRAGDROP_DEFINE_CLASS(TClipboardFormatClass, TLocaleClipboardFormat, TCustomDWORDClipboardFormat)

namespace {

void RegisterTextConversions() {
    const TConversionCapabilities both{ccWriteToDataFormat, ccReadFromDataFormat};
    const TDataFormatClass& self = TTextDataFormat::StaticClass();
    TCustomDataFormat::RegisterDataConversion(self, TAnsiTextClipboardFormat::StaticClass(), -1, both);
    TCustomDataFormat::RegisterDataConversion(self, TLocaleClipboardFormat::StaticClass(), -1, both);
    TCustomDataFormat::RegisterDataConversion(self, TUnicodeTextClipboardFormat::StaticClass(), 0, both);
    TCustomDataFormat::RegisterDataConversion(self, TOEMTextClipboardFormat::StaticClass(), -1, both);
}

}  // namespace

DRAGDROP_DEFINE_CLASS(TDataFormatClass, TTextDataFormat, TCustomDataFormat, TDataDirections{ddRead},
                      RegisterTextConversions)

CLIPFORMAT TAnsiTextClipboardFormat::GetClipboardFormat() { return CF_TEXT; }
CLIPFORMAT TOEMTextClipboardFormat::GetClipboardFormat() { return CF_OEMTEXT; }
CLIPFORMAT TRichTextClipboardFormat::GetClipboardFormat() {
    static const CLIPFORMAT format = RegisteredFormat("Rich Text Format");
    return format;
}
CLIPFORMAT TUnicodeTextClipboardFormat::GetClipboardFormat() { return CF_UNICODETEXT; }
CLIPFORMAT TCSVClipboardFormat::GetClipboardFormat() {
    static const CLIPFORMAT format = RegisteredFormat("CSV");
    return format;
}

LCID GetThreadLocale() { return 0x0409; }

std::size_t TCustomAnsiTextClipboardFormat::GetSize() {
    if (data_.empty()) return 0;
    return data_.back() == '\0' ? data_.size() : data_.size() + 1;
}

bool TCustomUnicodeTextClipboardFormat::ReadData(const std::uint8_t* data, std::size_t size) {
    text_.resize(size / 2);
    for (std::size_t i = 0; i < text_.size(); ++i) text_[i] = char16_t(data[2 * i] | data[2 * i + 1] << 8);
    return true;
}

bool TCustomUnicodeTextClipboardFormat::WriteData(std::uint8_t* data, std::size_t size) {
    if (size > 2 * (text_.size() + 1)) return false;
    const char16_t* text = text_.c_str();
    for (std::size_t i = 0; i < size; ++i) data[i] = static_cast<std::uint8_t>(text[i / 2] >> (8 * (i % 2)));
    return true;
}

std::size_t TCustomUnicodeTextClipboardFormat::GetSize() {
    if (text_.empty()) return 0;
    return text_.back() == u'\0' ? 2 * text_.size() : 2 * (text_.size() + 1);
}

bool IsRTF(const AnsiString& text) { return text.size() >= 5 && AnsiSameText(text.substr(0, 5), "{\\rtf"); }

AnsiString MakeRTF(const AnsiString& text) { return IsRTF(text) ? text : "{\\rtf1\\ansi " + text + "}"; }

void TTextDataFormat::SetAnsiText(const AnsiString& text) {
    Changing();
    ansiText_ = text;
    unicodeText_.clear();
    needAnsi_ = false;
    needUnicode_ = true;
    if (locale_ == 0) locale_ = GetThreadLocale();
}

void TTextDataFormat::SetUnicodeText(const WideString& text) {
    Changing();
    unicodeText_ = text;
    ansiText_.clear();
    needUnicode_ = false;
    needAnsi_ = true;
}

void TTextDataFormat::SetLocale(LCID locale) {
    Changing();
    locale_ = locale;
}

// 8-bit text is UTF-8, so the conversions are sized by the converter and lose nothing.
const AnsiString& TTextDataFormat::GetAnsiText() {
    if (needAnsi_ && !needUnicode_) ansiText_ = Utf16ToUtf8(unicodeText_);
    return ansiText_;
}

const WideString& TTextDataFormat::GetUnicodeText() {
    if (needUnicode_ && !needAnsi_) unicodeText_ = Utf8ToUtf16(ansiText_);
    return unicodeText_;
}

bool TTextDataFormat::Assign(TClipboardFormat& source) {
    if (auto* f = dynamic_cast<TAnsiTextClipboardFormat*>(&source)) {
        ansiText_ = f->Data();
        needAnsi_ = false;
        needUnicode_ = needUnicode_ || (!ansiText_.empty() && unicodeText_.empty());
    } else if (auto* f = dynamic_cast<TUnicodeTextClipboardFormat*>(&source)) {
        unicodeText_ = f->Text();
        needUnicode_ = false;
        needAnsi_ = needAnsi_ || (!unicodeText_.empty() && ansiText_.empty());
    } else if (auto* f = dynamic_cast<TLocaleClipboardFormat*>(&source)) {
        SetLocale(f->Value);
    } else {
        return TCustomDataFormat::Assign(source);
    }
    return true;
}

bool TTextDataFormat::AssignTo(TClipboardFormat& dest) {
    if (auto* f = dynamic_cast<TAnsiTextClipboardFormat*>(&dest))
        f->SetData(GetAnsiText());
    else if (auto* f = dynamic_cast<TRichTextClipboardFormat*>(&dest))
        f->SetData(MakeRTF(GetText()));
    else if (auto* f = dynamic_cast<TUnicodeTextClipboardFormat*>(&dest))
        f->SetText(GetUnicodeText());
    else if (auto* f = dynamic_cast<TOEMTextClipboardFormat*>(&dest))
        // The OEM code page is UTF-8 here as well.
        f->SetData(HasData() ? GetText() : AnsiString());
    else if (auto* f = dynamic_cast<TLocaleClipboardFormat*>(&dest))
        f->Value = GetLocale();
    else
        return TCustomDataFormat::AssignTo(dest);
    return true;
}

void TTextDataFormat::Clear() {
    Changing();
    ansiText_.clear();
    unicodeText_.clear();
    needAnsi_ = needUnicode_ = false;
}

bool TTextDataFormat::HasData() {
    return (!ansiText_.empty() && !needAnsi_) || (!unicodeText_.empty() && !needUnicode_);
}

bool TTextDataFormat::NeedsData() {
    return !((needAnsi_ || !ansiText_.empty()) && (needUnicode_ || !unicodeText_.empty()));
}
