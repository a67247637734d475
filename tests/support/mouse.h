// Mouse input sent straight to a widget, at points in its own coordinates: one event, a left
// click (or a double click) and a drag with the left button held.
#pragma once

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace testsupport {

inline void SendMouse(QWidget &w, QEvent::Type type, QPoint at, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QMouseEvent e(type, QPointF(at), QPointF(w.mapToGlobal(at)), button, buttons, mods);
    QApplication::sendEvent(&w, &e);
}

// Press and release; twice: then the double click and its release as well.
inline void LeftClick(QWidget &w, QPoint at, bool twice = false,
                      Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    SendMouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, mods);
    SendMouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, mods);
    if (twice) {
        SendMouse(w, QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton, mods);
        SendMouse(w, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, mods);
    }
}

inline void LeftDrag(QWidget &w, QPoint from, QPoint to)
{
    SendMouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

} // namespace testsupport
