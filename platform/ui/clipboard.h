// Clipboard text.
#pragma once

#include <QString>

namespace ui {

void SetClipboardText(const QString &text);
QString ClipboardText(); // empty when the clipboard holds no text

} // namespace ui
