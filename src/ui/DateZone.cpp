#include "ui/DateZone.h"

#include "platform/vcl/FormatSettings.h"

namespace {

const char16_t* const kItems[kTimeZoneItemCount] = {
    u"-12:00", u"-11:00", u"-10:00", u"-09:00", u"-08:00", u"-07:00", u"-06:00", u"-05:00", u"-04:00",
    u"-03:00", u"-02:00", u"-01:00", u"0",      u"+01:00", u"+02:00", u"+03:00", u"+04:00", u"+05:00",
    u"+06:00", u"+07:00", u"+08:00", u"+09:00", u"+10:00", u"+11:00", u"+12:00"};

}  // namespace

const char16_t* TimeZoneItemText(int index)
{
    return index >= 0 && index < kTimeZoneItemCount ? kItems[index] : u"";
}

int TimeZoneItemOf(int zoneHours)
{
    const int index = zoneHours + kZeroZoneItem;
    return index >= 0 && index < kTimeZoneItemCount ? index : kZeroZoneItem;
}

bool ZoneHoursOfText(const WideString& text, int& hours)
{
    for (int i = 0; i < kTimeZoneItemCount; ++i)
        if (text == kItems[i]) {
            hours = i - kZeroZoneItem;
            return true;
        }
    return false;
}

WideString DateTextInZone(TDateTime utc, int zoneHours)
{
    if (utc == 0) return u"N/A";
    return DateTimeToStr(utc + zoneHours / 24.0);
}
