// The user's locale as the class library's format settings, and the text
// conversions at the Qt boundary (8-bit text is Windows-1252).
#pragma once

#include "platform/rtl/datetime.h"
#include "platform/ui/ansi_text.h"

#include <QLocale>
#include <QString>

#include <string>

namespace ui {

// The format settings of a locale: separators, short and long date and time
// formats in the class library's specifiers, AM/PM texts, month and day
// names (Windows-1252). A separator the code page cannot hold as one
// character keeps the C-like setting; a narrow or no-break space becomes the
// no-break space 0xA0. The C locale gives rtl::CLikeFormatSettings().
rtl::TFormatSettings FormatSettingsFromLocale(const QLocale &locale);
// Fills the program-wide settings from the user's locale (QLocale(): the
// system locale unless QLocale::setDefault chose another).
void ApplyUserLocale();

// A Qt date or time format in the class library's specifiers: "dd.MM.yyyy"
// -> "dd/MM/yyyy" with the date separator '.' taken out, "HH:mm:ss" ->
// "hh:nn:ss", "h:mm:ss AP" -> "h:nn:ss AMPM". Letters that are no specifier
// are quoted; time-zone specifiers are left out. separator gets the first
// date (or time) separator found, or stays as it is when there is none.
std::string ConvertQtDateFormat(const QString &qtFormat, char &separator);
std::string ConvertQtTimeFormat(const QString &qtFormat, char &separator);

// The order of day, month and year in a short date format.
enum class TDateOrder { MDY, DMY, YMD };
TDateOrder GetDateOrder(const std::string &shortDateFormat);
// The order of the program-wide settings.
TDateOrder GetDateOrder();

} // namespace ui
