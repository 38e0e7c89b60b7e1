// The Date header of a raw header text, for the date and zone readers: they apply their
// patterns to this value alone, so their work does not grow with the rest of the header.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/win/WinTypes.h"

// The value of the first header line named Date (only "Date:" written so unless anyCase),
// its folded lines joined by one blank and line ends dropped; empty when there is none.
// writtenExactly, when given, tells whether the line found is written "Date:" (then the
// value is the one without anyCase too).
WideString DateHeaderValue(const WideString& headerText, bool anyCase, bool* writtenExactly = nullptr);

// Backtracking steps a date pattern may take on one Date value: a well-formed date needs
// under a thousand; a value built to make the lazy runs backtrack fails at once instead of
// freezing a folder scan.
inline constexpr std::int64_t kDatePatternStepBudget = 20'000;

// The fields of a Date value in the usual form: blanks, an optional weekday and comma, then
// day, month name, year and hours:minutes:seconds apart by blanks, then blanks and a zone that
// is a signed number or starts with a letter ("Tue, 15 Nov 2022 08:12:31 +0530 (IST)"), or
// nothing but blanks (no zone).
// The fields are what the date and zone patterns take from such a value, found without
// running them; nothing for any other form, which the patterns read.
struct UsualDate {
    std::u16string_view day, month, year, hours, minutes, seconds;
    std::u16string_view zone;  // "+0530", "GMT"; empty when there is none
};
std::optional<UsualDate> SplitUsualDate(std::u16string_view value);

// False when the zone pattern cannot match the value, so it need not run (for values of
// other forms that would make it backtrack to its step budget): the pattern wants a number,
// a word, four numbers ending words, then a signed number or a blank or "(" before a word.
bool MayHoldZone(std::u16string_view value);
