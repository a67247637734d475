#include "controls/translation_data.h"

#include <QFile>

namespace controls {

std::string TranslationDataPath(const std::string &formClass)
{
    return ":/lang/" + formClass + ".lxd";
}

std::string TranslationData(const std::string &formClass)
{
    QFile file(QString::fromStdString(TranslationDataPath(formClass)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

} // namespace controls
