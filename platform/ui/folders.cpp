#include "platform/ui/folders.h"

#include "platform/rtl/streams.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>

namespace ui {

namespace {

std::optional<TFolderRoots> gRoots;

QString WithSlash(QString folder)
{
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

} // namespace

TFolderRoots SystemFolderRoots()
{
    TFolderRoots roots;
    roots.Documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    roots.Executable = QCoreApplication::applicationDirPath();
    roots.Documentation =
        QDir::cleanPath(JoinPath(roots.Executable, QStringLiteral(NIVORA_DOC_FROM_BIN)));
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty())
        roots.UserData = JoinPath(data, QStringLiteral("Nivora"));
    return roots;
}

const TFolderRoots &FolderRoots()
{
    if (!gRoots)
        gRoots = SystemFolderRoots();
    return *gRoots;
}

void SetFolderRoots(const TFolderRoots &roots)
{
    gRoots = roots;
}

void ResetFolderRoots()
{
    gRoots.reset();
}

QString JoinPath(const QString &folder, const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (n.startsWith(QLatin1Char('/')))
        n.remove(0, 1);
    if (folder.isEmpty())
        return n;
    return WithSlash(folder) + n;
}

bool MakeFolder(const QString &folder, QString *reason)
{
    if (folder.isEmpty()) {
        if (reason)
            *reason = QString::fromStdString(std::generic_category().message(ENOENT));
        return false;
    }
    if (QFileInfo(folder).isDir())
        return true;
    std::error_code ec;
    std::filesystem::create_directories(QFile::encodeName(folder).toStdString(), ec);
    if (QFileInfo(folder).isDir())
        return true;
    // Something that is no folder stands at the place (the library says
    // "File exists" or nothing).
    if (!ec || ec == std::errc::file_exists)
        ec = std::make_error_code(std::errc::not_a_directory);
    if (reason)
        *reason = QString::fromLocal8Bit(ec.message().c_str());
    return false;
}

bool IsFolderWritable(const QString &folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    // A file made there as a save makes it, gone again when probe goes.
    rtl::TFileReplacement probe;
    int err = 0;
    return probe.Begin(
        QFile::encodeName(JoinPath(folder, QStringLiteral(".nivora-probe"))).toStdString(), err);
}

QString DocumentsFolder()
{
    return WithSlash(FolderRoots().Documents);
}

QString MakeDataFolder()
{
    const QString documents = DocumentsFolder();
    if (documents.isEmpty())
        return QString();
    const QString data = documents + QStringLiteral("MX4820/");
    if (QFileInfo(data).isDir() || QDir().mkpath(data))
        return data;
    return documents;
}

QString ExecutableFolder()
{
    return WithSlash(FolderRoots().Executable);
}

QString WritableProgramFolder()
{
    const QString exe = ExecutableFolder();
    if (IsFolderWritable(exe))
        return exe;
    const QString user = WithSlash(FolderRoots().UserData);
    if (!user.isEmpty())
        QDir().mkpath(user);
    return user;
}

QString WorkingFolder(const QString &dataFolder)
{
    if (!dataFolder.isEmpty())
        return WithSlash(dataFolder) + QStringLiteral("temp");
    return WritableProgramFolder() + QStringLiteral("temp");
}

QString ProgramFile(const QString &relativeName)
{
    return JoinPath(ExecutableFolder(), relativeName);
}

QString WritableProgramFile(const QString &relativeName)
{
    return JoinPath(WritableProgramFolder(), relativeName);
}

QString DocumentationFolder()
{
    return WithSlash(FolderRoots().Documentation);
}

} // namespace ui
