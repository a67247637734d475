// TlxLangLinked: the translation component on every window but the main
// one. It has no DlgsCaptions and no Locales of its own in its stored data;
// it may take them from a common container component.
#pragma once

#include "i18n/lx_comp.h"

namespace i18n {

class TlxLangLinked : public TlxCustomLang {
    RTL_DECLARE_CLASS(TlxLangLinked)
public:
    explicit TlxLangLinked(rtl::TComponent *owner);

    TlxCustomLang *CommonContainer() const { return FCommonContainer; }
    // Ignored for the component itself; re-runs Loaded unless loading.
    void SetCommonContainer(TlxCustomLang *container);

    void Loaded() override;

protected:
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

private:
    TlxCustomLang *FCommonContainer = nullptr;
};

// The translation component class names, in the order the engine knows them.
extern const char *const kLangClassNames[5];

// Registers the translation component classes with the class registry
// (classes registered already are left as they are). Runs by itself when the
// first TlxLangLinked is created; the program may call it at start.
void RegisterLangClasses();

} // namespace i18n
