// The form the translation-file fuzz targets load components on, and a
// translation component made on it as a window makes one.
#pragma once

#include "platform/rtl/classes.h"

namespace fuzzform {

class TfrmFuzz : public rtl::TComponent {
    RTL_DECLARE_CLASS(TfrmFuzz)
public:
    using rtl::TComponent::TComponent;
};
inline RTL_IMPLEMENT_CLASS(TfrmFuzz, rtl::TComponent)

template <class L> L *MakeLang(rtl::TComponent *form, int languages)
{
    auto *lang = new L(form);
    lang->Loading();
    lang->SetNumOfLanguages(languages);
    lang->Loaded();
    return lang;
}

} // namespace fuzzform
