// The dispatcher: linking the components and switching their languages together.
#include "i18n/lx_dispatcher.h"

#include "i18n/lx_comp.h"
#include "i18n/lx_lxb.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typinfo.h"

#include <exception>
#include <filesystem>

namespace i18n {

RTL_IMPLEMENT_PUBLISHED_CLASS(TlxLangDispatcher, rtl::TComponent)
{
    using D = TlxLangDispatcher;
    P.Integer(
        "ActiveLanguage", "Integer", [](D &d) { return d.ActiveLanguage(); },
        [](D &d, int v) { d.SetActiveLanguage(v); });
    P.Integer(
        "NumOfLanguages", "Integer", [](D &d) { return d.NumOfLanguages(); },
        [](D &d, int v) { d.SetNumOfLanguages(v); });
    P.String(
        "Language", "string", [](D &d) { return d.Language(); },
        [](D &d, const std::string &v) { d.SetLanguage(v); });
    P.Object<rtl::TStrings>(
        "LangNames", [](D &d) { return &d.FLangNames; },
        [](D &d, rtl::TStrings *v) {
            if (v)
                d.SetLangNames(*v);
        });
    P.String(
        "FileName", "string", [](D &d) { return d.FileName(); },
        [](D &d, const std::string &v) { d.SetFileName(v); });
    P.Boolean(
        "UseDefaultLanguage", [](D &d) { return d.UseDefaultLanguage(); },
        [](D &d, bool v) { d.SetUseDefaultLanguage(v); });
    P.Integer(
         "DefaultLanguage", "Integer", [](D &d) { return d.DefaultLanguage(); },
         [](D &d, int v) { d.SetDefaultLanguage(v); })
        .Default(1);
    P.Object<TTestModeInfo>(
        "TestModeInfo", [](D &d) { return &d.TestModeInfo(); },
        [](D &d, TTestModeInfo *v) {
            if (v)
                d.SetTestModeInfo(*v);
        });
}

TlxLangDispatcher::TlxLangDispatcher(rtl::TComponent *owner) : rtl::TComponent(owner)
{
    FLangNames.Add("Language N1");
}

TlxLangDispatcher::~TlxLangDispatcher()
{
    while (!FLinked.empty()) {
        TlxCustomLang *lang = FLinked.back();
        lang->SetLangDispatcher(nullptr);
        if (!FLinked.empty() && FLinked.back() == lang)
            FLinked.pop_back();
    }
}

void TlxLangDispatcher::Notification(rtl::TComponent *component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
    if (operation == rtl::opRemove && component->InheritsFrom(TlxCustomLang::StaticClassInfo()))
        UnlinkComponent(static_cast<TlxCustomLang *>(component));
}

bool TlxLangDispatcher::IsLinked(const TlxCustomLang *lang) const
{
    for (const TlxCustomLang *l : FLinked)
        if (l == lang)
            return true;
    return false;
}

template <class Fn> void TlxLangDispatcher::ForEachLinked(Fn fn)
{
    const std::vector<TlxCustomLang *> linked = FLinked;
    for (TlxCustomLang *lang : linked)
        if (IsLinked(lang))
            fn(lang);
}

void TlxLangDispatcher::LinkComponent(TlxCustomLang *lang)
{
    if (!lang || IsLinked(lang))
        return;
    FLinked.push_back(lang);
    lang->FreeNotification(this);
    lang->SetNumOfLanguages(FNumOfLanguages);
    lang->FLangNames.SetText(FLangNames.Text());
    lang->FLanguage = FLanguage;
    if (lang->HasState(rtl::csDesigning)) {
        // In the designer the component only follows the language; the
        // handler and the translation file belong to the running program.
        lang->SetActiveLanguage(FActiveLanguage);
        if (IsLinked(lang))
            lang->UpdateCharsetCache();
        return;
    }
    if (OnLinkToDispatcher) {
        const auto handler = OnLinkToDispatcher;
        handler(this, lang);
        if (!IsLinked(lang))
            return; // the handler unlinked or destroyed it
    }
    // The translation file FileName names (as given, else as its full path).
    // Reading it gives the component its texts in the dispatcher's language;
    // a file that cannot be read changes nothing, and the component switches
    // as it does without one.
    std::string path = FFileName;
    std::error_code ec;
    if (!path.empty() && !std::filesystem::exists(path, ec))
        path = std::filesystem::absolute(path, ec).lexically_normal().string();
    bool loaded = false;
    if (!path.empty() && std::filesystem::is_regular_file(path, ec)) {
        const int saved = lang->FActiveLanguage;
        lang->FActiveLanguage = FActiveLanguage;
        try {
            if (rtl::AnsiUpperCase(rtl::ExtractFileExt(path)) == ".LXB") {
                if (!FLXBManager)
                    FLXBManager = std::make_unique<TLXBFileManager>();
                loaded = lang->LoadFromLXB(path);
            } else {
                loaded = lang->ReadLanguageFile(path, true);
            }
        } catch (...) {
            if (IsLinked(lang))
                lang->FActiveLanguage = saved;
            throw;
        }
        if (!IsLinked(lang))
            return;
        if (loaded) {
            FLangNames.Assign(lang->FLangNames);
            FNumOfLanguages = lang->FNumOfLanguages;
        } else {
            lang->FActiveLanguage = saved;
        }
    }
    if (!loaded)
        lang->SetActiveLanguage(FActiveLanguage);
    if (IsLinked(lang))
        lang->UpdateCharsetCache();
}

void TlxLangDispatcher::UnlinkComponent(TlxCustomLang *lang)
{
    for (auto it = FLinked.begin(); it != FLinked.end(); ++it)
        if (*it == lang) {
            FLinked.erase(it);
            return;
        }
}

void TlxLangDispatcher::SetActiveLanguage(int n)
{
    if (!HasState(rtl::csLoading) && (n < 1 || n > FNumOfLanguages))
        throw ELanguageError(TlxCustomLang::RangeMessage(n, FNumOfLanguages));
    FActiveLanguage = n;
    std::exception_ptr first;
    // A change-language handler may close windows: their components unlink
    // themselves and are passed over.
    ForEachLinked([&](TlxCustomLang *lang) {
        try {
            lang->SetActiveLanguage(n);
        } catch (...) {
            if (!first)
                first = std::current_exception();
        }
    });
    if (!HasState(rtl::csLoading) && FLangNames.Count() >= n && n >= 1)
        FLanguage = FLangNames.Strings(n - 1);
    if (first)
        std::rethrow_exception(first);
}

void TlxLangDispatcher::SetNumOfLanguages(int n)
{
    TlxCustomLang::CheckLanguageCount(n);
    FNumOfLanguages = n;
    while (FLangNames.Count() < n)
        FLangNames.Add("Language N" + rtl::IntToStr(FLangNames.Count() + 1));
    while (FLangNames.Count() > n)
        FLangNames.Delete(FLangNames.Count() - 1);
    ForEachLinked([n](TlxCustomLang *lang) { lang->SetNumOfLanguages(n); });
}

void TlxLangDispatcher::SetLanguage(const std::string &name)
{
    if (name == FLanguage)
        return;
    int index = FLangNames.IndexOf(name);
    if (index < 0 && FLangNames.Count() > 0)
        throw ELanguageError("Language name shall be included in LangNames property!");
    FLanguage = name;
    if (!HasState(rtl::csLoading) && FLangNames.Count() > 0)
        SetActiveLanguage(index + 1);
}

void TlxLangDispatcher::SetLangNames(const rtl::TStrings &names)
{
    if (&names == &FLangNames)
        return;
    FLangNames.Assign(names);
    if (FActiveLanguage - 1 < FLangNames.Count() && FActiveLanguage >= 1)
        FLanguage = FLangNames.Strings(FActiveLanguage - 1);
    ForEachLinked([this](TlxCustomLang *lang) {
        lang->FLangNames.Assign(FLangNames);
        lang->SetLanguage(FLanguage);
    });
    SetNumOfLanguages(FLangNames.Count() > 0 ? FLangNames.Count() : 1);
}

void TlxLangDispatcher::SetDefaultLanguage(int n)
{
    if (n < 1 || n > FNumOfLanguages || n == FDefaultLanguage)
        return;
    FDefaultLanguage = n;
    ForEachLinked([n](TlxCustomLang *lang) { lang->SetDefaultLanguage(n); });
}

void TlxLangDispatcher::SetUseDefaultLanguage(bool b)
{
    if (b == FUseDefaultLanguage)
        return;
    FUseDefaultLanguage = b;
    ForEachLinked([b](TlxCustomLang *lang) { lang->SetUseDefaultLanguage(b); });
}

} // namespace i18n
