// The three small modal dialogs: their results, their stored layout, the
// date-time pickers as date-time values, and their globals.
#include "views/show_modal.h"
#include "views/small_dialogs.h"

#include "i18n/lx_comp.h"
#include "platform/ui/string_grid.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimeEdit>

#include <gtest/gtest.h>

#include <cmath>

using namespace views;

namespace {
template <class D> ui::TModalResult Answer(D &dialog, std::function<void(D &)> act)
{
    TModalRunnerScope runner([&](QDialog &d) {
        act(static_cast<D &>(d));
        return d.result();
    });
    return ShowModal(dialog);
}
} // namespace

TEST(SmallDialogs, ButtonsGiveTheirModalResults)
{
    TfrmAnnoEdit edit(nullptr);
    EXPECT_EQ(Answer<TfrmAnnoEdit>(edit,
                                   [](TfrmAnnoEdit &d) {
                                       d.Edit1->setText(QStringLiteral("peak"));
                                       d.BitBtn1->click();
                                   }),
              ui::mrOk);
    EXPECT_EQ(edit.Edit1->text(), QStringLiteral("peak")); // read after OK
    EXPECT_EQ(Answer<TfrmAnnoEdit>(edit, [](TfrmAnnoEdit &d) { d.BitBtn2->click(); }),
              ui::mrCancel);
    EXPECT_EQ(Answer<TfrmAnnoEdit>(edit, [](TfrmAnnoEdit &d) { d.close(); }), ui::mrCancel);

    TfrmDelAnno del(nullptr);
    EXPECT_EQ(Answer<TfrmDelAnno>(del,
                                  [](TfrmDelAnno &d) {
                                      d.BitBtn1->setEnabled(true);
                                      d.BitBtn1->click();
                                  }),
              ui::mrOk);
    TfrmDateTime dt(nullptr);
    EXPECT_EQ(Answer<TfrmDateTime>(dt, [](TfrmDateTime &d) { d.BitBtn2->click(); }), ui::mrCancel);
}

TEST(SmallDialogs, EraseListStartsEmptyWithDeleteDisabled)
{
    TfrmDelAnno del(nullptr);
    EXPECT_EQ(del.windowTitle(), QStringLiteral("Erase Annotation"));
    EXPECT_FALSE(del.BitBtn1->isEnabled());
    EXPECT_EQ(del.BitBtn1->text(), QStringLiteral("Delete"));
    EXPECT_EQ(del.StringGrid1->ColCount(), 3);
    EXPECT_EQ(del.StringGrid1->RowCount(), 2);
    EXPECT_EQ(del.StringGrid1->FixedRows(), 1);
    EXPECT_EQ(del.StringGrid1->Options() & (ui::goRowSelect | ui::goRangeSelect),
              ui::goRowSelect | ui::goRangeSelect);
}

TEST(SmallDialogs, DateAndTimePickersAsDateTimeValues)
{
    TfrmDateTime dt(nullptr);
    EXPECT_EQ(dt.windowTitle(), QStringLiteral("Date Time"));
    EXPECT_EQ(dt.Label2->text(), QStringLiteral("is not valid, Please correct it."));
    EXPECT_TRUE(dt.Label1->text().isEmpty());

    const rtl::TDateTime leapDay = rtl::EncodeDate(2024, 2, 29);
    dt.SetDate(leapDay + 0.75); // the time part is not the date's
    EXPECT_EQ(dt.Date(), leapDay);
    dt.SetTime(rtl::EncodeTime(23, 59, 59, 0));
    EXPECT_NEAR(dt.Time(), rtl::EncodeTime(23, 59, 59, 0), 1e-9);
    dt.SetTime(leapDay + rtl::EncodeTime(6, 30, 0, 0)); // a whole date-time: its time of day
    EXPECT_NEAR(dt.Time(), rtl::EncodeTime(6, 30, 0, 0), 1e-9);
    // A date before 1899-12-30 is a negative day number.
    dt.SetDate(rtl::EncodeDate(1899, 12, 1));
    EXPECT_EQ(dt.Date(), rtl::EncodeDate(1899, 12, 1));
}

TEST(SmallDialogs, AFreedDialogClearsItsGlobal)
{
    frmAnnoEdit = new TfrmAnnoEdit(nullptr);
    frmDelAnno = new TfrmDelAnno(nullptr);
    frmDateTime = new TfrmDateTime(nullptr);
    delete frmAnnoEdit;
    delete frmDelAnno;
    delete frmDateTime;
    EXPECT_EQ(frmAnnoEdit, nullptr);
    EXPECT_EQ(frmDelAnno, nullptr);
    EXPECT_EQ(frmDateTime, nullptr);
}

TEST(SmallDialogs, TranslatedIntoTheActiveLanguage)
{
    i18n::TlxLangDispatcher dispatcher(nullptr);
    dispatcher.SetNumOfLanguages(8);
    dispatcher.SetActiveLanguage(6); // Swedish
    {
        TfrmDelAnno del(&dispatcher);
        EXPECT_EQ(del.windowTitle(), QStringLiteral("Radera anteckning"));
        EXPECT_EQ(del.BitBtn2->text(), QStringLiteral("Avbryt"));
        TfrmDateTime dt(&dispatcher);
        EXPECT_EQ(dt.Label2->text(), QString::fromUtf8("är ogiltigt, rätta det."));
        TfrmAnnoEdit edit(&dispatcher);
        EXPECT_EQ(edit.BitBtn2->text(), QStringLiteral("Avbryt"));
    }
}
