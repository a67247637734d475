#include "platform/rtl/format_settings.h"

namespace rtl {

TFormatSettings CLikeFormatSettings()
{
    static const char *const shortMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char *const longMonths[12] = {"January",   "February", "March",    "April",
                                               "May",       "June",     "July",     "August",
                                               "September", "October",  "November", "December"};
    static const char *const shortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char *const longDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    TFormatSettings fs;
    for (int i = 0; i < 12; ++i) {
        fs.ShortMonthNames[i] = shortMonths[i];
        fs.LongMonthNames[i] = longMonths[i];
    }
    for (int i = 0; i < 7; ++i) {
        fs.ShortDayNames[i] = shortDays[i];
        fs.LongDayNames[i] = longDays[i];
    }
    return fs;
}

TFormatSettings &FormatSettings()
{
    static TFormatSettings settings = CLikeFormatSettings();
    return settings;
}

void SetFormatSettings(const TFormatSettings &settings)
{
    FormatSettings() = settings;
}

} // namespace rtl
