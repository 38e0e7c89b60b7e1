#include "search/SearchRequest.h"

#include <cstdint>

#include "app/MiscUtils.h"
#include "search/SearchAlgorithm.h"
#include "search/SearchCriteria.h"

namespace {

template <class Criterion>
void AddText(SearchEngine& engine, const WideString& value, bool caseSensitive, bool exact) {
    if (value.empty()) return;
    auto criterion = std::make_shared<Criterion>();
    criterion->SetValue(value);
    criterion->SetAlgorithm(std::make_unique<SmartSearchAlgorithm>(caseSensitive, exact));
    engine.AddCriteria(std::move(criterion));
}

}  // namespace

std::unique_ptr<SearchEngine> CreateSearchEngine(const SearchRequest& r) {
    auto engine = std::make_unique<SearchEngine>();
    AddText<SCFrom>(*engine, r.from, r.caseSensitive, r.wholeFrom);
    AddText<SCTo>(*engine, r.to, r.caseSensitive, r.wholeTo);
    AddText<SCSubject>(*engine, r.subject, r.caseSensitive, r.wholeSubject);
    AddText<SCHeader>(*engine, r.header, r.caseSensitive, false);
    AddText<SCCC>(*engine, r.cc, r.caseSensitive, r.wholeCC);
    AddText<SCBody>(*engine, r.body, r.caseSensitive, false);
    if (r.fromDate != 0 || r.toDate != 0) {
        const TDateTime from = r.fromDate != 0 ? LocalToUtcDateTime(r.fromDate) : 0;
        const TDateTime to = r.toDate != 0 ? LocalToUtcDateTime(r.toDate + 1.0) : 0;
        auto dates = std::make_shared<SCDateTime>();
        dates->SetRange(from, to);
        engine->AddCriteria(std::move(dates));
    }
    return engine;
}

int FileTypeFilterOf(const SearchRequest& r) { return (r.eml ? 1 : 0) | (r.msg ? 2 : 0) | (r.pst ? 4 : 0); }

unsigned SearchProgressPercent(unsigned done, unsigned total) {
    return total == 0 ? 0 : static_cast<unsigned>(static_cast<std::uint64_t>(done) * 100u / total);
}
