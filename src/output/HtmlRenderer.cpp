#include "output/HtmlRenderer.h"

WideString HtmlRenderer::GetDocument()
{
    return u"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\" "
           u"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">"
           u"<html xmlns=\"http://www.w3.org/1999/xhtml\">"
           u"<head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\"/>"
           u"<title></title></head><body>" +
           content_ + u"</body></html>";
}

void HtmlRenderer::AddBold(const WideString& text) { content_ += u"<b>" + text + u"</b>"; }

void HtmlRenderer::AddParagraph(const WideString& text) { content_ += u"<p>" + text + u"</p>"; }

void HtmlRenderer::AddPreformatted(const WideString& text) { content_ += u"<pre>" + text + u"</pre>"; }

void HtmlRenderer::AddRule() { content_ += u"<hr/>"; }
