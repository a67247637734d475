// Every translation source in resources/lang against its window and the code: the source
// converts (the converter's tests check the rows it stores); every row addresses a component of
// the window that has the property the row translates; the English texts are the ones the window
// shows when built; and every string id the code looks up has a row in the window whose
// component the code asks.
#include "tools/lang_collect/windows.h"
#include "tools/lang_compile/lang_source.h"

#include "controls/lang_form.h"
#include "i18n/lx_comp.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/typinfo.h"
#include "platform/ui/component_adapters.h"

#include "tests/support/temp_dir.h"

#include <QFontMetrics>
#include <QLabel>
#include <QTextDocument>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kRoot = NIVORA_SOURCE_DIR;
const fs::path kLangDir = kRoot / "resources" / "lang";

std::vector<std::string> SourceForms()
{
    std::vector<std::string> forms;
    for (const auto &entry : fs::directory_iterator(kLangDir))
        if (entry.path().extension() == ".txt")
            forms.push_back(entry.path().stem().string());
    std::sort(forms.begin(), forms.end());
    return forms;
}

langsrc::TSource ParseForm(const std::string &form, std::vector<langsrc::TError> &errors)
{
    return langsrc::ParseSource(testsupport::FileBytes(kLangDir / (form + ".txt")), errors);
}

std::string Utf8(const std::string &text)
{
    return rtl::CodePageToUtf8(text, rtl::SystemCodePage);
}

// The component a row addresses and the property it writes; a message when it addresses nothing
// usable. Keys: a component name (the window's class name for the window itself), or
// "Component.Property..." in the tables of properties and collections.
std::string CheckRow(rtl::TComponent *form, const std::string &formClass, int table,
                     const std::string &key, rtl::TObject *&target, const rtl::TPropInfo *&prop)
{
    static const char *const kProperty[] = {"Caption", "Hint", "DisplayLabel", "Font"};
    const bool named = table <= 3 || table == langsrc::TableIndex("CharSets");
    const std::string name = named ? key : key.substr(0, key.find('.'));
    const std::string rest = named || name == key ? "" : key.substr(name.size() + 1);
    const std::string property = !named       ? rest.substr(0, rest.find_first_of(".["))
                                 : table <= 3 ? kProperty[table]
                                              : "Font";
    target = rtl::AnsiSameText(name, formClass) ? form : form->FindComponent(name);
    if (!target)
        return "no component \"" + name + "\"";
    prop = property.empty() ? nullptr : rtl::GetPropInfo(target, property);
    return prop ? "" : "\"" + key + "\": no published property \"" + property + "\"";
}

} // namespace

TEST(TranslationSources, EveryFileConverts)
{
    const auto forms = SourceForms();
    ASSERT_FALSE(forms.empty());
    for (const std::string &form : forms) {
        std::vector<langsrc::TError> errors;
        langsrc::TSource source = ParseForm(form, errors);
        EXPECT_TRUE(errors.empty()) << langsrc::FormatErrors(form + ".txt", errors);
        // The main window carries the TlxLang; every other window a TlxLangLinked.
        EXPECT_EQ(source.Kind == langsrc::TComponentKind::Main, form == "TfrmMain") << form;
    }
}

TEST(TranslationSources, RowsAddressTheWindowsComponentsAndHoldItsEnglishTexts)
{
    // The main window reads its settings at start: keep them away from the user's.
    testsupport::TTempDir config("nivora-lang-sources");
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);

    for (const std::string &form : SourceForms()) {
        auto factory = langcollect::ProgramWindows().find(form);
        if (factory == langcollect::ProgramWindows().end()) {
            ADD_FAILURE()
                << form
                << ".txt: no window to check it against (add it to tools/lang_collect/windows.cpp)";
            continue;
        }
        std::vector<langsrc::TError> errors;
        langsrc::TSource source = ParseForm(form, errors);
        std::unique_ptr<QWidget> window = factory->second();
        rtl::TComponent *formComponent = ui::FormComponentOf(window.get());
        ASSERT_NE(formComponent, nullptr) << form;

        for (int t = 0; t < langsrc::kTableCount; ++t) {
            const std::string tableName = langsrc::kTableNames[size_t(t)];
            if (tableName == "Strings" || tableName == "DlgsCaptions" || tableName == "Locales")
                continue; // keys that are not components
            for (const langsrc::TRow &row : source.Tables[size_t(t)]) {
                rtl::TObject *target = nullptr;
                const rtl::TPropInfo *prop = nullptr;
                std::string problem = CheckRow(formComponent, form, t, row.Key, target, prop);
                EXPECT_TRUE(problem.empty())
                    << form << ".txt:" << row.Line << ": [" << tableName << "] " << problem;
                if (!problem.empty() || (tableName != "Captions" && tableName != "Hints"))
                    continue;
                EXPECT_EQ(Utf8(rtl::GetStrProp(target, prop)), Utf8(row.Texts[0]))
                    << form << ".txt:" << row.Line << ": the English text of " << row.Key
                    << " is not what the window shows";
            }
        }
    }
}

// The window whose component the code of a file asks for string ids; empty when none is known.
std::string WindowOfFile(const std::string &p)
{
    if (p.rfind("app/", 0) == 0)
        return "TfrmMain";
    if (p.rfind("meter/windows/setup_real_time", 0) == 0)
        return "TfrmSetupRealTime";
    if (p.rfind("meter/windows/", 0) == 0)
        return "TfrmPanel";
    if (p.rfind("meter/", 0) == 0)
        return "TfrmMain"; // the timers' logic runs on the main window
    if (p.rfind("views/leq_form", 0) == 0)
        return "TfrmLEQ";
    if (p.rfind("views/graph_", 0) == 0) // the graph window and its parts
        return "TfrmGraph";
    if (p.rfind("views/data_capture", 0) == 0)
        return "TfrmDataCapture";
    return p.rfind("views/about_box", 0) == 0 ? "TfrmAbout" : "";
}

TEST(TranslationSources, EveryStringIdTheCodeLooksUpExists)
{
    std::map<std::string, langsrc::TSource> sources;
    for (const std::string &form : SourceForms()) {
        std::vector<langsrc::TError> errors;
        sources[form] = ParseForm(form, errors);
    }
    for (const char *dir : {"app", "meter", "views", "controls"}) {
        if (!fs::exists(kRoot / dir))
            continue;
        for (const auto &entry : fs::recursive_directory_iterator(kRoot / dir)) {
            const auto ext = entry.path().extension();
            if (ext != ".cpp" && ext != ".h")
                continue;
            const std::string code = testsupport::FileBytes(entry.path());
            const std::string file = fs::relative(entry.path(), kRoot).generic_string();
            const std::string window = WindowOfFile(file);
            // Every "IDS_<number>" string literal.
            for (size_t at = code.find("\"IDS_"); at != std::string::npos;
                 at = code.find("\"IDS_", at + 1)) {
                const size_t end = code.find_first_not_of("0123456789", at + 5);
                if (end == at + 5 || end == std::string::npos || code[end] != '"')
                    continue;
                const std::string key = code.substr(at + 1, end - at - 1);
                EXPECT_TRUE(sources.count(window) && sources[window].Find(6, key))
                    << file << " looks up " << key
                    << (window.empty() ? ", but no window is known for the file (WindowOfFile)"
                                       : ", which " + window + ".txt lacks");
            }
        }
    }
}

// A text written in another language that differs from the English one only in letter case is never
// applied (the walk writes a text only when it differs ignoring case): it must be the same or
// differ more.
TEST(TranslationSources, NoTranslationDiffersFromEnglishOnlyInCase)
{
    for (const std::string &form : SourceForms()) {
        std::vector<langsrc::TError> errors;
        langsrc::TSource source = ParseForm(form, errors);
        for (int t = 0; t < langsrc::kTableCount; ++t)
            for (const langsrc::TRow &row : source.Tables[size_t(t)])
                for (size_t n = 1; n < row.Texts.size(); ++n)
                    EXPECT_FALSE(row.Texts[n] != row.Texts[0] &&
                                 rtl::AnsiSameText(row.Texts[n], row.Texts[0]))
                        << form << ".txt:" << row.Line << ": " << row.Key << " "
                        << langsrc::kLanguageCodes[n] << ": \"" << Utf8(row.Texts[n])
                        << "\" differs from the English text only in case";
    }
}

// In every language, each translated label that sizes itself shows its whole text (the front
// panel's "No Connection" among them).
TEST(TranslationSources, LabelsShowTheirWholeTextInEveryLanguage)
{
    testsupport::TTempDir config("nivora-lang-labels");
    ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
    for (const auto &[form, factory] : langcollect::ProgramWindows()) {
        std::unique_ptr<QWidget> window = factory();
        i18n::TlxCustomLang *lang = controls::LangOf(window.get());
        ASSERT_NE(lang, nullptr) << form;
        for (int n = 1; n <= lang->NumOfLanguages(); ++n) {
            lang->SetActiveLanguage(n);
            for (QLabel *label : window->findChildren<QLabel *>()) {
                if (label->text().isEmpty() || label->wordWrap() || !label->pixmap().isNull() ||
                    (label->parentWidget() && label->parentWidget()->layout()) ||
                    Qt::mightBeRichText(label->text()))
                    continue;
                const int needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
                EXPECT_GE(label->width(), needed)
                    << form << " in language " << n << ": " << label->objectName().toStdString()
                    << " cuts \"" << label->text().toStdString() << "\"";
            }
        }
        lang->SetActiveLanguage(1);
    }
}
