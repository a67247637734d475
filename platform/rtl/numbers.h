// Numbers as text in the locale's format settings, and the level text of the
// program's windows.
#pragma once

#include "platform/rtl/format_settings.h"

#include <string>

namespace rtl {

// Numbers in text with the settings' decimal separator. FloatToStr gives at
// most 15 significant digits without trailing zeros ("1E-5" and "1E20" beyond
// the fixed range); FormatFloatFixed rounds the exact value like LevelText; TryStrToFloat accepts
// surrounding blanks and nothing else.
std::string FloatToStr(double v, const TFormatSettings &settings = FormatSettings());
std::string FormatFloatFixed(double v, int decimals,
                             const TFormatSettings &settings = FormatSettings());
bool TryStrToFloat(const std::string &s, double &out,
                   const TFormatSettings &settings = FormatSettings());

// A level in dB with one decimal and the settings' decimal separator: the
// fixed format with 7 significant digits, rounded on the exact binary value
// the double holds. 63.25 is a true tie and goes away from zero ("63.3");
// 0.15 and 1263 / 20 are stored a hair below the tie and give "0.1" and
// "63.1". A single-precision level is widened first, so 63.15f (a hair above)
// gives "63.2". "-0.0" is never shown.
std::string LevelText(double db, const TFormatSettings &settings = FormatSettings());

} // namespace rtl
