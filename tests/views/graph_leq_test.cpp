// The running Leq (the calculation and the window "CAL Leq" makes) and the
// statistics text "Export Statistic" puts on the clipboard.
#include "tests/views/graph_fixture.h"

#include "i18n/base/lx_languages.h"
#include "i18n/lx_comp.h"
#include "platform/ui/clipboard.h"
#include "views/running_leq.h"

#include <QPushButton>

#include <cmath>
#include <limits>

namespace {

std::vector<float> Leq(const std::vector<float> &levels)
{
    std::vector<float> out(levels.size(), -1.0f);
    views::RunningLeq(levels, out, views::kNullLevel);
    return out;
}

void ExpectNear(const std::vector<float> &got, const std::vector<double> &want)
{
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 0.005) << "point " << i;
}

TEST(RunningLeq, TheEnergyMeanFromTheFirstPointOn)
{
    ExpectNear(Leq({60, 60}), {60, 60});
    ExpectNear(Leq({60, 70}), {60, 67.40});
    ExpectNear(Leq({80, 60, 60, 60}), {80, 77.03, 75.31, 74.11});
    // A quieter level after a loud one never pulls the mean below the minimum.
    const std::vector<float> up = Leq({30, 130, 30});
    EXPECT_NEAR(up[1], 130 - 10 * std::log10(2.0), 1e-4);
    EXPECT_GT(up[2], 30);
    EXPECT_LT(up[2], 130);
}

TEST(RunningLeq, PointsWithoutAReadingAndLevelsBeyondAnyPowerStayFinite)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    // No reading yet: the null level; then the previous Leq is kept.
    ExpectNear(Leq({views::kNullLevel, 60, nan, inf, 70}), {views::kNullLevel, 60, 60, 60, 67.40});
    // 10^(L/10) of these would overflow a double; their mean does not.
    const std::vector<float> huge = Leq({4000, 4000, 3.0e38f, 60});
    ExpectNear({huge[0], huge[1]}, {4000, 4000});
    for (float v : huge)
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_NEAR(huge[2] / 3.0e38f, 1.0f, 1e-6);
    EXPECT_TRUE(Leq({}).empty());
}

class GraphLeqTest : public GraphWindowTest {};

TEST_F(GraphLeqTest, CalLeqMakesAWindowOfTheLevelsAndTheirLeqOwnedByItsSource)
{
    auto source = Make(TGraphRole::DataLogger);
    source->setWindowTitle("DataLogger");
    // Room for 10 points, 4 in use: the Leq covers the points in use.
    Fill(*source, {80, 60, 60, 60}, {}, 10);
    source->bunCalLEQ->click();
    QPointer<TfrmGraph> leq = views::gLeqCurveGraph;
    ASSERT_FALSE(leq.isNull());
    EXPECT_EQ(leq->windowTitle(), "DataLogger");
    EXPECT_TRUE(leq->isVisible());
    EXPECT_FALSE(leq->bunCalLEQ->isEnabled());
    EXPECT_TRUE(source->bunCalLEQ->isEnabled());

    GXSGraph &chart = *leq->GXSGraph1;
    EXPECT_EQ(chart.GetSubsets(), 2);
    ASSERT_EQ(chart.GetPoints(), 4);
    EXPECT_EQ(chart.GetSubsetColors(0), 0x0000FFFFu); // stored as it stands
    EXPECT_EQ(chart.GetSubsetColors(1), GXSGraph::GXargb(255, 255, 0, 0));
    const double want[] = {80, 77.03, 75.31, 74.11};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(chart.GetYData(0, i), source->GXSGraph1->GetYData(0, i));
        EXPECT_EQ(chart.GetXDataII(0, i), source->GXSGraph1->GetXDataII(0, i));
        EXPECT_EQ(chart.GetXDataII(1, i), source->GXSGraph1->GetXDataII(0, i));
        EXPECT_NEAR(chart.GetYData(1, i), want[i], 0.005);
    }
    // Its statistics describe the copied levels.
    EXPECT_EQ(Text(leq->txtDataNo), "4");
    EXPECT_EQ(Text(leq->txtMax), "80.0");

    // The SPL curve is drawn in opaque yellow although its alpha byte is 0.
    QApplication::processEvents();
    const QImage shot = chartlib::ChartRenderImage(chart.GethObject());
    const QPoint p = Pixel(*leq, kNoon + 2.5 * kSecond, 60);
    bool yellow = false;
    for (int dy = -2; dy <= 2 && !yellow; ++dy) {
        // The line may fall between two pixel rows and be shaded.
        const QColor c = shot.pixelColor(p.x(), p.y() + dy);
        yellow = c.red() > 150 && c.green() == c.red() && c.blue() < 40;
    }
    EXPECT_TRUE(yellow);

    source.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(leq.isNull());
}

TEST_F(GraphLeqTest, OnePointMakesNoWindow)
{
    auto g = Make();
    Fill(*g, {60});
    views::gLeqCurveGraph = nullptr;
    EXPECT_EQ(g->RunningLeq(), nullptr);
    EXPECT_EQ(services_.MessageTexts(), QStringList{"data number < 2"});
    EXPECT_TRUE(views::gLeqCurveGraph.isNull());
    EXPECT_TRUE(g->findChildren<TfrmGraph *>().isEmpty());
}

TEST_F(GraphLeqTest, ExportStatisticPutsElevenLinesOnTheClipboard)
{
    auto g = Make();
    Fill(*g, {60, 80, 70, 50, 65, 75});
    g->Button2->click();
    const QString text = ui::ClipboardText();
    EXPECT_FALSE(text.contains('\r'));
    ASSERT_TRUE(text.endsWith('\n'));
    const QStringList lines = text.chopped(1).split('\n');
    ASSERT_EQ(lines.size(), 11);
    EXPECT_EQ(lines[0], "Start Time:" + Text(g->txtStartTime));
    EXPECT_EQ(lines[1], "Sampling Rate:1.0");
    EXPECT_EQ(lines[2], "DataNo:6");
    EXPECT_EQ(lines[4], "Maximum:80.0@" + DateTime(kNoon + kSecond));
    EXPECT_EQ(lines[6], "Cursor A:" + Text(g->txtCursorA) + "@" + Text(g->txtCursorATime));
    EXPECT_EQ(lines[9], "Min.Between A and B:" + Text(g->txtMinAB) + "@" + Text(g->txtMinABTime));
    EXPECT_EQ(lines[10], "Avg. Between A and B:" + Text(g->txtAvgAB));
    EXPECT_EQ(services_.MessageTexts(), QStringList{"The statistic has been copy to clipboard"});

    // In another language the labels follow it, except the first and tenth.
    i18n::TlxLangDispatcher dispatcher(nullptr);
    dispatcher.SetNumOfLanguages(i18n::kLanguageCount);
    dispatcher.SetActiveLanguage(3);
    host_.dispatcher = &dispatcher;
    {
        auto german = Make();
        Fill(*german, {60, 80, 70});
        const QStringList de = german->StatisticText().split('\n');
        EXPECT_TRUE(de[0].startsWith("Start Time:"));
        EXPECT_TRUE(de[2].startsWith("Anzahl Werte:"));
        EXPECT_TRUE(de[9].startsWith("Min.Between A and B:"));
        EXPECT_TRUE(de[10].startsWith("Mittel zwischen A und B:"));
    }
    host_.dispatcher = nullptr;
}

} // namespace
