#include "chart/control/gx_chart_control_impl.h"

#include <QKeyEvent>

namespace gxcontrol {

std::uint32_t KeysOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    std::uint32_t k = 0;
    if (buttons & Qt::LeftButton)
        k |= msg::MK_LBUTTON;
    if (buttons & Qt::RightButton)
        k |= msg::MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        k |= msg::MK_MBUTTON;
    if (mods & Qt::ShiftModifier)
        k |= msg::MK_SHIFT;
    if (mods & Qt::ControlModifier)
        k |= msg::MK_CONTROL;
    return k;
}

TShiftState ShiftOf(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    TShiftState s = 0;
    if (mods & Qt::ShiftModifier)
        s |= ssShift;
    if (mods & Qt::AltModifier)
        s |= ssAlt;
    if (mods & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

std::uint16_t VirtualKey(int key)
{
    switch (key) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    default:
        break;
    }
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return std::uint16_t(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return std::uint16_t(0x70 + (key - Qt::Key_F1));
    return 0;
}

} // namespace gxcontrol
