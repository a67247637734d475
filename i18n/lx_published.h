// The published properties TlxLang and TlxLangLinked share (internal to the
// engine). Both variants publish the tables and settings below; TlxLang adds
// DlgsCaptions, Locales and NeedAllDlgs, TlxLangLinked CommonContainer.
#pragma once

#include "i18n/lx_comp.h"

#include "platform/rtl/typinfo.h"

#include <type_traits>

namespace i18n::detail {

// A table: its rows travel in the "TranslationData" the component defines,
// not as the property itself.
template <class L>
void PublishTable(rtl::TPublisher<L> &P, const char *name,
                  std::type_identity_t<rtl::TStringList &(L::*)()> get, TStringsType type)
{
    P.template Object<rtl::TStrings>(
         name, [get](L &l) { return &(l.*get)(); },
         [type](L &l, rtl::TStrings *v) {
             if (v)
                 l.SetTable(type, *v);
         })
        .Stored([](L &) { return false; });
}

template <class L>
rtl::TPublisher<L> &PublishList(rtl::TPublisher<L> &P, const char *name,
                                std::type_identity_t<rtl::TStringList &(L::*)()> get,
                                std::type_identity_t<void (L::*)(const rtl::TStrings &)> set)
{
    return P.template Object<rtl::TStrings>(
        name, [get](L &l) { return &(l.*get)(); },
        [set](L &l, rtl::TStrings *v) {
            if (v)
                (l.*set)(*v);
        });
}

// Stored only when the list holds something.
template <class L>
void PublishListIfAny(rtl::TPublisher<L> &P, const char *name,
                      std::type_identity_t<rtl::TStringList &(L::*)()> get,
                      std::type_identity_t<void (L::*)(const rtl::TStrings &)> set)
{
    PublishList(P, name, get, set).Stored([get](L &l) { return (l.*get)().Count() > 0; });
}

template <class L> void PublishLangProperties(rtl::TPublisher<L> &P, bool mainForm)
{
    PublishTable(P, "Captions", &L::Captions, stCaptions);
    PublishTable(P, "Hints", &L::Hints, stHints);
    PublishTable(P, "DisplayLabels", &L::DisplayLabels, stDisplayLabels);
    PublishTable(P, "Strings", &L::Strings, stStrings);
    PublishTable(P, "Fonts", &L::Fonts, stFonts);
    PublishTable(P, "MultiLines", &L::MultiLines, stMultiLines);
    if (mainForm)
        PublishTable(P, "DlgsCaptions", &L::DlgsCaptions, stDlgsCaptions);
    PublishTable(P, "OtherStrings", &L::OtherStrings, stOtherStrings);
    if (mainForm)
        PublishTable(P, "Locales", &L::Locales, stLocales);
    PublishTable(P, "CharSets", &L::CharSets, stCharSets);
    PublishTable(P, "Collections", &L::Collections, stCollections);
    P.Integer(
         "NumOfLanguages", "Integer", [](L &l) { return l.NumOfLanguages(); },
         [](L &l, int v) { l.SetNumOfLanguages(v); })
        .Default(1);
    P.Integer(
         "ActiveLanguage", "Integer", [](L &l) { return l.ActiveLanguage(); },
         [](L &l, int v) { l.SetActiveLanguage(v); })
        .Default(1);
    P.Boolean(
         "ChangeLocales", [](L &l) { return l.ChangeLocales(); },
         [](L &l, bool v) { l.SetChangeLocales(v); })
        .Default(0);
    P.template Object<TlxLangDispatcher>(
        "LangDispatcher", [](L &l) { return l.LangDispatcher(); },
        [](L &l, TlxLangDispatcher *v) { l.SetLangDispatcher(v); });
    P.Add(
         "LangDelim", rtl::tkChar, "Char",
         [](L &l) {
             return rtl::TPropValue(std::int64_t(static_cast<unsigned char>(l.LangDelim())));
         },
         [](L &l, const rtl::TPropValue &v) {
             l.SetLangDelim(static_cast<char>(std::get<std::int64_t>(v)));
         })
        .SetDefault(9);
    PublishListIfAny(P, "DoNotTranslate", &L::DoNotTranslate, &L::SetDoNotTranslate);
    P.template Object<rtl::TStrings>(
        "LangNames", [](L &l) { return &l.LangNames(); },
        [](L &l, rtl::TStrings *v) {
            if (v)
                l.SetLangNames(*v);
        });
    P.String(
        "Language", "string", [](L &l) { return l.Language(); },
        [](L &l, const std::string &v) { l.SetLanguage(v); });
    P.template Enumeration<TTranslateType>(
         "TranslateType", "TTranslateType", {"ttNoChange", "ttGetDefault"},
         [](L &l) { return l.TranslateType(); },
         [](L &l, TTranslateType v) { l.SetTranslateType(v); })
        .Default(ttNoChange);
    P.Set(
         "Options", "TlxLangOptions", {"loUseExtUDStrings", "loUseExtCommonStrings"},
         [](L &l) { return l.Options(); }, [](L &l, std::int64_t v) { l.SetOptions(unsigned(v)); })
        .Default(0);
    if (mainForm)
        P.Boolean(
             "NeedAllDlgs", [](L &l) { return l.NeedAllDlgs(); },
             [](L &l, bool v) { l.SetNeedAllDlgs(v); })
            .Default(0);
    P.Integer(
         "ChangingCursor", "TCursor", [](L &l) { return l.ChangingCursor(); },
         [](L &l, int v) { l.SetChangingCursor(v); })
        .Default(-1);
    PublishListIfAny(P, "ExcludedProperties", &L::ExcludedProperties, &L::SetExcludedProperties);
    P.Boolean(
         "DoRaiseExceptions", [](L &l) { return l.DoRaiseExceptions(); },
         [](L &l, bool v) { l.SetDoRaiseExceptions(v); })
        .Default(0);
    P.template Object<TlxExtendedItems>(
         "ExtendedTranslations", [](L &l) { return &l.ExtendedTranslations(); },
         [](L &l, TlxExtendedItems *v) {
             if (v)
                 l.SetExtendedTranslations(*v);
         })
        .Stored([](L &l) { return l.ExtendedTranslations().Count() > 0; });
}

} // namespace i18n::detail
