// The writers of the component settings and the purges a new exclusion
// starts.
#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"

#include "platform/rtl/codepage.h"

#include <exception>

namespace i18n {

namespace {
// The words that exclude a whole table, by kind.
const char *const kPropertyWord[kStringsTypeCount] = {
    "Caption", "Hint",  "DisplayLabel", "Font",        "TStrings", "Dialog",
    "Strings", "Other", "Locales",      "Collections", "CharSet",  "ListView_TreeView_Items"};

// The pieces of text between any of the characters of cuts.
std::vector<std::string> Cut(const std::string &text, const std::string &cuts)
{
    std::vector<std::string> pieces(1);
    for (char c : text) {
        if (cuts.find(c) != std::string::npos)
            pieces.emplace_back();
        else
            pieces.back() += c;
    }
    return pieces;
}
} // namespace

namespace {
// Assigns names to list; false when they are the list itself.
bool AssignList(rtl::TStringList &list, const rtl::TStrings &names)
{
    if (&names == &list)
        return false;
    list.Assign(names);
    return true;
}
} // namespace

void TlxCustomLang::SetDoNotTranslate(const rtl::TStrings &names)
{
    if (AssignList(FDoNotTranslate, names) && !IsLoading())
        PurgeDoNotTranslate();
}

void TlxCustomLang::SetExcludedProperties(const rtl::TStrings &names)
{
    if (!AssignList(FExcludedProperties, names) || IsLoading())
        return;
    PurgeExcludedProperties();
    CollectTexts();
}

void TlxCustomLang::SetStringsTypes(const rtl::TStrings &names)
{
    if (AssignList(FStringsTypes, names) && !IsLoading())
        CollectTexts();
}

void TlxCustomLang::SetSmartExcludeProps(const rtl::TStrings &names)
{
    if (AssignList(FSmartExcludeProps, names) && !IsLoading())
        CollectTexts();
}

void TlxCustomLang::SetAutoSkipEmpties(bool b)
{
    if (b == FAutoSkipEmpties)
        return;
    FAutoSkipEmpties = b;
    if (b && !IsLoading())
        CollectTexts();
}

void TlxCustomLang::SetOptions(unsigned options)
{
    if (options == FOptions)
        return;
    FOptions = options;
    if ((options & loUseExtCommonStrings) && HasState(rtl::csDesigning)) {
        FTables[stDlgsCaptions].Clear();
        FTables[stLocales].Clear();
    }
}

bool TlxCustomLang::IsPropertyExcluded(const std::string &component,
                                       const std::string &property) const
{
    return FExcludedProperties.IndexOf(property) >= 0 ||
           FSmartExcludeProps.IndexOf(component + "." + property) >= 0 ||
           rtl::AnsiSameText(property, "Name");
}

void TlxCustomLang::ClearExcludedTables(bool *purged)
{
    struct {
        const char *Word;
        int Types[2];
    } const whole[] = {{"Caption", {stCaptions, -1}},
                       {"Hint", {stHints, -1}},
                       {"DisplayLabel", {stDisplayLabels, -1}},
                       {"Font", {stFonts, stCharSets}},
                       {"Charset", {stCharSets, -1}}};
    bool cleared[kStringsTypeCount] = {};
    for (const auto &w : whole) {
        const bool excluded = FExcludedProperties.IndexOf(w.Word) >= 0;
        for (int t : w.Types) {
            if (t < 0)
                continue;
            if (excluded) {
                cleared[t] = true;
                if (rtl::TStrings *table = TableOfType(t))
                    table->Clear();
            } else if (purged) {
                purged[t] = true;
            }
        }
    }
    // A whole exclusion wins over the purge of a table it shares.
    if (purged)
        for (int t = 0; t < kStringsTypeCount; ++t)
            purged[t] = purged[t] && !cleared[t];
}

void TlxCustomLang::PurgeExcludedProperties()
{
    bool marked[kStringsTypeCount] = {};
    ClearExcludedTables(marked);
    marked[stMultiLines] = marked[stOtherStrings] = marked[stCollections] = true;

    for (int t = 0; t < kStringsTypeCount; ++t) {
        rtl::TStrings *table = marked[t] ? TableOfType(t) : nullptr;
        if (!table)
            continue;
        for (int i = table->Count() - 1; i >= 0; --i) {
            const std::string row = table->Strings(i);
            std::string component, property, itemProperty;
            if (t == stMultiLines || t == stOtherStrings) {
                const auto pieces = Cut(row, std::string(".") + FLangDelim);
                component = pieces[0];
                property = pieces.size() > 1 ? pieces[1] : std::string();
            } else if (t == stCollections) {
                const auto pieces = Cut(row, std::string(".[") + FLangDelim);
                component = pieces[0];
                property = pieces.size() > 1 ? pieces[1] : std::string();
                itemProperty = pieces.size() > 3 ? pieces[3] : std::string();
            } else {
                // The key names the component; the table's word is the
                // property (a display label's text is no property name).
                component = GetEntryField(row, FLangDelim, 0);
                property = kPropertyWord[t];
            }
            if (IsPropertyExcluded(component, property) ||
                (t == stCollections && !itemProperty.empty() &&
                 IsPropertyExcluded(component, itemProperty)))
                table->Delete(i);
        }
    }
}

void TlxCustomLang::PurgeComponentEntries(rtl::TStrings &table, rtl::TComponent *component,
                                          int kind, rtl::TOperation operation)
{
    if (operation != rtl::opRemove || !HasState(rtl::csDesigning) || !component ||
        table.Count() == 0)
        return;
    std::string prefix = component == Owner() ? component->ClassName() : component->Name();
    if (prefix.empty())
        return;
    prefix += (kind == stMultiLines || kind == stOtherStrings || kind == stCollections)
                  ? std::string(".")
                  : std::string(1, FLangDelim);
    for (int i = table.Count() - 1; i >= 0; --i) {
        try {
            const std::string row = table.Strings(i);
            if (row.compare(0, prefix.size(), prefix) == 0)
                table.Delete(i);
        } catch (const std::exception &) {
        }
    }
}

namespace {

// The row's first word: the text before its first "." or delimiter.
std::string FirstWord(const std::string &row, char delim)
{
    const size_t end = row.find_first_of(std::string{'.', delim});
    return row.substr(0, end);
}

} // namespace

void TlxCustomLang::RenameComponentEntries(const std::string &oldName, const std::string &newName)
{
    if (newName.empty() || oldName.empty() || newName == oldName)
        return;
    std::string from = oldName, to = newName;
    if (Owner() && rtl::AnsiSameText(oldName, Owner()->Name())) {
        from = "T" + oldName; // the form's rows go by its class name
        to = "T" + newName;
    }
    auto rename = [&](rtl::TStrings &list) {
        for (int i = 0; i < list.Count(); ++i) {
            std::string row = list.Strings(i);
            // The name is replaced where it stands at the start of the row,
            // never inside a translated text after it.
            if (FirstWord(row, FLangDelim) != from)
                continue;
            row.replace(0, from.size(), to);
            // A sorted list takes the row again at its new place.
            auto *sorted = dynamic_cast<rtl::TStringList *>(&list);
            if (sorted && sorted->Sorted()) {
                rtl::TObject *object = list.Objects(i);
                list.Delete(i);
                list.AddObject(row, object);
                i = -1; // the rows moved: look again from the top
            } else {
                list.Put(i, row);
            }
        }
    };
    for (int kind = 0; kind < kStringsTypeCount; ++kind)
        if (rtl::TStrings *table = TableOfType(kind))
            rename(*table);
    rename(FDoNotTranslate);
    rename(FSmartExcludeProps);
    const std::string prefix = from + ".";
    for (int i = 0; i < FExtendedTranslations.Count(); ++i) {
        TlxExtendedItem &item = FExtendedTranslations.Items(i);
        const std::string id = item.Identifier();
        if (id.size() > prefix.size() && rtl::AnsiSameText(id.substr(0, prefix.size()), prefix))
            item.SetIdentifier(to + id.substr(from.size()));
    }
}

namespace {
const int kPurgedKinds[] = {stCaptions,   stHints,        stDisplayLabels, stFonts,
                            stMultiLines, stOtherStrings, stCharSets,      stCollections};
} // namespace

void TlxCustomLang::PurgeDoNotTranslate()
{
    rtl::TComponent *owner = Owner();
    if (!owner)
        return;
    auto purge = [&](rtl::TComponent *component) {
        for (int kind : kPurgedKinds)
            if (rtl::TStrings *table = TableOfType(kind))
                PurgeComponentEntries(*table, component, kind, rtl::opRemove);
    };
    for (int n = 0; n < FDoNotTranslate.Count(); ++n) {
        const std::string name = FDoNotTranslate.Strings(n);
        if (rtl::TComponent *component = owner->FindComponent(name)) {
            purge(component);
        } else if (name != owner->ClassName() && name.size() > 2 && name.compare(0, 2, "!T") == 0) {
            for (int i = 0; i < owner->ComponentCount(); ++i)
                if (owner->Components(i)->ClassName() == name.substr(1))
                    purge(owner->Components(i));
        } else if (rtl::AnsiSameText(name, owner->ClassName())) {
            purge(owner);
        }
    }
}

} // namespace i18n
