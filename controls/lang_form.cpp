#include "controls/lang_form.h"

#include "platform/ui/ansi_text.h"

namespace controls {

i18n::TlxCustomLang *LangOf(const QWidget *window)
{
    ui::TFormAdapter *form = ui::FormComponentOf(window);
    if (!form)
        return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto *lang = dynamic_cast<i18n::TlxCustomLang *>(form->Components(i)))
            return lang;
    return nullptr;
}

QString StringById(i18n::TlxCustomLang *lang, const std::string &id)
{
    return lang ? ui::CharsetToQString(lang->GetStringById(id), lang->ActiveCharset()) : QString();
}

} // namespace controls
