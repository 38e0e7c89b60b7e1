// The search window's fields as an engine: which criteria, in which order, the file-type filter,
// and date bounds from local days to UTC.
#include <gtest/gtest.h>

#include <cstdlib>

#include "message/MessageAttr.h"
#include "search/SearchRequest.h"

namespace {

class Record : public TMessageAttr {
public:
    int GetType() override { return 1; }
};

TDateTime Day(WORD y, WORD m, WORD d, WORD h = 0, WORD n = 0) {
    TDateTime date = 0, time = 0;
    EXPECT_TRUE(TryEncodeDate(y, m, d, date));
    EXPECT_TRUE(TryEncodeTime(h, n, 0, 0, time));
    return date + time;
}

// Runs a test body in a fixed zone and restores the one before.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) saved_ = old, had_ = true;
        ::setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope() {
        if (had_) ::setenv("TZ", saved_.c_str(), 1);
        else ::unsetenv("TZ");
        tzset();
    }

private:
    std::string saved_;
    bool had_ = false;
};

TEST(SearchRequest, FieldsBecomeCriteria) {
    Record message;
    message.from = u"Alice Example <alice@example.com>";
    message.subject = u"Quarterly Report";
    message.plainBody = u"numbers inside";
    message.date = Day(2026, 5, 1, 12);
    struct Case {
        const char* what;
        SearchRequest request;
        bool matches;
    } cases[] = {
        {"nothing asked lists everything", {}, true},
        {"substring of the sender", [] { SearchRequest r; r.from = u"alice"; return r; }(), true},
        {"case counts when asked", [] { SearchRequest r; r.from = u"ALICE"; r.caseSensitive = true; return r; }(), false},
        {"exact subject", [] { SearchRequest r; r.subject = u"quarterly report"; r.wholeSubject = true; return r; }(), true},
        {"exact subject, part only", [] { SearchRequest r; r.subject = u"Quarterly"; r.wholeSubject = true; return r; }(), false},
        {"blanks are text", [] { SearchRequest r; r.subject = u" "; return r; }(), true},
        {"body and header are substrings", [] { SearchRequest r; r.body = u"NUMBERS"; return r; }(), true},
        {"every criterion must hold", [] { SearchRequest r; r.from = u"alice"; r.body = u"absent"; return r; }(), false},
    };
    for (Case& c : cases) EXPECT_EQ(CreateSearchEngine(c.request)->Test(&message), c.matches) << c.what;
}

TEST(SearchRequest, LocalDayBoundsInclusiveAndOpen) {
    const ZoneScope zone("America/New_York");
    Record message;
    struct Case {
        const char* what;
        TDateTime utc;      // the message's date
        TDateTime from, to;  // local days
        bool matches;
    } cases[] = {
        // 1 May 02:30 UTC is still 30 April in New York.
        {"before local midnight", Day(2026, 5, 1, 2, 30), Day(2026, 5, 1), 0, false},
        {"after local midnight", Day(2026, 5, 1, 4, 30), Day(2026, 5, 1), 0, true},
        {"to date is inclusive", Day(2026, 5, 2, 3, 59), 0, Day(2026, 5, 1), true},
        {"the next local day is out", Day(2026, 5, 2, 4, 1), 0, Day(2026, 5, 1), false},
        {"both open", Day(1990, 1, 1), 0, 0, true},
    };
    for (Case& c : cases) {
        message.date = c.utc;
        SearchRequest r;
        r.fromDate = c.from;
        r.toDate = c.to;
        EXPECT_EQ(CreateSearchEngine(r)->Test(&message), c.matches) << c.what;
    }
}

TEST(SearchRequest, FilterAndProgress) {
    SearchRequest r;
    EXPECT_EQ(FileTypeFilterOf(r), 7);
    r.eml = r.msg = r.pst = false;
    EXPECT_EQ(FileTypeFilterOf(r), 0);
    r.msg = true;
    EXPECT_EQ(FileTypeFilterOf(r), 2);
    EXPECT_EQ(SearchProgressPercent(3, 4), 75u);
    EXPECT_EQ(SearchProgressPercent(5, 0), 0u);
    EXPECT_EQ(SearchProgressPercent(4000000000u, 4000000000u), 100u) << "no overflow";
}

}  // namespace
