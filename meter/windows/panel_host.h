// What the front panel needs from the main window that owns it: the key
// link, the digit glyphs, the translation dispatcher, and the few main
// window items the panel switches.
#pragma once

#include "meter/link.h"

#include <QPixmap>

#include <array>
#include <cstdint>

namespace i18n {
class TlxLangDispatcher;
}

namespace meter {

class TfrmPanel;

constexpr int DigitGlyphCount = 18;

// The LCD glyph sets: gLargeDigits ("LCD0".."LCD17", 30 x 51) and
// gSmallDigits ("LCDS0".."LCDS17", 9 x 15). 0..9 are the digits, 10..17
// blank.
struct TDigitGlyphs {
    std::array<QPixmap, DigitGlyphCount> gLargeDigits;
    std::array<QPixmap, DigitGlyphCount> gSmallDigits;
};

class TPanelHost {
public:
    virtual ~TPanelHost() = default;
    // A panel key through the link (ignored while a link operation runs).
    virtual TKeyResult PanelKey(uint8_t key) = 0;
    virtual const TDigitGlyphs &Glyphs() const = 0;
    virtual i18n::TlxLangDispatcher *LangDispatcher() = 0;
    // True while a MaxMinTimer tick updates the panel (gPanelUpdating).
    virtual bool PanelUpdating() const = 0;
    // The panel became the active window: btnOutputToGraph is disabled.
    virtual void PanelActivated() = 0;
    // The panel closes and frees itself: gPanel is cleared and the menu item
    // ControlPanel1 unchecked.
    virtual void PanelClosed(TfrmPanel *panel) = 0;
};

} // namespace meter
