#include "platform/rtl/datetime.h"

#include "platform/rtl/exceptions.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>

namespace rtl {

namespace {

constexpr int64_t MSecsPerDayInt = 86400000;
// Day number of 1899-12-30 counted from 1970-01-01.
constexpr int64_t DayZeroFromEpoch = -25569;
// Valid day numbers: 0001-01-01 .. 9999-12-31.
constexpr int64_t MinDay = -693593;
constexpr int64_t MaxDay = 2958465;

// Days since 1970-01-01 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int &year, int &month, int &day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

// Splits a date-time into whole days and milliseconds of the day the way the
// class library does: the value is rounded to whole milliseconds, the day is
// the part before the point (towards zero) and the time of day is the
// absolute fraction, so -1.25 is day -1 at 06:00.
bool SplitDateTime(TDateTime dt, int64_t &day, int64_t &msOfDay)
{
    if (!std::isfinite(dt) || dt < MinDay - 1.0 || dt > MaxDay + 1.0)
        return false;
    const int64_t total = std::llround(dt * MSecsPerDay);
    day = total / MSecsPerDayInt;
    msOfDay = (total < 0 ? -total : total) % MSecsPerDayInt;
    return true;
}

int CurrentYear()
{
    int y, m, d;
    DecodeDate(GetClock().Now(), y, m, d);
    return y;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

bool StartsWithNoCase(const std::string &s, size_t pos, const std::string &what)
{
    if (what.empty() || pos + what.size() > s.size())
        return false;
    for (size_t i = 0; i < what.size(); ++i)
        if (UpperAscii(s[pos + i]) != UpperAscii(what[i]))
            return false;
    return true;
}

void AppendNumber(std::string &out, int value, int minDigits)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*d", minDigits, value);
    out += buf;
}

// ---- FormatDateTime --------------------------------------------------------

struct DateTimeParts {
    bool dateValid = false;
    int year = 0, month = 0, day = 0, dayOfWeek = 0;
    int hour = 0, min = 0, sec = 0, msec = 0;
    bool hasTime = false; // the value has a non-zero time of day
};

void AppendFormat(std::string &out, const std::string &fmt, const DateTimeParts &p,
                  const TFormatSettings &fs, int level)
{
    if (level > 2) // nested formats (c, ddddd, t, ...) go at most two deep
        return;
    char lastToken = ' ';
    bool use12Hour = false;
    size_t i = 0;
    const size_t n = fmt.size();
    auto count = [&](char starter) {
        size_t c = 1;
        while (i + c < n && fmt[i + c] == starter)
            ++c;
        return c;
    };
    while (i < n) {
        const char starter = fmt[i];
        char token = UpperAscii(starter);
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && lastToken == 'H')
                token = 'N';
            lastToken = token;
        }
        switch (token) {
        case 'Y': {
            size_t c = count(starter);
            if (c <= 2)
                AppendNumber(out, p.year % 100, 2);
            else
                AppendNumber(out, p.year, 4);
            i += c;
            break;
        }
        case 'M': {
            size_t c = count(starter);
            if (p.month >= 1 && p.month <= 12) {
                if (c <= 2)
                    AppendNumber(out, p.month, static_cast<int>(c));
                else if (c == 3)
                    out += fs.ShortMonthNames[p.month - 1];
                else
                    out += fs.LongMonthNames[p.month - 1];
            }
            i += c;
            break;
        }
        case 'D': {
            size_t c = count(starter);
            if (c <= 2)
                AppendNumber(out, p.day, static_cast<int>(c));
            else if (c == 3 && p.dayOfWeek >= 1)
                out += fs.ShortDayNames[p.dayOfWeek - 1];
            else if (c == 4 && p.dayOfWeek >= 1)
                out += fs.LongDayNames[p.dayOfWeek - 1];
            else if (c == 5)
                AppendFormat(out, fs.ShortDateFormat, p, fs, level + 1);
            else if (c >= 6)
                AppendFormat(out, fs.LongDateFormat, p, fs, level + 1);
            i += c;
            break;
        }
        case 'H': {
            size_t c = count(starter);
            // A 12-hour clock when an AM/PM specifier follows before the next
            // hour specifier (outside quoted text).
            use12Hour = false;
            char quote = 0;
            for (size_t j = i + c; j < n; ++j) {
                const char ch = fmt[j];
                if (quote) {
                    if (ch == quote)
                        quote = 0;
                    continue;
                }
                if (ch == '\'' || ch == '"') {
                    quote = ch;
                } else if (ch == 'A' || ch == 'a') {
                    use12Hour = StartsWithNoCase(fmt, j, "AM/PM") ||
                                StartsWithNoCase(fmt, j, "A/P") || StartsWithNoCase(fmt, j, "AMPM");
                    break;
                } else if (ch == 'H' || ch == 'h') {
                    break;
                }
            }
            int h = p.hour;
            if (use12Hour) {
                h %= 12;
                if (h == 0)
                    h = 12;
            }
            AppendNumber(out, h, c >= 2 ? 2 : 1);
            i += c;
            break;
        }
        case 'N': {
            size_t c = count(starter);
            AppendNumber(out, p.min, c >= 2 ? 2 : 1);
            i += c;
            break;
        }
        case 'S': {
            size_t c = count(starter);
            AppendNumber(out, p.sec, c >= 2 ? 2 : 1);
            i += c;
            break;
        }
        case 'Z': {
            size_t c = count(starter);
            AppendNumber(out, p.msec, c >= 2 ? 3 : 1);
            i += c;
            break;
        }
        case 'T': {
            size_t c = count(starter);
            AppendFormat(out, c == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, p, fs, level + 1);
            i += c;
            break;
        }
        case 'C': {
            size_t c = count(starter);
            AppendFormat(out, fs.ShortDateFormat, p, fs, level + 1);
            if (p.hasTime) {
                out += ' ';
                AppendFormat(out, fs.LongTimeFormat, p, fs, level + 1);
            }
            i += c;
            break;
        }
        case 'A': {
            const bool pm = p.hour >= 12;
            if (StartsWithNoCase(fmt, i, "AM/PM")) {
                out += pm ? fmt.substr(i + 3, 2) : fmt.substr(i, 2);
                i += 5;
            } else if (StartsWithNoCase(fmt, i, "A/P")) {
                out += pm ? fmt[i + 2] : fmt[i];
                i += 3;
            } else if (StartsWithNoCase(fmt, i, "AMPM")) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
                i += 4;
            } else {
                out += starter;
                ++i;
            }
            break;
        }
        case '/':
            out += fs.DateSeparator;
            ++i;
            break;
        case ':':
            out += fs.TimeSeparator;
            ++i;
            break;
        case '\'':
        case '"': {
            size_t end = fmt.find(starter, i + 1);
            if (end == std::string::npos)
                end = n;
            out.append(fmt, i + 1, end - i - 1);
            i = end + 1;
            break;
        }
        default:
            out += starter;
            ++i;
            break;
        }
    }
}

// ---- parsing ---------------------------------------------------------------

struct Scanner {
    const std::string &s;
    size_t pos = 0;

    void SkipBlanks()
    {
        while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t'))
            ++pos;
    }
    bool AtEnd() const { return pos >= s.size(); }
    // Reads 1..maxDigits digits; digitsRead tells how many were there.
    bool Number(int &value, int &digitsRead, int maxDigits = 9)
    {
        value = 0;
        digitsRead = 0;
        while (pos < s.size() && IsDigit(s[pos])) {
            if (digitsRead == maxDigits)
                return false;
            value = value * 10 + (s[pos] - '0');
            ++digitsRead;
            ++pos;
        }
        return digitsRead > 0;
    }
    bool Char(char c)
    {
        if (pos < s.size() && s[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
};

// Order of day, month and year in the short date format: 0 = M D Y,
// 1 = D M Y, 2 = Y M D.
int DateOrder(const std::string &shortDateFormat)
{
    for (char c : shortDateFormat) {
        switch (UpperAscii(c)) {
        case 'D':
            return 1;
        case 'Y':
            return 2;
        case 'M':
            return 0;
        default:
            break;
        }
    }
    return 0;
}

bool ScanDate(Scanner &sc, TDateTime &out, const TFormatSettings &fs)
{
    sc.SkipBlanks();
    int n[3] = {0, 0, 0};
    int digits[3] = {0, 0, 0};
    int count = 0;
    if (!sc.Number(n[0], digits[0], 4))
        return false;
    count = 1;
    while (count < 3) {
        const size_t save = sc.pos;
        if (!sc.Char(fs.DateSeparator))
            break;
        if (!sc.Number(n[count], digits[count], 4)) {
            sc.pos = save;
            break;
        }
        ++count;
    }
    if (count < 2)
        return false;
    // A separator right after the year ("1/2/2024/") is accepted as in the
    // class library; nothing else may follow the date here.
    if (count == 3)
        sc.Char(fs.DateSeparator);
    int y, m, d;
    int yearDigits = 4;
    const int order = DateOrder(fs.ShortDateFormat);
    if (count == 2) {
        // Day and month only: this year.
        y = CurrentYear();
        if (order == 1) {
            d = n[0];
            m = n[1];
        } else {
            m = n[0];
            d = n[1];
        }
    } else {
        switch (order) {
        case 1:
            d = n[0];
            m = n[1];
            y = n[2];
            yearDigits = digits[2];
            break;
        case 2:
            y = n[0];
            yearDigits = digits[0];
            m = n[1];
            d = n[2];
            break;
        default:
            m = n[0];
            d = n[1];
            y = n[2];
            yearDigits = digits[2];
            break;
        }
        if (yearDigits <= 2) {
            // Two-digit years fall in the 100 years that start 50 years
            // before this year.
            const int base = CurrentYear() - 50;
            y += base / 100 * 100;
            if (y < base)
                y += 100;
        } else if (yearDigits != 4) {
            return false;
        }
    }
    return TryEncodeDate(y, m, d, out);
}

bool ScanTime(Scanner &sc, TDateTime &out, const TFormatSettings &fs)
{
    sc.SkipBlanks();
    int h = 0, mi = 0, s = 0, ms = 0, digits = 0;
    if (!sc.Number(h, digits, 2))
        return false;
    bool haveMinutes = false;
    if (sc.Char(fs.TimeSeparator)) {
        if (!sc.Number(mi, digits, 2))
            return false;
        haveMinutes = true;
        if (sc.Char(fs.TimeSeparator)) {
            if (!sc.Number(s, digits, 2))
                return false;
            if (sc.Char(fs.DecimalSeparator) || sc.Char('.')) {
                // Fraction of the second, up to milliseconds.
                int frac = 0;
                if (!sc.Number(frac, digits, 3))
                    return false;
                ms = frac * (digits == 1 ? 100 : digits == 2 ? 10 : 1);
            }
        }
    }
    sc.SkipBlanks();
    int ampm = 0; // 1 = AM, 2 = PM
    auto marker = [&](const std::string &text, int kind) {
        if (ampm == 0 && StartsWithNoCase(sc.s, sc.pos, text)) {
            sc.pos += text.size();
            ampm = kind;
        }
    };
    marker(fs.TimeAMString, 1);
    marker(fs.TimePMString, 2);
    marker("AM", 1);
    marker("PM", 2);
    if (!haveMinutes && ampm == 0)
        return false;
    if (ampm != 0) {
        if (h < 1 || h > 12)
            return false;
        h %= 12;
        if (ampm == 2)
            h += 12;
    }
    return TryEncodeTime(h, mi, s, ms, out);
}

// Reads the whole text with scan (a date or a time; blanks may follow); out is set only when
// nothing else is left.
bool TryScanWhole(const std::string &s, TDateTime &out, const TFormatSettings &settings,
                  bool (*scan)(Scanner &, TDateTime &, const TFormatSettings &))
{
    Scanner sc{s};
    TDateTime v;
    if (!scan(sc, v, settings))
        return false;
    sc.SkipBlanks();
    if (!sc.AtEnd())
        return false;
    out = v;
    return true;
}

} // namespace

// ---- encoding and decoding -------------------------------------------------

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

bool TryEncodeDate(int year, int month, int day, TDateTime &out)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month))
        return false;
    out = static_cast<double>(DaysFromCivil(year, month, day) - DayZeroFromEpoch);
    return true;
}

bool TryEncodeTime(int hour, int min, int sec, int msec, TDateTime &out)
{
    if (hour < 0 || hour > 23 || min < 0 || min > 59 || sec < 0 || sec > 59 || msec < 0 ||
        msec > 999)
        return false;
    out = (hour * 3600000.0 + min * 60000.0 + sec * 1000.0 + msec) / MSecsPerDay;
    return true;
}

TDateTime EncodeDate(int year, int month, int day)
{
    TDateTime dt;
    if (!TryEncodeDate(year, month, day, dt))
        throw EConvertError("Invalid argument to date encode");
    return dt;
}

TDateTime EncodeTime(int hour, int min, int sec, int msec)
{
    TDateTime dt;
    if (!TryEncodeTime(hour, min, sec, msec, dt))
        throw EConvertError("Invalid argument to time encode");
    return dt;
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time)
{
    const double day = std::trunc(date);
    const double t = std::fabs(time - std::trunc(time));
    return day < 0 ? day - t : day + t;
}

void DecodeDate(TDateTime dt, int &year, int &month, int &day)
{
    int64_t d, ms;
    if (!SplitDateTime(dt, d, ms) || d < MinDay || d > MaxDay) {
        year = month = day = 0;
        return;
    }
    CivilFromDays(d + DayZeroFromEpoch, year, month, day);
}

void DecodeTime(TDateTime dt, int &hour, int &min, int &sec, int &msec)
{
    int64_t d, ms;
    if (!SplitDateTime(dt, d, ms)) {
        hour = min = sec = msec = 0;
        return;
    }
    hour = static_cast<int>(ms / 3600000);
    min = static_cast<int>(ms / 60000 % 60);
    sec = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

int DayOfWeek(TDateTime dt)
{
    int64_t d, ms;
    if (!SplitDateTime(dt, d, ms))
        return 0;
    // Day 0 (1899-12-30) was a Saturday.
    int64_t w = (d + 6) % 7;
    if (w < 0)
        w += 7;
    return static_cast<int>(w) + 1;
}

TDateTime RoundDisplaySeconds(TDateTime dt)
{
    int h, m, s, ms;
    DecodeTime(dt, h, m, s, ms);
    return ms > 500 ? dt + 1.0 / SecsPerDay : dt;
}

// ---- text ------------------------------------------------------------------

std::string FormatDateTime(const std::string &format, TDateTime dt, const TFormatSettings &settings)
{
    DateTimeParts p;
    int64_t day, ms;
    if (SplitDateTime(dt, day, ms) && day >= MinDay && day <= MaxDay) {
        p.dateValid = true;
        CivilFromDays(day + DayZeroFromEpoch, p.year, p.month, p.day);
        p.dayOfWeek = DayOfWeek(dt);
        p.hour = static_cast<int>(ms / 3600000);
        p.min = static_cast<int>(ms / 60000 % 60);
        p.sec = static_cast<int>(ms / 1000 % 60);
        p.msec = static_cast<int>(ms % 1000);
        p.hasTime = ms != 0;
    }
    std::string out;
    AppendFormat(out, format.empty() ? std::string("c") : format, p, settings, 0);
    return out;
}

std::string DateToStr(TDateTime dt, const TFormatSettings &settings)
{
    return FormatDateTime(settings.ShortDateFormat, dt, settings);
}

std::string TimeToStr(TDateTime dt, const TFormatSettings &settings)
{
    return FormatDateTime(settings.LongTimeFormat, dt, settings);
}

std::string DateTimeToStr(TDateTime dt, const TFormatSettings &settings)
{
    return FormatDateTime("c", dt, settings);
}

bool TryStrToDate(const std::string &s, TDateTime &out, const TFormatSettings &settings)
{
    return TryScanWhole(s, out, settings, ScanDate);
}

bool TryStrToTime(const std::string &s, TDateTime &out, const TFormatSettings &settings)
{
    return TryScanWhole(s, out, settings, ScanTime);
}

bool TryStrToDateTime(const std::string &s, TDateTime &out, const TFormatSettings &settings)
{
    Scanner sc{s};
    TDateTime d = 0, t = 0;
    if (ScanDate(sc, d, settings)) {
        sc.SkipBlanks();
        if (!sc.AtEnd()) {
            if (!ScanTime(sc, t, settings))
                return false;
            sc.SkipBlanks();
            if (!sc.AtEnd())
                return false;
        }
        out = ComposeDateTime(d, t);
        return true;
    }
    // A time alone is a time on day 0.
    return TryStrToTime(s, out, settings);
}

// ---- clocks ----------------------------------------------------------------

int64_t SystemClock::MonotonicMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TDateTime SystemClock::Now()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    std::tm tm{};
    localtime_r(&ts.tv_sec, &tm);
    TDateTime date = 0, time = 0;
    TryEncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, date);
    // A leap second shows as :59.
    TryEncodeTime(tm.tm_hour, tm.tm_min, std::min(tm.tm_sec, 59),
                  static_cast<int>(ts.tv_nsec / 1000000), time);
    return ComposeDateTime(date, time);
}

void SystemClock::SleepMs(int64_t ms)
{
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

namespace {
Clock *gClock = nullptr;
}

Clock &GetClock()
{
    static SystemClock systemClock;
    return gClock ? *gClock : systemClock;
}

void SetClock(Clock *clock)
{
    gClock = clock;
}

} // namespace rtl
