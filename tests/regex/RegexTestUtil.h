// Helpers of the regex tests: ASCII text in either width and results as short strings.
#pragma once

#include <string>

#include "regex/RegexpT.h"

namespace regextest {

template <class T>
std::basic_string<T> Units(const std::string& s)
{
    std::basic_string<T> out;
    for (char c : s) out.push_back(static_cast<T>(static_cast<unsigned char>(c)));
    return out;
}

// "b-e" per group separated by blanks, "x" for an unset group, "no" for no match.
inline std::string Describe(const MatchResult& r)
{
    if (!r.Found()) return "no";
    std::string out;
    for (int g = 0; g <= r.HighestGroup(); ++g) {
        if (g) out += ' ';
        if (r.GroupBegin(g) < 0) {
            out += 'x';
        } else {
            out += std::to_string(r.GroupBegin(g)) + "-" + std::to_string(r.GroupEnd(g));
        }
    }
    return out;
}

template <class T>
std::string Find(const std::string& pattern, const std::string& text, int flags = 0, int start = -1)
{
    auto p = Units<T>(pattern);
    auto t = Units<T>(text);
    CRegexpT<T> re(p.c_str(), static_cast<int>(p.size()), flags);
    return Describe(re.Match(t.c_str(), static_cast<int>(t.size()), start));
}

// Every match of a walk with one context, as "b-e" of group 0 joined by commas.
template <class T>
std::string Walk(const std::string& pattern, const std::string& text, int flags = 0, int start = -1)
{
    auto p = Units<T>(pattern);
    auto t = Units<T>(text);
    CRegexpT<T> re(p.c_str(), static_cast<int>(p.size()), flags);
    CContext* c = re.StartSearch(t.c_str(), static_cast<int>(t.size()), start);
    std::string out;
    int guard = 0;
    for (MatchResult r = re.Match(c); r.Found() && guard < 1000; r = re.Match(c), ++guard) {
        if (!out.empty()) out += ',';
        out += std::to_string(r.MatchBegin()) + "-" + std::to_string(r.MatchEnd());
    }
    CRegexpT<T>::EndSearch(c);
    return out.empty() ? "none" : out;
}

}  // namespace regextest
