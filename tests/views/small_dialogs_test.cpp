// The small modal dialogs: the results their buttons give and the date-time
// pickers read as date-time values (that a closed dialog clears its global:
// the graph window's and the main window's tests).
#include "views/show_modal.h"
#include "views/small_dialogs.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace views;

namespace {
ui::TModalResult Answer(QDialog &dialog, const std::function<void()> &act)
{
    TModalRunnerScope runner([&](QDialog &d) {
        act();
        return d.result();
    });
    return ShowModal(dialog);
}
} // namespace

TEST(SmallDialogs, ButtonsAndTheCloseBoxGiveTheirModalResults)
{
    TfrmAnnoEdit edit(nullptr);
    EXPECT_EQ(Answer(edit,
                     [&] {
                         edit.Edit1->setText(QStringLiteral("peak"));
                         edit.BitBtn1->click();
                     }),
              ui::mrOk);
    EXPECT_EQ(edit.Edit1->text(), QStringLiteral("peak"));
    EXPECT_EQ(Answer(edit, [&] { edit.BitBtn2->click(); }), ui::mrCancel);
    EXPECT_EQ(Answer(edit, [&] { edit.close(); }), ui::mrCancel);

    TfrmDelAnno del(nullptr);
    EXPECT_FALSE(del.BitBtn1->isEnabled()); // until the caller lists a row
    EXPECT_EQ(Answer(del,
                     [&] {
                         del.BitBtn1->setEnabled(true);
                         del.BitBtn1->click();
                     }),
              ui::mrOk);
}

TEST(SmallDialogs, PickersReadAsDateAndTimeOfDay)
{
    TfrmDateTime dt(nullptr);
    const rtl::TDateTime leapDay = rtl::EncodeDate(2024, 2, 29);
    dt.SetDate(leapDay + 0.75); // the time part is not the date's
    EXPECT_EQ(dt.Date(), leapDay);
    dt.SetTime(leapDay + rtl::EncodeTime(23, 59, 59, 0)); // only the time of day counts
    EXPECT_NEAR(dt.Time(), rtl::EncodeTime(23, 59, 59, 0), 1e-9);
    dt.SetDate(rtl::EncodeDate(1899, 12, 1)); // before day 0: a negative number
    EXPECT_EQ(dt.Date(), rtl::EncodeDate(1899, 12, 1));
}
