// The radix orders of texts and numbers give exactly what a stable comparison sort gives.
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"
#include "ui/KeySort.h"

namespace {

using namespace std::string_view_literals;

template <class Key, class Less>
std::vector<std::uint32_t> StableSorted(const std::vector<Key>& keys, Less less)
{
    std::vector<std::uint32_t> order(keys.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return less(keys[a], keys[b]); });
    return order;
}

// Texts over a few units, so that equal keys, shared prefixes and prefixes of one another are
// common at every length the sort treats differently (within and past its cached units).
std::vector<std::u16string> RandomTexts(std::mt19937& rng, std::size_t count, std::u16string_view units,
                                        std::size_t maxLength, std::u16string_view prefix = {})
{
    std::vector<std::u16string> texts(count);
    for (std::u16string& t : texts) {
        t = prefix;
        for (std::size_t k = rng() % (maxLength + 1); k > 0; --k) t += units[rng() % units.size()];
    }
    return texts;
}

TEST(KeySort, TextsOrderAsAStableOrdinalSortInBothDirections)
{
    std::mt19937 rng(43);
    const std::u16string longPrefix(200, u'x');
    const struct {
        const char* name;
        std::vector<std::u16string> texts;
    } cases[] = {
        {"empty list", {}},
        {"one", {u"only"}},
        {"all equal", std::vector<std::u16string>(3000, u"Re: status")},
        {"all empty", std::vector<std::u16string>(100, u"")},
        {"two units, short", RandomTexts(rng, 5000, u"ab", 6)},
        {"many units, long", RandomTexts(rng, 5000, u"aAbB ze", 20)},
        {"long shared prefix", RandomTexts(rng, 3000, u"ab", 5, longPrefix)},
        // Zero units against the end of a text; surrogates below the units above them;
        // the largest unit.
        {"zero and high units", RandomTexts(rng, 5000, u"\u0000a\xD83D\xDE00\uE000\uFFFF"sv, 9)},
        {"small group", RandomTexts(rng, 12, u"ab", 3)},
    };
    for (const auto& c : cases) {
        const std::vector<std::u16string_view> keys(c.texts.begin(), c.texts.end());
        EXPECT_EQ(StableOrderOfTexts(keys, false), StableSorted(keys, std::less<>())) << c.name;
        EXPECT_EQ(StableOrderOfTexts(keys, true), StableSorted(keys, std::greater<>())) << c.name << ", descending";
    }
}

TEST(KeySort, NumbersOrderAsAStableSortOfTheirValues)
{
    std::mt19937 rng(7);
    std::vector<double> dates(4000);
    for (double& d : dates) d = 40000.0 + static_cast<double>(rng() % 300) / 7.0;  // ties, fractions
    const double special[] = {0.0,     -0.0,    -1.5, 1e-310, -1e-310, std::numeric_limits<double>::max(),
                              -45000.25, 45000.25, std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    for (std::size_t i = 0; i < dates.size(); i += 10) dates[i] = special[rng() % std::size(special)];
    std::vector<std::int32_t> icons(3000);
    const std::int32_t edges[] = {std::numeric_limits<std::int32_t>::min(), -1, 0, 1, 7,
                                  std::numeric_limits<std::int32_t>::max()};
    for (std::int32_t& i : icons) i = edges[rng() % std::size(edges)];

    for (const bool descending : {false, true}) {
        std::vector<std::uint64_t> keys;
        for (const double d : dates) keys.push_back(OrderedKey(d));
        EXPECT_EQ(StableOrderOfNumbers(keys, descending),
                  descending ? StableSorted(dates, std::greater<>()) : StableSorted(dates, std::less<>()));
        keys.clear();
        for (const std::int32_t i : icons) keys.push_back(OrderedKey(i));
        EXPECT_EQ(StableOrderOfNumbers(keys, descending),
                  descending ? StableSorted(icons, std::greater<>()) : StableSorted(icons, std::less<>()));
    }
    EXPECT_TRUE(StableOrderOfNumbers({}, false).empty());
}

}  // namespace
