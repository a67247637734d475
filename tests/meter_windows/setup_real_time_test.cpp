// The real-time set-up dialog: what it opens with, the period it shows while
// either field is edited, the rates Start refuses, and its translation.
#include "meter/windows/setup_real_time.h"

#include "i18n/base/lx_languages.h"
#include "i18n/lx_comp.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/ui_services_script.h"

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using meter::TfrmSetupRealTime;

namespace {

class SetupRealTimeTest : public ::testing::Test {
protected:
    ui::TScriptedUIServices services;
    ui::TServicesScope scope{services};

    SetupRealTimeTest() { rtl::SetFormatSettings(rtl::CLikeFormatSettings()); }
};

// What a user does: types over a field's text, or steps through a list.
void TypeOver(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
    }
}
void PressDown(QComboBox *box)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
}

} // namespace

TEST_F(SetupRealTimeTest, OpensWithTheCallersFieldsUntilOneChanges)
{
    TfrmSetupRealTime dialog(nullptr);
    EXPECT_EQ(dialog.CountText(), "2000");
    EXPECT_EQ(dialog.RateText(), "0.5");
    EXPECT_FALSE(dialog.Panel1->isEnabled()) << "the period cannot be edited";
    EXPECT_TRUE(dialog.windowFlags() & Qt::WindowStaysOnTopHint);

    dialog.txtRate->setEditText(QStringLiteral("2.0"));
    dialog.edtPeriod->setText(QStringLiteral("1:0:0"));
    dialog.show();
    EXPECT_EQ(dialog.txtRate->currentText(), QStringLiteral("2.0"));
    EXPECT_EQ(dialog.edtPeriod->text(), QStringLiteral("1:0:0"));

    // What the program writes leaves the period alone.
    dialog.edtRealTimeNo->setText(QStringLiteral("99999"));
    dialog.txtRate->setCurrentIndex(5);
    EXPECT_EQ(dialog.edtPeriod->text(), QStringLiteral("1:0:0"));

    // The user's edits of either field recompute it (its rules are the
    // meter's, tested there).
    dialog.txtRate->setCurrentIndex(4);
    PressDown(dialog.txtRate); // 30.0
    EXPECT_EQ(dialog.edtPeriod->text(), QStringLiteral("833:19:30"));
    TypeOver(dialog.edtRealTimeNo, QStringLiteral("2000"));
    EXPECT_EQ(dialog.edtPeriod->text(), QStringLiteral("16:40:00"));
    // A rate that does not read: no period, and no error.
    TypeOver(dialog.txtRate->lineEdit(), QStringLiteral("0.3x"));
    EXPECT_EQ(dialog.edtPeriod->text(), QStringLiteral("0:00:00"));
    // The mask keeps the count to five digits.
    dialog.edtRealTimeNo->setText(QStringLiteral("1234567"));
    EXPECT_EQ(dialog.CountText(), "12345");
}

TEST_F(SetupRealTimeTest, StartClosesOnlyForARateARunCanUse)
{
    TfrmSetupRealTime dialog(nullptr);
    dialog.show();
    for (const char *rate : {"abc", "0", "86401"}) {
        dialog.txtRate->setEditText(QString::fromLatin1(rate));
        dialog.btnOpenSingleSet->click();
        EXPECT_TRUE(dialog.isVisible()) << rate;
        EXPECT_EQ(dialog.result(), ui::mrNone) << rate;
        ASSERT_FALSE(services.Calls().empty());
        EXPECT_EQ(services.Calls().back().Text, QString::fromLatin1(rate) + " is not valid.\n");
    }
    dialog.txtRate->setEditText(QStringLiteral("86400"));
    dialog.btnOpenSingleSet->click();
    EXPECT_EQ(dialog.result(), ui::mrOk);

    dialog.show();
    dialog.Button1->click();
    EXPECT_EQ(dialog.result(), ui::mrCancel);
}

TEST_F(SetupRealTimeTest, SpeaksTheDispatchersLanguage)
{
    i18n::TlxLangDispatcher dispatcher(nullptr);
    dispatcher.SetNumOfLanguages(i18n::kLanguageCount);
    dispatcher.SetActiveLanguage(3);
    TfrmSetupRealTime dialog(&dispatcher);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Echtzeit-Einstellungen"));

    // The global that held the dialog is cleared when it goes.
    meter::frmSetupRealTime = new TfrmSetupRealTime(&dispatcher);
    delete meter::frmSetupRealTime;
    EXPECT_EQ(meter::frmSetupRealTime, nullptr);
}
