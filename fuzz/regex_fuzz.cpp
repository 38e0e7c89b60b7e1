// Compiles arbitrary patterns and runs them over arbitrary text in both engines: search walks,
// whole-text matches and replacement. Input: a flags byte, a split byte, then the pattern and
// the text (the wide engine widens bytes, or pairs them into 16-bit units when bit 7 is set).
#include <cstddef>
#include <cstdint>
#include <string>

#include "regex/RegexpT.h"

namespace {

constexpr std::int64_t kFuzzStepBudget = 200000;
constexpr int kMaxWalk = 16;

template <class T>
void Exercise(const std::basic_string<T>& pattern, const std::basic_string<T>& text,
              const std::basic_string<T>& replacement, int flags)
{
    CRegexpT<T> re(pattern.data(), static_cast<int>(pattern.size()), flags);
    re.SetStepBudget(kFuzzStepBudget);
    const int length = static_cast<int>(text.size());

    CContext context;
    for (int start : {-1, length / 2, length + 3}) {
        MatchResult r = re.Match(text.data(), length, start, &context);
        if (r.Found() && (r.MatchBegin() < 0 || r.MatchEnd() > length || r.MatchBegin() > r.MatchEnd())) __builtin_trap();
    }
    if (CContext* c = re.StartSearch(text.data(), length, -1, &context)) {
        for (int i = 0; i < kMaxWalk && re.Match(c).Found(); ++i) {
        }
    }
    re.MatchWhole(text.data(), length, &context);

    int resultLength = 0;
    MatchResult summary;
    T* out = re.Replace(text.data(), length, replacement.data(), static_cast<int>(replacement.size()),
                        resultLength, -1, kMaxWalk, &summary, &context);
    CRegexpT<T>::FreeString(out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2) return 0;
    const int flags = data[0] & 63;
    const bool pairs = (data[0] & 128) != 0;
    const std::size_t rest = size - 2;
    const std::size_t split = rest * data[1] / 256;
    const std::string pattern(reinterpret_cast<const char*>(data + 2), split);
    const std::string text(reinterpret_cast<const char*>(data + 2 + split), rest - split);
    const std::string replacement = text.substr(0, text.size() < 12 ? text.size() : 12);

    Exercise<char>(pattern, text, replacement, flags);

    auto widen = [pairs](const std::string& s) {
        std::u16string w;
        if (pairs) {
            for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
                w.push_back(static_cast<char16_t>(static_cast<unsigned char>(s[i]) |
                                                  (static_cast<unsigned char>(s[i + 1]) << 8)));
            }
        } else {
            for (char c : s) w.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
        }
        return w;
    };
    Exercise<char16_t>(widen(pattern), widen(text), widen(replacement), flags);
    return 0;
}
