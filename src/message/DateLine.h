// The Date header of a raw header text, for the date and zone readers: they apply their
// patterns to this value alone, so their work does not grow with the rest of the header.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

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

// The date reader's pattern over a Date value: an optional "word," then day, month, year,
// hours, minutes, seconds as groups 2 to 7.
inline constexpr char kDateFieldsPattern[] = "^\\s*(\\w+,)?.*?(\\d+).*?(\\w+).*?(\\d+).*?(\\d+).*?(\\d+).*?(\\d+)";

// The groups of kDateFieldsPattern when its first choices all hold: blanks, an optional
// "word,", then a digit run, a word, and four digit runs, each the first run of its kind after
// the one before, taken whole, with no line break skipped. The pattern's backtracking tries
// exactly that path first, so when it holds, the pattern finds these groups; otherwise (false)
// the pattern itself must decide. Real Date lines nearly always hold.
bool DateGroupsWithoutBacktracking(std::string_view text, std::vector<AnsiString>& groups);

// The zone reader's pattern (case-insensitive) over a Date value: after the seconds, a signed
// number (group 1), else a number or a word after a blank or "(" (group 2).
inline constexpr char16_t kDateZonePattern[] =
    u"^\\s*?(?:\\w+,)?.*?\\d+.*?\\w+.*?\\d+\\b.*?\\d+\\b.*?\\d+\\b.*?\\d+\\b"
    u"(?:\\s*([\\+\\-]\\d+)|.*?[\\s\\(]([\\+\\-]?\\d+|\\w+))";

// The zone token kDateZonePattern finds, read as DateGroupsWithoutBacktracking reads the date:
// true with the token when the pattern's first choices all hold (each digit run the first one
// that ends before a non-word character), false when the pattern itself must decide.
bool DateZoneWithoutBacktracking(std::u16string_view value, std::u16string_view& token);

// False when the zone pattern cannot match the value, so it need not run (for values of
// other forms that would make it backtrack to its step budget): the pattern wants a number,
// a word, four numbers ending words, then a signed number or a blank or "(" before a word.
bool MayHoldZone(std::u16string_view value);
