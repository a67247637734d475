// The Debian package scripts/package.sh makes from this build: its files and
// Depends as dpkg-deb reads them, its Depends resolved by apt, lintian's
// verdict, and the program taken out of it answering --version and --help
// without a display. Its maintainer scripts never fail an install for want
// of a working udev.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kVersion = QStringLiteral(NIVORA_VERSION);

struct TRun {
    int Code = -1; // -1: did not run or did not end
    QString Output;
};

// program with arguments in environment (the test's own when empty),
// stdout and stderr together.
TRun RunTool(const QString &program, const QStringList &arguments,
             const QProcessEnvironment &environment = QProcessEnvironment())
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(program, arguments);
    TRun run;
    if (process.waitForFinished(240000) && process.exitStatus() == QProcess::NormalExit)
        run.Code = process.exitCode();
    run.Output = QString::fromUtf8(process.readAll());
    return run;
}

QStringList Lines(const QString &text)
{
    return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The package names of a Depends field: "a (>= 1), b | c" -> a, b, c.
QStringList PackageNames(const QString &depends)
{
    QStringList names;
    for (const QString &alternative : depends.split(QRegularExpression(QStringLiteral("[,|]"))))
        names << alternative.trimmed().section(QLatin1Char(' '), 0, 0);
    return names;
}

} // namespace

TEST(Package, HoldsTheInstalledFilesResolvesWithAptAndStarts)
{
    if (NIVORA_SANITIZED)
        GTEST_SKIP() << "packages are made from the normal build, not a sanitizer build";
    for (const char *tool : {"dpkg-deb", "dpkg-shlibdeps", "file"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";

    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("NIVORA_BUILD_DIR"), QStringLiteral(NIVORA_BUILD_DIR));
    env.insert(QStringLiteral("NIVORA_PACKAGE_DIR"), out.path());
    const TRun made = RunTool(QStringLiteral("bash"),
                              {QStringLiteral(NIVORA_SOURCE_DIR "/scripts/package.sh")}, env);
    ASSERT_EQ(made.Code, 0) << made.Output.toStdString();
    const QStringList said = Lines(made.Output);
    const QString deb = said.isEmpty() ? QString() : said.last(); // its last line: the package

    // Name, version and architecture: in the fields and the file name.
    const TRun fields =
        RunTool(QStringLiteral("dpkg-deb"),
                {QStringLiteral("-f"), deb, QStringLiteral("Package"), QStringLiteral("Version"),
                 QStringLiteral("Architecture"), QStringLiteral("Depends")});
    ASSERT_EQ(fields.Code, 0) << fields.Output.toStdString();
    QMap<QString, QString> field;
    for (const QString &line : Lines(fields.Output))
        field[line.section(QStringLiteral(": "), 0, 0)] = line.section(QStringLiteral(": "), 1);
    EXPECT_EQ(field[QStringLiteral("Package")], QStringLiteral("nivora"));
    EXPECT_EQ(field[QStringLiteral("Version")], kVersion);
    EXPECT_EQ(
        QFileInfo(deb).fileName(),
        QStringLiteral("nivora_%1_%2.deb").arg(kVersion, field[QStringLiteral("Architecture")]));
    // The libraries the program links, and the Qt platform plugins it loads.
    const QStringList depends = PackageNames(field[QStringLiteral("Depends")]);
    for (const char *package :
         {"libqt6core6", "libqt6gui6", "libqt6widgets6", "libqt6printsupport6", "libhidapi-hidraw0",
          "libjpeg62-turbo", "qt6-qpa-plugins"})
        EXPECT_TRUE(depends.contains(QLatin1String(package)))
            << package << " missing from " << field[QStringLiteral("Depends")].toStdString();

    // Exactly what `cmake --install` puts below /usr, nothing from the build.
    const TRun contents = RunTool(QStringLiteral("dpkg-deb"), {QStringLiteral("-c"), deb});
    ASSERT_EQ(contents.Code, 0) << contents.Output.toStdString();
    QStringList files;
    for (const QString &line : Lines(contents.Output))
        if (line.startsWith(QLatin1Char('-')))
            files << line.section(QLatin1Char(' '), -1);
    files.sort();
    QStringList expected = {QStringLiteral("./usr/bin/nivora"),
                            QStringLiteral("./usr/lib/udev/rules.d/60-nivora-mx4820.rules"),
                            QStringLiteral("./usr/share/applications/" NIVORA_APP_ID ".desktop"),
                            QStringLiteral("./usr/share/doc/nivora/changelog.gz"),
                            QStringLiteral("./usr/share/doc/nivora/copyright"),
                            QStringLiteral("./usr/share/man/man1/nivora.1.gz"),
                            QStringLiteral("./usr/share/metainfo/" NIVORA_APP_ID ".metainfo.xml")};
    for (int size : {16, 32, 48, 64, 128, 256})
        expected << QStringLiteral("./usr/share/icons/hicolor/%1x%1/apps/" NIVORA_APP_ID ".png")
                        .arg(size);
    expected.sort();
    EXPECT_EQ(files.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());

    // Every Depends is a Debian package apt finds (installed or in its lists);
    // apt ends with 100 when one is not.
    const QString apt = QStandardPaths::findExecutable(QStringLiteral("apt-get"));
    if (!apt.isEmpty()) {
        const TRun simulated =
            RunTool(apt, {QStringLiteral("install"), QStringLiteral("--simulate"), deb});
        EXPECT_EQ(simulated.Code, 0) << simulated.Output.toStdString();
    }

    // lintian: neither errors nor warnings.
    const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
    if (!lintian.isEmpty()) {
        const TRun verdict =
            RunTool(lintian, {QStringLiteral("--fail-on"), QStringLiteral("error,warning"), deb});
        EXPECT_EQ(verdict.Code, 0) << verdict.Output.toStdString();
        for (const QString &line : Lines(verdict.Output))
            EXPECT_FALSE(line.startsWith(QLatin1String("E:")) ||
                         line.startsWith(QLatin1String("W:")))
                << line.toStdString();
    }

    // The program as the package installs it: --version and --help answer
    // without any display, and the metainfo names the same version.
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const TRun extracted =
        RunTool(QStringLiteral("dpkg-deb"), {QStringLiteral("-x"), deb, root.path()});
    ASSERT_EQ(extracted.Code, 0) << extracted.Output.toStdString();
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        bare.remove(QLatin1String(name));
    const QString program = root.filePath(QStringLiteral("usr/bin/nivora"));
    const TRun version = RunTool(program, {QStringLiteral("--version")}, bare);
    EXPECT_EQ(version.Code, 0) << version.Output.toStdString();
    EXPECT_EQ(version.Output, QStringLiteral("nivora %1\n").arg(kVersion));
    const TRun help = RunTool(program, {QStringLiteral("--help")}, bare);
    EXPECT_EQ(help.Code, 0) << help.Output.toStdString();
    EXPECT_TRUE(help.Output.contains(QStringLiteral("--simulate"))) << help.Output.toStdString();
    QFile metainfo(
        root.filePath(QStringLiteral("usr/share/metainfo/" NIVORA_APP_ID ".metainfo.xml")));
    ASSERT_TRUE(metainfo.open(QIODevice::ReadOnly));
    EXPECT_TRUE(
        metainfo.readAll().contains("<release version=\"" + kVersion.toUtf8() + "\" date=\""));
}

// In a container or chroot udevadm is missing, or there but without a udev
// to talk to: the install and the removal go on all the same.
TEST(Package, MaintainerScriptsNeverFailForWantOfUdev)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString withUdevadm = dir.filePath(QStringLiteral("failing-udevadm"));
    const QString withoutUdevadm = dir.filePath(QStringLiteral("no-udevadm"));
    const QString calls = dir.filePath(QStringLiteral("calls"));
    ASSERT_TRUE(QDir().mkpath(withUdevadm) && QDir().mkpath(withoutUdevadm));
    QFile stub(withUdevadm + QStringLiteral("/udevadm"));
    ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
    stub.write("#!/bin/sh\necho \"$*\" >>'" + calls.toUtf8() + "'\nexit 1\n");
    stub.close();
    stub.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const struct {
        const char *Script, *Action;
    } runs[] = {{"postinst", "configure"}, {"postrm", "remove"}, {"postrm", "purge"}};
    for (const auto &r : runs) {
        for (const QString &path : {withUdevadm, withoutUdevadm}) {
            QProcessEnvironment env;
            env.insert(QStringLiteral("PATH"), path);
            QFile::remove(calls);
            const TRun run = RunTool(
                QStringLiteral("/bin/sh"),
                {QStringLiteral(NIVORA_SOURCE_DIR "/dist/debian/") + QLatin1String(r.Script),
                 QLatin1String(r.Action)},
                env);
            SCOPED_TRACE(std::string(r.Script) + " " + r.Action + " " + path.toStdString());
            EXPECT_EQ(run.Code, 0) << run.Output.toStdString();
            QFile called(calls);
            EXPECT_EQ(called.open(QIODevice::ReadOnly) ? called.readAll() : QByteArray(),
                      path == withUdevadm ? QByteArray("control --reload-rules\n") : QByteArray());
        }
    }
}
