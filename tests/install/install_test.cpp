// What `cmake --install` puts on a desktop: the program, the udev rule, the
// desktop entry, the AppStream metainfo and the icons, each in its standard
// place, accepted by the desktop's own validators, and a program that starts.
#include "tests/support/program_run.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kAppId = QStringLiteral(NIVORA_APP_ID);

// Runs program with arguments; its exit code (-1 when it did not run or
// end) and everything it wrote.
int RunTool(const QString &program, const QStringList &arguments, QString *output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitCode();
}

class Install : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FPrefix.isValid());
        QString output;
        ASSERT_EQ(RunTool(QStringLiteral(NIVORA_CMAKE),
                          {QStringLiteral("--install"), QStringLiteral(NIVORA_BUILD_DIR),
                           QStringLiteral("--prefix"), FPrefix.path()},
                          &output),
                  0)
            << output.toStdString();
    }
    QString Installed(const QString &relative) const { return FPrefix.filePath(relative); }

    QTemporaryDir FPrefix;
};

} // namespace

// The whole list of files is checked on the package made from the same install
// (package_test.cpp); here the entry names the program and the icon as installed, the
// metainfo the entry.
TEST_F(Install, TheEntryAndTheMetainfoNameWhatIsInstalled)
{
    const QFileInfo program(Installed(QStringLiteral("bin/nivora")));
    EXPECT_TRUE(program.isFile() && program.isExecutable());
    EXPECT_TRUE(
        QFileInfo(Installed(QStringLiteral("share/icons/hicolor/256x256/apps/%1.png").arg(kAppId)))
            .isFile());
    QFile desktop(Installed(QStringLiteral("share/applications/%1.desktop").arg(kAppId)));
    ASSERT_TRUE(desktop.open(QIODevice::ReadOnly));
    const QByteArray entry = desktop.readAll();
    EXPECT_TRUE(entry.contains("\nExec=nivora\n"));
    EXPECT_TRUE(entry.contains("\nIcon=" + kAppId.toUtf8() + "\n"));
    QFile metainfo(Installed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppId)));
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    const QByteArray info = metainfo.readAll();
    EXPECT_TRUE(info.contains("<id>" + kAppId.toUtf8() + "</id>"));
    EXPECT_TRUE(info.contains(">" + kAppId.toUtf8() + ".desktop</launchable>"));
}

TEST_F(Install, TheDesktopsValidatorsFindNothingToSay)
{
    const QString desktopValidate =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    if (desktopValidate.isEmpty() || appstream.isEmpty())
        GTEST_SKIP() << "desktop-file-validate or appstreamcli is not installed "
                        "(scripts/install-deps.sh installs them)";
    QString output;
    EXPECT_EQ(RunTool(desktopValidate,
                      {Installed(QStringLiteral("share/applications/%1.desktop").arg(kAppId))},
                      &output),
              0);
    EXPECT_EQ(output.trimmed(), QString()); // not even a hint
    EXPECT_EQ(RunTool(appstream,
                      {QStringLiteral("validate"), QStringLiteral("--no-net"),
                       Installed(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(kAppId))},
                      &output),
              0)
        << output.toStdString();
    for (const QString &line : output.split(QLatin1Char('\n')))
        EXPECT_FALSE(line.startsWith(QLatin1String("W:")) || line.startsWith(QLatin1String("E:")) ||
                     line.startsWith(QLatin1String("I:")))
            << line.toStdString();
}

TEST_F(Install, TheInstalledProgramStartsOnTheSimulatedMeter)
{
    testsupport::TProgramRun run(Installed(QStringLiteral("bin/nivora")));
    auto nivora = run.Start({QStringLiteral("--simulate")});
    ASSERT_TRUE(run.WaitUntilRunning(*nivora)) << nivora->readAllStandardError().toStdString();
    EXPECT_FALSE(nivora->waitForFinished(2000)) << "the installed program ended by itself";
    nivora->kill();
    nivora->waitForFinished(10000);
}
