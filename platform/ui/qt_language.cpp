#include "platform/ui/qt_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <iterator>
#include <memory>

namespace ui {

namespace {
std::unique_ptr<QTranslator> gQtTranslator;
}

bool SetQtDialogLanguage(int languageIndex)
{
    static const char *const codes[] = {"en", "fr", "de", "it", "es", "sv", "fi", "da"};
    if (gQtTranslator) {
        QCoreApplication::removeTranslator(gQtTranslator.get());
        gQtTranslator.reset();
    }
    if (languageIndex < 2 || languageIndex > int(std::size(codes)))
        return false; // English, or no language of the program
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + QLatin1String(codes[languageIndex - 1]),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return false;
    QCoreApplication::installTranslator(translator.get());
    gQtTranslator = std::move(translator);
    return true;
}

} // namespace ui
