// Sorting 100,000 listed records by subject and by date, against std::sort of the bare keys.
// Prints "list sort 100k ratio vs std::sort of the keys: R" (the worse of the two columns).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "message/MessageEML.h"
#include "platform/win/WinString.h"
#include "ui/MessageList.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRows = 100000;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

template <class F>
double Best(F run)
{
    double best = 1e9;
    for (int i = 0; i < 5; ++i) best = std::min(best, run());
    return best;
}

}  // namespace

int main()
{
    std::mt19937 rng(7);
    static const char16_t* const words[] = {u"Re: ", u"Budget ", u"review ", u"Quarterly ", u"status ", u"FW: ",
                                            u"meeting ", u"\u00e9t\u00e9 ", u"Project "};
    std::vector<std::unique_ptr<MessageEML>> owned;
    MessageAttrDeque list;
    for (int i = 0; i < kRows; ++i) {
        auto m = std::make_unique<MessageEML>();
        for (int w = 0; w < 4; ++w) m->subject += words[rng() % 9];
        m->subject += Utf8ToUtf16(std::to_string(rng() % 100000));
        m->date = 40000.0 + static_cast<double>(rng() % 3000000) / 1000.0;
        list.push_back(m.get());
        owned.push_back(std::move(m));
    }
    const MessageAttrDeque scanned = list;

    auto ours = [&](int column) {
        return Best([&] {
            list = scanned;
            const auto start = Clock::now();
            SortMessages(list, column, false);
            return Seconds(start);
        });
    };
    std::vector<WideString> subjects;
    std::vector<double> dates;
    for (const TMessageAttr* m : scanned) {
        subjects.push_back(m->subject);
        dates.push_back(m->date);
    }
    const double subjectPeer = Best([&] {
        std::vector<WideString> keys = subjects;
        const auto start = Clock::now();
        std::sort(keys.begin(), keys.end());
        return Seconds(start);
    });
    const double datePeer = Best([&] {
        std::vector<double> keys = dates;
        const auto start = Clock::now();
        std::sort(keys.begin(), keys.end(), std::greater<>());
        return Seconds(start);
    });
    const double subject = ours(mlcSubject);
    const double date = ours(mlcDate);
    std::printf("by subject %.1f ms (keys %.1f ms); by date %.1f ms (keys %.1f ms)\n", subject * 1e3,
                subjectPeer * 1e3, date * 1e3, datePeer * 1e3);
    std::printf("list sort 100k ratio vs std::sort of the keys: %.2f\n",
                std::max(subject / subjectPeer, date / datePeer));
    return 0;
}
