// Translation files and stored translation data, read into a component on the sample form.
#include "tests/golden/describe.h"
#include "tests/golden/sample_form.h"

#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"
#include "i18n/lx_lxb.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/filer.h"
#include "platform/rtl/streams.h"

#include <memory>
#include <string>

namespace golden {

namespace {

std::string ListText(const rtl::TStrings &list)
{
    std::string out;
    for (int i = 0; i < list.Count(); ++i)
        out += (i ? " | " : "") + Escaped(list.Strings(i));
    return out;
}

// The component of the class the entry gives (TlxLangLinked when it gives none), made on
// form and loading, not yet loaded.
i18n::TlxCustomLang *NewLang(rtl::TComponent &form, const TGiven &given)
{
    i18n::TlxCustomLang *lang = nullptr;
    if (GivenOr(given, "component", "TlxLangLinked") == "TlxLang")
        lang = new i18n::TlxLang(&form);
    else
        lang = new i18n::TlxLangLinked(&form);
    lang->Loading();
    return lang;
}

int Languages(const TGiven &given)
{
    return std::stoi(GivenOr(given, "languages", "8"));
}

rtl::TMemoryStream StreamOf(const std::string &bytes)
{
    rtl::TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    return s;
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
        if (!table || table->Count() == 0)
            continue;
        for (int i = 0; i < table->Count(); ++i)
            f.emplace_back(std::string(i18n::StringsTypeName(t)) + " " + std::to_string(i + 1),
                           Escaped(table->Strings(i)));
    }
    const i18n::TlxExtendedItems &items = lang.ExtendedTranslations();
    for (int i = 0; i < items.Count(); ++i)
        f.emplace_back("extended " + std::to_string(i + 1), Escaped(items.Items(i).Identifier()) +
                                                                " = " +
                                                                Escaped(items.Items(i).Values()));
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
    auto *bar = form.Bar();
    f.emplace_back("form caption", Escaped(form.Caption));
    f.emplace_back("Label1", Escaped(label->Caption) + " | hint " + Escaped(label->Hint));
    f.emplace_back("List1", ListText(list->Items));
    f.emplace_back(
        "Bar1", Escaped(static_cast<sample::TStatusPanel *>(bar->Panels.Items(0))->Text) + " | " +
                    Escaped(static_cast<sample::TStatusPanel *>(bar->Panels.Items(1))->Text));
    f.emplace_back("Box1", Escaped(box->Caption) + " | " + std::to_string(box->Total) + " | " +
                               ListText(box->Lines));
}

} // namespace

TFields DescribeTranslationData(const std::filesystem::path &file, const TGiven &given)
{
    TFields f;
    const std::string bytes = ReadBytes(file);
    f.emplace_back("size", std::to_string(bytes.size()));
    sample::TfrmSample form;
    i18n::TlxCustomLang *lang = NewLang(form, given);
    lang->SetNumOfLanguages(Languages(given));
    lang->ReadTranslationData(bytes);
    lang->Loaded();
    DescribeLang(*lang, form, f);
    return f;
}

TFields DescribeIniForm(const std::filesystem::path &file, const TGiven &given)
{
    TFields f;
    const std::string bytes = ReadBytes(file);
    f.emplace_back("size", std::to_string(bytes.size()));
    sample::TfrmSample form;
    i18n::TlxCustomLang *lang = NewLang(form, given);
    lang->SetNumOfLanguages(Languages(given));
    lang->Loaded();
    rtl::TMemoryStream in = StreamOf(bytes);
    lang->ReadIniStream(in, true, false);
    DescribeLang(*lang, form, f);
    return f;
}

TFields DescribeLxb(const std::filesystem::path &file, const TGiven &given)
{
    TFields f;
    const std::string bytes = ReadBytes(file);
    f.emplace_back("size", std::to_string(bytes.size()));
    sample::TfrmSample form;
    i18n::TlxCustomLang *lang = NewLang(form, given);
    lang->SetNumOfLanguages(Languages(given));
    lang->Loaded();
    rtl::TMemoryStream in = StreamOf(bytes);
    i18n::TLXBFileManager manager;
    try {
        const bool found = manager.LoadFromStream(*lang, "TfrmSample", in);
        f.emplace_back("TfrmSample", found ? "found" : "not found");
    } catch (const rtl::Exception &e) {
        f.emplace_back("error", Escaped(e.Message()));
    }
    f.emplace_back("fixed languages", ListText(manager.FixedLanguages()));
    DescribeLang(*lang, form, f);
    return f;
}

TFields DescribeStoredComponent(const std::filesystem::path &file, const TGiven &given)
{
    TFields f;
    const std::string bytes = ReadBytes(file);
    f.emplace_back("size", std::to_string(bytes.size()));
    sample::TfrmSample form;
    i18n::TlxCustomLang *lang = NewLang(form, given);
    rtl::TMemoryStream in = StreamOf(bytes);
    try {
        rtl::TReader reader(in, &form);
        reader.ReadProperties(*lang);
        lang->Loaded();
    } catch (const rtl::Exception &e) {
        f.emplace_back("error", Escaped(e.Message()));
    }
    DescribeLang(*lang, form, f);
    return f;
}

} // namespace golden
