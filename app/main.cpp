// The program's entry: the application object titled "Nivora", the one
// instance per user, the meter chosen by the command line ("--simulate") or
// NIVORA_METER, and the main window, the only window made at start. An
// exception that escapes the message loop is shown by the application
// object; the result is 0.
#include "app/main_form.h"
#include "controls/text_measurer.h"
#include "platform/ui/app_application.h"
#include "platform/ui/instance_lock.h"
#include "platform/ui/locale_settings.h"
#include "platform/ui/ui_services.h"
#include "platform/usb/backend/backend.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdio>

namespace {

// A second program would talk to the same meter between the first one's
// packets, and the one closed last would overwrite the other's settings.
bool AlreadyRunning(ui::TInstanceLock &lock)
{
    if (lock.TryAcquire() != ui::TInstanceLock::Held)
        return false; // without a runtime folder the program runs unguarded
    const QString text = QStringLiteral("Nivora is already running.");
    std::fprintf(stderr, "nivora: %s\n", text.toLocal8Bit().constData());
    // On a platform without a screen nobody could ever close the box.
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("offscreen") && platform != QLatin1String("minimal"))
        ui::ShowMessage(text);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    ui::TApplication application(argc, argv);
    application.SetTitle(QStringLiteral("Nivora"));
    ui::TInstanceLock instance(ui::RuntimeFolder(), QStringLiteral("Nivora"));
    if (AlreadyRunning(instance))
        return 1;
    ui::ApplyUserLocale();
    controls::InstallTestModeMeasurer();
    std::unique_ptr<usb::UsbDevice> meter = usb::CreateUsbDevice(usb::SelectBackend(argc, argv));
    try {
        app::TfrmMain frmMain(*meter);
        // Maximised; without a window manager (a bare X server) the window
        // still takes the whole screen.
        if (QScreen *screen = QGuiApplication::primaryScreen())
            frmMain.setGeometry(screen->availableGeometry());
        frmMain.showMaximized();
        application.Run();
    } catch (...) {
        ui::ShowCurrentException();
    }
    return 0;
}
