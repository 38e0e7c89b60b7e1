// Search criteria and the engine: text comparisons with and without case and exactness, the
// body and date criteria, and the engine's all-must-pass rule with its short circuit.
#include <gtest/gtest.h>

#include "search/SearchEngine.h"

namespace {

class Record : public TMessageAttr {
public:
    int GetType() override { return 1; }
};

void Fill(Record& m) {
    m.from = u"John SMITH <john@example.com>";
    m.to = u"Anna M\u00FCller";
    m.cc = u"";
    m.subject = u"Re: Hello";
    m.headerText = u"X-Mailer: Test\r\nSubject: Re: Hello";
    m.plainBody = u"Stra\u00DFe and the quarterly figures";
}

template <class C>
std::shared_ptr<ISearchCriteria> Text(const WideString& value, bool caseSensitive, bool exact) {
    auto c = std::make_shared<C>();
    c->SetValue(value);
    c->SetAlgorithm(std::make_unique<SmartSearchAlgorithm>(caseSensitive, exact));
    return c;
}

TEST(Search, TextCriteriaCompareByCaseAndExactness) {
    Record m;
    Fill(m);
    const struct {
        std::shared_ptr<ISearchCriteria> criterion;
        bool expected;
    } rows[] = {
        {Text<SCFrom>(u"smith", false, false), true},
        {Text<SCFrom>(u"smith", true, false), false},
        {Text<SCSubject>(u"Hello", false, true), false},     // exact: "Re: Hello" is not "Hello"
        {Text<SCSubject>(u"re: hello", false, true), true},  // exact without case
        {Text<SCSubject>(u"re: hello", true, true), false},
        {Text<SCTo>(u"M\u00DCLLER", false, false), true},    // upper-casing beyond ASCII
        {Text<SCCC>(u"anyone", false, false), false},        // an empty field matches nothing
        {Text<SCCC>(u"", false, true), true},                // exact empty equals empty
        {Text<SCSubject>(u"", false, false), false},         // an empty pattern is never found
        {Text<SCHeader>(u"x-mailer", false, false), true},
        {Text<SCBody>(u"STRASSE", false, false), false},     // one-to-one upper-casing: no SS
        {Text<SCBody>(u"QUARTERLY", false, false), true},
        {Text<SCBody>(u"", false, true), false},             // an empty body value rejects all
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rows[i].criterion->Match(&m), rows[i].expected) << "row " << i;
}

TEST(Search, BodyFallsBackToHtmlWithoutTheReadersOwnBlock) {
    Record m;
    m.htmlBody = PrependScriptErrorHandler(u"<p>Invoice attached</p>");
    EXPECT_TRUE(Text<SCBody>(u"invoice", false, false)->Match(&m));
    EXPECT_FALSE(Text<SCBody>(u"onerror", false, false)->Match(&m));
    m.plainBody = u"plain text";
    EXPECT_FALSE(Text<SCBody>(u"invoice", false, false)->Match(&m));  // the plain body wins
}

TEST(Search, DateBoundsAreInclusiveAndZeroLeavesThemOpen) {
    Record m;
    const struct {
        double from, to, date;
        bool expected;
    } rows[] = {
        {100, 200, 100, true}, {100, 200, 200, true}, {100, 200, 99.999, false}, {100, 200, 200.001, false},
        {0, 200, 1, true},     {100, 0, 5000, true},  {0, 0, 0, true},           {100, 0, 50, false},
    };
    for (const auto& r : rows) {
        SCDateTime c;
        c.SetRange(r.from, r.to);
        m.date = r.date;
        EXPECT_EQ(c.Match(&m), r.expected) << r.from << ".." << r.to << " at " << r.date;
    }
}

class Counting : public ISearchCriteria {
public:
    explicit Counting(bool answer) : answer_(answer) {}
    bool Match(TMessageAttr*) override {
        ++calls;
        return answer_;
    }
    int calls = 0;

private:
    bool answer_;
};

TEST(Search, EveryCriterionMustPassAndTheFirstFailureEndsTheTest) {
    Record empty;
    SearchEngine none;
    EXPECT_TRUE(none.Test(&empty));  // no criteria: everything passes

    SearchEngine engine;
    auto first = std::make_shared<Counting>(true), second = std::make_shared<Counting>(false),
         third = std::make_shared<Counting>(true);
    engine.AddCriteria(first);
    engine.AddCriteria(second);
    engine.AddCriteria(third);
    EXPECT_FALSE(engine.Test(&empty));
    EXPECT_EQ(first->calls, 1);
    EXPECT_EQ(second->calls, 1);
    EXPECT_EQ(third->calls, 0);  // never reached
}

}  // namespace
