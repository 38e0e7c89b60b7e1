// Text in its clipboard formats: 8-bit text (UTF-8, the platform's ANSI code page), OEM text,
// RTF, UTF-16 text, CSV lines and the locale; and the text data format that keeps one text in
// 8-bit and wide form, deriving the other form when asked.
#pragma once

#include "controls/dragdrop/DataFormat.h"
#include "controls/dragdrop/SimpleFormats.h"

// Text that ends at its first zero byte.
class TCustomAnsiTextClipboardFormat : public TCustomAnsiStringClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    TCustomAnsiTextClipboardFormat() { TrimAtZero = true; }

protected:
    // With its terminator, unless the text ends in one already.
    std::size_t GetSize() override;
};

#define DRAGDROP_TEXT_FORMAT(Class, Base)              \
    class Class : public Base {                        \
        DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)   \
    public:                                            \
        CLIPFORMAT GetClipboardFormat() override;      \
    };

DRAGDROP_TEXT_FORMAT(TAnsiTextClipboardFormat, TCustomAnsiTextClipboardFormat)
DRAGDROP_TEXT_FORMAT(TOEMTextClipboardFormat, TCustomAnsiTextClipboardFormat)
DRAGDROP_TEXT_FORMAT(TRichTextClipboardFormat, TCustomAnsiTextClipboardFormat)

// UTF-16 little-endian text; a terminator read from the block stays part of the text.
class TCustomUnicodeTextClipboardFormat : public TCustomSimpleClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    const WideString& Text() const { return text_; }
    void SetText(const WideString& text) { text_ = text; }
    void Clear() override { text_.clear(); }
    bool HasData() override { return !text_.empty(); }

protected:
    bool ReadData(const std::uint8_t* data, std::size_t size) override;
    bool WriteData(std::uint8_t* data, std::size_t size) override;
    std::size_t GetSize() override;

private:
    WideString text_;
};

DRAGDROP_TEXT_FORMAT(TUnicodeTextClipboardFormat, TCustomUnicodeTextClipboardFormat)
DRAGDROP_TEXT_FORMAT(TCSVClipboardFormat, TCustomStringListClipboardFormat)

// The locale of 8-bit text; offered when set.
class TLocaleClipboardFormat : public TCustomDWORDClipboardFormat {
    DRAGDROP_FORMAT_CLASS(TClipboardFormatClass)
public:
    CLIPFORMAT GetClipboardFormat() override { return 16; }
    bool HasData() override { return Value != 0; }
};

#undef DRAGDROP_TEXT_FORMAT

// The locale of the running thread (American English; 8-bit text is UTF-8 in every locale).
LCID GetThreadLocale();

bool IsRTF(const AnsiString& text);
// The text itself when it is RTF, else the text wrapped as RTF.
AnsiString MakeRTF(const AnsiString& text);

class TTextDataFormat : public TCustomDataFormat {
    DRAGDROP_FORMAT_CLASS(TDataFormatClass)
public:
    using TCustomDataFormat::TCustomDataFormat;

    void SetAnsiText(const AnsiString& text);
    void SetText(const AnsiString& text) { SetAnsiText(text); }
    void SetUnicodeText(const WideString& text);
    void SetLocale(LCID locale);
    LCID GetLocale() const { return locale_ ? locale_ : GetThreadLocale(); }
    const AnsiString& GetAnsiText();
    const AnsiString& GetText() { return GetAnsiText(); }
    const WideString& GetUnicodeText();

    bool Assign(TClipboardFormat& source) override;
    bool AssignTo(TClipboardFormat& dest) override;
    void Clear() override;
    bool HasData() override;
    bool NeedsData() override;

private:
    WideString unicodeText_;
    AnsiString ansiText_;
    bool needAnsi_ = false, needUnicode_ = false;
    LCID locale_ = 0;
};
