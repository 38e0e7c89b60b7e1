// Differential test against PCRE2 on generated patterns of the subset where both engines
// define the same results: literals, ".", bracket expressions, greedy, lazy and possessive
// repeats of single characters, fixed counts of any item, capturing and non-capturing groups,
// alternation, atomic groups, look-ahead and back-references to earlier closed groups.
// (Variable repeats of items with several ways to match are left out: after retrying a
// repetition our repeats do not try further repetitions, by design.)
#define PCRE2_CODE_UNIT_WIDTH 0
#include <pcre2.h>

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RegexTestUtil.h"
#include "regex/RegexpT.h"

using regextest::Describe;
using regextest::Units;

namespace {

class PatternGenerator {
public:
    explicit PatternGenerator(unsigned seed) : rng_(seed) {}

    std::string Next()
    {
        groups_ = 0;
        closed_.clear();
        return Alternation(0);
    }
    std::string Text()
    {
        std::string t;
        const int n = Pick(12);
        for (int i = 0; i < n; ++i) t += "abcd"[Pick(4)];
        return t;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    std::string Alternation(int depth)
    {
        std::string s = Sequence(depth);
        const int more = depth > 2 ? 0 : Pick(3) == 0 ? 1 + Pick(2) : 0;
        for (int i = 0; i < more; ++i) s += "|" + Sequence(depth);
        return s;
    }
    std::string Sequence(int depth)
    {
        std::string s;
        const int n = 1 + Pick(4);
        for (int i = 0; i < n; ++i) s += Item(depth);
        return s;
    }
    std::string Unit()
    {
        switch (Pick(6)) {
        case 0: return ".";
        case 1: {
            static const char* const kClasses[] = {"[ab]", "[^a]", "[a-c]", "[bd]", "[^cd]"};
            return kClasses[Pick(5)];
        }
        default: return std::string(1, "abcd"[Pick(4)]);
        }
    }
    std::string VariableQuantifier()
    {
        static const char* const kQuants[] = {"*", "+", "?", "{1,2}", "{0,3}", "{2,}"};
        std::string q = kQuants[Pick(6)];
        switch (Pick(4)) {
        case 0: return q + "?";
        case 1: return Pick(3) == 0 ? q + "+" : q;
        default: return q;
        }
    }
    std::string Item(int depth)
    {
        const int kind = Pick(depth > 2 ? 3 : 8);
        switch (kind) {
        case 0:
        case 1:
            return Unit();
        case 2:
            return Unit() + VariableQuantifier();
        case 3: {  // a capturing group around one unit, repeated
            const int g = ++groups_;
            std::string s = "(" + Unit() + ")" + VariableQuantifier();
            closed_.push_back(g);
            return s;
        }
        case 4:
        case 5: {  // a group with any content, maybe a fixed count
            const bool capture = Pick(2) == 0;
            const int g = capture ? ++groups_ : 0;
            std::string s = (capture ? "(" : "(?:") + Alternation(depth + 1) + ")";
            if (capture) closed_.push_back(g);
            if (Pick(3) == 0) s += "{" + std::to_string(1 + Pick(3)) + "}";
            return s;
        }
        case 6: {
            static const char* const kOpen[] = {"(?>", "(?=", "(?!"};
            return kOpen[Pick(3)] + Alternation(depth + 1) + ")";
        }
        default:
            if (closed_.empty()) return Unit();
            return "\\" + std::to_string(closed_[static_cast<size_t>(Pick(static_cast<int>(closed_.size())))]);
        }
    }

    std::mt19937 rng_;
    int groups_ = 0;
    std::vector<int> closed_;
};

std::string Pcre8(const std::string& pattern, const std::string& text)
{
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code_8* code = pcre2_compile_8(reinterpret_cast<PCRE2_SPTR8>(pattern.c_str()), pattern.size(), 0,
                                         &error, &offset, nullptr);
    if (!code) return "compile error";
    pcre2_match_data_8* md = pcre2_match_data_create_from_pattern_8(code, nullptr);
    uint32_t groups = 0;
    pcre2_pattern_info_8(code, PCRE2_INFO_CAPTURECOUNT, &groups);
    int rc = pcre2_match_8(code, reinterpret_cast<PCRE2_SPTR8>(text.c_str()), text.size(), 0, 0, md, nullptr);
    std::string out;
    if (rc < 0) {
        out = rc == PCRE2_ERROR_NOMATCH ? "no" : "error " + std::to_string(rc);
    } else {
        PCRE2_SIZE* ov = pcre2_get_ovector_pointer_8(md);
        for (uint32_t g = 0; g <= groups; ++g) {
            if (g) out += ' ';
            if (static_cast<int>(g) >= rc || ov[2 * g] == PCRE2_UNSET) {
                out += 'x';
            } else {
                out += std::to_string(ov[2 * g]) + "-" + std::to_string(ov[2 * g + 1]);
            }
        }
    }
    pcre2_match_data_free_8(md);
    pcre2_code_free_8(code);
    return out;
}

std::string Pcre16(const std::string& pattern, const std::string& text)
{
    std::u16string p = Units<char16_t>(pattern), t = Units<char16_t>(text);
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code_16* code =
        pcre2_compile_16(reinterpret_cast<PCRE2_SPTR16>(p.c_str()), p.size(), 0, &error, &offset, nullptr);
    if (!code) return "compile error";
    pcre2_match_data_16* md = pcre2_match_data_create_from_pattern_16(code, nullptr);
    int rc = pcre2_match_16(code, reinterpret_cast<PCRE2_SPTR16>(t.c_str()), t.size(), 0, 0, md, nullptr);
    std::string out = rc >= 0 ? "found" : "no";
    if (rc >= 0) {
        PCRE2_SIZE* ov = pcre2_get_ovector_pointer_16(md);
        out = std::to_string(ov[0]) + "-" + std::to_string(ov[1]);
    }
    pcre2_match_data_free_16(md);
    pcre2_code_free_16(code);
    return out;
}

TEST(RegexPcre2Diff, GeneratedPatternsAgree)
{
    PatternGenerator gen(20240611);
    int compared = 0, failures = 0;
    for (int i = 0; i < 4000 && failures < 10; ++i) {
        const std::string pattern = gen.Next();
        CRegexpT<char> narrow(pattern.c_str());
        auto wp = Units<char16_t>(pattern);
        CRegexpT<char16_t> wide(wp.c_str());
        for (int k = 0; k < 6; ++k) {
            const std::string text = gen.Text();
            const std::string expected = Pcre8(pattern, text);
            ASSERT_NE(expected, "compile error") << pattern;
            const std::string ours = Describe(narrow.Match(text.c_str(), static_cast<int>(text.size()), -1));
            auto wt = Units<char16_t>(text);
            MatchResult w = wide.Match(wt.c_str(), static_cast<int>(wt.size()), -1);
            const std::string oursWide = w.Found() ? std::to_string(w.MatchBegin()) + "-" + std::to_string(w.MatchEnd()) : "no";
            ++compared;
            if (ours != expected || oursWide != Pcre16(pattern, text)) {
                ++failures;
                ADD_FAILURE() << "pattern " << pattern << " text \"" << text << "\": pcre2 " << expected
                              << ", ours " << ours << " (wide " << oursWide << ")";
            }
        }
    }
    EXPECT_GT(compared, 20000);
}

}  // namespace
