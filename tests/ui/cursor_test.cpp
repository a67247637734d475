// The screen cursor.
#include "platform/ui/cursor.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

using namespace ui;

TEST(ScreenCursor, NumbersMapToShapesAndUnknownOnesToTheArrow)
{
    EXPECT_EQ(ToQCursor(crHourGlass).shape(), Qt::WaitCursor);
    EXPECT_EQ(ToQCursor(crCross).shape(), Qt::CrossCursor);
    EXPECT_EQ(ToQCursor(crArrow).shape(), Qt::ArrowCursor);
    EXPECT_EQ(ToQCursor(12345).shape(), Qt::ArrowCursor);
    EXPECT_EQ(ToQCursor(-99).shape(), Qt::ArrowCursor);
}

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
    }
    EXPECT_EQ(ScreenCursor(), crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
