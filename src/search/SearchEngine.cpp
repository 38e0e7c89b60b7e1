#include "search/SearchEngine.h"

bool SearchEngine::Test(TMessageAttr* message) {
    for (const auto& criterion : criteria)
        if (!criterion->Match(message)) return false;
    return true;
}
