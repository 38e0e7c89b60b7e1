#include "platform/outside/HtmlConverter.h"

// What every page starts from: the usual presentation of HTML elements, in the sizes mail
// readers use. The pages are printed, so preformatted text wraps at the page's width rather
// than running off it, and a table with a border attribute draws its grid.
const char* HtmlConverterStyleSheet() {
    return R"CSS(
html, address, blockquote, body, dd, div, dl, dt, fieldset, form, frame, frameset,
h1, h2, h3, h4, h5, h6, noframes, ol, p, ul, center, dir, hr, menu, pre, header, footer,
section, article, nav, aside, main, figure, figcaption, details, summary { display: block; }
head, script, style, title, meta, link, base, noscript, template, object, iframe, embed { display: none; }
body { margin: 8px; color: black; background-color: white; font-family: Arial, sans-serif; font-size: 16px; line-height: normal; }
p, dl, multicol { margin-top: 1em; margin-bottom: 1em; }
blockquote { margin: 1em 40px; }
pre, tt, code, kbd, samp, listing, xmp, plaintext { font-family: "Courier New", monospace; }
pre { white-space: pre-wrap; margin-top: 1em; margin-bottom: 1em; }
h1 { font-size: 2em; margin: 0.67em 0; font-weight: bold; }
h2 { font-size: 1.5em; margin: 0.83em 0; font-weight: bold; }
h3 { font-size: 1.17em; margin: 1em 0; font-weight: bold; }
h4 { margin: 1.33em 0; font-weight: bold; }
h5 { font-size: 0.83em; margin: 1.67em 0; font-weight: bold; }
h6 { font-size: 0.67em; margin: 2.33em 0; font-weight: bold; }
b, strong, th { font-weight: bold; }
i, em, cite, var, dfn, address { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
big { font-size: 1.17em; }
small, sub, sup { font-size: 0.83em; }
sub { vertical-align: sub; }
sup { vertical-align: super; }
center { text-align: center; }
a:link, a { color: #0645ad; text-decoration: underline; }
hr { border: 1px inset #888; margin: 0.5em auto; height: 0; }
ul, menu, dir { display: block; list-style-type: disc; margin: 1em 0; padding-left: 40px; }
ol { display: block; list-style-type: decimal; margin: 1em 0; padding-left: 40px; }
li { display: list-item; }
ul ul, ol ul { list-style-type: circle; margin-top: 0; margin-bottom: 0; }
ol ol, ul ol, ul ul ul { margin-top: 0; margin-bottom: 0; }
dd { margin-left: 40px; }
table { display: table; border-collapse: separate; border-spacing: 2px; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { text-align: center; }
caption { display: table-caption; text-align: center; }
table[border] { border-style: outset; border-color: #808080; }
table[border] > tr > td, table[border] > tr > th, table[border] > tbody > tr > td, table[border] > tbody > tr > th,
table[border] > thead > tr > td, table[border] > thead > tr > th, table[border] > tfoot > tr > td,
table[border] > tfoot > tr > th { border: 1px inset #808080; }
table[border="0"], table[border="0"] > tr > td, table[border="0"] > tr > th, table[border="0"] > tbody > tr > td,
table[border="0"] > tbody > tr > th { border-style: none; }
col { display: table-column; }
colgroup { display: table-column-group; }
img { display: inline-block; }
br { display: block; }
input, select, textarea, button { display: inline-block; }
)CSS";
}
