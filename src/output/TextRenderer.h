// Plain text: every piece is one line ended by CR LF; bold is just a line, a rule an empty line.
#pragma once

#include "output/IRenderer.h"

class TextRenderer : public IRenderer {
public:
    WideString GetDocument() override { return content_; }
    void AddBold(const WideString& text) override;
    void AddParagraph(const WideString& text) override;
    void AddPreformatted(const WideString& text) override;
    void AddRule() override;
};
