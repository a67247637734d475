// The texts of Qt's own dialogs (print and page set-up, file dialogs, the
// standard buttons) in the program's language, from the Qt translations
// Debian ships (qt6-translations-l10n). A language Qt has no texts for, or
// an index outside 1..8, keeps Qt's English.
#pragma once

namespace ui {

// languageIndex 1..8: English, French, German, Italian, Spanish, Swedish,
// Finnish, Danish. True when Qt's texts of that language were installed.
bool SetQtDialogLanguage(int languageIndex);

} // namespace ui
