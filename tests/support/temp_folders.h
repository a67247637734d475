// Temporary folders in place of the user's for the length of a test: the
// documents folder "<path>/Documents" and the executable's folder
// "<path>/bin" (both made), the user data folder "<path>/data" and the
// documentation folder "<path>/doc".
#pragma once

#include "platform/ui/folders.h"

#include <QDir>
#include <QTemporaryDir>

namespace testsupport {

class TTempFolders {
public:
    TTempFolders()
    {
        ui::TFolderRoots roots;
        roots.Documents = path() + "/Documents";
        roots.Executable = path() + "/bin";
        roots.UserData = path() + "/data";
        roots.Documentation = path() + "/doc";
        QDir().mkpath(roots.Documents);
        QDir().mkpath(roots.Executable);
        ui::SetFolderRoots(roots);
    }
    ~TTempFolders() { ui::ResetFolderRoots(); }
    TTempFolders(const TTempFolders &) = delete;
    TTempFolders &operator=(const TTempFolders &) = delete;

    QString path() const { return FDir.path(); }

private:
    QTemporaryDir FDir;
};

} // namespace testsupport
