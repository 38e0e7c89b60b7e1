// The Date header of a raw header text, for the date and zone readers: they apply their
// patterns to this value alone, so their work does not grow with the rest of the header.
#pragma once

#include <cstdint>

#include "platform/win/WinTypes.h"

// The value of the first header line named Date (only "Date:" written so unless anyCase),
// its folded lines joined by one blank and line ends dropped; empty when there is none.
WideString DateHeaderValue(const WideString& headerText, bool anyCase);

// Backtracking steps a date pattern may take on one Date value: a well-formed date needs
// under a thousand; a value built to make the lazy runs backtrack fails at once instead of
// freezing a folder scan.
inline constexpr std::int64_t kDatePatternStepBudget = 20'000;
