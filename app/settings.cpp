#include "app/settings.h"

#include "meter/real_time.h"

#include "platform/rtl/registry.h"
#include "platform/rtl/streams.h"
#include "platform/ui/folders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace app {

namespace {

void SetError(QString *error, const std::string &text)
{
    if (error)
        *error = QString::fromLocal8Bit(text.c_str());
}

} // namespace

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

bool WriteStartSettings(const TStartSettings &s, QString *error)
{
    std::string reason;
    try {
        rtl::TRegistry registry;
        registry.SetRootKey(rtl::HKEY_LOCAL_MACHINE);
        registry.OpenKey(kSettingsKey, true);
        registry.WriteFloat("RealTimeRate", s.gRealTimeRate);
        registry.WriteInteger("LxLangIndex", s.gLanguageIndex);
        if (registry.Flush(&reason))
            return true;
    } catch (const rtl::Exception &e) {
        reason = e.Message();
    }
    SetError(error, reason);
    return false;
}

bool EnsureFolder(const QString &folder, QString *error)
{
    QString reason;
    if (ui::MakeFolder(folder, &reason))
        return true;
    if (error)
        *error = QStringLiteral("Cannot create folder \"%1\". %2").arg(folder, reason);
    return false;
}

bool WriteLanguageFile(const QString &workingFolder, int languageIndex, QString *error)
{
    // Every write and the flush are checked before the rename (a buffered
    // QSaveFile can report a commit after a failed write).
    const QByteArray line = QByteArray::number(languageIndex) + "\r\n";
    const QString fileName = ui::JoinPath(workingFolder, QStringLiteral("language.txt"));
    std::string reason;
    if (rtl::TryWriteFileAtomically(QFile::encodeName(fileName).toStdString(), line.constData(),
                                    static_cast<size_t>(line.size()), &reason))
        return true;
    SetError(error, reason);
    return false;
}

QString LanguageSetupProgram()
{
    const QString path = ui::ProgramFile(QStringLiteral("SetupLanguage"));
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable() ? path : QString();
}

} // namespace app
