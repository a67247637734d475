#include "platform/ui/cursor.h"

#include <QGuiApplication>

namespace ui {

namespace {

TCursor gScreenCursor = crDefault;

Qt::CursorShape ShapeOf(TCursor cursor)
{
    switch (cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

QCursor ToQCursor(TCursor cursor)
{
    return QCursor(ShapeOf(cursor));
}

TCursor ScreenCursor()
{
    return gScreenCursor;
}

void SetScreenCursor(TCursor cursor)
{
    if (cursor == gScreenCursor)
        return;
    // At most one override cursor of ours is on the stack.
    if (gScreenCursor != crDefault)
        QGuiApplication::restoreOverrideCursor();
    gScreenCursor = cursor;
    if (cursor != crDefault)
        QGuiApplication::setOverrideCursor(ToQCursor(cursor));
}

TCursorScope::TCursorScope(TCursor cursor) : FPrevious(gScreenCursor)
{
    SetScreenCursor(cursor);
}

TCursorScope::~TCursorScope()
{
    SetScreenCursor(FPrevious);
}

QPoint CursorPos()
{
    return QCursor::pos();
}

void SetCursorPos(const QPoint &screenPos)
{
    QCursor::setPos(screenPos);
}

} // namespace ui
