// The program's settings and the files of its close sequence: the registry
// values "RealTimeRate" (8-byte binary double) and "LxLangIndex" (DWORD)
// under HKEY_LOCAL_MACHINE\SOFTWARE\Nivora, the working folder and its
// "language.txt", and the language set-up program started after a change.
#pragma once

#include <QString>

namespace app {

inline constexpr char kSettingsKey[] = "\\SOFTWARE\\Nivora";

struct TStartSettings {
    double gRealTimeRate = 1.0; // 1.0 when missing, unreadable or no usable rate
    int gLanguageIndex = 1;     // 1 when missing or unreadable; kept as read otherwise
};

// Opens (creating when missing) the key and reads both values; any read
// failure (missing value, wrong type or size) gives the fallback, and so does a
// rate no run could use (not above 0, above one day, not a number).
TStartSettings ReadStartSettings();
// Writes both values. False when they could not be saved, with the
// settings file's name and the system's reason in error.
bool WriteStartSettings(const TStartSettings &settings, QString *error = nullptr);

// Makes the working folder when it is missing. False when it cannot be
// made, with the folder and the system's reason in error.
bool EnsureFolder(const QString &folder, QString *error = nullptr);
// Replaces "<workingFolder>/language.txt" with one line: the index and CR LF.
// False, leaving any earlier file as it was, when it cannot be written, with
// the file and the system's reason in error.
bool WriteLanguageFile(const QString &workingFolder, int languageIndex, QString *error = nullptr);

// The language set-up program beside the executable ("" when it is missing).
QString LanguageSetupProgram();

} // namespace app
