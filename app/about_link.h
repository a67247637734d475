// The main window's use of the About box: as the start-up splash and from
// the Help menu.
#pragma once

class QWidget;

namespace i18n {
class TlxLangDispatcher;
}

namespace app {

// Makes the splash (frmAbout) with its button hidden and paints it at once.
void ShowSplash(i18n::TlxLangDispatcher *dispatcher);
// Clears the splash's Label4 and closes it (it frees itself); harmless
// when there is none.
void CloseSplash();
// The About box of the Help menu (gAboutForm), shown modally.
void ShowAboutBox(i18n::TlxLangDispatcher *dispatcher, QWidget *owner);
// Whether the splash is up.
bool SplashShown();

} // namespace app
