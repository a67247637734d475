// Text at the Qt boundary: the system's 8-bit strings are Windows-1252.
#pragma once

#include <QString>

#include <string>

namespace ui {

// Windows-1252 text to and from Qt; characters the code page lacks become '?'.
QString AnsiToQString(const std::string &text);
std::string QStringToAnsi(const QString &text);

} // namespace ui
