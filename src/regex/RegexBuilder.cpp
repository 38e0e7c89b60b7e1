#include "regex/RegexBuilder.h"

#include <algorithm>

namespace {

constexpr int kDotAll = DotMatchesNewline;
constexpr int kRtl = RightToLeftScan;
constexpr int kIcase = CaseInsensitive;

int MapLower(int c) { return regexchars::ToLower(c); }
int MapUpper(int c) { return regexchars::ToUpper(c); }

int HexValue(int c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

}  // namespace

// ---------------------------------------------------------------- lifecycle

template <class T>
void CBuilderT<T>::Reset()
{
    for (auto& node : ownedNodes) node.reset();  // first to last
    ownedNodes.clear();
    root = nullptr;
    maxGroupNumber = 0;
    for (auto& stock : stockNodes) stock = nullptr;
}

template <class T>
ElxInterface* CBuilderT<T>::StockNode(int index)
{
    if (index < 0 || index >= kStockNodeCount) index = 0;
    if (stockNodes[index]) return stockNodes[index];
    ElxInterface* node = nullptr;
    if (index == 0) {
        node = New<CEmptyElxT<0>>();
    } else {
        const int rtl = index >= 9 ? 1 : 0;
        const int kind = rtl ? index - 8 : index;
        const int positive = (kind == 1 || kind == 2 || kind == 4 || kind == 6 || kind == 8) ? 0 : 1;
        auto* r = New<CRangeElxT<T>>(rtl, positive);
        switch (kind) {
        case 2:
            r->chars.Push(T('\n'));
            break;
        case 3:
        case 4:
            for (char c : {'A', 'Z', 'a', 'z', '0', '9'}) r->ranges.Push(T(c));
            r->chars.Push(T('_'));
            break;
        case 5:
        case 6:
            for (char c : {' ', '\t', '\r', '\n'}) r->chars.Push(T(c));
            if (rtl) {
                r->chars.Push(T('\f'));
                r->chars.Push(T('\v'));
            }
            break;
        case 7:
        case 8:
            r->ranges.Push(T('0'));
            r->ranges.Push(T('9'));
            break;
        default:
            break;
        }
        r->Finalize();
        node = r;
    }
    stockNodes[index] = node;
    return node;
}

template <class T>
int CBuilderT<T>::NamedGroupNumber(const T* name, int length) const
{
    for (int i = 0; i < namedGroups.Count(); ++i) {
        const CListElxT<0>* list = namedGroups[i];
        if (!list || list->nodes.Empty()) continue;
        const auto* open = static_cast<const CBracketElxT<T>*>(list->nodes[0]);
        if (open->name.Count() != length) continue;
        bool same = true;
        for (int k = 0; k < length && same; ++k) same = RegexFoldEqual(open->name[k], name[k]);
        if (same) return open->groupNumber;
    }
    return -3;
}

// ---------------------------------------------------------------- tokenizer

template <class T>
int CBuilderT<T>::Advance()
{
    currentToken = nextToken;
    nextToken = afterNextToken;
    while (!ReadToken()) {
    }
    return IsEnd(currentToken) ? 0 : 1;
}

template <class T>
void CBuilderT<T>::Produce(T ch, int special, int length)
{
    afterNextToken.ch = ch;
    afterNextToken.special = special;
    afterNextToken.pos = readPosition;
    afterNextToken.length = length;
    readPosition += length;
}

template <class T>
unsigned long CBuilderT<T>::ReadHexDigits(const T* p, int limit, int* count)
{
    unsigned long value = 0;
    int n = 0;
    while (n < limit) {
        int d = HexValue(RegexUnit<T>::Code(p[n]));
        if (d < 0) break;
        value = value * 16 + static_cast<unsigned long>(d);
        ++n;
    }
    *count = n;
    return value;
}

template <class T>
bool CBuilderT<T>::ReadDecimal(const char** text, int* value)
{
    const char* p = *text;
    while (regexchars::IsPatternBlank(static_cast<unsigned char>(*p))) ++p;
    if (!regexchars::IsDigit(*p)) return false;
    int v = 0;
    for (int n = 0; n < RegexUnit<T>::kMaxDecimalDigits && regexchars::IsDigit(*p); ++n, ++p) {
        v = v * 10 + (*p - '0');
    }
    while (regexchars::IsPatternBlank(static_cast<unsigned char>(*p))) ++p;
    *value = v;
    *text = p;
    return true;
}

template <class T>
bool CBuilderT<T>::ReadsAsNumber(const CBufferT<char>& text, int* value)
{
    const char* p = text.Data();
    int v = 0;
    if (!ReadDecimal(&p, &v) || *p != '\0') return false;
    *value = v;
    return true;
}

template <class T>
int CBuilderT<T>::ReadToken()
{
    const int len = pattern.Count();
    const int rp = readPosition;
    if (rp >= len) {
        Produce(T(0), 1, 0);
        return 1;
    }
    const T c = pattern[rp];
    if (quoting) {
        if (c == T('\\') && At(rp + 1) == T('E')) {
            quoting = 0;
            quoteCaseMap = nullptr;
            readPosition += 2;
            return 0;
        }
        T mapped = quoteCaseMap ? static_cast<T>(quoteCaseMap(RegexUnit<T>::Code(c))) : c;
        Produce(mapped, 0, 1);
        return 1;
    }
    const bool inside = bracketDepth > 0;
    const bool extended = (flags & ExtendedSyntax) != 0;
    const int code = RegexUnit<T>::Code(c);
    switch (code) {
    case '$': case '.': case ')': case '*': case '+': case '?': case '{': case '}': case '|':
        Produce(c, inside ? 0 : 1, 1);
        return 1;
    case '-':
        Produce(c, inside ? 1 : 0, 1);
        return 1;
    case '(':
        if (At(rp + 1) == T('?') && At(rp + 2) == T('#')) {
            int i = rp + 3;
            while (i < len && pattern[i] != T(')')) ++i;
            readPosition = i < len ? i + 1 : len;
            return 0;
        }
        Produce(c, inside ? 0 : 1, 1);
        return 1;
    case '[':
        if (!inside || At(rp + 1) == T(':')) {
            ++bracketDepth;
            Produce(c, 1, 1);
        } else {
            Produce(c, 0, 1);
        }
        return 1;
    case ']':
        if (inside) {
            --bracketDepth;
            Produce(c, 1, 1);
        } else {
            Produce(c, 0, 1);
        }
        return 1;
    case ':':
        Produce(c, IsSpecial(nextToken, '[') ? 1 : 0, 1);
        return 1;
    case '^': {
        bool special = !inside || IsSpecial(nextToken, '[') ||
                       (IsSpecial(currentToken, '[') && IsSpecial(nextToken, ':'));
        Produce(c, special ? 1 : 0, 1);
        return 1;
    }
    case '#':
        if (extended) {
            int i = rp + 1;
            while (i < len && pattern[i] != T('\n') && pattern[i] != T('\r')) ++i;
            readPosition = i;
            return 0;
        }
        Produce(c, 0, 1);
        return 1;
    case '\\':
        return ReadEscape();
    default:
        if (extended && regexchars::IsPatternBlank(code)) {
            readPosition += 1;
            return 0;
        }
        Produce(c, 0, 1);
        return 1;
    }
}

template <class T>
int CBuilderT<T>::ReadEscape()
{
    const int len = pattern.Count();
    const int rp = readPosition;
    const bool inside = bracketDepth > 0;
    if (rp + 1 >= len) {  // a trailing backslash is itself
        Produce(T('\\'), 0, 1);
        return 1;
    }
    const T c1 = pattern[rp + 1];
    const int code = RegexUnit<T>::Code(c1);
    if (regexchars::IsDigit(code)) {
        Produce(T('\\'), 1, 1);
        return 1;
    }
    switch (code) {
    case 'A': case 'B': case 'D': case 'S': case 'W': case 'Z':
    case 'd': case 'g': case 'k': case 's': case 'w': case 'z':
        Produce(c1, 1, 2);
        return 1;
    case 'b':
        Produce(inside ? T(8) : c1, inside ? 0 : 1, 2);
        return 1;
    case 'G':
        if (inside) {
            readPosition += 2;
            return 0;
        }
        Produce(c1, 1, 2);
        return 1;
    case 'a': Produce(T(7), 0, 2); return 1;
    case 'e': Produce(T(27), 0, 2); return 1;
    case 'f': Produce(T(12), 0, 2); return 1;
    case 'n': Produce(T(10), 0, 2); return 1;
    case 'r': Produce(T(13), 0, 2); return 1;
    case 't': Produce(T(9), 0, 2); return 1;
    case 'v': Produce(T(11), 0, 2); return 1;
    case 'x':
    case 'u': {
        const int digitLimit = code == 'x' ? 2 : 4;
        int count = 0;
        if (At(rp + 2) == T('{')) {
            const int from = rp + 3;
            unsigned long v = ReadHexDigits(pattern.Data() + from, std::min(8, std::max(0, len - from)), &count);
            int i = from + count;
            while (i < len && pattern[i] != T('}')) ++i;
            const int end = i < len ? i + 1 : len;
            Produce(RegexUnit<T>::FromValue(v), 0, end - rp);
            return 1;
        }
        const int from = rp + 2;
        unsigned long v = ReadHexDigits(pattern.Data() + from, std::min(digitLimit, std::max(0, len - from)), &count);
        if (count == 0) {
            Produce(c1, 0, 2);
        } else {
            Produce(RegexUnit<T>::FromValue(v), 0, 2 + count);
        }
        return 1;
    }
    case 'Q':
        quoting = 1;
        readPosition += 2;
        return 0;
    case 'L':
        quoting = 1;
        quoteCaseMap = MapLower;
        readPosition += 2;
        return 0;
    case 'U':
        quoting = 1;
        quoteCaseMap = MapUpper;
        readPosition += 2;
        return 0;
    case 'E':
        quoting = 0;
        quoteCaseMap = nullptr;
        readPosition += 2;
        return 0;
    default:
        Produce(c1, 0, 2);  // also a NUL inside the pattern
        return 1;
    }
}

// ---------------------------------------------------------------- tree

template <class T>
ElxInterface* CBuilderT<T>::BuildTree(const CBufferRefT<T>& patternText, int compileFlags)
{
    pattern = patternText;
    readPosition = 0;
    bracketDepth = 0;
    maxGroupNumber = 0;
    namedGroupCount = 0;
    quoting = 0;
    quoteCaseMap = nullptr;
    flags = compileFlags;
    groups.Clear();
    recursions.Clear();
    namedGroups.Clear();
    namedBackrefs.Clear();
    namedConditions.Clear();
    nesting_ = 0;
    maxNesting = 0;
    currentToken = nextToken = afterNextToken = PatternToken<T>();

    Advance();
    Advance();
    Advance();

    root = ParseAlternation(flags);

    groups.GrowTo(0, 0);
    groups[0] = root;
    groupCount = groups.Count();
    groups.GrowTo(maxGroupNumber + namedGroupCount, 0);

    for (int i = 0; i < namedGroupCount; ++i) {
        CListElxT<0>* list = namedGroups[i];
        groups[groupCount++] = list;
        auto* open = static_cast<CBracketElxT<T>*>(list->nodes[0]);
        auto* close = static_cast<CBracketElxT<T>*>(list->nodes[list->nodes.Count() - 1]);
        if (open->groupNumber > 0) continue;
        int k = NamedGroupNumber(open->name);
        if (k < 0) k = ++maxGroupNumber;
        open->groupNumber = k;
        close->groupNumber = k;
    }
    for (int j = 1; j < groupCount; ++j) {
        if (!groups[j]) continue;
        auto* list = static_cast<CListElxT<0>*>(groups[j]);
        maxGroupNumber = std::max(maxGroupNumber, static_cast<CBracketElxT<T>*>(list->nodes[0])->groupNumber);
    }
    for (int i = 0; i < recursions.Count(); ++i) {
        CDelegateElxT<T>* rec = recursions[i];
        if (rec->groupNumber == -3) rec->groupNumber = NamedGroupNumber(rec->name);
        if (rec->groupNumber == 0) {
            rec->target = root;
        } else if (rec->groupNumber > 0 && rec->groupNumber <= maxGroupNumber) {
            for (int j = 1; j < groupCount; ++j) {
                if (!groups[j]) continue;
                auto* list = static_cast<CListElxT<0>*>(groups[j]);
                if (static_cast<CBracketElxT<T>*>(list->nodes[0])->groupNumber == rec->groupNumber) {
                    rec->target = list;
                    break;
                }
            }
        }
    }
    for (int i = 0; i < namedBackrefs.Count(); ++i) {
        namedBackrefs[i]->groupNumber = NamedGroupNumber(namedBackrefs[i]->name);
    }
    for (int i = 0; i < namedConditions.Count(); ++i) {
        int k = NamedGroupNumber(namedConditions[i]->name);
        if (k >= 0) {
            namedConditions[i]->groupNumber = k;
            namedConditions[i]->conditionNode = nullptr;
        }
    }
    // A recursion level stacks up one tree's depth of calls; a group level about four nodes.
    const int treeDepth = 4 * (maxNesting + 1) + 4;
    recursionLimit = std::max(1, kRecursionNodeBudget / treeDepth);
    pattern = CBufferRefT<T>();
    return root;
}

template <class T>
ElxInterface* CBuilderT<T>::ParseAlternation(int parseFlags)
{
    if (IsEnd(currentToken)) return StockNode(0);
    ElxInterface* first = ParseSequence(&parseFlags);
    if (!IsSpecial(currentToken, '|')) return first;
    auto* alt = New<CAlternativeElxT<0>>();
    alt->alternatives.Push(first);
    while (IsSpecial(currentToken, '|')) {
        Advance();
        alt->alternatives.Push(ParseSequence(&parseFlags));
    }
    return alt;
}

template <class T>
ElxInterface* CBuilderT<T>::ParseSequence(int* parseFlags)
{
    auto atEnd = [this] {
        return IsEnd(currentToken) || IsSpecial(currentToken, '|') || IsSpecial(currentToken, ')');
    };
    if (atEnd()) return StockNode(0);
    ElxInterface* first = ParseQuantified(parseFlags);
    if (atEnd()) return first;
    auto* list = New<CListElxT<0>>((*parseFlags & kRtl) ? 1 : 0);
    list->nodes.Push(first);
    while (!atEnd()) list->nodes.Push(ParseQuantified(parseFlags));
    return list;
}

template <class T>
ElxInterface* CBuilderT<T>::ParseAtom(int* parseFlags)
{
    CBufferT<T> text;
    while (!IsEnd(currentToken)) {
        if (!currentToken.special) {
            const bool quantified = nextToken.special &&
                                    (Is(nextToken, '{') || Is(nextToken, '?') || Is(nextToken, '*') || Is(nextToken, '+'));
            if (quantified) {
                if (!text.Empty()) break;
                text.Push(currentToken.ch);
                Advance();
                break;
            }
            text.Push(currentToken.ch);
            Advance();
            continue;
        }
        if (Is(currentToken, ')') || Is(currentToken, '|')) break;
        if (!text.Empty()) break;
        switch (RegexUnit<T>::Code(currentToken.ch)) {
        case '(':
            return ParseParenthesis(parseFlags);
        case '[': case '.': case 'w': case 'W': case 's': case 'S': case 'd': case 'D':
            return ParseClass(parseFlags);
        case '^': case '$': case 'A': case 'Z': case 'z': case 'b': case 'B': case 'G':
            return ParseAnchor(parseFlags);
        case '\\': case 'k': case 'g':
            return ParseBackReference(parseFlags);
        default:
            text.Push(currentToken.ch);  // a special that starts no construct is itself
            Advance();
            break;
        }
    }
    if (text.Empty()) return StockNode(0);
    return New<CStringElxT<T>>(text.Data(), text.Count(), (*parseFlags & kRtl) ? 1 : 0,
                               (*parseFlags & kIcase) ? 1 : 0);
}

template <class T>
ElxInterface* CBuilderT<T>::ParseQuantified(int* parseFlags)
{
    ElxInterface* item = ParseAtom(parseFlags);
    if (!currentToken.special) return item;
    int minimum = 0, maximum = 0;
    switch (RegexUnit<T>::Code(currentToken.ch)) {
    case '*':
        minimum = 0;
        maximum = kRegexUnbounded;
        Advance();
        break;
    case '+':
        minimum = 1;
        maximum = kRegexUnbounded;
        Advance();
        break;
    case '?':
        minimum = 0;
        maximum = 1;
        Advance();
        break;
    case '{': {
        Advance();
        CBufferT<char> count;
        while (!IsEnd(currentToken) && !IsSpecial(currentToken, '}')) {
            count.Push(RegexUnit<T>::Narrow(currentToken.ch));
            Advance();
        }
        Advance();
        count.Push('\0');
        const char* p = count.Data();
        if (!ReadDecimal(&p, &minimum)) {
            minimum = maximum = 0;
        } else if (*p == ',') {
            ++p;
            if (!ReadDecimal(&p, &maximum)) maximum = kRegexUnbounded;
        } else {
            maximum = minimum;
        }
        break;
    }
    default:
        return item;
    }
    if (maximum < minimum) maximum = minimum;
    if (maximum == 0) return StockNode(0);
    if (minimum == maximum) {
        if (IsSpecial(currentToken, '?') || IsSpecial(currentToken, '+')) Advance();
        return New<CRepeatElxT<0>>(item, minimum);
    }
    if (IsSpecial(currentToken, '?')) {
        Advance();
        return New<CReluctantElxT<0>>(item, minimum, maximum - minimum);
    }
    if (IsSpecial(currentToken, '+')) {
        Advance();
        return New<CPossessiveElxT<0>>(item, minimum, maximum - minimum);
    }
    return New<CGreedyElxT<0>>(item, minimum, maximum - minimum);
}

template <class T>
ElxInterface* CBuilderT<T>::ParseClass(int* parseFlags)
{
    const T c = currentToken.ch;
    Advance();
    const int rtl = (*parseFlags & kRtl) ? 1 : 0;
    const int shift = rtl ? 8 : 0;
    switch (RegexUnit<T>::Code(c)) {
    case '.': return StockNode(((*parseFlags & kDotAll) ? 1 : 2) + shift);
    case 'w': return StockNode(3 + shift);
    case 'W': return StockNode(4 + shift);
    case 's': return StockNode(5 + shift);
    case 'S': return StockNode(6 + shift);
    case 'd': return StockNode(7 + shift);
    case 'D': return StockNode(8 + shift);
    case '[': break;
    default: return StockNode(0);
    }

    if (IsSpecial(currentToken, ':')) {  // a POSIX class
        CBufferT<char> text;
        while (currentToken.ch != T(0) && !IsSpecial(currentToken, ']')) {
            text.Push(RegexUnit<T>::Narrow(currentToken.ch));
            Advance();
        }
        Advance();
        text.Push('\0');
        const char* p = text.Data() + 1;  // past the ':'
        int positive = 1;
        if (*p == '^') {
            positive = 0;
            ++p;
        }
        const char* colon = p;
        while (*colon && *colon != ':') ++colon;
        regexchars::ClassTest test =
            *colon == ':' ? regexchars::PosixClassByName(p, static_cast<int>(colon - p)) : nullptr;
        return New<CPosixElxT<T>>(test, rtl, positive);
    }

    int positive = 1;
    if (IsSpecial(currentToken, '^')) {
        Advance();
        positive = 0;
    }
    auto* r = New<CRangeElxT<T>>(rtl, positive);
    while (!IsEnd(currentToken) && !IsSpecial(currentToken, ']')) {
        const bool classLetter = currentToken.special &&
                                 (Is(currentToken, '.') || Is(currentToken, 'w') || Is(currentToken, 'W') ||
                                  Is(currentToken, 's') || Is(currentToken, 'S') || Is(currentToken, 'd') ||
                                  Is(currentToken, 'D'));
        if (classLetter || (IsSpecial(currentToken, '[') && IsSpecial(nextToken, ':'))) {
            r->classes.Push(ParseClass(parseFlags));
            continue;
        }
        const T ch = currentToken.ch;
        if (IsSpecial(nextToken, '-') && !afterNextToken.special) {
            r->ranges.Push(ch);
            r->ranges.Push(afterNextToken.ch);
            Advance();
            Advance();
            Advance();
        } else {
            r->chars.Push(ch);
            Advance();
        }
    }
    Advance();

    if (*parseFlags & kIcase) {
        using U = RegexUnit<T>;
        const int pairs = r->ranges.Count() / 2;
        for (int k = 0; k < pairs; ++k) {
            const int lo = U::Code(r->ranges[2 * k]), hi = U::Code(r->ranges[2 * k + 1]);
            if (lo <= 'Z' && hi >= 'A') {
                const int l = std::max(lo, int('A')) + 32, h = std::min(hi, int('Z')) + 32;
                if (!(lo <= l && h <= hi)) {
                    r->ranges.Push(T(l));
                    r->ranges.Push(T(h));
                }
            }
            if (lo <= 'z' && hi >= 'a') {
                const int l = std::max(lo, int('a')) - 32, h = std::min(hi, int('z')) - 32;
                if (!(lo <= l && h <= hi)) {
                    r->ranges.Push(T(l));
                    r->ranges.Push(T(h));
                }
            }
        }
        const int singles = r->chars.Count();
        for (int k = 0; k < singles; ++k) {
            const int u = U::Code(r->chars[k]);
            if (regexchars::IsUpper(u) && !r->Contains(T(u + 32))) r->chars.Push(T(u + 32));
            if (regexchars::IsLower(u) && !r->Contains(T(u - 32))) r->chars.Push(T(u - 32));
        }
    }
    r->Finalize();
    return r;
}

template <class T>
ElxInterface* CBuilderT<T>::ParseAnchor(int* parseFlags)
{
    const T c = currentToken.ch;
    Advance();
    const bool lines = (*parseFlags & LineAnchors) != 0;
    switch (RegexUnit<T>::Code(c)) {
    case '^': return New<CBoundaryElxT<T>>(lines ? LineStart : TextStart, 1);
    case '$': return New<CBoundaryElxT<T>>(lines ? LineEnd : TextEnd, 1);
    case 'A': return New<CBoundaryElxT<T>>(TextStart, 1);
    case 'Z': return New<CBoundaryElxT<T>>(TextEndOrFinalBreak, 1);
    case 'z': return New<CBoundaryElxT<T>>(TextEnd, 1);
    case 'b': return New<CBoundaryElxT<T>>(WordBoundary, 1);
    case 'B': return New<CBoundaryElxT<T>>(WordBoundary, 0);
    default:  // 'G'
        if (*parseFlags & ContinueAnchor) return New<CGlobalElxT<0>>();
        return StockNode(0);
    }
}

template <class T>
void CBuilderT<T>::GatherName(T terminator, CBufferT<T>* name, CBufferT<char>* copy)
{
    while (currentToken.ch != T(0) && currentToken.ch != terminator) {
        name->Push(currentToken.ch);
        copy->Push(RegexUnit<T>::Narrow(currentToken.ch));
        Advance();
    }
    Advance();
    name->Append(nullptr, 0, true);
    copy->Append(nullptr, 0, true);
}

template <class T>
void CBuilderT<T>::GatherToParen(CBufferT<char>* copy)
{
    while (currentToken.ch != T(0) && currentToken.ch != T(')')) {
        copy->Push(RegexUnit<T>::Narrow(currentToken.ch));
        Advance();
    }
    copy->Append(nullptr, 0, true);
}

template <class T>
ElxInterface* CBuilderT<T>::ParseBackReference(int* parseFlags)
{
    Advance();
    const int rtl = (*parseFlags & kRtl) ? 1 : 0;
    const int icase = (*parseFlags & kIcase) ? 1 : 0;
    if (Is(currentToken, '<') || Is(currentToken, '\'')) {
        const T terminator = Is(currentToken, '<') ? T('>') : T('\'');
        auto* ref = New<CBackrefElxT<T>>(-1, rtl, icase);
        Advance();
        CBufferT<char> copy;
        GatherName(terminator, &ref->name, &copy);
        int number = 0;
        if (ReadsAsNumber(copy, &number)) {
            ref->groupNumber = number;
            ref->name.Release();
        } else {
            namedBackrefs.Push(ref);
        }
        return ref;
    }
    int number = 0;
    for (int k = 0; k < 3 && IsDigitUnit(currentToken.ch); ++k) {
        number = number * 10 + (RegexUnit<T>::Code(currentToken.ch) - '0');
        Advance();
    }
    return New<CBackrefElxT<T>>(number, rtl, icase);
}

template <class T>
ElxInterface* CBuilderT<T>::SkipTooDeep()
{
    int depth = 0;
    do {
        if (IsEnd(currentToken)) break;
        if (IsSpecial(currentToken, '(')) {
            ++depth;
        } else if (IsSpecial(currentToken, ')')) {
            --depth;
        }
        Advance();
    } while (depth > 0);
    auto* never = New<CRangeElxT<T>>(0, 1);  // an empty set: matches nothing
    never->Finalize();
    return never;
}

template <class T>
ElxInterface* CBuilderT<T>::ParseParenthesis(int* parseFlags)
{
    if (nesting_ >= kMaxNesting) return SkipTooDeep();
    struct NestingGuard {
        int& n;
        explicit NestingGuard(int& d) : n(d) { ++n; }
        ~NestingGuard() { --n; }
    } guard(nesting_);
    maxNesting = std::max(maxNesting, nesting_);

    const int rtl = (*parseFlags & kRtl) ? 1 : 0;
    Advance();
    if (!IsSpecial(currentToken, '?')) {  // a capturing group
        auto* list = New<CListElxT<0>>(rtl);
        const int n = ++maxGroupNumber;
        list->nodes.Push(New<CBracketElxT<T>>(n, rtl ? 1 : 0));
        list->nodes.Push(ParseAlternation(*parseFlags));
        list->nodes.Push(New<CBracketElxT<T>>(n, rtl ? 0 : 1));
        groups.GrowTo(n, 0);
        groups[n] = list;
        Advance();
        return list;
    }
    Advance();
    ElxInterface* node = nullptr;
    switch (RegexUnit<T>::Code(currentToken.ch)) {
    case '=':
    case '!': {
        const int positive = Is(currentToken, '=') ? 1 : 0;
        Advance();
        node = New<CAssertElxT<0>>(ParseAlternation(*parseFlags & ~kRtl), positive);
        break;
    }
    case '<':
        if (Is(nextToken, '=') || Is(nextToken, '!')) {
            const int positive = Is(nextToken, '=') ? 1 : 0;
            Advance();
            Advance();
            node = New<CAssertElxT<0>>(ParseAlternation(*parseFlags | kRtl), positive);
            break;
        }
        [[fallthrough]];
    case '\'':
    case 'P': {
        if (Is(currentToken, 'P')) Advance();
        const T terminator = Is(currentToken, '\'') ? T('\'') : T('>');
        Advance();
        const int index = namedGroupCount++;
        auto* list = New<CListElxT<0>>(rtl);
        auto* open = New<CBracketElxT<T>>(-1, rtl ? 1 : 0);
        auto* close = New<CBracketElxT<T>>(-1, rtl ? 0 : 1);
        CBufferT<char> copy;
        GatherName(terminator, &open->name, &copy);
        int number = 0;
        if (ReadsAsNumber(copy, &number)) {
            open->groupNumber = close->groupNumber = number;
            open->name.Release();
        }
        list->nodes.Push(open);
        list->nodes.Push(ParseAlternation(*parseFlags));
        list->nodes.Push(close);
        namedGroups.GrowTo(index, 0);
        namedGroups[index] = list;
        node = list;
        break;
    }
    case '>':
        Advance();
        node = New<CIndependentElxT<0>>(ParseAlternation(*parseFlags));
        break;
    case 'R': {
        Advance();
        while (IsBlankUnit(currentToken.ch)) Advance();
        CDelegateElxT<T>* rec;
        if (Is(currentToken, '<') || Is(currentToken, '\'')) {
            const T terminator = Is(currentToken, '<') ? T('>') : T('\'');
            rec = New<CDelegateElxT<T>>(-3);
            Advance();
            CBufferT<char> copy;
            GatherName(terminator, &rec->name, &copy);
            int number = 0;
            if (ReadsAsNumber(copy, &number)) {
                rec->groupNumber = number;
                rec->name.Release();
            }
        } else {
            CBufferT<char> copy;
            GatherToParen(&copy);
            const char* p = copy.Data();
            int number = 0;
            if (!ReadDecimal(&p, &number)) number = 0;
            rec = New<CDelegateElxT<T>>(number);
        }
        recursions.Push(rec);
        node = rec;
        break;
    }
    case '(':
        node = ParseCondition(parseFlags);
        break;
    default: {
        while (IsBlankUnit(currentToken.ch)) Advance();
        if (IsDigitUnit(currentToken.ch)) {
            CBufferT<char> copy;
            GatherToParen(&copy);
            const char* p = copy.Data();
            int number = 0;
            if (!ReadDecimal(&p, &number)) number = 0;
            auto* rec = New<CDelegateElxT<T>>(number);
            recursions.Push(rec);
            node = rec;
            break;
        }
        int inline_ = *parseFlags;
        bool off = false;
        while (!IsEnd(currentToken) && !Is(currentToken, ':') && !Is(currentToken, ')') &&
               !IsSpecial(currentToken, '(')) {
            int bit = 0;
            switch (RegexUnit<T>::Code(currentToken.ch)) {
            case '-': off = true; break;
            case 'g': case 'G': bit = ContinueAnchor; break;
            case 'i': case 'I': bit = CaseInsensitive; break;
            case 'm': case 'M': bit = LineAnchors; break;
            case 's': case 'S': bit = DotMatchesNewline; break;
            default: break;
            }
            if (off) {
                inline_ &= ~bit;
            } else {
                inline_ |= bit;
            }
            Advance();
        }
        if (Is(currentToken, ':')) {
            Advance();
            node = ParseAlternation(inline_);
        } else if (IsSpecial(currentToken, '(')) {
            node = ParseAlternation(inline_);
        } else {
            *parseFlags = inline_;
            node = StockNode(0);
        }
        break;
    }
    }
    Advance();
    return node;
}

template <class T>
ElxInterface* CBuilderT<T>::ParseCondition(int* parseFlags)
{
    auto* cond = New<CConditionElxT<T>>(-1);
    if (IsSpecial(nextToken, '?')) {
        cond->conditionNode = ParseParenthesis(parseFlags);
    } else {
        Advance();
        const int start = currentToken.pos;
        auto* look = New<CAssertElxT<0>>(ParseAlternation(*parseFlags), 1);
        const int end = std::min(currentToken.pos, pattern.Count());
        cond->name.Append(pattern.Data() + start, std::max(0, end - start), true);
        CBufferT<char> copy;
        for (int i = 0; i < cond->name.Count(); ++i) copy.Push(RegexUnit<T>::Narrow(cond->name[i]));
        copy.Append(nullptr, 0, true);
        int number = 0;
        if (ReadsAsNumber(copy, &number)) {
            cond->groupNumber = number;
            cond->conditionNode = nullptr;
        } else {
            cond->conditionNode = look;
            namedConditions.Push(cond);
        }
        Advance();
    }
    int branchFlags = *parseFlags;
    cond->yesBranch = ParseSequence(&branchFlags);
    if (Is(currentToken, '|')) {
        Advance();
        cond->noBranch = ParseAlternation(*parseFlags);
    }
    return cond;
}

template class CBuilderT<char16_t>;
template class CBuilderT<char>;
