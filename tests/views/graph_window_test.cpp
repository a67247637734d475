// The graph window over the real chart control, offscreen: whole-set and
// A-B statistics, the cursors on the slider and as chart lines, the cursor
// drag, the sampling-rate box, the close questions by role, and Clear.
#include "tests/views/graph_fixture.h"

namespace {

TEST_F(GraphWindowTest, WholeSetStatisticsAndTheCursorsAThirdAndTwoThirdsIn)
{
    auto g = Make();
    Fill(*g, {60, 80, 80, 50});
    EXPECT_EQ(Text(g->txtDataNo), "4");
    EXPECT_EQ(Text(g->txtAvgAll), "67.5"); // arithmetic, not energetic
    EXPECT_EQ(Text(g->txtMax), "80.0");
    EXPECT_EQ(Text(g->txtMaxTime), DateTime(kNoon + kSecond)); // the first of equal maxima
    EXPECT_EQ(Text(g->txtMin), "50.0");
    EXPECT_EQ(Text(g->txtStartTime), "2025-12-09 12:00:00");
    EXPECT_EQ(g->txtSamplingRate->currentText(), "1.0"); // 3 s over 3 intervals
    EXPECT_EQ(g->Slider1->Maximum(), 3);
    EXPECT_EQ(g->Slider1->Value1(), 1);
    EXPECT_EQ(g->Slider1->Value2(), 2);
    EXPECT_EQ(Text(g->txtCursorA), "80.0");
    EXPECT_EQ(Text(g->txtAvgAB), "80.0");

    // Cursor A right of B: the statistics run from the smaller index.
    g->Slider1->SetValue1(3);
    g->Slider1->SetValue2(1);
    EXPECT_EQ(Text(g->txtMaxAB), "80.0");
    EXPECT_EQ(Text(g->txtMaxABTime), DateTime(kNoon + kSecond));
    EXPECT_EQ(Text(g->txtMinAB), "50.0");
    EXPECT_EQ(Text(g->txtMinABTime), DateTime(kNoon + 3 * kSecond));
    EXPECT_EQ(Text(g->txtAvgAB), "70.0");
    // Both on one point: that point's level.
    g->Slider1->SetValue2(3);
    EXPECT_EQ(Text(g->txtAvgAB), "50.0");

    // The slider lies under the plotting area.
    QApplication::processEvents();
    chartlib::ChartRect plot{};
    chartlib::ChartGetProperty(g->GXSGraph1->GethObject(), chartlib::prop::PlotRect,
                               std::span(reinterpret_cast<std::uint8_t *>(&plot), sizeof plot));
    EXPECT_EQ(g->Slider1->mapTo(g.get(), QPoint(0, 0)).x(),
              g->GXSGraph1->mapTo(g.get(), QPoint(plot.left, 0)).x());
    EXPECT_EQ(g->Slider1->width(), plot.right - plot.left);
    EXPECT_GT(g->Slider1->width(), 300);
}

TEST_F(GraphWindowTest, TheChartTakesUpItsFormValuesBeforeTheWindowIsShown)
{
    // The chart takes up its stored values when the form is read, not at its
    // first show: a window not yet shown already has its picture.
    TfrmGraph g(host_, TGraphRole::Other);
    ASSERT_FALSE(g.GXSGraph1->WindowCreated());
    EXPECT_NE(chartlib::ChartGetImage(g.GXSGraph1->GethObject()), 0);
}

TEST_F(GraphWindowTest, CursorLinesCarryTheRoundedTimeAndTheLevel)
{
    auto g = Make();
    const double t600 = kNoon + 0.6 * kSecond;
    Fill(*g, {70, 63.25f, 71}, {kNoon, t600, kNoon + 2 * kSecond});
    ASSERT_EQ(g->CursorA(), 1);
    EXPECT_EQ(g->GXSGraph1->GetVertLineAnnotation(0), t600); // the line itself is not rounded
    EXPECT_EQ(g->GXSGraph1->GetVertLineAnnotationText(0), u"|t12:00:01\n63.3dB");
    EXPECT_EQ(Text(g->txtCursorATime), "2025-12-09 12:00:01");
    EXPECT_EQ(g->GXSGraph1->GetVertLineAnnotationText(1), u"|t12:00:02\n71.0dB");

    // .500 stays, .501 goes up; the A-B maximum time is never rounded.
    const double t500 = kNoon + 0.5 * kSecond, t501 = kNoon + 0.501 * kSecond;
    Fill(*g, {60, 90, 60}, {kNoon - kSecond, t500, kNoon + kSecond});
    EXPECT_EQ(Text(g->txtMaxTime), "2025-12-09 12:00:00");
    Fill(*g, {60, 90, 60}, {kNoon - kSecond, t501, kNoon + kSecond});
    EXPECT_EQ(Text(g->txtMaxTime), "2025-12-09 12:00:01");
    EXPECT_EQ(Text(g->txtMaxABTime), "2025-12-09 12:00:00");
}

TEST_F(GraphWindowTest, EmptyCapacityAndNullPointsAreNoData)
{
    auto g = Make();
    Fill(*g, {60, 80});
    ASSERT_FALSE(Text(g->txtCursorA).isEmpty());
    // Nothing filled: empty texts, slider 0..0, no cursor lines.
    host_.SetupGraph(*g->GXSGraph1, 1, 2000, kNoon, kNoon + 0.1, 30, 130);
    g->UpdateGraphStatistics();
    EXPECT_EQ(g->PointsInUse(), 0);
    for (QLineEdit *e : {g->txtStartTime, g->txtDataNo, g->txtAvgAll, g->txtMax, g->txtMaxTime,
                         g->txtCursorA, g->txtCursorBTime, g->txtAvgAB})
        EXPECT_TRUE(Text(e).isEmpty()) << e->objectName().toStdString();
    EXPECT_EQ(g->Slider1->Maximum(), 0);
    EXPECT_EQ(g->Slider1->Value2(), 0);
    EXPECT_EQ(g->GXSGraph1->GetVertLineAnnotationText(0), u"");

    // Five of ten points filled, one of them without a reading.
    Fill(*g, {60, 9999, 70, 80, 50}, {}, 10);
    EXPECT_EQ(Text(g->txtDataNo), "5");
    EXPECT_EQ(Text(g->txtAvgAll), "65.0");
    EXPECT_EQ(Text(g->txtMax), "80.0");
    EXPECT_EQ(g->Slider1->Maximum(), 4);
    g->Slider1->SetValue1(0);
    g->Slider1->SetValue2(2);
    EXPECT_EQ(Text(g->txtMaxAB), "70.0");
    EXPECT_EQ(Text(g->txtAvgAB), "65.0");

    // The interval is taken over the intervals, and is 0 for one point.
    std::vector<float> ten(10, 60.0f);
    Fill(*g, ten);
    EXPECT_EQ(g->txtSamplingRate->currentText(), "1.0");
    Fill(*g, {60});
    EXPECT_EQ(g->txtSamplingRate->currentText(), "0.0");
    EXPECT_EQ(Text(g->txtDataNo), "1");
}

TEST_F(GraphWindowTest, EachWindowKeepsItsOwnCursors)
{
    auto a = Make();
    auto b = Make();
    Fill(*a, std::vector<float>(9, 60.0f));
    Fill(*b, std::vector<float>(30, 70.0f));
    a->Slider1->SetValue1(7);
    EXPECT_EQ(a->CursorA(), 7);
    EXPECT_EQ(b->CursorA(), 10);
    b->UpdateCursorStatistics();
    EXPECT_EQ(Text(b->txtAvgAB), "70.0");
}

TEST_F(GraphWindowTest, DraggingALineMovesItsCursorToTheMouse)
{
    auto g = Make();
    std::vector<float> levels;
    for (int i = 0; i < 10; ++i)
        levels.push_back(60.0f + float(i));
    Fill(*g, levels);
    ASSERT_EQ(g->CursorA(), 3);
    auto pixel = [&g, this](double x, double y) { return Pixel(*g, x, y); };
    auto send = [&g, this](QEvent::Type type, QPoint p, Qt::MouseButtons buttons) {
        Send(*g, type, p, buttons);
    };
    send(QEvent::MouseButtonPress, pixel(kNoon + 3 * kSecond, 80), Qt::LeftButton);
    EXPECT_TRUE(g->DragCursorA());
    EXPECT_FALSE(g->DragCursorB());
    const QPoint target = pixel(kNoon + 7.5 * kSecond, 80);
    send(QEvent::MouseMove, target, Qt::LeftButton);
    EXPECT_EQ(g->CursorA(), 8); // the first point at or after the mouse
    EXPECT_EQ(g->Slider1->Value1(), 8);
    EXPECT_EQ(Text(g->txtCursorA), "68.0");
    EXPECT_EQ(g->GXSGraph1->GetVertLineAnnotation(0), kNoon + 8 * kSecond);
    EXPECT_EQ(Text(g->txtMinAB), "66.0"); // between B (6) and A (8)
    // The readout shows the level and time under the mouse.
    EXPECT_TRUE(g->Panel12->text().endsWith("dB@12:00:07")) << g->Panel12->text().toStdString();
    // The pointer was put onto the line.
    EXPECT_EQ(ui::CursorPos().x(), g->GXSGraph1->mapToGlobal(pixel(kNoon + 8 * kSecond, 80)).x());

    send(QEvent::MouseButtonRelease, target, Qt::NoButton);
    EXPECT_FALSE(g->DragCursorA());
    send(QEvent::MouseMove, pixel(kNoon + 1.5 * kSecond, 80), Qt::NoButton);
    EXPECT_EQ(g->CursorA(), 8);
}

TEST_F(GraphWindowTest, TheReadoutCoversNoAxisTextAndShowsOnlyTheValueUnderTheMouseNow)
{
    auto g = Make(TGraphRole::DataLogger);
    Fill(*g, std::vector<float>(10, 70.0f));
    g->GXSGraph1->SetMainTitle(u"");
    views::RedrawChart(*g->GXSGraph1); // no title: the plot reaches up to the top Y number
    QApplication::processEvents();
    const chartlib::ChartFrame &frame = chartlib::ViewOf(g->GXSGraph1->GethObject())->Frame();
    const QPoint inside = Pixel(*g, kNoon + 5 * kSecond, 120);
    Send(*g, QEvent::MouseMove, inside, Qt::NoButton);
    ASSERT_TRUE(g->Panel12->isVisible());
    const QRectF readout(g->Panel12->geometry().translated(-g->GXSGraph1->pos()));
    int numbers = 0;
    for (const chartlib::PlacedText &t : frame.texts)
        if (t.role == chartlib::PlacedText::YNumber || t.role == chartlib::PlacedText::YLabel) {
            ++numbers;
            EXPECT_FALSE(readout.intersects(t.rect)) << t.text.toStdString();
        }
    EXPECT_GT(numbers, 3);
    // Off the plot, and off the chart, the readout goes.
    Send(*g, QEvent::MouseMove, QPoint(frame.plot.left() - 3, inside.y()), Qt::NoButton);
    EXPECT_FALSE(g->Panel12->isVisible());
    Send(*g, QEvent::MouseMove, inside, Qt::NoButton);
    EXPECT_TRUE(g->Panel12->isVisible());
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(g->GXSGraph1, &leave);
    EXPECT_FALSE(g->Panel12->isVisible());
}

TEST_F(GraphWindowTest, OnlyTheRealTimeBoxSetsTheRateAndOnlyToSensibleValues)
{
    auto other = Make(TGraphRole::Other);
    other->txtSamplingRateChange("5.0");
    EXPECT_EQ(host_.rate, 1.0);

    auto rt = Make(TGraphRole::RealTime);
    rt->SetSamplingRateList();
    rt->SelectSamplingRate(1.0);
    EXPECT_EQ(rt->txtSamplingRate->currentText(), "1.0");
    rt->txtSamplingRateChange("5.0");
    EXPECT_EQ(host_.rate, 5.0);
    for (const char *bad : {"abc", "0", "-2", "inf", "nan", "86401", ""})
        rt->txtSamplingRateChange(bad);
    EXPECT_EQ(host_.rate, 5.0);
    rt->txtSamplingRateChange("86400");
    EXPECT_EQ(host_.rate, 86400.0);
    // A programmatic change of the text is no choice of the user's.
    host_.rate = 1.0;
    rt->txtSamplingRate->setCurrentIndex(4);
    EXPECT_EQ(host_.rate, 1.0);

    // While a run is active the box goes back to the run's rate.
    host_.running = true;
    rt->txtSamplingRateChange("20.0");
    EXPECT_EQ(host_.rate, 1.0);
    EXPECT_EQ(rt->txtSamplingRate->currentIndex(), 0);
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"Can not change Sampling Rate while Real-Time is running."});
    // A stored rate near an entry selects it; one far from every entry none.
    EXPECT_EQ(TfrmGraph::SamplingRateIndex(30.4), 5);
    EXPECT_EQ(TfrmGraph::SamplingRateIndex(45), -1);
}

TEST_F(GraphWindowTest, CloseQuestionsBelongToTheirWindowAndAFailedSaveKeepsItOpen)
{
    host_.loggerUnsaved = true;
    // A running-Leq window (the logger's caption copied) neither asks nor clears.
    auto leq = Make(TGraphRole::RunningLeq);
    leq->setWindowTitle(TfrmGraph::kDataLoggerCaption);
    EXPECT_TRUE(leq->close());
    EXPECT_TRUE(host_.loggerUnsaved);
    EXPECT_TRUE(services_.Messages().empty());

    auto logger = Make(TGraphRole::DataLogger);
    services_.AnswerMessage(ui::mrCancel);
    EXPECT_FALSE(logger->FormCloseQuery());
    services_.AnswerMessage(ui::mrYes);
    host_.saveSucceeds = false; // cancelled or failed
    EXPECT_FALSE(logger->FormCloseQuery());
    EXPECT_TRUE(host_.loggerUnsaved);
    host_.saveSucceeds = true;
    services_.AnswerMessage(ui::mrYes);
    EXPECT_TRUE(logger->FormCloseQuery());
    EXPECT_FALSE(host_.loggerUnsaved);
    EXPECT_EQ(host_.saves, 2);
    EXPECT_EQ(services_.Messages().front().Text, "Save DataLogger Data ?");

    // "No" closes; the close clears the mark.
    host_.loggerUnsaved = true;
    services_.AnswerMessage(ui::mrNo);
    logger->close();
    EXPECT_FALSE(host_.loggerUnsaved);
    EXPECT_EQ(host_.closed,
              (std::vector<TGraphRole>{TGraphRole::RunningLeq, TGraphRole::DataLogger}));

    host_.realTimeUnsaved = true;
    auto rt = Make(TGraphRole::RealTime);
    services_.AnswerMessage(ui::mrYes);
    host_.saveSucceeds = false;
    EXPECT_FALSE(rt->close());
    EXPECT_TRUE(host_.realTimeUnsaved);
    services_.AnswerMessage(ui::mrNo);
    EXPECT_TRUE(rt->close());
    EXPECT_FALSE(host_.realTimeUnsaved);
    EXPECT_EQ(host_.closed.back(), TGraphRole::RealTime);
}

TEST_F(GraphWindowTest, GridRowsWithoutASetDoNothing)
{
    auto g = Make(TGraphRole::DataLogger);
    EXPECT_TRUE(g->pnlDataSets->isVisibleTo(g.get()));
    auto other = Make();
    EXPECT_FALSE(other->pnlDataSets->isVisibleTo(other.get()));
    g->Grid2->SetRowCount(3);
    g->Grid2->SetCell(1, 2, "2025-12-09");
    g->Grid2->SetSelection({0, 1, 7, 1});
    g->Grid2Click();
    g->Grid2->SetSelection({0, 2, 7, 2});
    g->Grid2Click();
    EXPECT_EQ(host_.shown, std::vector<int>{1});
}

TEST_F(GraphWindowTest, ClearEmptiesTheRealTimeGraphForThirtySeconds)
{
    auto g = Make(TGraphRole::RealTime);
    Fill(*g, {60, 70, 80});
    g->setWindowTitle("something else");
    g->SetAnnotationCount(7);
    g->GXSGraph1->SetGraphAnnotationX(6, kNoon);
    g->tbntClrClick();
    EXPECT_EQ(g->windowTitle(), "Real-Time Graph");
    EXPECT_EQ(host_.clears, 1);
    EXPECT_EQ(host_.lastPoints, 200);
    EXPECT_DOUBLE_EQ(host_.lastMinX, kNoon);
    EXPECT_NEAR((host_.lastMaxX - kNoon) * 86400.0, 30.0, 1e-4);
    EXPECT_EQ(g->AnnotationCount(), 3);
    EXPECT_EQ(g->GXSGraph1->GetGraphAnnotationX(6), 0.0);
    EXPECT_EQ(g->PointsInUse(), 0);
    EXPECT_TRUE(Text(g->txtDataNo).isEmpty());
    EXPECT_FALSE(g->tbntClr->isHidden());
}

} // namespace
