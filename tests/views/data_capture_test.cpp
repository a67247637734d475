// The LEQ record list: what a new window shows, and that it stays while a
// link operation writes into it.
#include "views/data_capture.h"

#include "meter/link_guard.h"
#include "platform/ui/string_grid.h"

#include <gtest/gtest.h>

using views::TfrmDataCapture;

TEST(DataCapture, NewWindowShowsHeadersWidthsAndNumberedEmptyRows)
{
    TfrmDataCapture form(nullptr);
    ui::TStringGrid *grid = form.Grid1;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("LEQ"));
    ASSERT_EQ(grid->ColCount(), 6);
    ASSERT_EQ(grid->RowCount(), 101);
    EXPECT_EQ(grid->RowTexts(0),
              (QStringList{"No", "Value", "Time", "LEQ period(hh:mm:ss)", "dBA/dBC", "FAST/SLOW"}));
    const int widths[6] = {64, 64, 160, 180, 100, 100};
    for (int c = 0; c < 6; ++c)
        EXPECT_EQ(grid->ColWidth(c), widths[c]) << c;
    EXPECT_EQ(grid->Cell(0, 1), QStringLiteral("01"));
    EXPECT_EQ(grid->Cell(0, 9), QStringLiteral("09"));
    EXPECT_EQ(grid->Cell(0, 10), QStringLiteral("10"));
    EXPECT_EQ(grid->Cell(0, 100), QStringLiteral("100"));
    for (int r = 1; r <= 100; ++r)
        for (int c = 1; c < 6; ++c)
            ASSERT_TRUE(grid->Cell(c, r).isEmpty()) << c << "," << r;
    EXPECT_TRUE(grid->Options() & ui::goColSizing);
}

TEST(DataCapture, CloseWaitsForTheLoadThatWritesIntoItAndThenClearsTheGlobal)
{
    auto *form = new TfrmDataCapture(nullptr);
    views::gDataCaptureForm = form;
    form->show();
    meter::TLinkGuard &guard = meter::TLinkGuard::Instance();
    ASSERT_TRUE(guard.TryAcquire("LEQ-record load"));
    guard.Protect(form);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(views::gDataCaptureForm, form);
    guard.Release();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(views::gDataCaptureForm, nullptr);
    delete form;
}
