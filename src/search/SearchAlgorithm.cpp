#include "search/SearchAlgorithm.h"

#include "platform/vcl/SysUtils.h"

bool ISearchAlgorithm::Match(const WideString&, const WideString&) { return false; }

bool SmartSearchAlgorithm::Match(const WideString& text, const WideString& pattern) {
    const WideString t = caseSensitive ? text : WideUpperCase(text);
    const WideString p = caseSensitive ? pattern : WideUpperCase(pattern);
    if (exactMatch) return t == p;
    if (p.empty() || t.empty()) return false;
    return t.find(p) != WideString::npos;
}
