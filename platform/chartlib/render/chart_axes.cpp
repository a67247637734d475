#include "platform/chartlib/render/chart_axes.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace chartlib {

namespace {

constexpr double kSecond = 1.0 / 86400.0;
constexpr int kLabelPad = 12; // room between two neighbouring labels

// Date-time tick steps in seconds, then calendar months.
const double kTimeSteps[] = {0.001, 0.002, 0.005, 0.01,   0.02,   0.05,   0.1,  0.2,
                             0.5,   1,     2,     5,      10,     15,     30,   60,
                             120,   300,   600,   900,    1800,   3600,   7200, 10800,
                             21600, 43200, 86400, 172800, 604800, 1209600};
const int kMonthSteps[] = {1, 2, 3, 6, 12, 24, 60, 120, 240, 600, 1200, 2400, 6000};

QString TimeLabel(const QDateTime &t, double stepSeconds)
{
    if (stepSeconds < 1.0)
        return t.toString(QStringLiteral("HH:mm:ss.zzz"));
    if (stepSeconds < 60.0)
        return t.toString(QStringLiteral("HH:mm:ss"));
    return t.toString(QStringLiteral("HH:mm"));
}

QString MonthLabel(const QDate &d, int months)
{
    return months < 12 ? d.toString(QStringLiteral("MMM yyyy"))
                       : d.toString(QStringLiteral("yyyy"));
}

// The widest date line the range can show: its first and last day and a day with two-digit
// day and month numbers.
int WidestDate(Range r, const QFontMetrics &fm)
{
    QDate first = DateTimeFromDays(r.min).date(), last = DateTimeFromDays(r.max).date();
    int width =
        std::max(fm.horizontalAdvance(DateLabel(first)), fm.horizontalAdvance(DateLabel(last)));
    QDate wide(first.year(), 12, 28);
    return std::max(width, fm.horizontalAdvance(DateLabel(wide)));
}

} // namespace

Range Widened(Range r, bool dateTime)
{
    if (!std::isfinite(r.min) || !std::isfinite(r.max))
        r = {0.0, 1.0};
    if (r.min > r.max)
        std::swap(r.min, r.max);
    if (!std::isfinite(r.max - r.min)) { // keep the width itself finite
        r.min = std::max(r.min, -1.0e300);
        r.max = std::min(r.max, 1.0e300);
    }
    if (r.max - r.min <= std::max(std::fabs(r.min), std::fabs(r.max)) * 1e-12) {
        double half = dateTime ? 30.0 / 86400.0 : (r.min == 0.0 ? 1.0 : std::fabs(r.min) * 0.1);
        r = {r.min - half, r.max + half};
    }
    return r;
}

double NiceStep(double rough)
{
    if (!(rough > 0.0) || !std::isfinite(rough))
        return 1.0;
    double e = std::pow(10.0, std::floor(std::log10(rough)));
    double f = rough / e;
    double n = f <= 1.0 ? 1.0 : f <= 2.0 ? 2.0 : f <= 5.0 ? 5.0 : 10.0;
    return n * e;
}

QString NumberText(double v, double step)
{
    int decimals = step >= 1.0 ? 0 : std::clamp(int(std::ceil(-std::log10(step) - 1e-9)), 0, 12);
    if (std::fabs(v) < step * 1e-9)
        v = 0.0;
    return QString::number(v, 'f', decimals);
}

std::vector<Tick> LinearTicks(Range r, double step)
{
    std::vector<Tick> ticks;
    double first = std::ceil(r.min / step - 1e-9) * step;
    for (int k = 0; k < 1000; ++k) {
        double v = first + k * step;
        if (v > r.max + step * 1e-9)
            break;
        ticks.push_back({v, NumberText(v, step), {}});
    }
    return ticks;
}

std::vector<Tick> NumericTicksX(Range r, int plotWidth, const QFontMetrics &fm)
{
    double range = r.max - r.min;
    double step = NiceStep(range / 100.0);
    for (int guard = 0; guard < 60; ++guard) {
        int width = std::max(fm.horizontalAdvance(NumberText(r.min, step)),
                             fm.horizontalAdvance(NumberText(r.max, step))) +
                    kLabelPad;
        if (step / range * plotWidth >= width || step > range)
            break;
        step = NiceStep(step * 1.5);
    }
    return LinearTicks(r, step);
}

std::vector<Tick> DateTimeTicks(Range r, int plotWidth, const QFontMetrics &fm, bool dates)
{
    std::vector<Tick> ticks;
    double range = r.max - r.min;
    auto spacingOf = [&](double stepDays) { return stepDays / range * plotWidth; };
    const int dateWidth = WidestDate(r, fm);
    // Time steps (below a month). Below a day each label may carry a date line under it, so
    // the spacing makes room for the wider of the two.
    for (double s : kTimeSteps) {
        double stepDays = s * kSecond;
        int width =
            s < 86400 ? fm.horizontalAdvance(TimeLabel(DateTimeFromDays(r.min), s)) : dateWidth;
        if (s < 86400 && dates)
            width = std::max(width, dateWidth);
        if (spacingOf(stepDays) < width + kLabelPad)
            continue;
        double base = std::floor(r.min);
        double offset = (r.min - base) * 86400.0;
        double k0 = std::ceil(offset / s - 1e-6);
        for (int k = 0; k < 1000; ++k) {
            double v = base + (k0 + k) * s * kSecond;
            if (v > r.max + stepDays * 1e-6)
                break;
            QDateTime t = DateTimeFromDays(v);
            if (s < 86400)
                ticks.push_back({v, TimeLabel(t, s), t.date()});
            else
                ticks.push_back({v, DateLabel(t.date()), {}});
        }
        return ticks;
    }
    // Calendar months and years.
    for (int m : kMonthSteps) {
        QDate d0 = DateTimeFromDays(r.min).date();
        int width = fm.horizontalAdvance(MonthLabel(d0, m)) + kLabelPad;
        if (spacingOf(m * 30.44) < width && m != kMonthSteps[std::size(kMonthSteps) - 1])
            continue;
        int monthIndex = d0.year() * 12 + d0.month() - 1;
        int first = (monthIndex + m - 1) / m * m;
        for (int k = 0; k < 1000; ++k) {
            int mi = first + k * m;
            QDate d(mi / 12, mi % 12 + 1, 1);
            if (!d.isValid())
                break;
            double v = DaysFromDateTime(QDateTime(d, QTime(0, 0)));
            if (v < r.min)
                continue;
            if (v > r.max)
                break;
            ticks.push_back({v, MonthLabel(d, m), {}});
        }
        return ticks;
    }
    return ticks;
}

QString DateLabel(const QDate &d)
{
    return QLocale().toString(d, QLocale::ShortFormat);
}

QDateTime DateTimeFromDays(double days)
{
    static const QDate kEpoch(1899, 12, 30);
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        days = 0.0;
    double whole = std::floor(days);
    qint64 ms = qint64(std::llround((days - whole) * 86400000.0));
    QDate d = kEpoch.addDays(qint64(whole));
    if (ms >= 86400000) {
        d = d.addDays(1);
        ms -= 86400000;
    }
    return QDateTime(d, QTime::fromMSecsSinceStartOfDay(int(ms)), Qt::UTC);
}

double DaysFromDateTime(const QDateTime &t)
{
    static const QDate kEpoch(1899, 12, 30);
    double days = double(kEpoch.daysTo(t.date()));
    return days + t.time().msecsSinceStartOfDay() / 86400000.0;
}

} // namespace chartlib
