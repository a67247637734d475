// The program's entry: --help, --version and unknown options answered before
// anything needs a display, a start without a display told in one line, the
// application object titled "Nivora", the one instance per
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

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kHelp[] = "Usage: nivora [--simulate]\n"
                     "Desktop companion of the MX4820 sound level meter.\n"
                     "\n"
                     "  --simulate  run on a simulated meter instead of the one on USB\n"
                     "              (NIVORA_METER=sim in the environment does the same)\n"
                     "  --help      print this help and exit\n"
                     "  --version   print the version and exit\n";

// Qt's own options, which the application object takes from the command
// line: those followed by a value, then those without one. Both "-name" and
// "--name" are accepted, and "-name=value".
const char *const kQtOptionsWithValue[] = {
    "platform",     "platformpluginpath", "platformtheme", "plugin", "qwindowgeometry",
    "qwindowicon",  "qwindowtitle",       "session",       "style",  "stylesheet",
    "display",      "geometry",           "title",         "name",   "visual",
    "qmljsdebugger"};
const char *const kQtOptions[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};

bool Listed(const std::string &name, const char *const *names, size_t count)
{
    return std::find_if(names, names + count, [&](const char *n) { return name == n; }) !=
           names + count;
}

// --help and --version print their text, and an argument the program does
// not know its usage, and end the program before the application object
// exists: making it needs a display, and a question about the program
// should not. The first of them decides. The exit code (2 for a usage
// error, as command-line programs have it), or -1 to start the program.
int AnswerCommandLine(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help")
            std::fputs(kHelp, stdout);
        else if (arg == "--version")
            std::fputs("nivora " NIVORA_VERSION "\n", stdout);
        else if (arg == "--simulate")
            continue;
        else {
            std::string name = arg.size() > 1 && arg[0] == '-' ? arg.substr(1) : std::string();
            if (name.size() > 1 && name[0] == '-')
                name.erase(0, 1);
            const size_t equals = name.find('=');
            const bool valued = equals != std::string::npos;
            name = name.substr(0, equals);
            const char *fault = "unknown option";
            if (arg.size() < 2 || arg[0] != '-') {
                fault = "unexpected argument";
            } else if (Listed(name, kQtOptionsWithValue, std::size(kQtOptionsWithValue))) {
                if (valued || ++i < argc) // the value follows
                    continue;
                fault = "a value is missing after the option";
            } else if (!valued && Listed(name, kQtOptions, std::size(kQtOptions))) {
                continue;
            }
            std::fprintf(stderr, "nivora: %s '%s'\n", fault, arg.c_str());
            std::fputs(kHelp, stderr);
            return 2;
        }
        return std::fflush(stdout) == 0 ? 0 : 1; // a full disk is no answer
    }
    return -1;
}

// While the application object is made: Qt's messages held back. When Qt
// finds no display it gives up with a fatal message and would abort; the
// program says so in one line instead and exits with 1. Otherwise the
// messages held back are passed on as they came.
class TStartMessages {
public:
    TStartMessages() { FPrevious = qInstallMessageHandler(&TStartMessages::Handle); }
    ~TStartMessages()
    {
        qInstallMessageHandler(FPrevious);
        for (const Held &m : FHeld) {
            const QMessageLogContext context(nullptr, 0, nullptr, m.Category.constData());
            if (FPrevious)
                FPrevious(m.Type, context, m.Text);
            else
                std::fprintf(stderr, "%s\n", m.Text.toLocal8Bit().constData());
        }
        FHeld.clear();
    }

private:
    struct Held {
        QtMsgType Type;
        QByteArray Category;
        QString Text;
    };
    static void Handle(QtMsgType type, const QMessageLogContext &context, const QString &text)
    {
        if (type != QtFatalMsg) {
            FHeld.push_back({type, QByteArray(context.category ? context.category : ""), text});
            return;
        }
        const char *x11 = std::getenv("DISPLAY");
        const char *wayland = std::getenv("WAYLAND_DISPLAY");
        std::string where;
        if (x11 && *x11)
            where = std::string(" (DISPLAY=") + x11 + ")";
        else if (wayland && *wayland)
            where = std::string(" (WAYLAND_DISPLAY=") + wayland + ")";
        else
            where = " (neither DISPLAY nor WAYLAND_DISPLAY is set)";
        std::fprintf(stderr,
                     "nivora: no display could be opened%s; nivora --help lists the options\n",
                     where.c_str());
        std::fflush(stderr);
        std::_Exit(1);
    }

    static inline QtMessageHandler FPrevious = nullptr;
    static inline std::vector<Held> FHeld;
};

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
    auto startMessages = std::make_unique<TStartMessages>();
    ui::TApplication application(argc, argv);
    startMessages.reset();
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
