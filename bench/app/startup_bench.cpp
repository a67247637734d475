// Start-up time: from the start of a new process to the main window's first
// paint, on the offscreen platform with the simulated meter.
//
// Each iteration starts this program again as a child ("--child"), which
// builds the application and the main window exactly as the program's entry
// does and reports when the window has painted for the first time; the time
// is taken by the parent from just before the process is started to the
// report. Two figures:
//   BM_StartupToFirstPaint/wait:1   the program as it runs, including the
//                                   500 ms wait before the status poll starts
//   BM_StartupToFirstPaint/wait:0   the same with the program's clock
//                                   replaced, so the wait costs nothing
// Their difference is the wait; the second is the start-up work itself.
// Goal: the start-up work stays below 300 ms.
#include "app/main_form.h"
#include "bench/bench_main.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/registry.h"
#include "platform/ui/app_application.h"
#include "platform/usb/backend/backend.h"
#include "tests/support/temp_folders.h"

#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

std::string gSelf;

// The child: the program's start-up, then one line on stdout at the first paint.
int ChildMain(int argc, char **argv, bool noWait)
{
    ui::TApplication application(argc, argv);
    application.SetTitle(QStringLiteral("Nivora"));
    rtl::TRegistryBackendScope registry; // no settings of the user are read or written
    testsupport::TTempFolders dir;       // the program's folders in a temporary one
    rtl::FakeClock fake;
    if (noWait)
        rtl::SetClock(&fake);

    auto meter = usb::CreateUsbDevice(usb::Backend::Simulated);
    app::TfrmMain frmMain(*meter);
    QObject::connect(&frmMain, &app::TfrmMain::firstPainted, [] {
        std::fputs("painted\n", stdout);
        std::fflush(stdout);
        std::_Exit(0);
    });
    QTimer::singleShot(20000, [] { std::_Exit(2); });
    frmMain.showMaximized();
    application.Run();
    return 1;
}

// Starts the child and returns the seconds until it reported its first
// paint; negative when it failed.
double RunChild(bool noWait)
{
    int out[2];
    if (pipe(out) != 0)
        return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    // The platform plugin's notes would mix into the figures.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string mode = noWait ? "no_wait" : "real_wait";
    char *args[] = {gSelf.data(), const_cast<char *>("--child"), mode.data(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, gSelf.c_str(), &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (rc != 0) {
        close(out[0]);
        return -1;
    }
    char buffer[64] = {};
    const ssize_t n = read(out[0], buffer, sizeof buffer - 1);
    const auto end = std::chrono::steady_clock::now();
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (n <= 0 || std::strncmp(buffer, "painted", 7) != 0)
        return -1;
    return std::chrono::duration<double>(end - start).count();
}

void BM_StartupToFirstPaint(benchmark::State &state)
{
    const bool noWait = state.range(0) == 0;
    for (auto _ : state) {
        const double seconds = RunChild(noWait);
        if (seconds < 0) {
            state.SkipWithError("the child did not paint its main window");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(BM_StartupToFirstPaint)
    ->ArgName("wait")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8);

} // namespace

// The parent starts the children and needs no application of its own; a
// child ("--child wait|no_wait") builds the program's and ends there.
const bench::TMainHooks hooks{{
    .Before = [](int &argc, char **argv) -> std::optional<int> {
        if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
            return ChildMain(argc, argv, std::strcmp(argv[2], "no_wait") == 0);
        char self[4096] = {};
        const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
        gSelf = len > 0 ? std::string(self, static_cast<size_t>(len)) : std::string(argv[0]);
        return std::nullopt;
    },
    .Application = [](int &, char **) { return std::unique_ptr<QCoreApplication>(); },
}};
