// Errors raised by the main window's handlers (commands, tool buttons, the
// status poll's timer, the close) on the way Qt delivers them: each is shown
// once as an error box, nothing unwinds through Qt, and the program goes on.
// Under the sanitizer stage these runs also show that no event is leaked.
#include "tests/app/main_window_test.h"

#include "platform/rtl/exceptions.h"
#include "platform/ui/ui_services.h"
#include "tests/support/mouse.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace {

// Scripted services whose message boxes can be made to fail.
class TFailingServices : public ui::TScriptedUIServices {
public:
    int FailMessages = 0;
    void ShowMessage(const QString &text) override
    {
        if (FailMessages > 0) {
            --FailMessages;
            throw rtl::Exception("The message could not be shown");
        }
        TScriptedUIServices::ShowMessage(text);
    }
};

// A meter whose next reads throw instead of answering.
class TThrowingMeter : public usb::SimulatedMeter {
public:
    int ThrowReads = 0;
    int UsbRead(int length, uint8_t *buffer) override
    {
        if (ThrowReads > 0) {
            --ThrowReads;
            throw std::runtime_error("read failed");
        }
        return SimulatedMeter::UsbRead(length, buffer);
    }
};

class HandlerErrorsTest : public MainWindowTest {
protected:
    HandlerErrorsTest()
    {
        // A question nobody answers fails, as a dialog that cannot open would.
        failing_.SetOnUnanswered(
            [](const ui::TUICall &) { throw rtl::Exception("The dialog could not be opened"); });
    }
    ~HandlerErrorsTest() override { form_.reset(); } // before the meter it uses

    app::TfrmMain &StartOnThrowingMeter()
    {
        form_ = std::make_unique<app::TfrmMain>(throwing_);
        form_->show();
        return *form_;
    }

    // The error boxes shown so far.
    QStringList Errors() const
    {
        QStringList texts;
        for (const ui::TUICall &c : failing_.Messages())
            if (c.Kind == ui::TUICallKind::MessageBox && (c.Flags & ui::MB_ICONSTOP))
                texts << c.Text;
        return texts;
    }

    // Lets the message loop run until done() or a few seconds have passed.
    static bool RunUntil(const std::function<bool()> &done)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return done();
    }

    // File > Open's first question (a collection or a single file) is
    // answered "a single file"; the file dialog then fails.
    views::TModalRunnerScope singleFile_{[](QDialog &) { return ui::mrNo; }};
    TThrowingMeter throwing_;
    TFailingServices failing_;
    ui::TServicesScope failingScope_{failing_};
};

TEST_F(HandlerErrorsTest, CommandAndTimerErrorsAreShownOnceAndTheProgramGoesOn)
{
    app::TfrmMain &f = StartOnThrowingMeter();
    const QString error = QStringLiteral("The dialog could not be opened.");

    // File > Open asks for a file, and the file dialog fails: from the tool
    // button's click and from the menu command alike.
    // A left click as the mouse delivers it, through the application's event delivery.
    auto *open = f.Control<QToolButton>("SpeedButton1");
    testsupport::LeftClick(*open, open->rect().center());
    EXPECT_EQ(Errors(), QStringList{error});
    f.MenuItem("Open1")->trigger();
    EXPECT_EQ(Errors(), (QStringList{error, error}));
    EXPECT_TRUE(f.isVisible());

    // A status poll whose read fails shows its error, and the poll goes on:
    // the next tick finds the meter.
    failing_.ClearCalls();
    QTimer *poll = f.Control<QTimer>("MainTimer");
    ASSERT_TRUE(poll->isActive());
    ASSERT_FALSE(f.TimerLogic().gConnected);
    throwing_.ThrowReads = 1;
    poll->setInterval(1);
    EXPECT_TRUE(RunUntil([&] { return f.TimerLogic().gConnected; }));
    EXPECT_EQ(Errors(), QStringList{QStringLiteral("read failed.")});
    EXPECT_TRUE(poll->isActive());
    EXPECT_FALSE(f.Link().gUsbBusy) << "the tick's busy mark is given back";
    EXPECT_FALSE(f.gPanel()->Control<QLabel>("lblNoConnection")->isVisibleTo(f.gPanel()));
}

TEST_F(HandlerErrorsTest, AFailingCloseKeepsTheWindowOpen)
{
    app::TfrmMain &f = StartOnThrowingMeter();
    // While a link operation runs the close says why it is refused; when
    // even that fails, the window stays open with the error shown.
    ASSERT_TRUE(meter::TLinkGuard::Instance().TryAcquire("download"));
    failing_.FailMessages = 1;
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(Errors(), QStringList{QStringLiteral("The message could not be shown.")});

    meter::TLinkGuard::Instance().Release();
    EXPECT_TRUE(f.close());
    EXPECT_FALSE(f.isVisible());
}

} // namespace
