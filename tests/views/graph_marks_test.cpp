// Marks on a graph window's chart (crosses, texts, the data-point marker),
// their erasure, the count that a loaded chart or a template sets, zoom with
// its undo and scroll bars, the view style and the template question.
#include "tests/views/graph_fixture.h"

#include "platform/rtl/exceptions.h"
#include "views/show_modal.h"
#include "views/small_dialogs.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>

namespace {

using views::TfrmAnnoEdit;
using views::TfrmDelAnno;

class GraphMarksTest : public GraphWindowTest {
protected:
    // Ten levels 60..69 one second apart: cursors A and B stand on points 3 and 6.
    void Ten(TfrmGraph &g)
    {
        std::vector<float> levels;
        for (int i = 0; i < 10; ++i)
            levels.push_back(60.0f + float(i));
        Fill(g, levels);
    }
    // Where the pointer must be for a mark of the mode to land on (x, y).
    static QPoint PointerFor(TfrmGraph &g, double x, double y, bool text)
    {
        const QPoint p = Pixel(g, x, y);
        return text ? p - QPoint(TfrmGraph::kTextOffsetX, TfrmGraph::kTextOffsetY)
                    : p - QPoint(TfrmGraph::kCrossOffset, TfrmGraph::kCrossOffset);
    }
    static void Mark(TfrmGraph &g, std::int32_t k, std::int32_t type, const char16_t *text,
                     double x = kNoon)
    {
        g.GXSGraph1->SetGraphAnnotationType(k, type);
        g.GXSGraph1->SetGraphAnnotationText(k, text);
        g.GXSGraph1->SetGraphAnnotationX(k, x);
        g.GXSGraph1->SetGraphAnnotationY(k, 65.0);
    }
    static bool Erased(TfrmGraph &g, std::int32_t k)
    {
        return g.GXSGraph1->GetGraphAnnotationType(k) == 0 &&
               g.GXSGraph1->GetGraphAnnotationText(k).empty();
    }
};

TEST_F(GraphMarksTest, CrossesAndTextsTakeTheirWindowsNextIndexFromFive)
{
    auto a = Make();
    auto b = Make();
    Ten(*a);
    Ten(*b);
    a->ToolButton5->click();

    const double x = kNoon + 4.5 * kSecond;
    Click(*a, PointerFor(*a, x, 64, false));
    ASSERT_EQ(a->AnnotationCount(), 5);
    EXPECT_EQ(a->GXSGraph1->GetGraphAnnotationType(5), TfrmGraph::kCrossMark);
    EXPECT_TRUE(a->GXSGraph1->GetGraphAnnotationText(5).empty());
    EXPECT_EQ(Pixel(*a, a->GXSGraph1->GetGraphAnnotationX(5), a->GXSGraph1->GetGraphAnnotationY(5)),
              Pixel(*a, x, 64));
    // The other window's marks count on their own.
    Click(*b, PointerFor(*b, x, 64, false));
    EXPECT_EQ(b->AnnotationCount(), 5);
    EXPECT_EQ(a->AnnotationCount(), 5);

    // Text mode asks for the text; OK with an empty text still makes a mark,
    // Cancel makes none.
    a->ToolButton9->click();
    QString typed = QStringLiteral("Peak");
    ui::TModalResult answer = ui::mrOk;
    int asked = 0;
    views::TModalRunnerScope runner([&](QDialog &d) {
        ++asked;
        auto &edit = dynamic_cast<TfrmAnnoEdit &>(d);
        EXPECT_EQ(views::frmAnnoEdit, &edit);
        edit.Edit1->setText(typed);
        return answer;
    });
    Click(*a, PointerFor(*a, kNoon + 1.5 * kSecond, 70, true));
    EXPECT_EQ(a->AnnotationCount(), 6);
    EXPECT_EQ(a->GXSGraph1->GetGraphAnnotationType(6), TfrmGraph::kTextMark);
    EXPECT_EQ(a->GXSGraph1->GetGraphAnnotationText(6), u"Peak");
    EXPECT_EQ(views::frmAnnoEdit, nullptr); // freed after it closed
    typed.clear();
    Click(*a, PointerFor(*a, kNoon + 2.5 * kSecond, 70, true));
    EXPECT_EQ(a->AnnotationCount(), 7);
    EXPECT_TRUE(Erased(*a, 7));
    answer = ui::mrCancel;
    Click(*a, PointerFor(*a, kNoon + 7.5 * kSecond, 70, true));
    EXPECT_EQ(a->AnnotationCount(), 7);
    EXPECT_EQ(asked, 3);

    // Nothing is placed outside the plotting area, nor in normal mode.
    Click(*a, QPoint(2, 2));
    EXPECT_EQ(asked, 3);
    a->ToolButton4->click();
    Click(*a, PointerFor(*a, x, 64, true));
    EXPECT_EQ(a->AnnotationCount(), 7);
}

TEST_F(GraphMarksTest, TheEraseListShowsCrossesAsXAndDeletesExactlyTheSelectedRows)
{
    auto g = Make();
    Ten(*g);
    // Marks 3 and 4 (after a Clear) are never offered.
    Mark(*g, 4, 2, u"");
    Mark(*g, 5, 2, u"", kNoon + kSecond);
    Mark(*g, 6, 0, u"first");
    Mark(*g, 7, 0, u""); // an empty text is not listed
    Mark(*g, 8, 2, u"");
    Mark(*g, 9, 0, u"second");
    g->SetAnnotationCount(9);

    views::TModalRunnerScope runner([&](QDialog &d) {
        auto &dialog = dynamic_cast<TfrmDelAnno &>(d);
        ui::TStringGrid *grid = dialog.StringGrid1;
        EXPECT_EQ(grid->RowCount(), 5);
        EXPECT_EQ(grid->RowTexts(1), (QStringList{"1", DateTime(kNoon + kSecond), "X"}));
        EXPECT_EQ(grid->Cell(2, 2), "first");
        EXPECT_EQ(grid->Cell(2, 3), "X");
        EXPECT_EQ(grid->Cell(0, 4), "4");
        EXPECT_EQ(grid->Cell(2, 4), "second");
        EXPECT_TRUE(dialog.BitBtn1->isEnabled());
        grid->SetSelection({0, 2, 2, 4});
        return ui::mrOk;
    });
    g->ToolButton13Click();
    EXPECT_EQ(g->GXSGraph1->GetGraphAnnotationType(5), 2);
    EXPECT_TRUE(Erased(*g, 6));
    EXPECT_TRUE(Erased(*g, 8));
    EXPECT_TRUE(Erased(*g, 9));
    EXPECT_EQ(g->GXSGraph1->GetGraphAnnotationType(4), 2);
    EXPECT_EQ(views::frmDelAnno, nullptr);
}

TEST_F(GraphMarksTest, AnEmptyListKeepsDeleteDisabledAndALongListHasNoRowLimit)
{
    auto g = Make();
    Ten(*g);
    bool deleteEnabled = true;
    {
        views::TModalRunnerScope runner([&](QDialog &d) {
            deleteEnabled = dynamic_cast<TfrmDelAnno &>(d).BitBtn1->isEnabled();
            return ui::mrCancel;
        });
        g->ToolButton13Click();
    }
    EXPECT_FALSE(deleteEnabled);

    // More rows than 8 bits hold, marks above index 255: every one is listed
    // and reached.
    const int marks = 400;
    for (int k = 5; k < 5 + marks; ++k)
        Mark(*g, k, 2, u"");
    g->SetAnnotationCount(4 + marks);
    int rows = 0;
    views::TModalRunnerScope runner([&](QDialog &d) {
        ui::TStringGrid *grid = dynamic_cast<TfrmDelAnno &>(d).StringGrid1;
        rows = grid->RowCount() - 1;
        EXPECT_EQ(grid->Cell(0, marks), QString::number(marks));
        grid->SetSelection({0, 300, 2, marks});
        return ui::mrOk;
    });
    g->ToolButton13Click();
    EXPECT_EQ(rows, marks);
    EXPECT_EQ(g->GXSGraph1->GetGraphAnnotationType(303), 2); // row 299
    for (int k = 304; k < 5 + marks; ++k)
        ASSERT_TRUE(Erased(*g, k)) << k;
}

TEST_F(GraphMarksTest, ADoubleClickErasesAMarkAndTheDataMarkerIsAnnotationTwo)
{
    auto g = Make();
    Ten(*g);
    g->GXSGraph1->SetXDataII(0, 2, kNoon + 2.6 * kSecond);
    g->GXSGraph1->SetYData(0, 2, 62.25f);
    Mark(*g, 5, 2, u"", kNoon + 5 * kSecond);
    g->SetAnnotationCount(5);
    views::RedrawChart(*g->GXSGraph1);
    const QPoint onMark = Pixel(*g, kNoon + 5 * kSecond, 65);
    Click(*g, onMark);
    EXPECT_EQ(g->GXSGraph1->GetGraphAnnotationType(5), 2); // a single click does nothing
    Click(*g, onMark, true);
    EXPECT_TRUE(Erased(*g, 5));

    // A data point clicked (charts that allow it) gets the yellow marker with
    // its rounded time and level; the click places no mark of the mode.
    g->GXSGraph1->SetAllowDataHotSpots(true);
    views::RedrawChart(*g->GXSGraph1);
    g->ToolButton5->click();
    Click(*g, Pixel(*g, kNoon + 2.6 * kSecond, 62.25));
    EXPECT_EQ(g->AnnotationCount(), 5);
    EXPECT_EQ(g->GXSGraph1->GetGraphAnnotationType(2), 2);
    EXPECT_EQ(g->GXSGraph1->GetGraphAnnotationColor(2), GXSGraph::GXargb(255, 255, 255, 0));
    EXPECT_EQ(g->GXSGraph1->GetGraphAnnotationX(2), kNoon + 2.6 * kSecond);
    EXPECT_EQ(g->GXSGraph1->GetGraphAnnotationY(2), 62.25);
    EXPECT_EQ(g->GXSGraph1->GetGraphAnnotationText(2), u"12:00:03\r62.3 dB");
}

TEST_F(GraphMarksTest, ALoadedChartsMarksAreKeptAndATemplateBringsThemToNewCharts)
{
    auto a = Make();
    Ten(*a);
    Mark(*a, 9, 0, u"kept");
    Mark(*a, 12, 0, u""); // an erased slot above it is free again
    const QString file = dir_.path() + "/marked.ghf";
    app::SaveGraphFile(*a->GXSGraph1, file);

    auto b = Make();
    app::LoadGraphFile(*b->GXSGraph1, file);
    EXPECT_EQ(b->AnnotationCount(), 9);
    // A template brings its marks into every chart set up from it.
    app::SaveGraphTemplate(*a->GXSGraph1);
    EXPECT_TRUE(QFile::exists(dir_.path() + "/template/graph.ghf"));
    auto c = Make();
    Ten(*c);
    EXPECT_EQ(c->AnnotationCount(), 9);
    EXPECT_EQ(c->GXSGraph1->GetGraphAnnotationText(9), u"kept");
    c->ToolButton5->click();
    Click(*c, PointerFor(*c, kNoon + 4.5 * kSecond, 64, false));
    EXPECT_EQ(c->AnnotationCount(), 10);
    EXPECT_EQ(b->AnnotationCount(), 9);
}

TEST_F(GraphMarksTest, TheTemplateQuestionAndAFolderThatCannotBeMade)
{
    auto g = Make();
    Ten(*g);
    const chartlib::HCHART h = g->GXSGraph1->GethObject();
    // A dialog left with Cancel asks nothing.
    g->GXSGraph1CustomizeDlg(g->GXSGraph1);
    EXPECT_TRUE(services_.Messages().empty());
    chartlib::ChartSetInt(h, chartlib::prop::DialogResult, 1);
    services_.AnswerMessage(ui::mrNo);
    g->GXSGraph1CustomizeDlg(g->GXSGraph1);
    ASSERT_EQ(services_.MessageTexts(), QStringList{"Do you want to save the changes ?"});
    EXPECT_EQ(host_.templates, 0);
    services_.AnswerMessage(ui::mrYes);
    g->GXSGraph1CustomizeDlg(g->GXSGraph1);
    EXPECT_EQ(host_.templates, 1);

    // Neither the program's folder nor the user's data folder can hold it.
    const QString blocker = dir_.path() + "/blocker";
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ui::TFolderRoots roots;
    roots.Executable = blocker;
    roots.UserData = blocker + "/data";
    ui::SetFolderRoots(roots);
    try {
        app::SaveGraphTemplate(*g->GXSGraph1);
        ADD_FAILURE() << "no error";
    } catch (const rtl::Exception &e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot create " + (blocker + "/data/template/").toStdString() + " directory.");
    }
}

TEST_F(GraphMarksTest, ZoomEnablesUndoScrollsWithItsBarAndUndoRestoresTheRanges)
{
    auto g = Make();
    std::vector<float> levels(100, 70.0f);
    Fill(*g, levels);
    QApplication::processEvents();
    const chartlib::HCHART h = g->GXSGraph1->GethObject();
    auto dataAt = [h](QPoint p) {
        std::int32_t axis = 0, x = p.x(), y = p.y();
        double dx = 0, dy = 0;
        chartlib::ChartConvertPoint(h, &axis, &x, &y, &dx, &dy, 0, 0, 0);
        return std::pair(dx, dy);
    };
    const QPoint corner(200, 150);
    const auto before = dataAt(corner);
    EXPECT_FALSE(g->UndoZoom->isEnabled());

    // A band drawn in cross mode zooms and places no cross.
    g->ToolButton5->click();
    const QPoint from = Pixel(*g, kNoon + 20 * kSecond, 100),
                 to = Pixel(*g, kNoon + 50 * kSecond, 50);
    testsupport::LeftDrag(*g->GXSGraph1, from, to);
    EXPECT_TRUE(g->UndoZoom->isEnabled());
    EXPECT_EQ(g->AnnotationCount(), 4);
    EXPECT_FALSE(g->Panel12->isVisible()); // its value was under the mouse before the zoom
    const auto zoomed = dataAt(corner);
    EXPECT_NE(zoomed, before);

    // Both bars are there (the set-up scrolls both ways); the horizontal one
    // moves the window on in time.
    QScrollBar *horizontal = g->GXSGraph1->ScrollBarWidget(false);
    ASSERT_TRUE(horizontal->isVisible());
    EXPECT_TRUE(g->GXSGraph1->ScrollBarWidget(true)->isVisible());
    Send(*g, QEvent::MouseMove, corner, Qt::NoButton);
    EXPECT_TRUE(g->Panel12->isVisible());
    horizontal->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_GT(dataAt(corner).first, zoomed.first);
    EXPECT_FALSE(g->Panel12->isVisible());

    Send(*g, QEvent::MouseMove, corner, Qt::NoButton);
    g->UndoZoom->click();
    EXPECT_FALSE(g->Panel12->isVisible());
    EXPECT_FALSE(g->UndoZoom->isEnabled());
    EXPECT_EQ(dataAt(corner), before);
    EXPECT_FALSE(horizontal->isVisible());
    // Zooming again enables it again.
    testsupport::LeftDrag(*g->GXSGraph1, from, to);
    EXPECT_TRUE(g->UndoZoom->isEnabled());
}

TEST_F(GraphMarksTest, ColourAndMonochromeViews)
{
    auto g = Make();
    Ten(*g);
    g->ToolButton7->setChecked(true);
    EXPECT_FALSE(g->ToolButton6->isChecked());
    EXPECT_TRUE(g->ToolButton4->isChecked()); // the cursor modes are a group of their own
    g->ToolButton7Click();
    EXPECT_EQ(g->GXSGraph1->GetViewingStyle(), sgMonochrome);
    g->ToolButton6->setChecked(true);
    g->ToolButton7Click();
    EXPECT_EQ(g->GXSGraph1->GetViewingStyle(), sgColor);
}

} // namespace
