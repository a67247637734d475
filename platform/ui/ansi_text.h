// Text at the Qt boundary: the system's 8-bit strings are Windows-1252, or
// in the code page of a language's font charset.
#pragma once

#include <QString>

#include <string>

namespace ui {

// Windows-1252 text to and from Qt; characters the code page lacks become '?'.
QString AnsiToQString(const std::string &text);
std::string QStringToAnsi(const QString &text);

// The same in the code page of a font charset (Windows-1252 for
// DEFAULT_CHARSET and charsets without a code page here).
QString CharsetToQString(const std::string &text, int charset);
std::string QStringToCharset(const QString &text, int charset);

} // namespace ui
