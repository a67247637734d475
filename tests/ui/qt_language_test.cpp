// Qt's own dialogs follow the program's language where Qt has its texts.
#include "platform/ui/qt_language.h"

#include <QDialogButtonBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

QString CancelText()
{
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    return box.button(QDialogButtonBox::Cancel)->text().remove(QLatin1Char('&'));
}

TEST(QtDialogLanguage, FollowsTheProgramsLanguageAndFallsBackToEnglish)
{
    EXPECT_TRUE(ui::SetQtDialogLanguage(3)) << "qt6-translations-l10n is missing";
    EXPECT_EQ(CancelText(), QStringLiteral("Abbrechen"));
    EXPECT_TRUE(ui::SetQtDialogLanguage(2));
    EXPECT_EQ(CancelText(), QStringLiteral("Annuler"));
    // Qt has no Swedish: its dialogs go back to English.
    EXPECT_FALSE(ui::SetQtDialogLanguage(6));
    EXPECT_EQ(CancelText(), QStringLiteral("Cancel"));
    EXPECT_TRUE(ui::SetQtDialogLanguage(7));
    EXPECT_FALSE(ui::SetQtDialogLanguage(1));
    EXPECT_EQ(CancelText(), QStringLiteral("Cancel"));
    EXPECT_FALSE(ui::SetQtDialogLanguage(0));
}

} // namespace
