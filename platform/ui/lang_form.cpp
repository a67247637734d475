#include "platform/ui/lang_form.h"

#include <QVariant>
#include <QWidget>

namespace ui {

namespace {
const char *const kFormProperty = "nivoraFormComponent";
} // namespace

TFormAdapter *CreateFormComponent(QWidget *window, const std::string &className)
{
    auto *form = new TFormAdapter(window, className);
    form->AdaptChildren();
    if (window)
        window->setProperty(kFormProperty, QVariant::fromValue(static_cast<void *>(form)));
    return form;
}

TFormAdapter *FormComponentOf(const QWidget *window)
{
    if (!window)
        return nullptr;
    QVariant v = window->property(kFormProperty);
    return v.isValid() ? static_cast<TFormAdapter *>(v.value<void *>()) : nullptr;
}

i18n::TlxCustomLang *LangOf(const QWidget *window)
{
    TFormAdapter *form = FormComponentOf(window);
    if (!form)
        return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto *lang = dynamic_cast<i18n::TlxCustomLang *>(form->Components(i)))
            return lang;
    return nullptr;
}

QString StringById(i18n::TlxCustomLang *lang, const std::string &id)
{
    return lang ? AnsiToQString(lang->GetStringById(id)) : QString();
}

} // namespace ui
