#include "platform/ui/app_application.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/sysutils.h"
#include "platform/ui/cursor.h"
#include "platform/ui/locale_settings.h"
#include "platform/ui/ui_services.h"

#include <QEvent>
#include <QTimer>

#include <cstdio>

namespace ui {

namespace {

// The display itself must not throw out of the loop: a failure to show is
// written to the error output instead.
void ShowGuarded(const QString &message)
{
    try {
        Services().ShowException(message);
    } catch (...) {
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    }
}

} // namespace

TApplication::TApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    // Code without a UI of its own (the translation engine) sets the screen
    // cursor through the class library's functions.
    rtl::InstallScreenCursor({[] { return ScreenCursor(); }, [](int c) { SetScreenCursor(c); }});
}

TApplication::~TApplication()
{
    rtl::InstallScreenCursor({});
}

TApplication *TApplication::Instance()
{
    return qobject_cast<TApplication *>(instance());
}

QString TApplication::Title() const
{
    return ApplicationTitle();
}

void TApplication::SetTitle(const QString &title)
{
    SetApplicationTitle(title);
}

int TApplication::Run()
{
    FTerminated = false;
    try {
        return exec();
    } catch (...) {
        ++FExceptionCount;
        ShowGuarded(CurrentExceptionMessage());
        return 0;
    }
}

void TApplication::Terminate()
{
    FTerminated = true;
    exit(0);
}

bool TApplication::notify(QObject *receiver, QEvent *event)
{
    // A box shown from inside a paint would paint again under it; those are
    // shown once the paint is over.
    const QEvent::Type type = event->type();
    const bool paint = type == QEvent::Paint || type == QEvent::UpdateRequest;
    FPaintDepth += paint ? 1 : 0;
    try {
        const bool result = QApplication::notify(receiver, event);
        FPaintDepth -= paint ? 1 : 0;
        return result;
    } catch (...) {
        FPaintDepth -= paint ? 1 : 0;
        ++FExceptionCount;
        const QString message = CurrentExceptionMessage();
        if (paint || FPaintDepth > 0)
            ShowQueued(message);
        else
            ShowGuarded(message);
        return false;
    }
}

void TApplication::ShowHandlerException(const QString &message)
{
    ++FExceptionCount;
    if (FPaintDepth > 0)
        ShowQueued(message);
    else
        ShowGuarded(message);
}

void TApplication::ShowQueued(const QString &message)
{
    QTimer::singleShot(0, this, [message] { ShowGuarded(message); });
}

void ProcessMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

QString CurrentExceptionMessage()
{
    try {
        throw;
    } catch (const rtl::Exception &e) {
        return AnsiToQString(e.Message());
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unknown exception");
    }
}

void ShowCurrentException()
{
    Services().ShowException(CurrentExceptionMessage());
}

bool RunGuarded(const std::function<void()> &handler) noexcept
{
    try {
        handler();
        return true;
    } catch (...) {
        try {
            const QString message = CurrentExceptionMessage();
            if (TApplication *app = TApplication::Instance())
                app->ShowHandlerException(message);
            else
                ShowGuarded(message);
        } catch (...) {
            // Even the message could not be made; nothing more to show with.
        }
        return false;
    }
}

} // namespace ui
