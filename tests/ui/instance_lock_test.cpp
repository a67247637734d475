// The single-instance lock within one process: one holder at a time, free
// again when the holder lets go, no lock without a folder.
#include "platform/ui/instance_lock.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using ui::TInstanceLock;

TEST(InstanceLock, OneHolderAtATime)
{
    QTemporaryDir dir;
    auto first = std::make_unique<TInstanceLock>(dir.path(), QStringLiteral("Nivora"));
    TInstanceLock second(dir.path(), QStringLiteral("Nivora"));
    TInstanceLock other(dir.path(), QStringLiteral("Other"));
    EXPECT_EQ(first->FileName(), dir.filePath(QStringLiteral("Nivora.lock")));

    EXPECT_EQ(first->TryAcquire(), TInstanceLock::Acquired);
    EXPECT_EQ(first->TryAcquire(), TInstanceLock::Acquired); // asking again keeps it
    EXPECT_EQ(second.TryAcquire(), TInstanceLock::Held);
    EXPECT_FALSE(second.Holds());
    EXPECT_EQ(other.TryAcquire(), TInstanceLock::Acquired);

    first.reset(); // the holder ends
    EXPECT_EQ(second.TryAcquire(), TInstanceLock::Acquired);
    EXPECT_TRUE(QFileInfo::exists(second.FileName()));
    second.Release();
    EXPECT_FALSE(second.Holds());
}

TEST(InstanceLock, NoFolderNoLock)
{
    EXPECT_EQ(TInstanceLock(QString(), QStringLiteral("Nivora")).TryAcquire(),
              TInstanceLock::Failed);
    QTemporaryDir dir;
    EXPECT_EQ(TInstanceLock(dir.filePath(QStringLiteral("missing")), QStringLiteral("Nivora"))
                  .TryAcquire(),
              TInstanceLock::Failed);
}
