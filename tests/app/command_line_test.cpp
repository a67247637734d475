// The program's command line, run as its user runs it: the questions it
// answers without a display, an option it does not know, and a start where
// no display can be opened.
#include "tests/support/program_run.h"

#include <gtest/gtest.h>

namespace {

struct TRun {
    int ExitCode = -1;
    QString Out;
    QString Err;
};

TRun RunProgram(const QStringList &arguments, const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(NIVORA_PROGRAM), arguments);
    TRun run;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished(5000);
        return run;
    }
    if (process.exitStatus() == QProcess::NormalExit)
        run.ExitCode = process.exitCode();
    run.Out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.Err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

// No display at all: no X server, no Wayland compositor, Qt's default platform.
QProcessEnvironment NoDisplay(const testsupport::TProgramRun &program)
{
    QProcessEnvironment env = program.Environment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    return env;
}

} // namespace

TEST(CommandLine, WithoutADisplayAStartSaysSoInOneLineAndExitsWithOne)
{
    testsupport::TProgramRun program(QStringLiteral(NIVORA_PROGRAM));
    TRun run = RunProgram({QStringLiteral("--simulate")}, NoDisplay(program));
    EXPECT_EQ(run.ExitCode, 1) << "not Qt's abort";
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("nivora: no display could be opened")))
        << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains(QStringLiteral("nivora --help")));
    EXPECT_EQ(run.Err.count(QLatin1Char('\n')), 1) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty());

    // A display named that is not there.
    QProcessEnvironment gone = NoDisplay(program);
    gone.insert(QStringLiteral("DISPLAY"), QStringLiteral(":4711"));
    run = RunProgram({}, gone);
    EXPECT_EQ(run.ExitCode, 1);
    EXPECT_EQ(run.Err, QStringLiteral("nivora: no display could be opened (DISPLAY=:4711); nivora "
                                      "--help lists the options\n"));

    // The questions need none.
    run = RunProgram({QStringLiteral("--version")}, NoDisplay(program));
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Out.startsWith(QStringLiteral("nivora "))) << run.Out.toStdString();
}

TEST(CommandLine, AnUnknownOptionOrArgumentPrintsTheUsageAndExitsWithTwo)
{
    testsupport::TProgramRun program(QStringLiteral(NIVORA_PROGRAM));
    const QProcessEnvironment env = program.Environment(); // offscreen: it would start
    for (const QStringList &arguments :
         {QStringList{QStringLiteral("--bogus")},
          QStringList{QStringLiteral("--simulate"), QStringLiteral("file.ghf")},
          QStringList{QStringLiteral("--simulate"), QStringLiteral("-platform")}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const TRun run = RunProgram(arguments, env);
        EXPECT_EQ(run.ExitCode, 2);
        EXPECT_TRUE(run.Err.startsWith(QStringLiteral("nivora: "))) << run.Err.toStdString();
        EXPECT_TRUE(run.Err.contains(QStringLiteral("\nUsage: nivora [--simulate]\n")));
        EXPECT_TRUE(run.Out.isEmpty());
    }
    const TRun run = RunProgram({QStringLiteral("--bogus")}, env);
    EXPECT_TRUE(run.Err.startsWith(QStringLiteral("nivora: unknown option '--bogus'\n")));

    // Qt's own options are the application object's.
    auto nivora = program.Start({QStringLiteral("-platform"), QStringLiteral("offscreen"),
                                 QStringLiteral("--simulate"), QStringLiteral("-style=fusion")});
    EXPECT_TRUE(program.WaitUntilRunning(*nivora)) << nivora->readAllStandardError().toStdString();
    nivora->kill();
    nivora->waitForFinished(10000);
}
