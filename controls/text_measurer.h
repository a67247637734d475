// The width measure the translation engine's test mode uses to widen
// untranslated texts: the text in "Tahoma" 8 points on the screen (the
// nearest font the system has), in pixels.
#pragma once

#include <string>

namespace controls {

// Text is Windows-1252, as the engine holds it.
int ScreenTextWidth(const std::string &text);

// Makes the engine measure with ScreenTextWidth; the program calls it once
// its application object exists.
void InstallTestModeMeasurer();

} // namespace controls
