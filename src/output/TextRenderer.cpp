#include "output/TextRenderer.h"

void TextRenderer::AddBold(const WideString& text)
{
    content_ += text;
    content_ += u"\r\n";
}

void TextRenderer::AddParagraph(const WideString& text)
{
    content_ += text;
    content_ += u"\r\n";
}

void TextRenderer::AddPreformatted(const WideString& text) { AddParagraph(text); }

void TextRenderer::AddRule() { content_ += u"\r\n"; }
