// Numbers as text in the locale's format settings, and the level text of the
// program's windows.
#pragma once

#include "platform/rtl/format_settings.h"

#include <string>

namespace rtl {

// Numbers in text with the settings' decimal separator. FloatToStr gives at
// most 15 significant digits without trailing zeros ("1E-5" and "1E20" beyond
// the fixed range); FormatFloatFixed rounds halves away from zero like
// LevelText; TryStrToFloat accepts surrounding blanks and nothing else.
std::string FloatToStr(double v, const TFormatSettings &settings = FormatSettings());
std::string FormatFloatFixed(double v, int decimals,
                             const TFormatSettings &settings = FormatSettings());
bool TryStrToFloat(const std::string &s, double &out,
                   const TFormatSettings &settings = FormatSettings());

// A level in dB with one decimal and the settings' decimal separator, ties
// rounded away from zero: 63.25 -> "63.3", -0.05 -> "-0.1". A tie is judged
// on the shortest decimal text that reads back as the same double (the value
// "as written"), so 1.15 and 0.35, stored a hair below the tie, still round
// up to "1.2" and "0.4", and 63.2499999 stays "63.2". At most 7 significant
// digits; "-0.0" is never shown.
std::string LevelText(double db, const TFormatSettings &settings = FormatSettings());

} // namespace rtl
