// Dragging text out and taking dropped text, in 8-bit (UTF-8) and wide form.
#pragma once

#include "controls/dragdrop/DropSource.h"
#include "controls/dragdrop/DropTarget.h"
#include "controls/dragdrop/TextFormats.h"

class TDropTextSource : public TCustomDropMultiSource {
public:
    explicit TDropTextSource(TComponent* owner);
    std::string_view ClassName() const override { return "TDropTextSource"; }

    const AnsiString& Text() { return text_.GetText(); }
    void SetText(const AnsiString& text) { text_.SetText(text); }
    const WideString& UnicodeText() { return text_.GetUnicodeText(); }
    void SetUnicodeText(const WideString& text) { text_.SetUnicodeText(text); }
    LCID Locale() const { return text_.GetLocale(); }
    void SetLocale(LCID locale) { text_.SetLocale(locale); }

private:
    TTextDataFormat& text_;
};

class TDropTextTarget : public TCustomDropMultiTarget {
public:
    explicit TDropTextTarget(TComponent* owner);
    std::string_view ClassName() const override { return "TDropTextTarget"; }

    const AnsiString& Text() { return text_.GetText(); }
    const WideString& UnicodeText() { return text_.GetUnicodeText(); }
    LCID Locale() const { return text_.GetLocale(); }

private:
    TTextDataFormat& text_;
};
