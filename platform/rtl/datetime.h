// Date-time values, locale format settings and the program's one clock.
//
// A TDateTime counts days since 1899-12-30 (day 0); the fraction is the
// time of day, one second is 1/86400.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace rtl {

using TDateTime = double;

constexpr double SecsPerDay = 86400.0;
constexpr double MSecsPerDay = 86400000.0;

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

// Encoding and decoding. The Try forms return false on an invalid date or
// time; the plain forms raise EConvertError.
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool TryEncodeDate(int year, int month, int day, TDateTime &out);
bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime &out);
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int min, int sec, int msec);
void DecodeDate(TDateTime dt, int &year, int &month, int &day);
void DecodeTime(TDateTime dt, int &hour, int &min, int &sec, int &msec);
int DayOfWeek(TDateTime dt); // 1 = Sunday .. 7 = Saturday
// Joins a date and a time of day; before day 0 the time is subtracted, so the
// decoded time of day is the absolute fraction (as DecodeTime reads it).
TDateTime ComposeDateTime(TDateTime date, TDateTime time);
// The value shown to the user: one second later when the millisecond part
// (as DecodeTime gives it) exceeds 500; 500 and below stay as they are.
TDateTime RoundDisplaySeconds(TDateTime dt);

// Formatting with the class library's format specifiers (d dd ddd dddd
// ddddd dddddd m mm mmm mmmm yy yyyy h hh n nn s ss z zzz t tt am/pm a/p
// ampm c / : 'quoted' "quoted"); "m" right after "h"/"hh" means minutes.
// "c" (and an empty format) is the short date, then a blank and the long time
// unless the time of day is exactly zero. DateTimeToStr is "c".
std::string FormatDateTime(const std::string &format, TDateTime dt,
                           const TFormatSettings &settings = FormatSettings());
std::string DateToStr(TDateTime dt, const TFormatSettings &settings = FormatSettings());
std::string TimeToStr(TDateTime dt, const TFormatSettings &settings = FormatSettings());
std::string DateTimeToStr(TDateTime dt, const TFormatSettings &settings = FormatSettings());

// Parsing of dates and times typed by the user, in the settings' order.
bool TryStrToDate(const std::string &s, TDateTime &out,
                  const TFormatSettings &settings = FormatSettings());
bool TryStrToTime(const std::string &s, TDateTime &out,
                  const TFormatSettings &settings = FormatSettings());
bool TryStrToDateTime(const std::string &s, TDateTime &out,
                      const TFormatSettings &settings = FormatSettings());

// Numbers in text with the settings' decimal separator. FloatToStr gives at
// most 15 significant digits without trailing zeros ("1E-5" and "1E20" beyond
// the fixed range); FormatFloatFixed rounds halves away from zero like
// LevelText; TryStrToFloat accepts surrounding blanks and nothing else.
std::string FloatToStr(double v, const TFormatSettings &settings = FormatSettings());
std::string FormatFloatFixed(double v, int decimals,
                             const TFormatSettings &settings = FormatSettings());
bool TryStrToFloat(const std::string &s, double &out,
                   const TFormatSettings &settings = FormatSettings());

// A level in dB with one decimal and the settings' decimal separator, ties
// rounded away from zero: 63.25 -> "63.3", -0.05 -> "-0.1". A tie is judged
// on the shortest decimal text that reads back as the same double (the value
// "as written"), so 1.15 and 0.35, stored a hair below the tie, still round
// up to "1.2" and "0.4", and 63.2499999 stays "63.2". At most 7 significant
// digits; "-0.0" is never shown.
std::string LevelText(double db, const TFormatSettings &settings = FormatSettings());

// The one clock the program reads time through. Tests install a FakeClock.
class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t MonotonicMs() = 0; // never goes back
    virtual TDateTime Now() = 0;       // local date-time
    // Busy waits and message pumps sleep through here; a fake clock advances.
    virtual void SleepMs(int64_t ms) = 0;
};

class SystemClock : public Clock {
public:
    int64_t MonotonicMs() override;
    TDateTime Now() override;
    void SleepMs(int64_t ms) override;
};

// A clock that only moves when told to: SleepMs and Advance move both the
// monotonic and the local time.
class FakeClock : public Clock {
public:
    explicit FakeClock(TDateTime start = 46000.5, int64_t monotonicStart = 1000000)
        : FNow(start), FMono(monotonicStart)
    {
    }
    int64_t MonotonicMs() override { return FMono; }
    TDateTime Now() override { return FNow; }
    void SleepMs(int64_t ms) override { Advance(ms); }
    void Advance(int64_t ms)
    {
        if (ms > 0) {
            FMono += ms;
            FNow += ms / MSecsPerDay;
        }
    }
    void SetNow(TDateTime now) { FNow = now; }

private:
    TDateTime FNow;
    int64_t FMono;
};

// The program-wide clock; a SystemClock unless replaced. SetClock does not
// take ownership; pass nullptr to go back to the system clock.
Clock &GetClock();
void SetClock(Clock *clock);

// Installs a clock for the lifetime of the guard (tests).
class ScopedClock {
public:
    explicit ScopedClock(Clock &clock) { SetClock(&clock); }
    ~ScopedClock() { SetClock(nullptr); }
    ScopedClock(const ScopedClock &) = delete;
    ScopedClock &operator=(const ScopedClock &) = delete;
};

} // namespace rtl
