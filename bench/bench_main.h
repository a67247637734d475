// The one main() of the benchmark programs that run on Qt: it puts Qt on the
// offscreen platform (unless QT_QPA_PLATFORM says otherwise), makes the
// application object, runs the benchmarks named on the command line and
// prints their figures. A program changes a step by registering hooks once,
// at namespace scope:
//
//     const bench::TMainHooks hooks{{.Reporter = &reporter, .After = [] { ... }}};
#pragma once

#include <functional>
#include <memory>
#include <optional>

class QCoreApplication;
namespace benchmark {
class BenchmarkReporter;
}

namespace bench {

// Every member has an initializer, so that a designated initializer may leave
// out any of them.
struct TMainSteps {
    // Runs first; an exit code ends the program there (a child process).
    std::function<std::optional<int>(int &argc, char **argv)> Before{};
    // The application object; by default a QApplication.
    std::function<std::unique_ptr<QCoreApplication>(int &argc, char **argv)> Application{};
    // Where the figures go; by default the console.
    benchmark::BenchmarkReporter *Reporter = nullptr;
    // Runs after the benchmarks (a table of the figures).
    std::function<void()> After{};
};

// Registers the program's steps for main(); one object per program.
class TMainHooks {
public:
    explicit TMainHooks(TMainSteps steps);
};

} // namespace bench
