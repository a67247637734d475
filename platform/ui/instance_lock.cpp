#include "platform/ui/instance_lock.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
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
    if (FFileName.isEmpty())
        return Failed;
    const int fd =
        ::open(QFile::encodeName(FFileName).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Failed;
    int rc;
    do
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Held : Failed;
    }
    FHandle = fd;
    return Acquired;
}

void TInstanceLock::Release()
{
    if (FHandle < 0)
        return;
    ::close(FHandle); // closing the last descriptor drops the lock
    FHandle = -1;
}

} // namespace ui
