// A window's translated texts, kept as a human-editable UTF-8 table and
// loaded into the window's translation component.
//
// Table format: lines "[Captions]", "[Hints]", "[Strings]" (any kind name
// without its "st") start a section; every other non-empty line not starting
// with '#' is a row: the key, then one text per language, separated by tabs.
// A row's texts are converted to Windows-1252 and stored with the component's
// delimiter after each field.
#pragma once

#include "i18n/lx_comp.h"
#include "platform/rtl/strings.h"
#include "platform/ui/lang_form.h"

#include <QString>

#include <array>
#include <string>
#include <vector>

namespace meter {

inline constexpr int kLanguageCount = 8;

struct TFormTexts {
    // The rows of each kind of text, in file order.
    std::array<std::vector<std::string>, i18n::kStringsTypeCount> Tables;
};

// Parses a table. False with error ("line 12: ...") for a row with the
// wrong number of fields, a text holding the delimiter, a row outside a
// section or an unknown section; nothing is half-filled then.
bool ParseFormTexts(const QString &source, char delimiter, TFormTexts &texts, QString &error);

// The table of a resource or file ("" when it cannot be read).
QString ReadFormTextsSource(const QString &path);

// Creates the translation component of type L named langName on form,
// linked to dispatcher, with the texts of the table at sourcePath, and
// translates the form into the dispatcher's language. A table that cannot
// be read or parsed leaves the component without texts (the window keeps
// its English texts).
template <class L>
L *LoadFormTexts(ui::TFormAdapter *form, i18n::TlxLangDispatcher *dispatcher,
                 const std::string &langName, const QString &sourcePath)
{
    auto *lang = new L(form);
    lang->SetName(langName);
    lang->Loading();
    lang->SetNumOfLanguages(kLanguageCount);
    lang->SetLangDispatcher(dispatcher);
    TFormTexts texts;
    QString error;
    if (ParseFormTexts(ReadFormTextsSource(sourcePath), lang->LangDelim(), texts, error))
        for (int t = 0; t < i18n::kStringsTypeCount; ++t) {
            const auto &rows = texts.Tables[static_cast<size_t>(t)];
            if (rows.empty())
                continue;
            rtl::TStringList table;
            for (const std::string &row : rows)
                table.Add(row);
            lang->SetTable(static_cast<i18n::TStringsType>(t), table);
        }
    lang->Loaded();
    return lang;
}

} // namespace meter
