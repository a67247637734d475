// The stored translation data ("TranslationData") of a window, as compiled
// at build time from resources/lang/<FormClass>.txt by the CMake function
// nivora_translations() (cmake/NivoraTranslations.cmake) and embedded as the
// Qt resource ":/lang/<FormClass>.lxd".
//
//     auto *form = ui::CreateFormComponent(this, "TfrmMain");
//     auto *lang = controls::LoadFormTranslation<i18n::TlxLang>(
//         form, dispatcher, i18n::kLanguageCount, controls::TranslationData("TfrmMain"));
#pragma once

#include <string>

namespace controls {

// Resource path of a window's stored translation data.
std::string TranslationDataPath(const std::string &formClass);
// The stored bytes; empty when the program holds none for that window.
std::string TranslationData(const std::string &formClass);

} // namespace controls
