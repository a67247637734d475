// One running program per user: a lock on a file in the user's runtime
// folder ($XDG_RUNTIME_DIR, Qt's fallback when it is unset). The lock is
// the kernel's (flock), held as long as the TInstanceLock lives, and the
// kernel drops it when the process exits or dies, so a crashed program never
// leaves a stale lock behind.
//
//     ui::TInstanceLock lock(ui::RuntimeFolder(), "Nivora");
//     if (lock.TryAcquire() == ui::TInstanceLock::Held) { ...already running...; }
#pragma once

#include <QString>

namespace ui {

// The user's runtime folder; empty when there is none.
QString RuntimeFolder();

class TInstanceLock {
public:
    enum Result {
        Acquired, // this process holds the lock now
        Held,     // another process (or another TInstanceLock) holds it
        Failed,   // no lock file could be made or locked (no runtime folder)
    };

    // The lock file is "<folder>/<name>.lock".
    TInstanceLock(const QString &folder, const QString &name);
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock &) = delete;
    TInstanceLock &operator=(const TInstanceLock &) = delete;

    Result TryAcquire();
    void Release();
    bool Holds() const { return FHandle >= 0; }
    QString FileName() const { return FFileName; }
    // Why the last TryAcquire failed (the system's text); empty otherwise.
    QString ErrorText() const { return FError; }

private:
    Result Fail(int err);

    QString FFileName;
    QString FError;
    int FHandle = -1;
};

} // namespace ui
