// The test mode of the dispatcher: untranslated texts of languages above 1
// show the language-1 text visibly altered. The dispatcher holds the
// settings; its components ask it whether the mode is on.
#pragma once

#include "platform/rtl/object.h"

#include <functional>
#include <string>

namespace i18n {

// The settings (the dispatcher's TestModeInfo). Published: Active,
// PaddingChar, ExpandCharsPercent, ExpandWidthPercent, Kind.
enum TTestModeKind { tmkExpandWidth, tmkFlipCase, tmkExpandChars };
class TTestModeInfo : public rtl::TPersistent {
    RTL_DECLARE_CLASS(TTestModeInfo)
public:
    bool Active = false;
    char PaddingChar = '*';
    int ExpandCharsPercent = 100;
    int ExpandWidthPercent = 100;
    TTestModeKind Kind = tmkExpandWidth;

    void Assign(const rtl::TPersistent &source) override;
};

// Measures the width of a text (Windows-1252) as the test mode's expand-width
// transformation sees it: in the font "Tahoma", size 8, on the screen. The
// program installs one that measures with the screen's fonts; without one a
// text is as wide as it has characters.
using TTextMeasurer = std::function<int(const std::string &text)>;
void SetTestModeTextMeasurer(TTextMeasurer measurer);
int MeasureTestModeText(const std::string &text);

// The test mode's form of text (see TTestModeKind).
std::string TestModeTransform(const TTestModeInfo &info, const std::string &text);

} // namespace i18n
