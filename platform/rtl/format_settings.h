// The locale's format settings (separators, date and time formats, month
// and day names) through which dates, times and numbers become text.
#pragma once

#include <cstdint>
#include <string>

namespace rtl {

// The locale fields the program uses. Filled from the user's locale by the
// program (see the Qt bridge) and from CLikeFormatSettings() in tests.
struct TFormatSettings {
    char DecimalSeparator = '.';
    char ThousandSeparator = ',';
    char DateSeparator = '/';
    char TimeSeparator = ':';
    char ListSeparator = ',';
    std::string ShortDateFormat = "M/d/yyyy";
    std::string LongDateFormat = "dddd, MMMM d, yyyy";
    std::string ShortTimeFormat = "h:mm AMPM";
    std::string LongTimeFormat = "h:mm:ss AMPM";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::string CurrencyString = "$";
    uint8_t CurrencyFormat = 0;
    uint8_t NegCurrFormat = 0;
    uint8_t CurrencyDecimals = 2;
    std::string ShortMonthNames[12];
    std::string LongMonthNames[12];
    std::string ShortDayNames[7]; // Sunday first
    std::string LongDayNames[7];
};

// A fixed, C-like set of settings (English names, '.' decimal separator,
// "M/d/yyyy" short date, "h:mm:ss AMPM" long time) for tests and fallbacks.
TFormatSettings CLikeFormatSettings();

// The program-wide settings; CLikeFormatSettings() until the program sets them.
TFormatSettings &FormatSettings();
void SetFormatSettings(const TFormatSettings &settings);

} // namespace rtl
