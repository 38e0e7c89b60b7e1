// An XHTML page: <b>, <p>, <pre> and <hr/> pieces inside a fixed UTF-8 frame, no line breaks.
#pragma once

#include "output/IRenderer.h"

class HtmlRenderer : public IRenderer {
public:
    WideString GetDocument() override;
    void AddBold(const WideString& text) override;
    void AddParagraph(const WideString& text) override;
    void AddPreformatted(const WideString& text) override;
    void AddRule() override;
    WideString Escape(const WideString& text) const override { return EscapeHtmlText(text); }
};
