// The program itself, started as its user starts it: one instance at a time.
#include "tests/support/program_run.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(SingleInstance, ASecondProgramSaysSoAndExitsAndTheLockDiesWithTheFirst)
{
    testsupport::TProgramRun run(QStringLiteral(NIVORA_PROGRAM));
    const QStringList simulate{QStringLiteral("--simulate")};
    auto first = run.Start(simulate);
    ASSERT_TRUE(run.WaitUntilRunning(*first)) << first->readAllStandardError().toStdString();

    auto second = run.Start(simulate);
    ASSERT_TRUE(second->waitForFinished(20000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 1);
    EXPECT_TRUE(second->readAllStandardError().contains("Nivora is already running."));
    EXPECT_EQ(first->state(), QProcess::Running);

    // Killed, the first takes nothing with it but its lock.
    first->kill();
    ASSERT_TRUE(first->waitForFinished(10000));
    auto third = run.Start(simulate);
    EXPECT_TRUE(run.WaitUntilRunning(*third)) << third->readAllStandardError().toStdString();
    third->kill();
    third->waitForFinished(10000);
}

TEST(SingleInstance, ALockThatCannotBeTakenIsToldAndTheProgramStartsAllTheSame)
{
    testsupport::TProgramRun run(QStringLiteral(NIVORA_PROGRAM));
    ASSERT_TRUE(QDir().mkpath(run.LockFile())); // a folder where the lock file belongs
    auto nivora = run.Start({QStringLiteral("--simulate")});
    QByteArray err;
    for (int waited = 0; waited < 20000 && !err.contains('\n'); waited += 50) {
        nivora->waitForFinished(50);
        err += nivora->readAllStandardError();
    }
    EXPECT_TRUE(err.startsWith("nivora: The single-instance lock " + run.LockFile().toLocal8Bit() +
                               " could not be taken"))
        << err.toStdString();
    EXPECT_FALSE(nivora->waitForFinished(2000)) << "the program runs on";
    nivora->kill();
    nivora->waitForFinished(10000);
}
