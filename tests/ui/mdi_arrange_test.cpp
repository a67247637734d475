// Tile and Cascade of the MDI client area in what the main window's own
// windows do not bring about (the app's arrange test takes those): a window
// larger than the area, the fixed-size child partly out of view, minimised
// and maximised windows, the order of the cascade.
#include "platform/ui/mdi_area.h"

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QSet>
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
    QRect Visible() const { return area->viewport()->rect(); }

    QWidget window;
    TMdiArea *area = nullptr;
};

const std::pair<const char *, void (TMdiArea::*)()> kArrangements[] = {
    {"Tile", &TMdiArea::Tile}, {"Cascade", &TMdiArea::Cascade}};

} // namespace

TEST(MdiArrange, ChildrenLargerThanTheAreaMakeItScrollNotTheWindowGrow)
{
    Host host;
    QMdiSubWindow *big = host.Add("Big", QSize(400, 300), QSize(1600, 1200));
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
    for (const auto &[name, arrange] : kArrangements) {
        (host.area->*arrange)();
        QCoreApplication::processEvents();
        EXPECT_EQ(host.window.size(), QSize(1000, 700)) << name;
        EXPECT_TRUE(host.Visible().contains(small->geometry())) << name;
    }
}

TEST(MdiArrange, TheFixedChildIsMadeWholeMinimisedOnesStayMaximisedOnesAreRestored)
{
    Host host;
    auto *form = new QWidget;
    form->setFixedSize(272, 613);
    QMdiSubWindow *panel = host.area->AddChild(form, Qt::FramelessWindowHint);
    QList<QMdiSubWindow *> subs;
    subs << host.Add("Graph", QSize(780, 560), QSize(300, 190))
         << host.Add("LEQ", QSize(560, 420), QSize(380, 250))
         << host.Add("DataLogger", QSize(900, 560), QSize(600, 190))
         << host.Add("List", QSize(260, 360), QSize(100, 100));
    QMdiSubWindow *minimised = host.Add("Minimised", QSize(300, 200));
    minimised->showMinimized();
    const QRect iconic = minimised->geometry();

    for (const auto &[name, arrange] : kArrangements) {
        SCOPED_TRACE(name);
        panel->move(-30, 200); // partly out of view
        subs[0]->showMaximized();
        host.area->setActiveSubWindow(subs[1]);
        (host.area->*arrange)();
        const QRect area = host.Visible();
        EXPECT_EQ(area.size(), host.area->size()) << "no scroll bars";
        EXPECT_EQ(panel->geometry(), QRect(0, area.height() - 613, 272, 613))
            << "moved only as far as it takes to show it whole";
        EXPECT_EQ(minimised->geometry(), iconic);
        QList<int> tops;
        for (QMdiSubWindow *sub : subs) {
            SCOPED_TRACE(sub->windowTitle().toStdString());
            EXPECT_FALSE(sub->isMaximized());
            EXPECT_TRUE(area.contains(sub->geometry()));
            EXPECT_GE(sub->x(), 272) << "beside the panel";
            tops << sub->y();
            for (QMdiSubWindow *other : subs)
                EXPECT_TRUE(arrange == &TMdiArea::Cascade || other == sub ||
                            !other->geometry().intersects(sub->geometry()));
        }
        if (arrange == &TMdiArea::Cascade) {
            // Caption bars one below the other; the active window stays
            // active, last and on top.
            EXPECT_EQ(QSet<int>(tops.begin(), tops.end()).size(), subs.size());
            EXPECT_EQ(host.area->activeSubWindow(), subs[1]);
            EXPECT_EQ(subs[1]->y(), *std::max_element(tops.begin(), tops.end()));
        }
    }
}
