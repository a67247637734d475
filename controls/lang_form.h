// The loading protocol of a window's translation component, and the string
// look-up the windows use.
//
// A window builds its widgets (each with its component name as object name),
// then:
//
//     auto *form = ui::CreateFormComponent(this, "TfrmAbout");
//     FLang = controls::LoadFormTranslation<i18n::TlxLangLinked>(
//         form, dispatcher, i18n::kLanguageCount, controls::TranslationData("TfrmAbout"));
//     FormCreate(); // the window's own create handler, only now
//
// and later looks up its message texts with controls::StringById(FLang, id),
// id being "IDS_" and a number.
#pragma once

#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"
#include "platform/ui/component_adapters.h"

#include <QString>

#include <string>

class QWidget;

namespace controls {

// Creates the translation component of type L owned by form, marks it
// loading, sets NumOfLanguages and LangDispatcher, reads the stored
// "TranslationData" and ends loading. Ending loading builds the key index,
// links to the dispatcher and translates the form into the dispatcher's
// language. The form's widgets take and give their texts in the charset of
// the component's active language. Returns the component (owned by form).
template <class L = i18n::TlxLangLinked>
L *LoadFormTranslation(ui::TFormAdapter *form, i18n::TlxLangDispatcher *dispatcher,
                       int numLanguages, const std::string &translationData)
{
    auto *lang = new L(form);
    form->SetTextCharsetSource(lang, [lang] { return lang->ActiveCharset(); });
    const std::string name = std::string(L::StaticClassInfo().Name).substr(1) + "1";
    if (!form->FindComponent(name))
        lang->SetName(name);
    lang->Loading();
    lang->SetNumOfLanguages(numLanguages);
    lang->SetLangDispatcher(dispatcher);
    lang->ReadTranslationData(translationData);
    lang->Loaded();
    return lang;
}

// The translation component of a window; nullptr when it has none.
i18n::TlxCustomLang *LangOf(const QWidget *window);

// Text of string id in the active language (see TlxCustomLang::GetStringById)
// as Qt text, read in the language's charset; empty for a null component.
QString StringById(i18n::TlxCustomLang *lang, const std::string &id);

} // namespace controls
