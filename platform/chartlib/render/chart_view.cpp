#include "platform/chartlib/render/chart_view.h"

#include "platform/chartlib/render/render_props.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPen>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace chartlib {

namespace {

int IntOr(const ChartObject &o, std::int32_t id, int def)
{
    return o.Has(id) ? o.GetInt(id) : def;
}

double DoubleOr(const ChartObject &o, std::int32_t id, double def)
{
    double v = 0.0;
    return o.GetDouble(id, v) && std::isfinite(v) ? v : def;
}

QString TextOf(const ChartObject &o, std::int32_t id)
{
    return FromU16(o.GetText(id));
}

std::size_t ArrayLength(const ChartObject &o, std::int32_t id)
{
    const auto &arrays = o.State().arrays;
    auto it = arrays.find(id);
    if (it == arrays.end())
        return 0;
    const ArrayValue &a = it->second;
    if (a.kind == ElemKind::Text)
        return a.text.empty() ? 0 : a.text[0].size();
    return a.num.empty() ? 0 : a.num[0].size();
}

// Colour of element k of a colour array, or the fallback when the element was never written.
QColor ElementColor(const ChartObject &o, std::int32_t id, std::int32_t k, const QColor &fallback)
{
    if (std::size_t(k) >= ArrayLength(o, id))
        return fallback;
    return ChartColor(std::uint32_t(std::int64_t(o.GetElement(id, k))));
}

QColor ColorOr(const ChartObject &o, std::int32_t id, QColor def)
{
    return o.Has(id) ? ChartColor(std::uint32_t(o.GetInt(id))) : def;
}

// The default colours of subsets whose colour was never set.
const QColor kSubsetPalette[] = {QColor(0, 0, 198),   QColor(198, 0, 0),   QColor(0, 148, 0),
                                 QColor(148, 0, 148), QColor(0, 148, 148), QColor(148, 98, 0),
                                 QColor(0, 0, 0),     QColor(98, 98, 98)};

QStringList SplitLines(const QString &text)
{
    static const QRegularExpression kBreak(QStringLiteral("\r\n|\r|\n"));
    return text.split(kBreak);
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

// Linear ticks from min to max with a step of at least minStep.
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

constexpr double kSecond = 1.0 / 86400.0;

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

QString DateLabel(const QDate &d)
{
    return QLocale().toString(d, QLocale::ShortFormat);
}

double DaysFromDateTime(const QDateTime &t)
{
    static const QDate kEpoch(1899, 12, 30);
    double days = double(kEpoch.daysTo(t.date()));
    return days + t.time().msecsSinceStartOfDay() / 86400000.0;
}

std::vector<Tick> DateTimeTicks(Range r, int plotWidth, const QFontMetrics &fm)
{
    std::vector<Tick> ticks;
    double range = r.max - r.min;
    auto spacingOf = [&](double stepDays) { return stepDays / range * plotWidth; };
    // Time steps (below a month).
    for (double s : kTimeSteps) {
        double stepDays = s * kSecond;
        QString sample = s < 86400 ? TimeLabel(DateTimeFromDays(r.min), s)
                                   : DateLabel(DateTimeFromDays(r.min).date());
        int width = fm.horizontalAdvance(sample) + 12;
        if (spacingOf(stepDays) < width)
            continue;
        double base = std::floor(r.min);
        double offset = (r.min - base) * 86400.0;
        double k0 = std::ceil(offset / s - 1e-6);
        QDate lastDate;
        for (int k = 0; k < 1000; ++k) {
            double v = base + (k0 + k) * s * kSecond;
            if (v > r.max + stepDays * 1e-6)
                break;
            QDateTime t = DateTimeFromDays(v);
            Tick tick{v, {}, {}};
            if (s < 86400) {
                tick.label = TimeLabel(t, s);
                if (t.date() != lastDate)
                    tick.label2 = DateLabel(t.date());
                lastDate = t.date();
            } else {
                tick.label = DateLabel(t.date());
            }
            ticks.push_back(tick);
        }
        return ticks;
    }
    // Calendar months and years.
    for (int m : kMonthSteps) {
        QDate d0 = DateTimeFromDays(r.min).date();
        QString sample =
            m < 12 ? d0.toString(QStringLiteral("MMM yyyy")) : d0.toString(QStringLiteral("yyyy"));
        int width = fm.horizontalAdvance(sample) + 12;
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
            ticks.push_back({v,
                             m < 12 ? d.toString(QStringLiteral("MMM yyyy"))
                                    : d.toString(QStringLiteral("yyyy")),
                             {}});
        }
        return ticks;
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
                    12;
        if (step / range * plotWidth >= width || step > range)
            break;
        step = NiceStep(step * 1.5);
    }
    return LinearTicks(r, step);
}

} // namespace

// ---- helpers ---------------------------------------------------------------------------------

QColor ChartColor(std::uint32_t c)
{
    return QColor(ColorRed(c), ColorGreen(c), ColorBlue(c),
                  ColorAlpha(c) == 0 ? 255 : ColorAlpha(c));
}

QString FromU16(const std::u16string &s)
{
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

std::u16string ToU16(const QString &s)
{
    return std::u16string(reinterpret_cast<const char16_t *>(s.utf16()), std::size_t(s.size()));
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

QPen LinePen(std::int32_t lineType, const QColor &color, double scale)
{
    QPen pen(color, scale); // cosmetic: device pixels
    pen.setCosmetic(true);
    switch (lineType) {
    case 1:
        pen.setStyle(Qt::DashLine);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashDotLine);
        break;
    case 4:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    case 5:
        pen.setWidthF(2.0 * scale);
        break;
    case 6:
        pen.setWidthF(3.0 * scale);
        break;
    default:
        break;
    }
    return pen;
}

// ---- frame -----------------------------------------------------------------------------------

double ChartFrame::PixelX(double v) const
{
    return plot.left() + (v - x.min) / (x.max - x.min) * (plot.right() - plot.left());
}
double ChartFrame::PixelY(double v) const
{
    return plot.bottom() - (v - y.min) / (y.max - y.min) * (plot.bottom() - plot.top());
}
double ChartFrame::DataX(double px) const
{
    int w = std::max(1, plot.right() - plot.left());
    return x.min + (px - plot.left()) / w * (x.max - x.min);
}
double ChartFrame::DataY(double py) const
{
    int h = std::max(1, plot.bottom() - plot.top());
    return y.min + (plot.bottom() - py) / h * (y.max - y.min);
}

std::vector<ColumnRun> ReduceToColumns(const ReduceInput &in, const ChartFrame &f,
                                       std::vector<std::size_t> *breaksBefore)
{
    // One pass over the points. Consecutive points that fall in the same pixel column are
    // merged into a run that keeps its first and last point and its lowest and highest value;
    // drawn as first, extremes, last, a run covers the same pixels as the full line. Values are
    // compared in data units and turned into pixels once per run.
    std::vector<ColumnRun> runs;
    runs.reserve(std::size_t(std::max(16, f.plot.width() + 4)));
    const double sx = (f.plot.right() - f.plot.left()) / (f.x.max - f.x.min);
    const double sy = (f.plot.bottom() - f.plot.top()) / (f.y.max - f.y.min);
    const double x0 = f.plot.left() - f.x.min * sx;
    const double y0 = f.plot.bottom() + f.y.min * sy;
    constexpr double kFar = 1.0e6; // pixel coordinates are held within +-kFar
    auto pixelY = [&](double v) { return std::clamp(y0 - v * sy, -kFar, kFar); };
    const std::size_t n = std::size_t(std::max(0, in.points));
    const std::size_t nx = in.useIndexX ? n : std::min(n, in.xs.size());
    const std::size_t ny = std::min(n, in.ys.size());
    const double *xs = in.xs.data(), *ys = in.ys.data();
    // Null test as one comparison: NaN never compares equal.
    const double nullY = in.hasNull ? in.nullY : std::numeric_limits<double>::quiet_NaN();
    const bool skipZeroX = in.skipZeroX;

    bool open = false, pendingBreak = false;
    std::int64_t column = 0;
    double firstPx = 0, firstY = 0, lastPx = 0, lastY = 0, lo = 0, hi = 0;
    bool loFirst = true;
    auto flush = [&]() {
        double pLo = pixelY(lo), pHi = pixelY(hi); // pHi is above pLo on screen
        // minY/maxY are pixel rows: the smaller row is the higher value.
        runs.push_back({firstPx, pixelY(firstY), lastPx, pixelY(lastY), pHi, pLo, !loFirst});
    };
    auto visit = [&](double xv, double yv) __attribute__((always_inline))
    {
        if (yv == nullY) {
            if (in.gaps)
                pendingBreak = true;
            return;
        }
        if ((skipZeroX && xv == 0.0) || yv != yv)
            return;
        double px = x0 + xv * sx;
        if (!(px > -kFar && px < kFar)) {
            if (px != px)
                return;
            px = px < 0 ? -kFar : kFar;
        }
        auto col = std::int64_t(px + kFar); // floor: the sum is never negative
        if (col == column && !pendingBreak) {
            lastPx = px;
            lastY = yv;
            if (yv < lo) {
                lo = yv;
                loFirst = false;
            } else if (yv > hi) {
                hi = yv;
                loFirst = true;
            }
            return;
        }
        if (open)
            flush();
        if (pendingBreak && breaksBefore)
            breaksBefore->push_back(runs.size());
        pendingBreak = false;
        open = true;
        column = col;
        firstPx = lastPx = px;
        firstY = lastY = lo = hi = yv;
        loFirst = true;
    };
    column = std::numeric_limits<std::int64_t>::min(); // no run open yet
    const std::size_t m = std::min(nx, ny);

    // Fast path for X in ascending order (the usual time series): each column's points are
    // found by binary search, so X is read a few times per column and Y once, without
    // branches that depend on the column.
    if (!in.useIndexX && !in.gaps && m == n && n > 4096) {
        std::size_t begin = 0, end = n;
        if (skipZeroX) { // room not yet filled (X 0.0) at either end
            while (begin < end && xs[begin] == 0.0)
                ++begin;
            while (end > begin && xs[end - 1] == 0.0)
                --end;
        }
        bool sorted = true;
        for (std::size_t i = begin + 1; i < end; ++i)
            sorted &= xs[i] >= xs[i - 1]; // false for NaN too
        if (sorted) {
            auto colOf = [&](double xv) {
                double px = std::clamp(x0 + xv * sx, -kFar, kFar);
                return std::int64_t(px + kFar);
            };
            for (std::size_t i = begin; i < end;) {
                std::int64_t c = colOf(xs[i]);
                std::size_t j = std::size_t(
                    std::upper_bound(xs + i, xs + end, c,
                                     [&](std::int64_t cc, double xv) { return cc < colOf(xv); }) -
                    xs);
                std::size_t a = i, b = j;
                while (a < b && (ys[a] == nullY || ys[a] != ys[a]))
                    ++a;
                while (b > a && (ys[b - 1] == nullY || ys[b - 1] != ys[b - 1]))
                    --b;
                if (a < b) {
                    double l = ys[a], hgh = ys[a];
                    std::size_t li = a, hi_i = a;
                    for (std::size_t k = a + 1; k < b; ++k) {
                        double yv = ys[k];
                        if (yv == nullY)
                            continue;
                        if (yv < l) {
                            l = yv;
                            li = k;
                        } else if (yv > hgh) {
                            hgh = yv;
                            hi_i = k;
                        }
                    }
                    firstPx = std::clamp(x0 + xs[a] * sx, -kFar, kFar);
                    lastPx = std::clamp(x0 + xs[b - 1] * sx, -kFar, kFar);
                    firstY = ys[a];
                    lastY = ys[b - 1];
                    lo = l;
                    hi = hgh;
                    loFirst = li <= hi_i;
                    flush();
                }
                i = j;
            }
            return runs;
        }
    }

    // The bulk: X and Y both written.
    if (in.useIndexX)
        for (std::size_t i = 0; i < m; ++i)
            visit(double(i + 1), ys[i]);
    else
        for (std::size_t i = 0; i < m; ++i)
            visit(xs[i], ys[i]);
    // Points past the written values read as 0.
    for (std::size_t i = m; i < n; ++i)
        visit(in.useIndexX ? double(i + 1) : (i < nx ? xs[i] : 0.0), i < ny ? ys[i] : 0.0);
    if (open)
        flush();
    return runs;
}

ChartView::ChartView(ChartObject &object) : FObject(object) {}

void ChartView::Reinitialized()
{
    Relayout();
    FImageValid = false;
}

void ChartView::StateReplaced()
{
    FZoom.reset();
    FBanding = false;
    Relayout();
    FImageValid = false;
}

ChartStyle ChartView::ReadStyle(QSize) const
{
    const ChartObject &o = FObject;
    ChartStyle s;
    int viewing = IntOr(o, rprop::ViewingStyle, 0);
    s.mono = viewing == 1 || viewing == 2;
    if (s.mono) {
        s.desk = ColorOr(o, rprop::MonoDeskColor, Qt::white);
        s.text = ColorOr(o, rprop::MonoTextColor, Qt::black);
        s.graphFore = ColorOr(o, rprop::MonoGraphForeColor, Qt::black);
        s.graphBack = ColorOr(o, rprop::MonoGraphBackColor, Qt::white);
        s.grid = s.graphFore;
        s.yAxis = s.xAxis = s.text;
    } else {
        s.desk = ColorOr(o, rprop::DeskColor, Qt::white);
        s.text = ColorOr(o, rprop::TextColor, Qt::black);
        s.graphFore = ColorOr(o, rprop::GraphForeColor, Qt::black);
        s.graphBack = ColorOr(o, rprop::GraphBackColor, Qt::white);
        s.grid = ColorOr(o, rprop::GridLineColor, s.graphFore);
        s.yAxis = ColorOr(o, rprop::YAxisColor, s.text);
        s.xAxis = ColorOr(o, rprop::XAxisColor, s.text);
    }
    s.gridStyle = IntOr(o, rprop::GridStyle, 0);
    s.gridControl = IntOr(o, rprop::GridLineControl, 0);
    s.gridInFront = IntOr(o, rprop::GridInFront, 0) & 0xFF;

    static const int kBase[] = {14, 12, 10};
    int fs = IntOr(o, rprop::FontSize, 1);
    double base = kBase[std::clamp(fs, 0, 2)] * DoubleOr(o, rprop::FontSizeGlobalCntl, 1.0);
    auto makeFont = [&](std::int32_t familyId, const char *fallback, double px, std::int32_t bold,
                        std::int32_t italic, std::int32_t underline) {
        QString family = TextOf(o, familyId);
        QFont f(family.isEmpty() ? QString::fromLatin1(fallback) : family);
        f.setPixelSize(std::clamp(int(std::lround(px)), 1, 400));
        f.setBold(bold && (o.GetInt(bold) & 0xFF));
        f.setItalic(italic && (o.GetInt(italic) & 0xFF));
        f.setUnderline(underline && (o.GetInt(underline) & 0xFF));
        return f;
    };
    s.title = makeFont(rprop::MainTitleFont, "DejaVu Sans",
                       base * 1.5 * DoubleOr(o, rprop::FontSizeTitleCntl, 1.0),
                       rprop::MainTitleBold, rprop::MainTitleItalic, rprop::MainTitleUnderline);
    s.subTitle = makeFont(rprop::SubTitleFont, "DejaVu Sans",
                          base * 1.2 * DoubleOr(o, rprop::FontSizeTitleCntl, 1.0),
                          rprop::SubTitleBold, rprop::SubTitleItalic, rprop::SubTitleUnderline);
    s.label =
        makeFont(rprop::LabelFont, "DejaVu Sans", base * DoubleOr(o, rprop::FontSizeALCntl, 1.0),
                 rprop::LabelBold, rprop::LabelItalic, rprop::LabelUnderline);
    s.numbers = makeFont(rprop::LabelFont, "DejaVu Sans",
                         base * DoubleOr(o, rprop::FontSizeGNCntl, 1.0), 0, 0, 0);
    s.legend = makeFont(rprop::LabelFont, "DejaVu Sans",
                        base * DoubleOr(o, rprop::FontSizeLegendCntl, 1.0), 0, 0, 0);
    s.annotation = makeFont(rprop::LabelFont, "DejaVu Sans",
                            base * IntOr(o, rprop::GraphAnnotationTextSize, 100) / 100.0, 0, 0, 0);
    s.lineAnnotation =
        makeFont(rprop::LabelFont, "DejaVu Sans",
                 base * IntOr(o, rprop::LineAnnotationTextSize, 100) / 100.0, 0, 0, 0);
    return s;
}

void ChartView::DataRanges(Range &xr, Range &yr) const
{
    // One pass over all subsets for both ranges; points that are not drawn (null Y, and in
    // date-time mode X 0.0) do not count. The loop body is free of jumps so that it runs at
    // memory speed on large data.
    const ChartObject &o = FObject;
    const bool dateTime = IntOr(o, rprop::DateTimeMode, 0) != 0;
    double nullY = 0.0;
    if (!o.GetDouble(rprop::NullDataValueY, nullY))
        nullY = std::numeric_limits<double>::quiet_NaN(); // never equal
    constexpr double kInf = std::numeric_limits<double>::infinity();
    double xlo = kInf, xhi = -kInf, ylo = kInf, yhi = -kInf;
    const std::size_t n = std::size_t(std::max(0, o.Points()));
    for (std::int32_t s = 0; s < o.Subsets(); ++s) {
        auto xs = o.DataRow(0, s);
        auto ys = o.DataRow(1, s);
        const bool indexX = xs.empty() && !dateTime;
        const std::size_t m = std::min({n, ys.size(), indexX ? n : xs.size()});
        const double *px = xs.data(), *py = ys.data();
        for (std::size_t i = 0; i < m; ++i) {
            double x = indexX ? double(i + 1) : px[i];
            double y = py[i];
            bool skip = (y == nullY) | (dateTime & (x == 0.0)) | (y != y) | (x != x);
            double xa = skip ? kInf : x, xb = skip ? -kInf : x;
            double ya = skip ? kInf : y, yb = skip ? -kInf : y;
            xlo = xa < xlo ? xa : xlo;
            xhi = xb > xhi ? xb : xhi;
            ylo = ya < ylo ? ya : ylo;
            yhi = yb > yhi ? yb : yhi;
        }
        // Points past the written values read as 0.
        for (std::size_t i = m; i < n; ++i) {
            double x = indexX ? double(i + 1) : (i < xs.size() ? xs[i] : 0.0);
            double y = i < ys.size() ? ys[i] : 0.0;
            if (y == nullY || (dateTime && x == 0.0) || y != y || x != x)
                continue;
            xlo = std::min(xlo, x);
            xhi = std::max(xhi, x);
            ylo = std::min(ylo, y);
            yhi = std::max(yhi, y);
        }
    }
    xr = xlo <= xhi ? Range{xlo, xhi} : Range{0.0, 1.0};
    yr = ylo <= yhi ? Range{ylo, yhi} : Range{0.0, 1.0};
}

ChartFrame ChartView::BuildFrame(QSize size) const
{
    const ChartObject &o = FObject;
    ChartFrame f;
    f.size = QSize(std::max(1, size.width()), std::max(1, size.height()));
    f.style = ReadStyle(f.size);
    f.dateTime = IntOr(o, rprop::DateTimeMode, 0) != 0;
    f.mainTitle = TextOf(o, rprop::MainTitle);
    f.subTitle = TextOf(o, rprop::SubTitle);
    f.xLabel = TextOf(o, rprop::XAxisLabel);
    f.yLabel = TextOf(o, rprop::YAxisLabel);

    const int w = f.size.width(), h = f.size.height();
    const int gap = 4;
    int top = gap;
    if (!f.mainTitle.trimmed().isEmpty()) {
        QFontMetrics fm(f.style.title);
        int th = fm.height() * int(SplitLines(f.mainTitle).size());
        f.mainTitleRect = QRect(0, top, w, th);
        top += th + gap;
    }
    if (!f.subTitle.trimmed().isEmpty()) {
        QFontMetrics fm(f.style.subTitle);
        int th = fm.height() * int(SplitLines(f.subTitle).size());
        f.subTitleRect = QRect(0, top, w, th);
        top += th + gap;
    }

    // Legend entries: subsets with a label.
    if (IntOr(o, rprop::ShowLegend, 1) & 0xFF) {
        for (std::int32_t s = 0; s < o.Subsets() && s < 256; ++s) {
            QString t = FromU16(o.GetElementText(rprop::SubsetLabels, s));
            if (!t.isEmpty()) {
                f.legendTexts.push_back(t);
                f.legendSubsets.push_back(s);
            }
        }
    }
    QFontMetrics nfm(f.style.numbers);
    QFontMetrics lfm(f.style.label);
    int bottom = gap;
    int legendHeight = 0;
    if (!f.legendTexts.empty()) {
        QFontMetrics gfm(f.style.legend);
        legendHeight = gfm.height() + gap;
    }
    bool legendTop = IntOr(o, rprop::LegendLocation, 0) == 0;
    if (legendTop)
        top += legendHeight;
    else
        bottom += legendHeight;
    if (!f.xLabel.isEmpty())
        bottom += lfm.height() + gap;
    bottom += nfm.height() * (f.dateTime ? 2 : 1) + gap + 2;
    top = std::max(top, nfm.height() / 2 + gap); // room for the top Y label
    int right = 12;

    // Ranges.
    if (FZoom) {
        f.x = FZoom->first;
        f.y = FZoom->second;
    } else {
        int cx = IntOr(o, rprop::ManualScaleControlX, 0);
        int cy = IntOr(o, rprop::ManualScaleControlY, 0);
        Range dataX, dataY;
        if (cx != 3 || cy != 3)
            DataRanges(dataX, dataY);
        Range x = (cx == 3) ? Range{} : dataX;
        if (cx == 1 || cx == 3)
            x.min = DoubleOr(o, rprop::ManualMinX, x.min);
        if (cx == 2 || cx == 3)
            x.max = DoubleOr(o, rprop::ManualMaxX, x.max);
        f.x = Widened(x, f.dateTime);
        Range y = (cy == 3) ? Range{} : dataY;
        if (cy == 1 || cy == 3)
            y.min = DoubleOr(o, rprop::ManualMinY, y.min);
        if (cy == 2 || cy == 3)
            y.max = DoubleOr(o, rprop::ManualMaxY, y.max);
        y = Widened(y, false);
        if (cy == 0) { // automatic: extend to whole steps
            double step = NiceStep((y.max - y.min) / 8.0);
            y = {std::floor(y.min / step) * step, std::ceil(y.max / step) * step};
            y = Widened(y, false);
        }
        f.y = y;
    }
    f.x = Widened(f.x, f.dateTime);
    f.y = Widened(f.y, false);

    // Y ticks first (they decide the left margin).
    int plotHeight = std::max(1, h - top - bottom);
    int targetY = std::max(2, plotHeight / std::max(1, nfm.height() * 5 / 2));
    double yStep = NiceStep((f.y.max - f.y.min) / targetY);
    f.yTicks = LinearTicks(f.y, yStep);
    int yLabelWidth = 0;
    for (const Tick &t : f.yTicks)
        yLabelWidth = std::max(yLabelWidth, nfm.horizontalAdvance(t.label));
    int left = gap + yLabelWidth + 6;
    if (!f.yLabel.isEmpty())
        left += lfm.height() + gap;

    f.plot = QRect(QPoint(left, top),
                   QPoint(std::max(left + 1, w - right - 1), std::max(top + 1, h - bottom - 1)));
    int plotWidth = f.plot.right() - f.plot.left();
    f.xTicks = f.dateTime ? DateTimeTicks(f.x, plotWidth, nfm) : NumericTicksX(f.x, plotWidth, nfm);

    // Legend rectangles.
    if (!f.legendTexts.empty()) {
        QFontMetrics gfm(f.style.legend);
        int total = 0;
        std::vector<int> widths;
        for (const QString &t : f.legendTexts) {
            widths.push_back(24 + gfm.horizontalAdvance(t));
            total += widths.back() + 12;
        }
        int x = std::max(f.plot.left(), f.plot.left() + (f.plot.width() - total) / 2);
        int y = legendTop ? top - legendHeight : h - gap - legendHeight + gap / 2;
        for (int wdt : widths) {
            f.legendRects.emplace_back(x, y, wdt, gfm.height());
            x += wdt + 12;
        }
    }
    return f;
}

void ChartView::Relayout()
{
    const ChartRect &r = FObject.Rect();
    QSize size(std::max(1, r.right - r.left), std::max(1, r.bottom - r.top));
    FFrame = BuildFrame(size);
    ChartRect plot{FFrame.plot.left(), FFrame.plot.top(), FFrame.plot.right(),
                   FFrame.plot.bottom()};
    FObject.SetRecord(prop::PlotRect, plot);
}

void ChartView::ResetImage()
{
    Relayout();
    if (FImage.size() != FFrame.size)
        FImage = QImage(FFrame.size, QImage::Format_RGB32);
    QPainter p(&FImage);
    Draw(p, FFrame);
    p.end();
    FImageValid = true;
    FImageSerial = FImageSerial >= 0x7FFFFFFF ? 1 : FImageSerial + 1;
}

// ---- drawing ---------------------------------------------------------------------------------

void ChartView::Draw(QPainter &p, const ChartFrame &f) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.fillRect(QRect(QPoint(0, 0), f.size), f.style.desk);
    p.fillRect(f.plot.adjusted(0, 0, 1, 1), f.style.graphBack);
    if (!f.style.gridInFront)
        DrawGrid(p, f);
    DrawSubsets(p, f);
    if (f.style.gridInFront)
        DrawGrid(p, f);
    DrawVertLines(p, f);
    DrawGraphAnnotations(p, f);
    DrawAxes(p, f);
    DrawTitles(p, f);
    p.restore();
}

void ChartView::DrawGrid(QPainter &p, const ChartFrame &f) const
{
    const ChartStyle &s = f.style;
    if (s.gridControl == 3)
        return;
    QPen pen(s.grid, f.penScale);
    pen.setCosmetic(true);
    switch (s.gridStyle) {
    case 1:
        pen.setWidthF(2.0 * f.penScale);
        break;
    case 2:
        pen.setStyle(Qt::DotLine);
        break;
    case 3:
        pen.setStyle(Qt::DashLine);
        break;
    case 4:
        pen.setDashPattern({1.0, 3.0});
        break;
    default:
        break;
    }
    p.setPen(pen);
    if (s.gridControl == 0 || s.gridControl == 1)
        for (const Tick &t : f.yTicks) {
            double y = std::round(f.PixelY(t.value));
            p.drawLine(QPointF(f.plot.left(), y), QPointF(f.plot.right(), y));
        }
    if (s.gridControl == 0 || s.gridControl == 2)
        for (const Tick &t : f.xTicks) {
            double x = std::round(f.PixelX(t.value));
            p.drawLine(QPointF(x, f.plot.top()), QPointF(x, f.plot.bottom()));
        }
}

namespace {

// The pen of a subset's line: its own colour and line type, or in monochrome the text colour
// and a line type of its own.
QPen SubsetPen(const ChartObject &o, const ChartFrame &f, std::int32_t s)
{
    QColor color =
        f.style.mono ? f.style.text
                     : ElementColor(o, rprop::SubsetColors, s, kSubsetPalette[std::size_t(s) % 8]);
    std::int32_t type = std::size_t(s) < ArrayLength(o, rprop::SubsetLineTypes)
                            ? std::int32_t(o.GetElement(rprop::SubsetLineTypes, s))
                            : (f.style.mono ? s % 5 : 0);
    return LinePen(type, color, f.penScale);
}

// The colour of annotation i of a colour array (the text colour in monochrome).
QColor AnnotationColor(const ChartObject &o, const ChartFrame &f, std::int32_t id, std::int32_t i)
{
    return f.style.mono ? f.style.text : ElementColor(o, id, i, f.style.graphFore);
}

int WidestLine(const QFontMetrics &fm, const QStringList &lines)
{
    int width = 0;
    for (const QString &l : lines)
        width = std::max(width, fm.horizontalAdvance(l));
    return width;
}

// A graph annotation that is shown: it has a symbol or a text, and its point lies in the plot.
struct PlacedAnnotation {
    int type;
    QString text;
    double px, py;
};

std::optional<PlacedAnnotation> PlaceGraphAnnotation(const ChartObject &o, const ChartFrame &f,
                                                     std::int32_t i)
{
    int type = int(o.GetElement(rprop::GraphAnnotationType, i));
    QString text = FromU16(o.GetElementText(rprop::GraphAnnotationText, i));
    if (type == 0 && text.isEmpty())
        return std::nullopt;
    double px = f.PixelX(o.GetElement(rprop::GraphAnnotationX, i));
    double py = f.PixelY(o.GetElement(rprop::GraphAnnotationY, i));
    if (!QRectF(f.plot.adjusted(0, 0, 1, 1)).contains(px, py))
        return std::nullopt;
    return PlacedAnnotation{type, std::move(text), px, py};
}

} // namespace

void ChartView::DrawSubsets(QPainter &p, const ChartFrame &f) const
{
    const ChartObject &o = FObject;
    p.save();
    p.setClipRect(f.plot.adjusted(0, 0, 1, 1));
    ReduceInput in;
    in.points = o.Points();
    in.skipZeroX = f.dateTime;
    in.hasNull = o.GetDouble(rprop::NullDataValueY, in.nullY);
    in.gaps = IntOr(o, rprop::NullDataGaps, 0) & 0xFF;
    QPolygonF line;
    for (std::int32_t s = 0; s < o.Subsets(); ++s) {
        in.xs = o.DataRow(0, s);
        in.ys = o.DataRow(1, s);
        in.useIndexX = in.xs.empty() && !f.dateTime;
        p.setPen(SubsetPen(o, f, s));
        std::vector<std::size_t> breaks;
        std::vector<ColumnRun> runs = ReduceToColumns(in, f, &breaks);
        std::size_t nextBreak = 0;
        auto flush = [&]() {
            if (line.size() == 1)
                p.drawPoint(line[0]);
            else if (line.size() > 1)
                p.drawPolyline(line);
            line.clear();
        };
        line.reserve(qsizetype(runs.size() * 4));
        for (std::size_t k = 0; k < runs.size(); ++k) {
            if (nextBreak < breaks.size() && breaks[nextBreak] == k) {
                flush();
                ++nextBreak;
            }
            const ColumnRun &r = runs[k];
            double cx = std::floor(r.firstX) + 0.5;
            line << QPointF(r.firstX, r.firstY);
            if (r.minY != r.maxY) {
                if (r.minFirst)
                    line << QPointF(cx, r.minY) << QPointF(cx, r.maxY);
                else
                    line << QPointF(cx, r.maxY) << QPointF(cx, r.minY);
            }
            if (r.lastX != r.firstX || r.lastY != r.firstY)
                line << QPointF(r.lastX, r.lastY);
        }
        flush();
    }
    p.restore();
}

namespace {

struct AnnotationGeometry {
    QRectF symbol; // empty when the annotation has no symbol
    QRectF text;   // bounding rectangle of the text
    QStringList lines;
    QPointF textOrigin; // baseline of the first line
};

AnnotationGeometry GeometryOf(const QFontMetrics &fm, double px, double py, int type,
                              const QString &text)
{
    AnnotationGeometry g;
    double half = std::max(4, fm.height() / 3);
    bool symbol = type == 1 || type == 2;
    if (symbol)
        g.symbol = QRectF(px - half, py - half, 2 * half, 2 * half);
    if (!text.isEmpty()) {
        g.lines = SplitLines(text);
        int width = WidestLine(fm, g.lines);
        double height = double(fm.height()) * g.lines.size();
        if (symbol) {
            g.text = QRectF(px + half + 3, py - height / 2, width, height);
            g.textOrigin = QPointF(g.text.left(), g.text.top() + fm.ascent());
        } else {
            g.textOrigin = QPointF(px, py);
            g.text = QRectF(px, py - fm.ascent(), width, height);
        }
    }
    return g;
}

void DrawLines(QPainter &p, const QFontMetrics &fm, QPointF origin, const QStringList &lines)
{
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(QPointF(origin.x(), origin.y() + double(i) * fm.height()), lines[i]);
}

} // namespace

void ChartView::DrawGraphAnnotations(QPainter &p, const ChartFrame &f) const
{
    const ChartObject &o = FObject;
    if (!(IntOr(o, rprop::ShowGraphAnnotations, 0) & 0xFF))
        return;
    std::size_t n = ArrayLength(o, rprop::GraphAnnotationX);
    QFontMetrics fm(f.style.annotation);
    p.save();
    p.setFont(f.style.annotation);
    for (std::size_t k = 0; k < n; ++k) {
        auto i = std::int32_t(k);
        std::optional<PlacedAnnotation> a = PlaceGraphAnnotation(o, f, i);
        if (!a)
            continue;
        const int type = a->type;
        const double px = a->px, py = a->py;
        QColor color = AnnotationColor(o, f, rprop::GraphAnnotationColor, i);
        AnnotationGeometry g = GeometryOf(fm, px, py, type, a->text);
        QPen pen(color, 2);
        p.setPen(pen);
        if (!g.symbol.isEmpty()) {
            if (type == 2) {
                p.drawLine(g.symbol.topLeft(), g.symbol.bottomRight());
                p.drawLine(g.symbol.bottomLeft(), g.symbol.topRight());
            } else {
                p.drawLine(QPointF(g.symbol.left(), py), QPointF(g.symbol.right(), py));
                p.drawLine(QPointF(px, g.symbol.top()), QPointF(px, g.symbol.bottom()));
            }
        }
        if (!g.lines.isEmpty())
            DrawLines(p, fm, g.textOrigin, g.lines);
    }
    p.restore();
}

void ChartView::DrawVertLines(QPainter &p, const ChartFrame &f) const
{
    const ChartObject &o = FObject;
    if (!(IntOr(o, rprop::ShowVertLineAnnotations, 0) & 0xFF))
        return;
    std::size_t n = ArrayLength(o, rprop::VertLineAnnotation);
    QFontMetrics fm(f.style.lineAnnotation);
    p.save();
    p.setFont(f.style.lineAnnotation);
    for (std::size_t k = 0; k < n; ++k) {
        auto i = std::int32_t(k);
        double px = std::round(f.PixelX(o.GetElement(rprop::VertLineAnnotation, i)));
        if (px < f.plot.left() || px > f.plot.right())
            continue;
        QColor color = AnnotationColor(o, f, rprop::VertLineAnnotationColor, i);
        int type = int(o.GetElement(rprop::VertLineAnnotationType, i));
        p.setPen(LinePen(type, color, f.penScale));
        p.drawLine(QPointF(px, f.plot.top()), QPointF(px, f.plot.bottom()));
        QString text = FromU16(o.GetElementText(rprop::VertLineAnnotationText, i));
        bool atTop = text.startsWith(QStringLiteral("|t"));
        if (atTop)
            text = text.mid(2);
        if (text.isEmpty())
            continue;
        QStringList lines = SplitLines(text);
        int width = WidestLine(fm, lines);
        double x = px + 3;
        if (x + width > f.plot.right())
            x = px - 3 - width; // keep the label inside the plot
        double y =
            atTop ? f.plot.top() + 2 + fm.ascent()
                  : f.plot.bottom() - 2 - fm.descent() - double(lines.size() - 1) * fm.height();
        p.setPen(color);
        DrawLines(p, fm, QPointF(x, y), lines);
    }
    p.restore();
}

void ChartView::DrawAxes(QPainter &p, const ChartFrame &f) const
{
    const ChartStyle &s = f.style;
    p.setPen(QPen(s.graphFore, 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(f.plot);
    QFontMetrics nfm(s.numbers);
    p.setFont(s.numbers);
    // Y axis.
    p.setPen(s.yAxis);
    p.drawLine(f.plot.topLeft(), f.plot.bottomLeft());
    for (const Tick &t : f.yTicks) {
        int y = int(std::round(f.PixelY(t.value)));
        p.drawLine(f.plot.left(), y, f.plot.left() + 4, y);
        int tw = nfm.horizontalAdvance(t.label);
        p.drawText(QPointF(f.plot.left() - 6 - tw, y + (nfm.ascent() - nfm.descent()) / 2.0),
                   t.label);
    }
    // X axis.
    p.setPen(s.xAxis);
    p.drawLine(f.plot.bottomLeft(), f.plot.bottomRight());
    double lastRight = -1e9;
    for (const Tick &t : f.xTicks) {
        int x = int(std::round(f.PixelX(t.value)));
        p.drawLine(x, f.plot.bottom(), x, f.plot.bottom() - 4);
        int tw = nfm.horizontalAdvance(t.label);
        double lx = std::clamp(double(x) - tw / 2.0, 0.0, double(f.size.width() - tw));
        if (lx < lastRight + 4)
            continue; // never overlap a neighbour
        double base = f.plot.bottom() + 4 + nfm.ascent();
        p.drawText(QPointF(lx, base), t.label);
        lastRight = lx + tw;
        if (!t.label2.isEmpty()) {
            int tw2 = nfm.horizontalAdvance(t.label2);
            double lx2 = std::clamp(double(x) - tw2 / 2.0, 0.0, double(f.size.width() - tw2));
            p.drawText(QPointF(lx2, base + nfm.height()), t.label2);
            lastRight = std::max(lastRight, lx2 + tw2);
        }
    }
    // Axis labels.
    QFontMetrics lfm(s.label);
    p.setFont(s.label);
    p.setPen(s.text);
    if (!f.xLabel.isEmpty()) {
        int lines = f.dateTime ? 2 : 1;
        double y = f.plot.bottom() + 4 + nfm.height() * lines + 4 + lfm.ascent();
        p.drawText(QPointF(f.plot.center().x() - lfm.horizontalAdvance(f.xLabel) / 2.0, y),
                   f.xLabel);
    }
    if (!f.yLabel.isEmpty()) {
        p.save();
        p.translate(4 + lfm.ascent(), f.plot.center().y() + lfm.horizontalAdvance(f.yLabel) / 2.0);
        p.rotate(-90);
        p.drawText(QPointF(0, 0), f.yLabel);
        p.restore();
    }
}

void ChartView::DrawTitles(QPainter &p, const ChartFrame &f) const
{
    const ChartStyle &s = f.style;
    p.setPen(s.text);
    auto centred = [&](const QFont &font, const QRect &r, const QString &text) {
        if (r.isEmpty())
            return;
        QFontMetrics fm(font);
        p.setFont(font);
        QStringList lines = SplitLines(text);
        for (int i = 0; i < lines.size(); ++i)
            p.drawText(QPointF(r.center().x() - fm.horizontalAdvance(lines[i]) / 2.0,
                               r.top() + fm.ascent() + i * fm.height()),
                       lines[i]);
    };
    centred(s.title, f.mainTitleRect, f.mainTitle);
    centred(s.subTitle, f.subTitleRect, f.subTitle);
    if (f.legendRects.empty())
        return;
    QFontMetrics gfm(s.legend);
    p.setFont(s.legend);
    const ChartObject &o = FObject;
    for (std::size_t k = 0; k < f.legendRects.size(); ++k) {
        const QRect &r = f.legendRects[k];
        std::int32_t sub = f.legendSubsets[k];
        p.setPen(SubsetPen(o, f, sub));
        int ym = r.center().y();
        p.drawLine(r.left(), ym, r.left() + 18, ym);
        p.setPen(s.text);
        p.drawText(QPointF(r.left() + 24, r.top() + gfm.ascent()), f.legendTexts[k]);
    }
}

// ---- zoom and hit test -----------------------------------------------------------------------

void ChartView::ZoomTo(Range x, Range y)
{
    FZoom = std::make_pair(Widened(x, FFrame.dateTime), Widened(y, false));
}

void ChartView::UndoZoom()
{
    FZoom.reset();
}

std::int32_t ChartView::HitTest(int x, int y)
{
    const ChartObject &o = FObject;
    const ChartFrame &f = FFrame;
    HotSpotRecord rec{};
    auto finish = [&](std::int32_t type, std::int32_t i1, std::int32_t i2) {
        rec.type = type;
        rec.index1 = i1;
        rec.index2 = i2;
        FObject.SetRecord(prop::HotSpotData, rec);
        return type;
    };
    const bool inPlot =
        x >= f.plot.left() && x <= f.plot.right() && y >= f.plot.top() && y <= f.plot.bottom();
    // Vertical line annotations (the cursors).
    if ((IntOr(o, rprop::ShowVertLineAnnotations, 0) & 0xFF) &&
        (IntOr(o, rprop::AllowVertLineAnnotHotSpots, 0) & 0xFF) && inPlot) {
        std::size_t n = ArrayLength(o, rprop::VertLineAnnotation);
        for (std::size_t k = n; k-- > 0;) {
            double px = std::round(f.PixelX(o.GetElement(rprop::VertLineAnnotation, int(k))));
            if (std::fabs(px - x) <= 3.0)
                return finish(hotspot::VertLineAnnotation, std::int32_t(k), 0);
        }
    }
    // Graph annotations.
    if ((IntOr(o, rprop::ShowGraphAnnotations, 0) & 0xFF) &&
        (IntOr(o, rprop::AllowGraphAnnotHotSpots, 0) & 0xFF)) {
        std::size_t n = ArrayLength(o, rprop::GraphAnnotationX);
        QFontMetrics fm(f.style.annotation);
        for (std::size_t k = n; k-- > 0;) {
            auto i = std::int32_t(k);
            std::optional<PlacedAnnotation> a = PlaceGraphAnnotation(o, f, i);
            if (!a)
                continue;
            AnnotationGeometry g = GeometryOf(fm, a->px, a->py, a->type, a->text);
            QPointF pt(x, y);
            if (g.symbol.adjusted(-2, -2, 2, 2).contains(pt) || g.text.contains(pt))
                return finish(hotspot::GraphAnnotation, i, 0);
        }
    }
    // Data points.
    if ((IntOr(o, rprop::AllowDataHotSpots, 0) & 0xFF) && inPlot &&
        std::int64_t(o.Subsets()) * o.Points() <= IntOr(o, 3251, 900000)) {
        static const double kRadius[] = {4.0, 6.0, 9.0};
        double r = kRadius[std::clamp(IntOr(o, rprop::HotSpotSize, 0), 0, 2)];
        double nullY = 0.0;
        bool hasNull = o.GetDouble(rprop::NullDataValueY, nullY);
        double best = r * r + 1e-9;
        std::int32_t bs = -1, bp = -1;
        for (std::int32_t s = 0; s < o.Subsets(); ++s) {
            auto xs = o.DataRow(0, s);
            auto ys = o.DataRow(1, s);
            bool index = xs.empty() && !f.dateTime;
            for (std::int32_t i = 0; i < o.Points(); ++i) {
                double xv = index ? i + 1.0 : (std::size_t(i) < xs.size() ? xs[i] : 0.0);
                double yv = std::size_t(i) < ys.size() ? ys[i] : 0.0;
                if ((f.dateTime && xv == 0.0) || (hasNull && yv == nullY))
                    continue;
                double dx = f.PixelX(xv) - x;
                if (std::fabs(dx) > r)
                    continue;
                double dy = f.PixelY(yv) - y;
                double d = dx * dx + dy * dy;
                if (d < best) {
                    best = d;
                    bs = s;
                    bp = i;
                }
            }
        }
        if (bs >= 0)
            return finish(hotspot::Data, bs, bp);
    }
    // Legend entries.
    if (IntOr(o, rprop::AllowSubsetHotSpots, 0) & 0xFF)
        for (std::size_t k = 0; k < f.legendRects.size(); ++k)
            if (f.legendRects[k].contains(x, y))
                return finish(hotspot::Subset, f.legendSubsets[k], 0);
    if ((IntOr(o, rprop::AllowTitleHotSpots, 0) & 0xFF) && f.mainTitleRect.contains(x, y))
        return finish(hotspot::MainTitle, 0, 0);
    if ((IntOr(o, rprop::AllowSubTitleHotSpots, 0) & 0xFF) && f.subTitleRect.contains(x, y))
        return finish(hotspot::SubTitle, 0, 0);
    if ((IntOr(o, rprop::AllowGraphHotSpots, 0) & 0xFF) && inPlot) {
        GraphHotSpotRecord g{0, 0, f.DataX(x), f.DataY(y)};
        FObject.SetRecord(prop::GraphHotSpotData, g);
        return finish(hotspot::Graph, 0, 0);
    }
    return finish(hotspot::None, 0, 0);
}

QRect ChartView::BandRect() const
{
    return QRect(FBandStart, FBandEnd).normalized();
}

void ChartView::Notify(std::int32_t code)
{
    if (sink)
        sink->ChartNotify(FObject.Handle(), code);
}

void ChartView::RequestRepaint()
{
    if (sink)
        sink->ChartInvalidate(FObject.Handle(), nullptr);
}

void ChartView::FinishBand(QPoint end)
{
    FBanding = false;
    FBandEnd = end;
    QRect band = BandRect();
    int mode = IntOr(FObject, rprop::AllowZooming, 0);
    const ChartFrame &f = FFrame;
    Range x = f.x, y = f.y;
    bool horizontal = mode == 1 || mode == 3;
    bool vertical = mode == 2 || mode == 3;
    bool zoom = false;
    if (horizontal && band.width() >= 3) {
        x = {f.DataX(std::max(band.left(), f.plot.left())),
             f.DataX(std::min(band.right(), f.plot.right()))};
        zoom = true;
    }
    if (vertical && band.height() >= 3) {
        y = {f.DataY(std::min(band.bottom(), f.plot.bottom())),
             f.DataY(std::max(band.top(), f.plot.top()))};
        zoom = true;
    }
    if (zoom && x.max > x.min && y.max > y.min) {
        ZoomTo(x, y);
        ResetImage();
        RequestRepaint();
        Notify(code::ZoomIn);
        return;
    }
    RequestRepaint(); // the band disappears
}

std::int32_t ChartView::HandleMessage(std::uint32_t message, std::uint32_t wParam,
                                      std::int32_t lParam)
{
    const int ui = IntOr(FObject, rprop::AllowUserInterface, 1);
    const bool mouseAllowed = ui != 0 && ui != 3;
    QPoint pt(msg::PointX(lParam), msg::PointY(lParam));
    auto setMouse = [&]() { FObject.SetRecord(prop::MousePoint, PointRecord{pt.x(), pt.y()}); };
    switch (message) {
    case msg::MouseMove:
        setMouse();
        HitTest(pt.x(), pt.y());
        if (FBanding) {
            FBandEnd = pt;
            RequestRepaint();
        }
        return 0;
    case msg::LButtonDown: {
        setMouse();
        std::int32_t type = HitTest(pt.x(), pt.y());
        if (!mouseAllowed || type != hotspot::None || FBanding)
            return 0;
        if (IntOr(FObject, rprop::AllowZooming, 0) != 0 && FFrame.plot.contains(pt) &&
            !(wParam & (msg::MK_SHIFT | msg::MK_CONTROL))) {
            FBanding = true;
            FBandStart = FBandEnd = pt;
        }
        return 0;
    }
    case msg::LButtonDblClk:
        setMouse();
        HitTest(pt.x(), pt.y());
        return 0;
    case msg::LButtonUp:
        setMouse();
        if (FBanding)
            FinishBand(pt);
        return 0;
    case msg::RButtonDown:
        setMouse();
        HitTest(pt.x(), pt.y());
        if (FBanding) {
            FBanding = false;
            RequestRepaint();
            return 0;
        }
        if (mouseAllowed && (IntOr(FObject, rprop::AllowPopup, 1) & 0xFF))
            PopupMenu(pt);
        return 0;
    case msg::KeyDown:
        if (wParam == 0x1B && FBanding) { // Escape ends a band without zooming
            FBanding = false;
            RequestRepaint();
        }
        return 0;
    case msg::Command:
        if ((wParam & 0xFFFF) == std::uint32_t(msg::UndoZoomCommand)) {
            bool was = Zoomed();
            UndoZoom();
            ResetImage();
            RequestRepaint();
            if (was)
                Notify(code::ZoomOut);
        }
        return 0;
    default:
        return 0;
    }
}

} // namespace chartlib
