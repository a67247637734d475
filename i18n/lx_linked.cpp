#include "i18n/lx_linked.h"

#include "i18n/lx_published.h"

namespace i18n {

RTL_IMPLEMENT_PUBLISHED_CLASS(TlxLangLinked, TlxCustomLang)
{
    detail::PublishLangProperties(P, false);
    P.Object<TlxCustomLang>(
        "CommonContainer", [](TlxLangLinked &l) { return l.CommonContainer(); },
        [](TlxLangLinked &l, TlxCustomLang *v) { l.SetCommonContainer(v); });
}

const char *const kLangClassNames[5] = {"TlxLang", "TlxLangLinked", "TlxLangRT", "TlxLangRTSE",
                                        "TlxLangTLV"};

TlxLangLinked::TlxLangLinked(rtl::TComponent *owner) : TlxCustomLang(owner)
{
    // The translation classes are known to the class registry from the first
    // use on.
    static const bool registered = (RegisterLangClasses(), true);
    (void)registered;
}

void TlxLangLinked::Loaded()
{
    TlxCustomLang::Loaded();
    if (HasState(rtl::csDesigning)) {
        // Dialog and locale rows come from the container at run time only.
        DlgsCaptions().Clear();
        Locales().Clear();
        return;
    }
    if (!FCommonContainer)
        return;
    for (int type : {stDlgsCaptions, stLocales}) {
        rtl::TStringList &own = type == stDlgsCaptions ? DlgsCaptions() : Locales();
        // The container's rows, whichever variant it is.
        rtl::TStringList &theirs =
            type == stDlgsCaptions ? FCommonContainer->DlgsCaptions() : FCommonContainer->Locales();
        own.Clear();
        const char from = FCommonContainer->LangDelim();
        for (int i = 0; i < theirs.Count(); ++i) {
            std::string row = theirs.Strings(i);
            if (from != LangDelim())
                for (char &c : row)
                    if (c == from)
                        c = LangDelim();
            own.Add(row);
        }
    }
}

void TlxLangLinked::Notification(rtl::TComponent *component, rtl::TOperation operation)
{
    TlxCustomLang::Notification(component, operation);
    if (operation == rtl::opRemove && component == FCommonContainer)
        FCommonContainer = nullptr;
}

void TlxLangLinked::SetCommonContainer(TlxCustomLang *container)
{
    if (container == FCommonContainer || container == this)
        return;
    FCommonContainer = container;
    if (container)
        container->FreeNotification(this);
    if (!HasState(rtl::csLoading))
        Loaded();
}

void RegisterLangClasses()
{
    if (!rtl::GetClass("TlxLang"))
        rtl::RegisterClass<TlxLang>();
    if (!rtl::GetClass("TlxLangLinked"))
        rtl::RegisterClass<TlxLangLinked>();
    if (!rtl::GetClass("TlxLangDispatcher"))
        rtl::RegisterClass<TlxLangDispatcher>();
}

} // namespace i18n
