#include "meter/windows/form_texts.h"

#include "platform/rtl/codepage.h"
#include "platform/ui/locale_settings.h"

#include <QFile>

namespace meter {

bool ParseFormTexts(const QString &source, char delimiter, TFormTexts &texts, QString &error)
{
    TFormTexts parsed;
    int section = -1;
    const QStringList lines = source.split(QLatin1Char('\n'));
    for (int n = 0; n < lines.size(); ++n) {
        QString line = lines[n];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QString where = QStringLiteral("line %1: ").arg(n + 1);
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const std::string name = ui::QStringToAnsi(line.mid(1, line.size() - 2));
            section = -1;
            for (int t = 0; t < i18n::kStringsTypeCount; ++t)
                if (rtl::AnsiSameText(std::string(i18n::StringsTypeName(t)).substr(2), name))
                    section = t;
            if (section < 0) {
                error = where + QStringLiteral("unknown section ") + line;
                return false;
            }
            continue;
        }
        if (section < 0) {
            error = where + QStringLiteral("row outside a section");
            return false;
        }
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != kLanguageCount + 1) {
            error = where + QStringLiteral("%1 fields instead of %2")
                                .arg(fields.size())
                                .arg(kLanguageCount + 1);
            return false;
        }
        std::string row;
        for (const QString &field : fields) {
            const std::string text = ui::QStringToAnsi(field);
            if (text.find(delimiter) != std::string::npos || fields[0].isEmpty()) {
                error = where + QStringLiteral("empty key or a text holding the delimiter");
                return false;
            }
            row += text;
            row += delimiter;
        }
        parsed.Tables[static_cast<size_t>(section)].push_back(std::move(row));
    }
    texts = std::move(parsed);
    return true;
}

QString ReadFormTextsSource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

} // namespace meter
