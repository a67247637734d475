// The program's interface languages: English, French, German, Italian,
// Spanish, Swedish, Finnish, Danish. Their count is the one the translation
// sources' columns, the Language menu and every window's translation
// component are made for, and the one the main window's stored dispatcher
// holds (NumOfLanguages); every other use derives from it.
#pragma once

namespace i18n {

inline constexpr int kLanguageCount = 8;

} // namespace i18n
