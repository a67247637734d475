#include "app/graph_files.h"

#include "chart/control/gxsgraph.h"
#include "platform/chartlib/chartlib.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/folders.h"
#include "views/graph_window.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace app {

namespace {

std::string LocalName(const QString &fileName)
{
    return QFile::encodeName(fileName).toStdString();
}

[[noreturn]] void Damaged(const std::string &name)
{
    throw rtl::EReadError(
        rtl::Format("The chart file \"%s\" is damaged or is no chart file.", name.c_str()));
}

} // namespace

QString GraphTemplateFile()
{
    const QString user = ui::FolderRoots().UserData;
    if (!user.isEmpty()) {
        const QString copy = ui::JoinPath(user, QString::fromLatin1(kGraphTemplate));
        if (QFile::exists(copy))
            return copy;
    }
    return ui::ProgramFile(QString::fromLatin1(kGraphTemplate));
}

QString GraphTemplateTarget()
{
    return ui::WritableProgramFile(QString::fromLatin1(kGraphTemplate));
}

void LoadGraphFile(GXSGraph &chart, const QString &fileName)
{
    const std::string name = LocalName(fileName);
    rtl::TFileStream stream(name, rtl::fmOpenRead);
    std::uint8_t head[4];
    if (stream.Read(head, 4) != 4)
        Damaged(name);
    const auto n = std::int32_t(std::uint32_t(head[0]) | std::uint32_t(head[1]) << 8 |
                                std::uint32_t(head[2]) << 16 | std::uint32_t(head[3]) << 24);
    if (n < 0)
        Damaged(name);
    // The block is read in steps, so that a length the file does not hold
    // costs no more memory than the bytes that are there.
    std::vector<std::uint8_t> block;
    constexpr std::int64_t kStep = 1 << 20;
    for (std::int64_t done = 0; done < n;) {
        const std::int64_t step = std::min<std::int64_t>(kStep, n - done);
        block.resize(static_cast<std::size_t>(done + step));
        if (stream.Read(block.data() + done, step) != step)
            Damaged(name);
        done += step;
    }
    if (!chartlib::ChartLoadState(chart.GethObject(), block))
        Damaged(name);
    if (views::TfrmGraph *graph = views::TfrmGraph::OfChart(chart))
        graph->ChartLoaded();
}

void SaveGraphFile(GXSGraph &chart, const QString &fileName)
{
    const std::vector<std::uint8_t> block = chartlib::ChartStoreState(chart.GethObject());
    if (block.empty() || block.size() > std::size_t(std::numeric_limits<std::int32_t>::max()))
        throw rtl::EStreamError("The chart's state could not be stored.");
    const auto n = std::uint32_t(block.size());
    const std::uint8_t head[4] = {std::uint8_t(n), std::uint8_t(n >> 8), std::uint8_t(n >> 16),
                                  std::uint8_t(n >> 24)};
    rtl::TSafeFileStream out(LocalName(fileName));
    out.WriteBuffer(head, 4);
    out.WriteBuffer(block.data(), std::int64_t(n));
    out.Commit();
}

void SaveGraphTemplate(GXSGraph &chart)
{
    const QString target = GraphTemplateTarget();
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        throw rtl::Exception("Cannot create " + ui::QStringToAnsi(folder + QLatin1Char('/')) +
                             " directory.");
    SaveGraphFile(chart, target);
}

void ApplyDefaultGraphLook(GXSGraph &chart, const WideString &xAxisLabel)
{
    chart.SetMainTitle(u"");
    chart.SetSubTitle(u" ");
    chart.SetShowVertLineAnnotations(true);
    chart.SetAllowVertLineAnnotHotSpots(true);
    chart.SetLineAnnotationTextSize(80);
    chart.SetLineAnnotationTextSize(100);
    chart.SetShowGraphAnnotations(true);
    chart.SetGraphAnnotationTextSize(100);
    chart.SetGridStyle(sgDot);
    chart.SetDateTimeMode(eDateTimeMode(1));
    chart.SetUsingXDataII(true);
    chart.SetXAxisLabel(xAxisLabel);
    chart.SetAllowZooming(sgHorzPlusVertZooming);
    chart.SetScrollingHorzZoom(true);
    chart.SetScrollingVertZoom(true);
    const GXColor grey = GXSGraph::GXargb(255, 190, 190, 190);
    const GXColor black = GXSGraph::GXargb(255, 0, 0, 0);
    chart.SetGraphForeColor(grey);
    chart.SetDeskColor(grey);
    chart.SetGraphBackColor(black);
    chart.SetTextColor(black);
    chart.SetSubsetColors(0, GXSGraph::GXargb(255, 255, 255, 0));
    chart.SetSubsetColors(1, GXSGraph::GXargb(255, 255, 0, 0));
    chart.SetSubsetLineTypes(0, 0);
    chart.SetSubsetLineTypes(1, 0);
    chart.SetArrowCursor(1);
    chart.SetYAxisColor(GXSGraph::GXargb(255, 255, 0, 0));
}

bool SetupGraph(GXSGraph &chart, int subsets, int points, rtl::TDateTime minimumX,
                rtl::TDateTime maximumX, float minimumY, float maximumY,
                const WideString &xAxisLabel)
{
    // A template that cannot be read is passed over: the chart gets the
    // default look and the caller its chart.
    bool templated = false;
    const QString templateFile = GraphTemplateFile();
    if (QFile::exists(templateFile)) {
        try {
            LoadGraphFile(chart, templateFile);
            templated = true;
        } catch (const rtl::Exception &) {
        }
    }

    chart.SetPrepareImages(true);
    chart.SetNullDataValueY(views::kNullLevel);
    chart.SetSubsetByPoint(false);
    chart.SetSubsets(subsets);
    chart.SetPoints(points);
    chart.SetAllowPopup(false);
    chart.SetNoHelp(true);
    // Every point of every subset empty, so nothing old is drawn.
    chart.SetXDataII(-1, -1, 0.0);
    chart.SetYDataII(-1, -1, double(views::kNullLevel));

    chart.SetManualScaleControlY(sgManualMinAndMax);
    chart.SetManualMinY(minimumY);
    chart.SetManualMaxY(maximumY);
    if (minimumX != 0.0) {
        chart.SetManualScaleControlX(sgManualMinAndMax);
        chart.SetManualMinX(minimumX);
        chart.SetManualMaxX(maximumX);
    }
    chart.SetAllowDataLabels(sgNoDataLabels);
    if (!templated)
        ApplyDefaultGraphLook(chart, xAxisLabel);

    chart.SetYAxisLabel(u"dB");
    chart.SetWorkingAxis(0);
    chart.SetAllowGraphAnnotHotSpots(true);
    views::RedrawChart(chart);
    return templated;
}

} // namespace app
