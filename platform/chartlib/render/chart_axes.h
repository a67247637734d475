// Axis ranges, ticks and tick labels: nice linear steps, date-time steps from milliseconds to
// centuries, and the texts under them. Which of the labels are drawn, and where, is decided by
// the layout (chart_view.cpp), which keeps them from overlapping.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QFontMetrics>
#include <QString>

#include <vector>

namespace chartlib {

struct Range {
    double min = 0.0, max = 1.0;
    bool operator==(const Range &) const = default;
};

struct Tick {
    double value = 0.0;
    QString label; // the number, the time of day, or the date of a day step and above
    QDate day;     // date-time steps below a day: the tick's date (a date line may go under it)
};

// A range that can be drawn: finite, ordered, of a width above rounding (an empty range is
// widened around its value; by a minute in date-time mode).
Range Widened(Range r, bool dateTime);
// 1, 2 or 5 times a power of ten, at least rough.
double NiceStep(double rough);
// A value with as many decimals as the step needs.
QString NumberText(double v, double step);
// The multiples of step within the range (at most 1000).
std::vector<Tick> LinearTicks(Range r, double step);
// Ticks of a numeric X axis whose labels are at least their width apart.
std::vector<Tick> NumericTicksX(Range r, int plotWidth, const QFontMetrics &fm);
// Ticks of a date-time X axis (values in days) whose labels, and with dates true the dates
// under them, are at least their width apart.
std::vector<Tick> DateTimeTicks(Range r, int plotWidth, const QFontMetrics &fm, bool dates);
// The date line of a tick (the locale's short date).
QString DateLabel(const QDate &d);

// TDateTime (days since 1899-12-30) to a Qt date-time in local wall-clock terms and back.
QDateTime DateTimeFromDays(double days);
double DaysFromDateTime(const QDateTime &t);

} // namespace chartlib
