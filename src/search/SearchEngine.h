// A search: criteria that a message must all pass, tested in the order they were added.
#pragma once

#include <memory>
#include <vector>

#include "search/SearchCriteria.h"

class SearchEngine {
public:
    void AddCriteria(std::shared_ptr<ISearchCriteria> criterion) { criteria.push_back(std::move(criterion)); }
    // No criteria: every message passes. Otherwise the first criterion that fails ends the test.
    bool Test(TMessageAttr* message);

    std::vector<std::shared_ptr<ISearchCriteria>> criteria;
};
