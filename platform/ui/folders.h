// The program's folders. Paths use '/'; folder names end with '/'.
//
// - documents folder: the user's documents folder (XDG_DOCUMENTS_DIR)
// - data folder: "<documents>/MX4820/", or the documents folder when that
//   cannot be made, or empty when there is no documents folder
// - working folder: "<data folder>temp", or "<program folder>temp" when the
//   data folder is empty
// - files kept beside the executable are read from the executable's folder;
//   files the program writes there go to the executable's folder when it is
//   writable, else to the user's data folder "<XDG_DATA_HOME>/Nivora/"
// - documentation folder: the package's "share/doc/nivora" below the
//   install prefix, found from the executable's folder ("<prefix>/bin")
#pragma once

#include <QString>

namespace ui {

// Where the folders come from. By default the system's (QStandardPaths and
// the executable's location); tests put temporary folders here.
struct TFolderRoots {
    QString Documents;       // empty: the desktop knows no documents folder
    QString Executable;      // the executable's folder
    QString UserData;        // the user's writable data folder for the program
    QString Documentation{}; // the package's documentation folder (may be left out)
};
TFolderRoots SystemFolderRoots();
const TFolderRoots &FolderRoots();
void SetFolderRoots(const TFolderRoots &roots);
void ResetFolderRoots(); // back to the system's

// The folders above, each with a trailing '/' (empty stays empty).
QString DocumentsFolder();
// Makes "<documents>/MX4820/" when missing and returns it; falls back as
// described above. Never fails.
QString MakeDataFolder();
QString ExecutableFolder();
// The executable's folder when a file can be made in it, else the user data
// folder (made when missing).
QString WritableProgramFolder();
// "<dataFolder>temp", or "<writable program folder>temp" when dataFolder is
// empty (no trailing '/').
QString WorkingFolder(const QString &dataFolder);
// A file kept beside the executable (name relative to its folder, such as
// "template/graph.ghf").
QString ProgramFile(const QString &relativeName);
// Where a file the program keeps beside the executable is written.
QString WritableProgramFile(const QString &relativeName);
// The documentation folder, with a trailing '/'.
QString DocumentationFolder();

// Joins a folder and a name with exactly one '/' between them; turns '\'
// into '/'.
QString JoinPath(const QString &folder, const QString &name);
// Makes the folder and its parents when missing. False when it cannot be
// made, with the system's reason ("Not a directory") in reason.
bool MakeFolder(const QString &folder, QString *reason = nullptr);
// True when a file can be created in the folder (it is tried and removed).
bool IsFolderWritable(const QString &folder);

} // namespace ui
