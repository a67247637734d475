// Translation files and stored translation data, read into a component on the sample form.
#include "tests/golden/describe.h"
#include "tests/golden/sample_form.h"

#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"
#include "i18n/lx_lxb.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/filer.h"
#include "platform/rtl/streams.h"

#include <optional>
#include <string>

namespace golden {

namespace {

std::string ListText(const rtl::TStrings &list)
{
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list.Strings(i));
    return Joined(lines);
}

// The component's languages, tables and extended items, and the texts the form shows in its
// last language.
void DescribeLang(i18n::TlxCustomLang &lang, sample::TfrmSample &form, TFields &f)
{
    f.emplace_back("languages", std::to_string(lang.NumOfLanguages()));
    f.emplace_back("language names", ListText(lang.LangNames()));
    f.emplace_back("active language", std::to_string(lang.ActiveLanguage()));
    for (int t = 0; t < i18n::kStringsTypeCount; ++t) {
        const rtl::TStrings *table = lang.TableOfType(t);
        for (int i = 0; table && i < table->Count(); ++i)
            f.emplace_back(std::string(i18n::StringsTypeName(t)) + " " + std::to_string(i + 1),
                           Escaped(table->Strings(i)));
    }
    const i18n::TlxExtendedItems &items = lang.ExtendedTranslations();
    for (int i = 0; i < items.Count(); ++i)
        f.emplace_back("extended " + std::to_string(i + 1),
                       Joined({items.Items(i).Identifier(), items.Items(i).Values()}, " = "));
    const int last = lang.NumOfLanguages();
    try {
        if (lang.ActiveLanguage() == last)
            lang.TranslateOwner();
        else
            lang.SetActiveLanguage(last);
    } catch (const rtl::Exception &e) {
        f.emplace_back("error", Escaped(e.Message()));
    }
    f.emplace_back("form in language", std::to_string(last));
    auto *label = static_cast<sample::TLabel *>(form.FindComponent("Label1"));
    auto *list = static_cast<sample::TListBox *>(form.FindComponent("List1"));
    auto *box = static_cast<sample::TBox *>(form.FindComponent("Box1"));
    f.emplace_back("form caption", Escaped(form.Caption));
    f.emplace_back("Label1", Escaped(label->Caption) + " | hint " + Escaped(label->Hint));
    f.emplace_back("List1", ListText(list->Items));
    f.emplace_back("Bar1", Joined({form.Bar()->Text(0), form.Bar()->Text(1)}));
    f.emplace_back("Box1", Escaped(box->Caption) + " | " + std::to_string(box->Total) + " | " +
                               ListText(box->Lines));
}

// How a family's files are read: as stored "TranslationData" (as a component loads), as
// ini-form files read whole into a loaded component, as LXB files (the sample form's entry
// loaded into a loaded component), or as a component's stored properties.
enum TRead { kData, kIni, kLxb, kStored };

// The file read into a component on the sample form, of the class the entry gives ("TlxLang",
// or "TlxLangLinked" when it gives none) and with the languages it gives (8 when it gives none;
// stored properties hold their own count); then the component described.
template <TRead How> TFields DescribeRead(const std::filesystem::path &file, const TGiven &given)
{
    TFields f;
    const std::string bytes = ReadBytes(file);
    f.emplace_back("size", std::to_string(bytes.size()));
    sample::TfrmSample form;
    i18n::TlxCustomLang *lang = nullptr;
    if (GivenOr(given, "component", "TlxLangLinked") == "TlxLang")
        lang = new i18n::TlxLang(&form);
    else
        lang = new i18n::TlxLangLinked(&form);
    lang->Loading();
    rtl::TMemoryStream in = fake::StreamOf(bytes);
    try {
        std::optional<rtl::TReader> reader;
        if (How == kStored) {
            reader.emplace(in, &form);
            reader->ReadProperties(*lang);
        } else {
            lang->SetNumOfLanguages(std::stoi(GivenOr(given, "languages", "8")));
        }
        if (How == kData)
            lang->ReadTranslationData(bytes);
        lang->Loaded();
        if (How == kIni)
            lang->ReadIniStream(in, true, false);
    } catch (const rtl::Exception &e) {
        f.emplace_back("error", Escaped(e.Message()));
    }
    if (How == kLxb) {
        i18n::TLXBFileManager manager;
        try {
            const bool found = manager.LoadFromStream(*lang, "TfrmSample", in);
            f.emplace_back("TfrmSample", found ? "found" : "not found");
        } catch (const rtl::Exception &e) {
            f.emplace_back("error", Escaped(e.Message()));
        }
        f.emplace_back("fixed languages", ListText(manager.FixedLanguages()));
    }
    DescribeLang(*lang, form, f);
    return f;
}

} // namespace

std::vector<TFamily> TranslationFamilies()
{
    return {
        {"translation", "Stored \"TranslationData\" of the sample form's translation component.",
         DescribeRead<kData>},
        {"ini_form", "Ini-form translation files, read whole into the sample form's component.",
         DescribeRead<kIni>},
        {"lxb", "LXB translation files, the sample form's component read from them.",
         DescribeRead<kLxb>},
        {"component", "A translation component's stored properties, as a form file holds them.",
         DescribeRead<kStored>},
    };
}

} // namespace golden
