// The program's entry: --help and --version answered before anything needs
// a display, the application object titled "Nivora", the one instance per
// user, the meter chosen by the command line ("--simulate") or NIVORA_METER,
// and the main window, the only window made at start. An exception that
// escapes the message loop is shown by the application object; the result
// is 0.
#include "app/main_form.h"
#include "controls/text_measurer.h"
#include "platform/ui/app_application.h"
#include "platform/ui/instance_lock.h"
#include "platform/ui/locale_settings.h"
#include "platform/ui/ui_services.h"
#include "platform/usb/backend/backend.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstring>

namespace {

const char kHelp[] = "Usage: nivora [--simulate]\n"
                     "Desktop companion of the MX4820 sound level meter.\n"
                     "\n"
                     "  --simulate  run on a simulated meter instead of the one on USB\n"
                     "              (NIVORA_METER=sim in the environment does the same)\n"
                     "  --help      print this help and exit\n"
                     "  --version   print the version and exit\n";

// --help and --version print their text and end the program before the
// application object exists: making it needs a display, and a question
// about the program should not. The exit code, or -1 to start the program.
int AnswerCommandLine(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0)
            std::fputs(kHelp, stdout);
        else if (std::strcmp(argv[i], "--version") == 0)
            std::fputs("nivora " NIVORA_VERSION "\n", stdout);
        else
            continue;
        return std::fflush(stdout) == 0 ? 0 : 1; // a full disk is no answer
    }
    return -1;
}

bool HasScreen()
{
    // On a platform without a screen nobody could ever close a message box.
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void Tell(const QString &text)
{
    std::fprintf(stderr, "nivora: %s\n", text.toLocal8Bit().constData());
    if (HasScreen())
        ui::ShowMessage(text);
}

// A second program would talk to the same meter between the first one's
// packets, and the one closed last would overwrite the other's settings.
// A lock that cannot be taken for another reason is told, and the program
// runs without the guard.
bool AlreadyRunning(ui::TInstanceLock &lock)
{
    switch (lock.TryAcquire()) {
    case ui::TInstanceLock::Acquired:
        return false;
    case ui::TInstanceLock::Failed:
        Tell(QStringLiteral("The single-instance lock %1 could not be taken (%2). Nivora runs "
                            "without it: a second Nivora could use the same meter.")
                 .arg(lock.FileName().isEmpty() ? QStringLiteral("-")
                                                : QDir::toNativeSeparators(lock.FileName()),
                      lock.ErrorText()));
        return false;
    case ui::TInstanceLock::Held:
        break;
    }
    Tell(QStringLiteral("Nivora is already running."));
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (const int answered = AnswerCommandLine(argc, argv); answered >= 0)
        return answered;
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
