#include "app/RegExpUtils.h"


#include "regex/RegexpT.h"

namespace {

// The engine's result string, released when the copy is made.
template <class T>
struct EngineString {
    T* text;
    explicit EngineString(T* t) : text(t) {}
    ~EngineString() { CRegexpT<T>::FreeString(text); }
    EngineString(const EngineString&) = delete;
    EngineString& operator=(const EngineString&) = delete;
};

bool NeedsEscape(char16_t c) {
    switch (c) {
    case u'[': case u'\\': case u'^': case u'$': case u'.': case u'|': case u'?': case u'*':
    case u'+': case u'(': case u')': case u'{': case u'}': case u'#': case u' ': case u'\t':
        return true;
    default:
        return false;
    }
}

}  // namespace

WideString RegExpEscape(const WideString& text) {
    WideString out;
    out.reserve(text.size() + text.size() / 4);
    for (char16_t c : text) {
        if (NeedsEscape(c)) out.push_back(u'\\');
        out.push_back(c);
    }
    return out;
}

WideString RegExpReplace(const WideString& text, const WideString& pattern, const WideString& replacement,
                         int flags) {
    // An empty pattern would match between every two characters; a pattern built from data
    // that happens to be empty must not change (or wipe) the text.
    if (pattern.empty()) return text;
    const CRegexpT<char16_t> re(pattern.c_str(), static_cast<int>(pattern.size()), flags);
    int length = 0;
    EngineString<char16_t> result(re.Replace(text.c_str(), static_cast<int>(text.size()), replacement.c_str(),
                                             static_cast<int>(replacement.size()), length));
    if (result.text == nullptr) return text;
    return WideString(result.text, static_cast<size_t>(length));
}

WideString RegExpFirstGroup(const WideString& text, const WideString& pattern) {
    if (pattern.empty()) return {};
    const CRegexpT<char16_t> re(pattern.c_str(), static_cast<int>(pattern.size()), 0);
    const MatchResult m = re.Match(text.c_str(), static_cast<int>(text.size()), -1);
    if (!m.Found()) return {};
    return text.substr(static_cast<size_t>(m.MatchBegin()), static_cast<size_t>(m.MatchEnd() - m.MatchBegin()));
}

int RegExpMatchAll(TStrings& list, const AnsiString& text, const AnsiString& pattern, int flags, int& start) {
    const int from = start;
    start = -1;
    if (pattern.empty()) return -1;
    const CRegexpT<char> re(pattern.c_str(), static_cast<int>(pattern.size()), flags);
    const int length = static_cast<int>(text.size());
    MatchResult m = re.Match(text.c_str(), length, from);
    if (!m.Found()) return -1;

    const auto piece = [&](int begin, int end) {
        return begin < 0 || end < begin ? AnsiString() : text.substr(static_cast<size_t>(begin), static_cast<size_t>(end - begin));
    };
    if (m.HighestGroup() == 0) {
        while (m.Found()) {
            list.Add(piece(m.MatchBegin(), m.MatchEnd()));
            int next = m.MatchEnd();
            // An empty match would be found again at the same place: step over one unit.
            if (next == m.MatchBegin()) ++next;
            if (next > length) break;
            m = re.Match(text.c_str(), length, next);
        }
        return -1;
    }
    for (int g = 1; g <= m.HighestGroup(); ++g) list.Add(piece(m.GroupBegin(g), m.GroupEnd(g)));
    start = m.MatchEnd();
    return start;
}

bool IsValidEmailAddress(const WideString& address, bool strict) {
    if (strict) {
        static const char16_t kStrict[] =
            u"^[\\w-]+(\\.[\\w-]+)*@([a-z0-9-]+(\\.[a-z0-9-]+)*?\\.[a-z]{2,6}|(\\d{1,3}\\.){3}\\d{1,3})(:\\d{4})?$";
        const CRegexpT<char16_t> re(kStrict, 0);
        return re.MatchWhole(address.c_str(), static_cast<int>(address.size())).Found() != 0;
    }
    static const char16_t kLoose[] = u"(?i)\\b[A-Z0-9._%+-]+@[A-Z0-9.-]+\\.[A-Z]{2,4}\\b";
    const CRegexpT<char16_t> re(kLoose, 0);
    return re.Match(address.c_str(), static_cast<int>(address.size()), -1).Found() != 0;
}
