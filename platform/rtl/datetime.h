// Date-time values, their text in the locale's formats, and the program's
// one clock.
//
// A TDateTime counts days since 1899-12-30 (day 0); the fraction is the
// time of day, one second is 1/86400.
#pragma once

#include "platform/rtl/format_settings.h"

#include <cstdint>
#include <memory>
#include <string>

namespace rtl {

using TDateTime = double;

constexpr double SecsPerDay = 86400.0;
constexpr double MSecsPerDay = 86400000.0;

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
