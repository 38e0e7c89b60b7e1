#include "ui/KeySort.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <utility>

namespace {

// ---- Numbers: least significant byte first, each pass stable, passes that move nothing skipped.

struct Number {
    std::uint64_t key;
    std::uint32_t position;
};

// ---- Texts: three-way partitions on the next four code units, cached beside each text so the
// partitions read one array; texts equal so far go on at the next four units. Equal texts are
// ordered by position at the end, so the result is stable.

constexpr std::size_t kCachedUnits = 4;
constexpr std::ptrdiff_t kSmallGroup = 16;

struct Text {
    std::uint64_t cache;  // units [depth, depth + 4) big-endian, zeros past the end
    const char16_t* data;
    std::uint32_t size;
    std::uint32_t position;
};

void Cache(Text& t, std::size_t depth)
{
    std::uint64_t cache = 0;
    for (std::size_t k = depth; k < depth + kCachedUnits; ++k) cache = cache << 16 | (k < t.size ? t.data[k] : 0u);
    t.cache = cache;
}

class TextSort {
public:
    explicit TextSort(bool laterPositionFirst) : laterFirst_(laterPositionFirst) {}

    void Sort(Text* first, Text* last, std::size_t depth, int budget) const
    {
        while (last - first > 1) {
            if (last - first <= kSmallGroup || budget == 0) {
                std::sort(first, last, [this, depth](const Text& a, const Text& b) { return Less(a, b, depth); });
                return;
            }
            const std::uint64_t pivot = Pivot(first, last);
            Text* lt = first;
            Text* gt = last;
            for (Text* i = first; i < gt;) {
                if (i->cache < pivot)
                    std::swap(*lt++, *i++);
                else if (i->cache > pivot)
                    std::swap(*i, *--gt);
                else
                    ++i;
            }
            // A run of poor pivots ends in the comparison sort, so the stack stays short.
            Sort(first, lt, depth, budget - 1);
            Sort(gt, last, depth, budget - 1);
            // The texts that end within these units come first: shorter ones are prefixes of
            // the longer ones. The others go on with their next units.
            const std::size_t next = depth + kCachedUnits;
            Text* ongoing = std::partition(lt, gt, [next](const Text& t) { return t.size <= next; });
            std::sort(lt, ongoing, [this](const Text& a, const Text& b) {
                return a.size != b.size ? a.size < b.size : Before(a, b);
            });
            for (Text* t = ongoing; t < gt; ++t) Cache(*t, next);
            first = ongoing;
            last = gt;
            depth = next;
        }
    }

private:
    bool Before(const Text& a, const Text& b) const
    {
        return laterFirst_ ? a.position > b.position : a.position < b.position;
    }

    // The whole order, for texts equal before depth whose caches hold units from depth.
    bool Less(const Text& a, const Text& b, std::size_t depth) const
    {
        if (a.cache != b.cache) return a.cache < b.cache;
        const std::size_t next = depth + kCachedUnits;
        if (a.size <= next || b.size <= next) return a.size != b.size ? a.size < b.size : Before(a, b);
        const int c = std::u16string_view(a.data + next, a.size - next).compare({b.data + next, b.size - next});
        return c != 0 ? c < 0 : Before(a, b);
    }

    static std::uint64_t Pivot(const Text* first, const Text* last)
    {
        const auto median = [](std::uint64_t a, std::uint64_t b, std::uint64_t c) {
            return std::max(std::min(a, b), std::min(std::max(a, b), c));
        };
        const std::ptrdiff_t n = last - first;
        const std::ptrdiff_t step = n / 8;
        const auto at = [first](std::ptrdiff_t i) { return first[i].cache; };
        return median(median(at(0), at(step), at(2 * step)), median(at(3 * step), at(n / 2), at(5 * step)),
                      median(at(6 * step), at(7 * step), at(n - 1)));
    }

    bool laterFirst_;
};

}  // namespace

std::vector<std::uint32_t> StableOrderOfNumbers(const std::vector<std::uint64_t>& keys, bool descending)
{
    const std::size_t n = keys.size();
    std::vector<Number> from(n);
    std::vector<Number> to(n);
    std::array<std::array<std::uint32_t, 256>, 8> counts{};
    for (std::size_t i = 0; i < n; ++i) {
        // Complemented keys sort descending, and the passes stay stable.
        const std::uint64_t key = descending ? ~keys[i] : keys[i];
        from[i] = {key, static_cast<std::uint32_t>(i)};
        for (std::size_t b = 0; b < counts.size(); ++b) ++counts[b][key >> (8 * b) & 0xFF];
    }
    for (std::size_t b = 0; b < counts.size() && n > 0; ++b) {
        const unsigned shift = 8 * static_cast<unsigned>(b);
        auto& count = counts[b];
        if (count[from[0].key >> shift & 0xFF] == n) continue;
        std::uint32_t sum = 0;
        for (std::uint32_t& c : count) sum += std::exchange(c, sum);
        for (const Number& k : from) to[count[k.key >> shift & 0xFF]++] = k;
        from.swap(to);
    }
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = from[i].position;
    return order;
}

std::vector<std::uint32_t> StableOrderOfTexts(const std::vector<std::u16string_view>& keys, bool descending)
{
    const std::size_t n = keys.size();
    std::vector<Text> texts(n);
    for (std::size_t i = 0; i < n; ++i) {
        texts[i] = {0, keys[i].data(), static_cast<std::uint32_t>(keys[i].size()), static_cast<std::uint32_t>(i)};
        Cache(texts[i], 0);
    }
    // Descending is the ascending order read backwards, so its equal keys are sorted backwards.
    const int budget = 2 * std::bit_width(n) + 8;
    TextSort(descending).Sort(texts.data(), texts.data() + n, 0, budget);
    std::vector<std::uint32_t> order(n);
    for (std::size_t i = 0; i < n; ++i) order[i] = texts[descending ? n - 1 - i : i].position;
    return order;
}

std::uint64_t OrderedKey(double value)
{
    const auto bits = std::bit_cast<std::uint64_t>(value == 0 ? 0.0 : value);
    // Negative numbers' magnitudes run backwards; all of them sort below the positive ones.
    return bits >> 63 ? ~bits : bits | std::uint64_t{1} << 63;
}

std::uint64_t OrderedKey(std::int32_t value)
{
    return static_cast<std::uint32_t>(value) ^ 0x80000000u;
}
