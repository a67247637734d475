// The program itself, started as its user starts it: one instance at a time.
#include "tests/support/program_run.h"

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
