#include "app/MiscUtils.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cmath>
#include <ctime>
#include <string>

#include "app/cLogger.h"
#include "controls/unicode/TntSysUtils.h"

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool HasExtension(const WideString& path, std::u16string_view upperExt) {
    const WideString ext = WideExtractFileExt(path);
    // An ASCII extension compares without the Unicode tables (a folder scan asks of every file);
    // any other is upper-cased by them, as some letters become ASCII ones ("\u017F" is "S").
    if (std::all_of(ext.begin(), ext.end(), [](char16_t c) { return c < 0x80; })) {
        if (ext.size() != upperExt.size()) return false;
        for (size_t i = 0; i < ext.size(); ++i) {
            const char16_t c = ext[i] >= u'a' && ext[i] <= u'z' ? static_cast<char16_t>(ext[i] - 32) : ext[i];
            if (c != upperExt[i]) return false;
        }
        return true;
    }
    return WideUpperCaseString(ext) == upperExt;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// localtime_r does not read the zone again by itself. Read again when TZ changes, otherwise at
// most once a second (a new system zone is seen that soon): a list of thousands of dates then
// looks at the zone file once, not once a date.
void RefreshLocalZone() {
    thread_local std::string lastZone;
    thread_local bool hadZone = false;
    thread_local std::chrono::steady_clock::time_point lastRead;
    const char* zone = std::getenv("TZ");
    const auto now = std::chrono::steady_clock::now();
    if (lastRead != std::chrono::steady_clock::time_point{} && now - lastRead < std::chrono::seconds(1) &&
        (zone != nullptr) == hadZone && (!zone || lastZone == zone))
        return;
    tzset();
    lastRead = now;
    hadZone = zone != nullptr;
    lastZone = zone ? zone : "";
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The month named right after a day number, as a date header writes it ("Tue, 9 Dec 2026").
int MonthAfterDayNumber(std::string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (!IsDigit(text[i]) || (i > 0 && IsDigit(text[i - 1]))) continue;
        size_t j = i;
        while (j < text.size() && IsDigit(text[j])) ++j;
        if (j - i > 2 || j >= text.size() || !IsBlank(text[j])) continue;
        while (j < text.size() && IsBlank(text[j])) ++j;
        for (size_t m = 0; m < kMonths.size(); ++m)
            if (text.substr(j, 3) == kMonths[m]) return static_cast<int>(m) + 1;
    }
    return -1;
}

}  // namespace

bool isPST(const WideString& path) {
    QUILLORA_TRACE(u"isPST");
    return HasExtension(path, u".PST");
}

bool isEML(const WideString& path) {
    QUILLORA_TRACE(u"isEML");
    return HasExtension(path, u".EML");
}

bool isMSG(const WideString& path) {
    QUILLORA_TRACE(u"isMSG");
    return HasExtension(path, u".MSG");
}

int ExtractMonthNumber(std::string_view text) {
    QUILLORA_TRACE(u"ExtractMonthNumber");
    // A comment or a weekday-like word elsewhere ("(Mar…)") must not beat the date's own month.
    const int after = MonthAfterDayNumber(text);
    if (after > 0) return after;
    for (size_t m = 0; m < kMonths.size(); ++m)
        if (text.find(kMonths[m]) != std::string_view::npos) return static_cast<int>(m) + 1;
    return -1;
}

TDateTime UtcToLocalDateTime(TDateTime utc) {
    const double seconds = std::round((utc - UnixDateDelta) * 86400.0);
    if (!std::isfinite(seconds) || std::fabs(seconds) > 1e15) return 0;
    const std::time_t t = static_cast<std::time_t>(seconds);
    RefreshLocalZone();
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) return 0;
    if (local.tm_year < 70 || local.tm_year + 1900 > 9999) return 0;
    TDateTime date = 0;
    TDateTime time = 0;
    if (!TryEncodeDate(static_cast<WORD>(local.tm_year + 1900), static_cast<WORD>(local.tm_mon + 1),
                       static_cast<WORD>(local.tm_mday), date) ||
        !TryEncodeTime(static_cast<WORD>(local.tm_hour), static_cast<WORD>(local.tm_min),
                       static_cast<WORD>(local.tm_sec > 59 ? 59 : local.tm_sec), 0, time))
        return 0;
    return date + time;
}

TDateTime LocalToUtcDateTime(TDateTime local) {
    FILETIME localTime{}, utc{};
    if (!DateTimeToFileTime(local, localTime) || !LocalFileTimeToFileTime(&localTime, &utc)) return 0;
    return FileTimeToDateTime(utc);
}

TDateTime SubtractMinutes(TDateTime value, int minutes) {
    return value - static_cast<double>(minutes) / 1440.0;
}

void RemoveDirWithFiles(const WideString& folder) {
    QUILLORA_TRACE(u"RemoveDirWithFiles");
    if (!WideDirectoryExists(folder)) return;
    TSearchRecW rec;
    if (WideFindFirst(folder + u"/*", static_cast<int>(faAnyFile), rec) != 0) return;
    do {
        if ((rec.Attr & static_cast<int>(faDirectory)) == 0) WideDeleteFile(folder + u'/' + rec.Name);
    } while (WideFindNext(rec) == 0);
    WideFindClose(rec);
}
