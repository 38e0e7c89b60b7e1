// The pattern compiler: a tokenizer over the pattern text and a recursive-descent parser that
// builds the node tree. Compiling never fails: text that forms no construct is read literally
// or in fixed ways.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "regex/RegexBuffer.h"
#include "regex/RegexChars.h"
#include "regex/RegexContext.h"
#include "regex/RegexNodes.h"

template <class T>
struct PatternToken {
    T ch = T(0);
    int special = 0;  // 0 literal character, 1 syntax token
    int pos = 0;      // index in the pattern of the first character covered
    int length = 0;   // pattern characters covered

    bool operator==(const PatternToken& o) const { return ch == o.ch && special == o.special; }
};

template <class T>
class CBuilderT {
public:
    // Group constructs nested deeper than this match nothing (bounds the call stack).
    static constexpr int kMaxNesting = 250;
    // Node levels that matching may stack up through recursion; divided by the tree's depth.
    static constexpr int kRecursionNodeBudget = 6000;
    static constexpr int kStockNodeCount = 17;

    CBuilderT() { Reset(); }
    ~CBuilderT() { Reset(); }
    CBuilderT(const CBuilderT&) = delete;
    CBuilderT& operator=(const CBuilderT&) = delete;

    void Reset();
    ElxInterface* BuildTree(const CBufferRefT<T>& patternText, int compileFlags);
    ElxInterface* StockNode(int index);
    int NamedGroupNumber(const T* name, int length) const;
    int NamedGroupNumber(const CBufferRefT<T>& name) const { return NamedGroupNumber(name.Data(), name.Count()); }

    // Tokenizer.
    int Advance();
    int ReadToken();
    static unsigned long ReadHexDigits(const T* p, int limit, int* count);
    static bool ReadDecimal(const char** text, int* value);

    ElxInterface* root = nullptr;
    int flags = 0;
    int maxGroupNumber = 0;
    int namedGroupCount = 0;
    int groupCount = 0;
    std::vector<std::unique_ptr<ElxInterface>> ownedNodes;
    CBufferT<ElxInterface*> groups;
    CBufferT<CDelegateElxT<T>*> recursions;
    CBufferT<CListElxT<0>*> namedGroups;
    CBufferT<CBackrefElxT<T>*> namedBackrefs;
    CBufferT<CConditionElxT<T>*> namedConditions;
    CBufferRefT<T> pattern;
    PatternToken<T> currentToken, nextToken, afterNextToken;
    int readPosition = 0;
    int bracketDepth = 0;
    int quoting = 0;
    int (*quoteCaseMap)(int) = nullptr;
    ElxInterface* stockNodes[kStockNodeCount] = {};

    // Deepest nesting of group constructs met, and the recursion depth matching allows.
    int maxNesting = 0;
    int recursionLimit = 1;

private:
    template <class N, class... Args>
    N* New(Args&&... args)
    {
        auto node = std::make_unique<N>(std::forward<Args>(args)...);
        N* raw = node.get();
        ownedNodes.push_back(std::move(node));
        return raw;
    }

    T At(int i) const { return i >= 0 && i < pattern.Count() ? pattern[i] : T(0); }
    static bool IsEnd(const PatternToken<T>& t) { return t.special && t.ch == T(0); }
    static bool IsSpecial(const PatternToken<T>& t, char c) { return t.special && t.ch == T(c); }
    static bool Is(const PatternToken<T>& t, char c) { return t.ch == T(c); }
    static bool IsBlankUnit(T ch) { return regexchars::IsPatternBlank(RegexUnit<T>::Code(ch)); }
    static bool IsDigitUnit(T ch) { return regexchars::IsDigit(RegexUnit<T>::Code(ch)); }
    static bool ReadsAsNumber(const CBufferT<char>& text, int* value);
    void Produce(T ch, int special, int length);
    int ReadEscape();

    ElxInterface* ParseAlternation(int parseFlags);
    ElxInterface* ParseSequence(int* parseFlags);
    ElxInterface* ParseQuantified(int* parseFlags);
    ElxInterface* ParseAtom(int* parseFlags);
    ElxInterface* ParseParenthesis(int* parseFlags);
    ElxInterface* ParseClass(int* parseFlags);
    ElxInterface* ParseAnchor(int* parseFlags);
    ElxInterface* ParseBackReference(int* parseFlags);
    ElxInterface* ParseCondition(int* parseFlags);
    ElxInterface* SkipTooDeep();
    // Gathers token characters into name (and its 8-bit copy) up to a 0 or the terminator.
    void GatherName(T terminator, CBufferT<T>* name, CBufferT<char>* copy);
    // Gathers token characters into an 8-bit text up to a 0 or a ')' character.
    void GatherToParen(CBufferT<char>* copy);

    int nesting_ = 0;
};

extern template class CBuilderT<char16_t>;
extern template class CBuilderT<char>;
