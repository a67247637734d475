// Tile and Cascade of the MDI client area: inside the visible area, the
// fixed-size child kept whole where it is, and no child's size ever making
// the area's window larger.
#include "platform/ui/mdi_area.h"

#include <QCoreApplication>
#include <QLabel>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

#include <gtest/gtest.h>

using namespace ui;

namespace {

// The area in a window of its own, as the main window holds it.
struct Host {
    Host()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        area = new TMdiArea(&window);
        layout->addWidget(area);
        window.resize(1000, 700);
        window.show();
    }
    QMdiSubWindow *Add(const QString &caption, QSize size, QSize minimum = QSize())
    {
        auto *form = new QWidget;
        form->setWindowTitle(caption);
        form->resize(size);
        if (minimum.isValid())
            form->setMinimumSize(minimum);
        return area->AddChild(form);
    }
    QMdiSubWindow *AddFixed(QSize size)
    {
        auto *form = new QWidget;
        form->setFixedSize(size);
        return area->AddChild(form, Qt::FramelessWindowHint);
    }
    QRect Visible() const { return area->viewport()->rect(); }
    // A window whose layout needs more than its own minimum size: a table
    // with buttons, or wrapping fields above a chart.
    QMdiSubWindow *AddTable()
    {
        auto *form = new QWidget;
        form->setWindowTitle("Table");
        auto *layout = new QVBoxLayout(form);
        layout->addWidget(new QWidget);
        layout->itemAt(0)->widget()->setMinimumSize(700, 250);
        return area->AddChild(form);
    }
    QMdiSubWindow *AddChart(QWidget *&chart)
    {
        auto *form = new QWidget;
        form->setWindowTitle("Chart");
        auto *layout = new QVBoxLayout(form);
        auto *fields = new QLabel(QString("Maximum: 0.0 dB @ 01/06/2025 10:00:00 ").repeated(6));
        fields->setWordWrap(true);
        layout->addWidget(fields);
        chart = new QWidget;
        chart->setMinimumSize(320, 50);
        MarkChart(chart);
        layout->addWidget(chart, 1);
        return area->AddChild(form);
    }

    QWidget window;
    TMdiArea *area = nullptr;
};

} // namespace

TEST(MdiArrange, ChildrenLargerThanTheAreaMakeItScrollNotTheWindowGrow)
{
    Host host;
    QMdiSubWindow *big = host.Add("Big", QSize(400, 300), QSize(1600, 1200));
    EXPECT_EQ(host.window.size(), QSize(1000, 700));
    EXPECT_LT(host.window.minimumSizeHint().width(), 1000);
    host.area->Tile();
    host.area->Cascade();
    EXPECT_EQ(host.window.size(), QSize(1000, 700));
    EXPECT_EQ(big->widget()->size(), QSize(1600, 1200));
    EXPECT_EQ(big->pos(), QPoint(0, 0)) << "its caption bar first";
    QCoreApplication::processEvents();
    EXPECT_GT(host.area->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(host.area->verticalScrollBar()->maximum(), 0);

    // The windows that fit are arranged where the scroll bars leave them
    // whole, their buttons not under a scroll bar.
    QMdiSubWindow *small = host.Add("Small", QSize(200, 150));
    for (auto arrange : {&TMdiArea::Tile, &TMdiArea::Cascade}) {
        (host.area->*arrange)();
        QCoreApplication::processEvents();
        EXPECT_TRUE(host.Visible().contains(small->geometry()))
            << small->x() << "," << small->y() << " " << small->width() << "x" << small->height()
            << " in " << host.Visible().width() << "x" << host.Visible().height();
    }
}

TEST(MdiArrange, TileKeepsTheFixedChildAndFillsTheSpaceBesideIt)
{
    Host host;
    QMdiSubWindow *panel = host.AddFixed(QSize(272, 613));
    panel->move(-30, 200); // partly out of view
    QList<QMdiSubWindow *> subs;
    subs << host.Add("Graph", QSize(780, 560), QSize(300, 190))
         << host.Add("LEQ", QSize(560, 420), QSize(380, 250))
         << host.Add("DataLogger", QSize(900, 560), QSize(600, 190))
         << host.Add("List", QSize(260, 360), QSize(100, 100));
    QMdiSubWindow *minimised = host.Add("Minimised", QSize(300, 200));
    minimised->showMinimized();
    const QRect iconic = minimised->geometry();
    subs.front()->showMaximized();

    host.area->Tile();
    const QRect area = host.Visible();
    EXPECT_EQ(area.size(), host.area->size()) << "no scroll bars";
    EXPECT_EQ(panel->size(), QSize(272, 613));
    EXPECT_TRUE(area.contains(panel->geometry())) << "the panel is made whole";
    EXPECT_EQ(panel->x(), 0);
    EXPECT_EQ(minimised->geometry(), iconic);
    for (QMdiSubWindow *sub : subs) {
        SCOPED_TRACE(sub->windowTitle().toStdString());
        EXPECT_FALSE(sub->isMaximized());
        EXPECT_TRUE(area.contains(sub->geometry()));
        EXPECT_GE(sub->x(), panel->geometry().right() + 1) << "beside the panel";
        for (QMdiSubWindow *other : subs)
            EXPECT_TRUE(other == sub || !other->geometry().intersects(sub->geometry()));
    }
    // The wide windows could not share a row: two rows, each beginning
    // beside the panel.
    int columnsAtLeft = 0;
    for (QMdiSubWindow *sub : subs)
        columnsAtLeft += sub->x() == 272;
    EXPECT_EQ(columnsAtLeft, 2);
    EXPECT_GE(subs[0]->height(), area.height() / 2 - 1);
}

TEST(MdiArrange, CascadeKeepsEveryCaptionBarInsideAndTheWindowsHigh)
{
    Host host;
    QMdiSubWindow *panel = host.AddFixed(QSize(272, 613));
    QList<QMdiSubWindow *> subs;
    for (int i = 0; i < 12; ++i)
        subs << host.Add(QStringLiteral("Window %1").arg(i), QSize(1200, 150), QSize(200, 120));
    host.area->setActiveSubWindow(subs[3]);

    host.area->Cascade();
    const QRect area = host.Visible();
    EXPECT_EQ(host.window.size(), QSize(1000, 700));
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 272, 613));
    QList<int> tops;
    for (QMdiSubWindow *sub : subs) {
        SCOPED_TRACE(sub->windowTitle().toStdString());
        EXPECT_TRUE(area.contains(sub->geometry()));
        EXPECT_GE(sub->x(), 272);
        EXPECT_GE(sub->height(), area.height() / 2);
        EXPECT_FALSE(tops.contains(sub->y())) << "caption bars one below the other";
        tops << sub->y();
    }
    // The active window stays active, last and on top.
    EXPECT_EQ(host.area->activeSubWindow(), subs[3]);
    EXPECT_EQ(subs[3]->y(), *std::max_element(tops.begin(), tops.end()));
}

namespace {

// Every window at least as large as its layout needs at its width.
void ExpectNeedsMet(const QList<QMdiSubWindow *> &subs)
{
    for (QMdiSubWindow *sub : subs) {
        SCOPED_TRACE(sub->windowTitle().toStdString());
        const QWidget *form = sub->widget();
        EXPECT_GE(form->width(), form->layout()->minimumSize().width());
        EXPECT_GE(form->height(), form->layout()->totalMinimumHeightForWidth(form->width()));
        for (QMdiSubWindow *other : subs)
            EXPECT_TRUE(other == sub || !other->geometry().intersects(sub->geometry()));
    }
}

} // namespace

TEST(MdiArrange, TileGivesEveryWindowWhatItNeedsAndTheChartsTheRest)
{
    Host host;
    QWidget *chart = nullptr;
    const QList<QMdiSubWindow *> subs = {host.AddChart(chart), host.AddTable()};
    subs[0]->resize(400, 120);
    host.area->Tile();
    QCoreApplication::processEvents();
    EXPECT_EQ(host.Visible().size(), host.area->size()) << "no scroll bars";
    ExpectNeedsMet(subs);
    EXPECT_GE(chart->height(), kUsableChartHeight);
    EXPECT_GT(subs[0]->height(), subs[1]->height()) << "the chart gets more of what is left";

    // An area too low for them scrolls; nothing is squeezed.
    host.window.resize(500, 300);
    host.area->Tile();
    QCoreApplication::processEvents();
    EXPECT_EQ(host.window.size(), QSize(500, 300));
    EXPECT_GT(host.area->verticalScrollBar()->maximum(), 0);
    ExpectNeedsMet(subs);
    EXPECT_GE(chart->height(), kUsableChartHeight);
}
