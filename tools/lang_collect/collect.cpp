#include "tools/lang_collect/collect.h"

#include "controls/lang_form.h"
#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"
#include "platform/rtl/codepage.h"
#include "platform/ui/component_adapters.h"

#include <iterator>
#include <memory>

namespace langcollect {

namespace {

// The tables of texts the walk applies (not the string ids, dialog names
// and locales, which no component holds, and not the fonts).
constexpr int kTextTables[] = {i18n::stCaptions,   i18n::stHints,        i18n::stDisplayLabels,
                               i18n::stMultiLines, i18n::stOtherStrings, i18n::stCollections};

std::string Utf8(const std::string &text)
{
    return rtl::CodePageToUtf8(text, rtl::SystemCodePage);
}

bool HasLetter(const std::string &text)
{
    for (char c : text)
        if (rtl::AnsiUpperChar(c) != rtl::AnsiLowerChar(c))
            return true;
    return false;
}

// A translation component of the window's own kind beside the one the
// window loaded (which the window keeps using): made without an owner, so
// that the one-per-form rule is not asked, then placed on the form.
std::unique_ptr<i18n::TlxCustomLang> SecondLang(ui::TFormAdapter &form, bool mainWindow,
                                                bool autoSkipEmpties)
{
    std::unique_ptr<i18n::TlxCustomLang> lang;
    if (mainWindow)
        lang = std::make_unique<i18n::TlxLang>(nullptr);
    else
        lang = std::make_unique<i18n::TlxLangLinked>(nullptr);
    lang->Loading();
    lang->SetNumOfLanguages(langsrc::kLanguageCount);
    lang->SetAutoSkipEmpties(autoSkipEmpties);
    lang->Loaded();
    form.InsertComponent(lang.get());
    return lang;
}

} // namespace

std::vector<TCollected> CollectWindowTexts(QWidget *window)
{
    std::vector<TCollected> texts;
    ui::TFormAdapter *form = ui::FormComponentOf(window);
    i18n::TlxCustomLang *own = controls::LangOf(window);
    if (!form)
        return texts;
    auto lang = SecondLang(*form, own && own->InheritsFrom(i18n::TlxLang::StaticClassInfo()), true);
    lang->SetDesigning(true, false);
    lang->CollectTexts();
    for (int t : kTextTables) {
        rtl::TStrings &table = *lang->TableOfType(t);
        for (int i = 0; i < table.Count(); ++i) {
            const std::string row = table.Strings(i);
            const std::string text = i18n::GetEntryField(row, lang->LangDelim(), 1);
            const std::string key = i18n::GetEntryField(row, lang->LangDelim(), 0);
            const std::string name = key.substr(0, key.find('.'));
            rtl::TComponent *component = form->FindComponent(name);
            // Not texts of their own: a control that still shows its
            // component name (a placeholder of one never shown), and the text
            // of a combo box, which is its chosen item.
            if (!HasLetter(text) || text == name ||
                (t == i18n::stOtherStrings && component && component->ClassName() == "TComboBox" &&
                 key == name + ".Text"))
                continue;
            texts.push_back({t, key, text});
        }
    }
    return texts;
}

std::vector<TFinding> CheckWindowTexts(QWidget *window, const std::string &formClass,
                                       const langsrc::TSource &source)
{
    std::vector<TFinding> findings;
    ui::TFormAdapter *form = ui::FormComponentOf(window);
    if (!form) {
        findings.push_back({"", formClass, "the window has no form component"});
        return findings;
    }
    for (const TCollected &c : CollectWindowTexts(window))
        if (!source.Find(c.Table, c.Key))
            findings.push_back({langsrc::kTableNames[size_t(c.Table)], c.Key,
                                "shows \"" + Utf8(c.Text) + "\" but has no row"});

    // The source's rows, read as the window reads them, on a component that
    // then drops what addresses nothing.
    auto lang = SecondLang(*form, source.Kind == langsrc::TComponentKind::Main, false);
    lang->ReadTranslationData(langsrc::BuildTranslationData(source, formClass));
    const char d = lang->LangDelim();
    std::vector<std::vector<std::string>> before;
    for (int t : kTextTables) {
        rtl::TStrings &table = *lang->TableOfType(t);
        before.emplace_back();
        for (int i = 0; i < table.Count(); ++i)
            before.back().push_back(i18n::GetEntryField(table.Strings(i), d, 0));
        lang->RemoveObsoleteRows(table, t);
    }
    lang->RemoveInvalidProperties();
    for (size_t n = 0; n < std::size(kTextTables); ++n) {
        const int t = kTextTables[n];
        rtl::TStrings &table = *lang->TableOfType(t);
        for (const std::string &key : before[n]) {
            bool kept = false;
            for (int k = 0; k < table.Count() && !kept; ++k)
                kept = rtl::AnsiSameText(i18n::GetEntryField(table.Strings(k), d, 0), key);
            if (!kept)
                findings.push_back({langsrc::kTableNames[size_t(t)], Utf8(key),
                                    "addresses no component of the window that has its property"});
        }
    }
    return findings;
}

} // namespace langcollect
