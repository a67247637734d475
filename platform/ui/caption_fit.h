// Dialogs wide enough for their caption. A window manager shortens a
// caption its title bar cannot hold ("About Nivora Fo... nd Level Meter"),
// down to "..." on a narrow message box.
#pragma once

class QWidget;

namespace ui {

// The width a window needs for its title bar to show the whole caption: the
// caption in a bold title font (the desktop's title font or the window's
// font, the larger), and room for the window menu's icon and the three
// buttons of a title bar. No wider than the window's screen.
int CaptionWidth(const QWidget &window);

// Makes a dialog at least CaptionWidth wide. A dialog with a layout gets the
// width through its layout, so that one that sizes itself (a layout of fixed
// size, a message box) keeps it; a dialog of fixed size stays fixed at the
// new width. Call it again after a change of caption.
void FitCaption(QWidget &window);

} // namespace ui
