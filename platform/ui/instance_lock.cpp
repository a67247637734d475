#include "platform/ui/instance_lock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace ui {

QString RuntimeFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

TInstanceLock::TInstanceLock(const QString &folder, const QString &name)
    : FFileName(folder.isEmpty() ? QString()
                                 : QDir(folder).filePath(name + QStringLiteral(".lock")))
{
}

TInstanceLock::~TInstanceLock()
{
    Release();
}

TInstanceLock::Result TInstanceLock::TryAcquire()
{
    if (FHandle >= 0)
        return Acquired;
    FError.clear();
    if (FFileName.isEmpty()) {
        FError = QStringLiteral("no runtime folder");
        return Failed;
    }
    const int fd =
        ::open(QFile::encodeName(FFileName).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Fail(errno);
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        ::close(fd);
        return err == EWOULDBLOCK ? Held : Fail(err);
    }
    FHandle = fd;
    return Acquired;
}

TInstanceLock::Result TInstanceLock::Fail(int err)
{
    FError = QString::fromLocal8Bit(std::strerror(err));
    return Failed;
}

void TInstanceLock::Release()
{
    if (FHandle < 0)
        return;
    ::close(FHandle); // closing the last descriptor drops the lock
    FHandle = -1;
}

} // namespace ui
