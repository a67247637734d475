// Starting the program as its user would, in folders of its own: a private
// runtime folder (where the single-instance lock lies), configuration
// folder (the registry file), data folder and home (the documents folder),
// on the offscreen platform. Runs of parallel tests, or of other people on
// the same machine, never meet.
//
//     testsupport::TProgramRun run(NIVORA_PROGRAM);
//     auto nivora = run.Start({"--simulate"});
//     ASSERT_TRUE(run.WaitUntilRunning(*nivora));
#pragma once

#include "platform/ui/instance_lock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>
#include <sys/stat.h>

namespace testsupport {

class TProgramRun {
public:
    explicit TProgramRun(QString program) : FProgram(std::move(program))
    {
        for (const char *sub : {"runtime", "config", "data", "home"})
            QDir().mkpath(FRoot.filePath(QLatin1String(sub)));
        ::chmod(QFile::encodeName(RuntimeFolder()).constData(), 0700); // as XDG wants it
    }

    QString RuntimeFolder() const { return FRoot.filePath(QStringLiteral("runtime")); }
    QString ConfigFolder() const { return FRoot.filePath(QStringLiteral("config")); }
    QString LockFile() const
    {
        return ui::TInstanceLock(RuntimeFolder(), QStringLiteral("Nivora")).FileName();
    }

    QProcessEnvironment Environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), RuntimeFolder());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), ConfigFolder());
        env.insert(QStringLiteral("XDG_DATA_HOME"), FRoot.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("HOME"), FRoot.filePath(QStringLiteral("home")));
        env.remove(QStringLiteral("NIVORA_METER"));
        return env;
    }

    std::unique_ptr<QProcess> Start(const QStringList &arguments) const
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(Environment());
        process->start(FProgram, arguments);
        process->waitForStarted(10000);
        return process;
    }

    // Waits until process holds the single-instance lock (the program is up
    // and guards its meter); false when it ends first or time runs out.
    // Looks at the kernel's lock table, so that the look itself never takes
    // the lock from under a program that is just starting.
    bool WaitUntilRunning(QProcess &process, int timeoutMs = 20000) const
    {
        for (int waited = 0; waited < timeoutMs; waited += 20) {
            if (process.state() != QProcess::Running)
                return false;
            if (LockHeldBy(process.processId()))
                return true;
            process.waitForFinished(20);
        }
        return false;
    }

    // Whether pid holds a flock on the lock file (/proc/locks).
    bool LockHeldBy(qint64 pid) const
    {
        struct stat st {};
        if (::stat(QFile::encodeName(LockFile()).constData(), &st) != 0)
            return false;
        QFile locks(QStringLiteral("/proc/locks"));
        if (!locks.open(QIODevice::ReadOnly))
            return false;
        const QString inode = QStringLiteral(":%1").arg(static_cast<qulonglong>(st.st_ino));
        for (const QByteArray &line : locks.readAll().split('\n')) {
            // "1: FLOCK  ADVISORY  WRITE 4321 00:2a:12345 0 EOF"
            const QStringList f = QString::fromLatin1(line).simplified().split(QLatin1Char(' '));
            if (f.size() >= 6 && f[1] == QLatin1String("FLOCK") && f[4] == QString::number(pid) &&
                f[5].endsWith(inode))
                return true;
        }
        return false;
    }

private:
    QString FProgram;
    QTemporaryDir FRoot;
};

} // namespace testsupport
