#include "platform/vcl/InputFilter.h"

#include <vector>

#include "platform/vcl/Controls.h"

namespace {

std::vector<TInputFilter>& Filters() {
    static std::vector<TInputFilter> filters;
    return filters;
}

}  // namespace

TInputFilterScope::TInputFilterScope(TInputFilter filter) {
    // The local loop takes the mouse from whatever control a press captured it for.
    CancelMouseCapture();
    Filters().push_back(std::move(filter));
}

TInputFilterScope::~TInputFilterScope() { Filters().pop_back(); }

bool InputFiltered() { return !Filters().empty(); }

bool FilterToolkitInput(const TInputPeek& peek) {
    if (Filters().empty()) return false;
    // A copy: the filter may end its own scope's loop while it runs.
    const TInputFilter filter = Filters().back();
    return filter(peek);
}
