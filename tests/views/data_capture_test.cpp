// The LEQ record list: what a new window shows, and that it stays while a
// link operation writes into it.
#include "views/data_capture.h"

#include "meter/link_guard.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services_script.h"

#include <gtest/gtest.h>

TEST(DataCapture, NumberedEmptyRowsAndNoCloseWhileALoadWritesIntoIt)
{
    ui::TScriptedUIServices services;
    ui::TServicesScope scope{services};
    auto *form = new views::TfrmDataCapture(nullptr);
    views::gDataCaptureForm = form;
    ui::TStringGrid *grid = form->Grid1;
    ASSERT_EQ(grid->ColCount(), 6);
    ASSERT_EQ(grid->RowCount(), 101);
    EXPECT_EQ(grid->Cell(0, 9) + grid->Cell(0, 10) + grid->Cell(0, 100), "0910100");
    EXPECT_TRUE(grid->Cell(1, 1).isEmpty());

    form->show();
    meter::TLinkGuard &guard = meter::TLinkGuard::Instance();
    ASSERT_TRUE(guard.TryAcquire("LEQ-record load"));
    guard.Protect(form);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(services.MessageTexts(),
              QStringList{"The meter is busy with a transfer. Please wait until it has ended."});
    guard.Release();
    EXPECT_TRUE(form->close());
    EXPECT_EQ(views::gDataCaptureForm, nullptr);
    delete form;
}
