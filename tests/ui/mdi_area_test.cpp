// The MDI client area: children that keep their size, are placed where they
// show whole, free themselves when closed and may refuse to close.
#include "platform/ui/mdi_area.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QPointer>

#include <gtest/gtest.h>

using namespace ui;

namespace {

class Form : public QWidget {
public:
    explicit Form(const QString &caption, bool *destroyedFlag = nullptr) : FDestroyed(destroyedFlag)
    {
        setWindowTitle(caption);
    }
    ~Form() override
    {
        if (FDestroyed)
            *FDestroyed = true;
    }
    bool AllowClose = true;

protected:
    void closeEvent(QCloseEvent *e) override { AllowClose ? e->accept() : e->ignore(); }

private:
    bool *FDestroyed;
};

} // namespace

TEST(MdiArea, ChildrenKeepTheirSizeAndAreFoundByCaption)
{
    TMdiArea area;
    area.resize(900, 700);
    area.show();
    auto *panel = new Form("Control Panel");
    panel->resize(272, 613);
    area.AddChild(panel, Qt::FramelessWindowHint);
    auto *graph = new Form("Real-Time Graph");
    graph->resize(400, 300);
    area.AddChild(graph);
    EXPECT_EQ(panel->size(), QSize(272, 613));
    EXPECT_EQ(graph->size(), QSize(400, 300));
    EXPECT_EQ(area.SubWindowOf(panel)->geometry().size(), QSize(272, 613)); // no frame

    EXPECT_EQ(area.FindChildByCaption("Real-Time Graph"), graph);
    EXPECT_EQ(area.FindChildByCaption("DataLogger"), nullptr);
    graph->setWindowTitle("DataLogger"); // the caption follows the form
    EXPECT_EQ(area.FindChildByCaption("DataLogger"), graph);
    EXPECT_EQ(area.Children(), (QList<QWidget *>{panel, graph}));

    QWidget *activated = nullptr;
    QObject::connect(&area, &TMdiArea::childActivated, [&](QWidget *w) { activated = w; });
    area.Activate(panel);
    EXPECT_EQ(area.ActiveChild(), panel);
    EXPECT_EQ(activated, panel);
    area.Minimize(panel);
    area.Restore(panel);
    EXPECT_FALSE(area.SubWindowOf(panel)->isMinimized());
    EXPECT_EQ(area.ActiveChild(), panel);
}

TEST(MdiArea, ANewChildIsShownWholeWherePossible)
{
    TMdiArea area;
    area.resize(900, 700);
    area.show();
    auto *big = new Form("DataLogger");
    big->resize(880, 680);
    area.AddChild(big);
    // Two more beside the first: each lies inside the area, cascaded.
    const QRect inside(QPoint(0, 0), area.viewport()->size());
    QRect last = area.SubWindowOf(big)->geometry();
    for (const char *caption : {"Leq 1", "Leq 2"}) {
        auto *f = new Form(caption);
        f->resize(600, 500);
        area.AddChild(f);
        const QRect at = area.SubWindowOf(f)->geometry();
        EXPECT_TRUE(inside.contains(at)) << caption;
        EXPECT_NE(at.topLeft(), last.topLeft()) << caption;
        last = at;
    }
    // One larger than the area shows its top left corner.
    auto *huge = new Form("huge");
    huge->resize(1500, 1200);
    area.AddChild(huge);
    EXPECT_EQ(area.SubWindowOf(huge)->pos(), QPoint(0, 0));
}

TEST(MdiArea, ClosedChildrenFreeThemselvesUnlessTheyRefuse)
{
    TMdiArea area;
    area.show();
    bool gone = false;
    auto *list = new Form("list", &gone);
    QPointer<QMdiSubWindow> sub = area.AddChild(list);
    list->close();                   // the form's own close closes its window
    EXPECT_EQ(area.ChildCount(), 0); // at once, though freed a moment later
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone);
    EXPECT_TRUE(sub.isNull());
    EXPECT_EQ(area.ChildCount(), 0);

    bool keptGone = false;
    auto *graph = new Form("graph", &keptGone);
    graph->AllowClose = false;
    auto *other = new Form("other");
    area.AddChild(graph);
    area.AddChild(other);
    EXPECT_FALSE(area.CloseAllChildren()); // "other" closes first, then graph refuses
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(keptGone);
    EXPECT_EQ(area.Children(), QList<QWidget *>{graph});
    graph->AllowClose = true;
    EXPECT_TRUE(area.CloseAllChildren());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(keptGone);
}
