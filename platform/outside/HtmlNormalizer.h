// The one pass that makes mail HTML fit the layout engine: style sheets that Word wraps in
// comments are unwrapped, @page rules go, <font> becomes a styled span, and bodies whose tables
// nest deeper than any real mail are refused (they only serve to make layout explode).
#pragma once

#include <string>

inline constexpr int kMaxTableNesting = 32;

// False with a reason when the page must not be laid out.
bool NormalizeMailHtml(std::string& html, std::string& error);
