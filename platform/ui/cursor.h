// The screen cursor with the class library's cursor numbers, and the mouse
// pointer's position.
#pragma once

#include <QCursor>
#include <QPoint>

namespace ui {

using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;

// The Qt cursor of a cursor number; a number without a cursor gives the arrow.
QCursor ToQCursor(TCursor cursor);

// Screen.Cursor: crDefault lets every window show its own cursor again; any
// other value is shown over the whole program.
TCursor ScreenCursor();
void SetScreenCursor(TCursor cursor);

// Shows a cursor (crHourGlass by default) over the program while it lives and
// puts the previous screen cursor back.
class TCursorScope {
public:
    explicit TCursorScope(TCursor cursor = crHourGlass);
    ~TCursorScope();
    TCursorScope(const TCursorScope &) = delete;
    TCursorScope &operator=(const TCursorScope &) = delete;

private:
    TCursor FPrevious;
};

// The mouse pointer in screen coordinates.
QPoint CursorPos();
void SetCursorPos(const QPoint &screenPos);

} // namespace ui
