// The screen cursor.
#include "platform/ui/cursor.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace ui;

TEST(ScreenCursor, ScopesRestoreAndLeaveNoOverrideBehind)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        TCursorScope wait;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            TCursorScope cross(crCross);
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
        }
        EXPECT_EQ(ScreenCursor(), crHourGlass);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        SetScreenCursor(crHourGlass); // the same again stacks nothing
        TCursorScope unknown(12345);  // a number without a shape shows the arrow
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::ArrowCursor);
    }
    EXPECT_EQ(ScreenCursor(), crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
