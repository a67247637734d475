#include "app/settings.h"

#include "meter/real_time.h"

#include "platform/rtl/registry.h"
#include "platform/rtl/streams.h"
#include "platform/ui/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace app {

TStartSettings ReadStartSettings()
{
    TStartSettings s;
    rtl::TRegistry registry;
    registry.SetRootKey(rtl::HKEY_LOCAL_MACHINE);
    registry.OpenKey(kSettingsKey, true);
    try {
        s.gRealTimeRate = meter::UsableRealTimeRate(registry.ReadFloat("RealTimeRate"));
    } catch (const rtl::Exception &) {
        s.gRealTimeRate = 1.0;
    }
    try {
        s.gLanguageIndex = registry.ReadInteger("LxLangIndex");
    } catch (const rtl::Exception &) {
        s.gLanguageIndex = 1;
    }
    return s;
}

void WriteStartSettings(const TStartSettings &s)
{
    try {
        rtl::TRegistry registry;
        registry.SetRootKey(rtl::HKEY_LOCAL_MACHINE);
        registry.OpenKey(kSettingsKey, true);
        try {
            registry.WriteFloat("RealTimeRate", s.gRealTimeRate);
        } catch (const rtl::Exception &) {
        }
        try {
            registry.WriteInteger("LxLangIndex", s.gLanguageIndex);
        } catch (const rtl::Exception &) {
        }
        registry.CloseKey();
    } catch (const rtl::Exception &) {
        // The settings file cannot be written: the values are lost, the close goes on.
    }
}

bool EnsureFolder(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    return QFileInfo(folder).isDir() || QDir().mkpath(folder);
}

bool WriteLanguageFile(const QString &workingFolder, int languageIndex)
{
    // Every write and the flush are checked before the rename (a buffered
    // QSaveFile can report a commit after a failed write).
    const QByteArray line = QByteArray::number(languageIndex) + "\r\n";
    const QString fileName = ui::JoinPath(workingFolder, QStringLiteral("language.txt"));
    return rtl::TryWriteFileAtomically(QFile::encodeName(fileName).toStdString(), line.constData(),
                                       static_cast<size_t>(line.size()));
}

QString LanguageSetupProgram()
{
    const QString path = ui::ProgramFile(QStringLiteral("SetupLanguage"));
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable() ? path : QString();
}

} // namespace app
