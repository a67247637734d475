// The program's entry: the application object titled "Nivora", the meter
// chosen by the command line ("--simulate") or NIVORA_METER, and the main
// window, the only window made at start. An exception that escapes the
// message loop is shown by the application object; the result is 0.
#include "app/main_form.h"
#include "platform/ui/app_application.h"
#include "platform/ui/locale_settings.h"
#include "platform/usb/backend/backend.h"

#include <QGuiApplication>
#include <QScreen>

int main(int argc, char **argv)
{
    ui::TApplication application(argc, argv);
    application.SetTitle(QStringLiteral("Nivora"));
    ui::ApplyUserLocale();
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
