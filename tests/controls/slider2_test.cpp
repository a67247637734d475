// The two-thumb slider: thumb placement, drag arithmetic, clamping and its
// change events, the ranges that would divide by zero, and the mouse roads.
#include "controls/slider2.h"

#include "platform/rtl/exceptions.h"
#include "platform/ui/ui_services_script.h"
#include "tests/support/mouse.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <limits>

using controls::Tslider2;

namespace {

struct Counted {
    Tslider2 slider;
    int changes1 = 0, changes2 = 0, downs = 0, moves = 0;
    Counted(int width = 200)
    {
        slider.resize(width, 50);
        slider.OnValueChange1 = [this](QObject *) { ++changes1; };
        slider.OnValueChange2 = [this](QObject *) { ++changes2; };
        slider.OnMouseDown = [this](QObject *, Qt::MouseButton, int, int) { ++downs; };
        slider.OnMouseMove = [this](QObject *, int, int) { ++moves; };
    }
};

} // namespace

TEST(Slider, ThumbsStandWhereTheIntegerFormulaPutsThem)
{
    Counted c;
    c.slider.SetValue1(50);
    EXPECT_EQ(c.slider.ThumbRect1().left(), 90);
    EXPECT_EQ(c.slider.ThumbRect1().right() + 1, 110);
    EXPECT_EQ(c.slider.ThumbRect1().height(), 50);
    EXPECT_EQ(c.slider.ThumbOffset(0), 0);
    EXPECT_EQ(c.slider.ThumbOffset(100), 180);
    EXPECT_EQ(c.slider.ThumbOffset(33), 59); // 180 * 33 / 100 = 59.4, truncated

    // Vertical: counted from the bottom, a larger value higher up.
    c.slider.SetOrientation(controls::slVertical);
    c.slider.resize(30, 220);
    EXPECT_EQ(c.slider.ThumbRect1().top(), 220 - 100 - 20);
    EXPECT_EQ(c.slider.ThumbRect1().bottom() + 1, 220 - 100);
    EXPECT_EQ(c.slider.ThumbRect2().top(), 0);
}

TEST(Slider, DragMovesTheValueByWholeSteps)
{
    Counted c;
    c.slider.SetValue1(50);
    c.changes1 = 0;
    c.slider.MouseDown(Qt::LeftButton, 95, 10);
    EXPECT_TRUE(c.slider.Dragging1());
    EXPECT_EQ(c.downs, 0); // a press on a thumb is the slider's own
    const struct {
        int x, value;
    } steps[] = {{104, 55}, {96, 50}, {86, 45}, {94, 50}};
    for (const auto &s : steps) {
        c.slider.MouseMove(s.x, 10);
        EXPECT_EQ(c.slider.Value1(), s.value) << "x " << s.x;
    }
    EXPECT_EQ(c.changes1, 4);
    EXPECT_EQ(c.moves, 4); // moves while thumb 1 is dragged still reach OnMouseMove
    c.slider.MouseUp(Qt::LeftButton, 94, 10);
    EXPECT_FALSE(c.slider.Dragging1());
    c.slider.MouseMove(150, 10);
    EXPECT_EQ(c.slider.Value1(), 50);

    // Thumb 2 (at 100: x 180..200) dragged far past the end stops at Maximum;
    // its moves do not reach OnMouseMove.
    c.moves = 0;
    c.slider.MouseDown(Qt::LeftButton, 190, 10);
    EXPECT_TRUE(c.slider.Dragging2());
    c.slider.MouseMove(0, 10);
    EXPECT_EQ(c.slider.Value2(), 0);
    c.slider.MouseMove(100000, 10);
    EXPECT_EQ(c.slider.Value2(), 100);
    EXPECT_EQ(c.moves, 0);
    c.slider.MouseUp(Qt::LeftButton, 0, 0);

    // Overlapping thumbs: thumb 1 wins. A press beside them is passed on.
    c.slider.SetValue1(100);
    c.slider.MouseDown(Qt::LeftButton, 185, 10);
    EXPECT_TRUE(c.slider.Dragging1());
    EXPECT_FALSE(c.slider.Dragging2());
    c.slider.MouseUp(Qt::LeftButton, 185, 10);
    c.slider.MouseDown(Qt::LeftButton, 20, 10);
    c.slider.MouseDown(Qt::RightButton, 185, 10);
    EXPECT_EQ(c.downs, 2);
    EXPECT_FALSE(c.slider.Dragging1() || c.slider.Dragging2());
}

TEST(Slider, ValuesClampAndSignalOnlyRealChanges)
{
    Counted c;
    c.slider.SetValue1(150);
    EXPECT_EQ(c.slider.Value1(), 100);
    EXPECT_EQ(c.changes1, 1);
    c.slider.SetValue1(100);
    c.slider.SetValue1(150);
    EXPECT_EQ(c.changes1, 1);
    c.slider.SetValue2(-5);
    EXPECT_EQ(c.slider.Value2(), 0);
    EXPECT_EQ(c.changes2, 1);

    // The range pulls values along, each with its own event.
    c.slider.SetValue1(50);
    c.changes1 = c.changes2 = 0;
    c.slider.SetMin(60);
    EXPECT_EQ(c.slider.Value1(), 60);
    EXPECT_EQ(c.slider.Value2(), 60);
    EXPECT_EQ(c.changes1, 1);
    EXPECT_EQ(c.changes2, 1);
    c.slider.SetMax(70);
    EXPECT_EQ(c.changes1, 1);
    c.slider.SetMax(55); // below the minimum: nothing checks it
    EXPECT_EQ(c.slider.Value1(), 55);
    EXPECT_EQ(c.slider.Value2(), 55);

    // A change before the first paint still raises its event.
    EXPECT_EQ(c.changes1, 2);
}

TEST(Slider, HandlerErrorsBehindTheMouseAreShownAndTheDragStillEnds)
{
    ui::TScriptedUIServices services;
    ui::TServicesScope scope(services);
    Counted c;
    c.slider.SetValue1(50);
    c.slider.OnMouseDown = [](QObject *, Qt::MouseButton, int, int) {
        throw rtl::Exception("no cursor here");
    };
    c.slider.OnValueChange1 = [](QObject *) { throw rtl::Exception("cursor A failed"); };
    c.slider.OnMouseUp = [](QObject *, Qt::MouseButton, int, int) {
        throw rtl::Exception("release failed");
    };
    auto send = [&](QEvent::Type type, int x, Qt::MouseButtons buttons) {
        testsupport::SendMouse(c.slider, type, QPoint(x, 10), Qt::LeftButton, buttons);
    };

    send(QEvent::MouseButtonPress, 150, Qt::LeftButton); // between the thumbs
    send(QEvent::MouseButtonRelease, 150, Qt::NoButton);
    send(QEvent::MouseButtonPress, 95, Qt::LeftButton); // on thumb 1
    ASSERT_TRUE(c.slider.Dragging1());
    send(QEvent::MouseMove, 104, Qt::LeftButton);
    EXPECT_EQ(c.slider.Value1(), 55); // the value moved; its handler failed
    send(QEvent::MouseButtonRelease, 104, Qt::NoButton);
    EXPECT_FALSE(c.slider.Dragging1());

    EXPECT_EQ(services.MessageTexts(), (QStringList{"no cursor here.", "release failed.",
                                                    "cursor A failed.", "release failed."}));
}

TEST(Slider, DegenerateRangesAndShortTracksNeverDivideByZero)
{
    Counted equal;
    equal.slider.SetMax(0);
    EXPECT_EQ(equal.slider.ThumbRect1().left(), 0);
    EXPECT_EQ(equal.slider.ThumbRect2().left(), 0);
    equal.slider.MouseDown(Qt::LeftButton, 5, 10);
    equal.slider.MouseMove(150, 10);
    EXPECT_EQ(equal.slider.Value1(), 0);

    Counted reversed; // Maximum below Minimum
    reversed.slider.SetMax(-10);
    reversed.slider.SetMin(10);
    EXPECT_EQ(reversed.slider.ThumbOffset(reversed.slider.Value1()), 0);
    reversed.slider.MouseDown(Qt::LeftButton, 5, 10);
    reversed.slider.MouseMove(150, 10);

    for (int width : {20, 10, 0}) {
        Counted shortTrack(width);
        shortTrack.slider.SetValue1(50);
        EXPECT_EQ(shortTrack.slider.ThumbRect1().left(), 0) << width;
        shortTrack.slider.MouseDown(Qt::LeftButton, 1, 10);
        shortTrack.slider.MouseMove(500, 10);
        EXPECT_EQ(shortTrack.slider.Value1(), 50) << width;
    }

    // A long range on a wide control: the products do not overflow.
    Counted wide(4000);
    wide.slider.SetMax(std::numeric_limits<int>::max());
    wide.slider.SetValue1(std::numeric_limits<int>::max() / 2);
    EXPECT_EQ(wide.slider.ThumbRect1().left(), 1989);
    wide.slider.MouseDown(Qt::LeftButton, 1995, 10);
    wide.slider.MouseMove(1995 + 3980, 10);
    EXPECT_EQ(wide.slider.Value1(), std::numeric_limits<int>::max());
}

TEST(Slider, PaintsTrackAndThumbsInTheGivenColours)
{
    Tslider2 slider;
    slider.resize(200, 30);
    slider.SetTrackColor(QColor(0, 0, 255));
    slider.SetThumbColor(QColor(255, 0, 0));
    slider.SetValue1(0);
    slider.SetValue2(100);
    QImage image(slider.size(), QImage::Format_RGB32);
    slider.render(&image);
    EXPECT_EQ(image.pixelColor(100, 14), QColor(0, 0, 255)); // the track between the thumbs
    EXPECT_EQ(image.pixelColor(10, 8), QColor(255, 0, 0));   // inside thumb 1
    EXPECT_EQ(image.pixelColor(190, 8), QColor(255, 0, 0));  // inside thumb 2
    EXPECT_NE(image.pixelColor(100, 2), QColor(0, 0, 255));  // above the track
}
