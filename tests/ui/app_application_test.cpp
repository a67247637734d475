// The application object's exception display at the top of the message
// loop. This test has a main of its own: the program's QApplication must be
// a TApplication, and a process has only one.
#include "platform/rtl/exceptions.h"
#include "platform/ui/app_application.h"
#include "platform/ui/ui_services_script.h"

#include <QCloseEvent>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

using namespace ui;

namespace {

class ThrowingWidget : public QWidget {
public:
    int Closes = 0;

protected:
    // An input handler catches its own errors: one that unwound through
    // QApplication::notify would leak Qt's copy of the event.
    void mousePressEvent(QMouseEvent *) override
    {
        ui::Guarded([] { throw rtl::EConvertError("'x' is no date"); });
    }
    void closeEvent(QCloseEvent *e) override
    {
        ++Closes;
        e->accept();
    }
};

class ThrowingPaint : public QWidget {
public:
    int Paints = 0;
    bool Guard = false; // the paint catches its own error

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++Paints;
        if (Guard)
            ui::Guarded([] { throw rtl::EReadError("Stream read error"); });
        else
            throw rtl::EReadError("Stream read error");
    }
};

} // namespace

TEST(ApplicationObject, ExceptionsFromHandlersAreShownWithTheTitleAndTheLoopGoesOn)
{
    auto *app = TApplication::Instance();
    ASSERT_NE(app, nullptr);
    TScriptedUIServices services;
    TServicesScope scope(services);
    app->SetTitle("Nivora Test");
    const int before = app->ExceptionCount();

    // An input handler guards itself.
    ThrowingWidget w;
    w.show();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &press);
    ASSERT_EQ(services.Messages().size(), 1u);
    EXPECT_EQ(app->ExceptionCount() - before, 1);

    // Errors that leave a handler in the loop, and a slot that guards itself.
    int ticksAfter = 0;
    QTimer::singleShot(0, [] { throw rtl::Exception("Caf\xe9 folder cannot be made"); });
    QTimer::singleShot(5, [] { throw std::runtime_error("bad_alloc-like failure"); });
    QTimer::singleShot(10, [] { throw 42; });
    QTimer::singleShot(15, ui::GuardedSlot([] { throw std::runtime_error("slot failed"); }));
    QTimer::singleShot(20, [&] { ++ticksAfter; });
    QTimer::singleShot(30, [app] { app->exit(7); });
    EXPECT_EQ(app->Run(), 7); // the loop ran to its own end

    EXPECT_EQ(ticksAfter, 1);
    EXPECT_EQ(app->ExceptionCount() - before, 5);
    const auto shown = services.Messages();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].Text, "'x' is no date.");
    EXPECT_EQ(shown[1].Text, QString::fromUtf8("Caf\u00e9 folder cannot be made."));
    EXPECT_EQ(shown[1].Kind, TUICallKind::MessageBox);
    EXPECT_EQ(shown[1].Flags, MB_OK | MB_ICONSTOP);
    EXPECT_EQ(shown[2].Text, "bad_alloc-like failure.");
    EXPECT_EQ(shown[3].Text, "Unknown exception.");
    EXPECT_EQ(shown[4].Text, "slot failed.");
    for (const auto &message : shown)
        EXPECT_EQ(message.Caption, "Nivora Test");
    app->SetTitle("Nivora");
}

TEST(ApplicationObject, PaintErrorsAreShownAfterThePaint)
{
    TScriptedUIServices services;
    TServicesScope scope(services);
    ThrowingPaint w;
    w.resize(50, 50);
    w.show();
    for (int i = 0; i < 50 && w.Paints == 0; ++i)
        ProcessMessages();
    ASSERT_GE(w.Paints, 1);
    ProcessMessages();
    services.ClearCalls();

    // A paint now, outside the loop: the box waits until the paint is over,
    // whether the error left the paint or the paint caught it itself.
    auto *app = TApplication::Instance();
    for (bool guard : {false, true}) {
        SCOPED_TRACE(guard ? "guarded" : "unguarded");
        w.Guard = guard;
        services.ClearCalls();
        const int paints = w.Paints;
        const int before = app->ExceptionCount();
        w.repaint();
        ASSERT_GT(w.Paints, paints);
        EXPECT_TRUE(services.Messages().empty());
        ProcessMessages();
        ASSERT_EQ(services.Messages().size(), 1u);
        EXPECT_EQ(services.Messages()[0].Text, "Stream read error.");
        EXPECT_EQ(app->ExceptionCount() - before, 1);
    }
    w.hide();
}

TEST(ApplicationObject, TerminateEndsTheLoopWithoutClosingWindows)
{
    auto *app = TApplication::Instance();
    ThrowingWidget w;
    w.show();
    QTimer::singleShot(0, [app] { app->Terminate(); });
    EXPECT_EQ(app->Run(), 0);
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(w.Closes, 0);
    EXPECT_TRUE(w.isVisible());
}

int main(int argc, char **argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
