// Locales, charsets, UTF-8 storage, the test mode and resource strings of the translation
// components.
#include "fake_form.h"

#include "i18n/base/lx_resstr.h"
#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"

#include "platform/rtl/format_settings.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace i18n;
using fake::Data;
using fake::Row;

namespace {

using Form = fake::TTestForm;

// The program's format settings, put back after a test that changes them.
struct SavedFormatSettings {
    rtl::TFormatSettings saved = rtl::FormatSettings();
    ~SavedFormatSettings() { rtl::FormatSettings() = saved; }
};

} // namespace

TEST(TestMode, ShowsUntranslatedTextsAltered)
{
    TTestModeInfo info;
    info.Kind = tmkExpandChars;
    EXPECT_EQ(TestModeTransform(info, "50 %"), "50 %");
    info.ExpandCharsPercent = 50;
    EXPECT_EQ(TestModeTransform(info, "abcd"), "abc*d*");
    info.Kind = tmkFlipCase;
    EXPECT_EQ(TestModeTransform(info, "Ab1\xE9"), "aB1\xC9");

    // Expand width: a padding character without width cannot widen the text, and a measure that
    // grows a little with every character stops at four padding characters per character of text;
    // the transformation ends.
    info.Kind = tmkExpandWidth;
    SetTestModeTextMeasurer([](const std::string &t) {
        return int(std::count_if(t.begin(), t.end(), [](char c) { return c != '\x7F'; })) * 6;
    });
    info.PaddingChar = '\x7F';
    EXPECT_EQ(TestModeTransform(info, "Data"), "DATA");
    SetTestModeTextMeasurer([](const std::string &t) { return int(t.size()) + 100; });
    info.PaddingChar = '*';
    EXPECT_EQ(TestModeTransform(info, "ab").size(), 2u + 8u);
    SetTestModeTextMeasurer(nullptr);

    // In the components: an empty text of language 2 shows the altered language-1 text in looks-ups
    // and on the form.
    TlxLangDispatcher d(nullptr);
    d.SetNumOfLanguages(2);
    d.TestModeInfo().Active = true;
    d.TestModeInfo().Kind = tmkFlipCase;
    Form f;
    auto *lang = f.Load(
        Data({"stCaptions", Row({"Label1", "Hello", ""}), "stStrings", Row({"IDS_1", "Data", ""})}),
        2, &d);
    d.SetActiveLanguage(2);
    EXPECT_EQ(f.label1->Caption, "hELLO");
    EXPECT_EQ(lang->GetStringByIdExact("IDS_1"), "dATA");
}

TEST(Locales, TheActiveLanguagesSettingsApply)
{
    SavedFormatSettings keep;
    Form f;
    TlxLang &lang = *f.Load<TlxLang>("", 2);
    lang.SetChangeLocales(true);
    ASSERT_EQ(lang.Locales().Count(), 15);
    lang.StoreText(lang.Locales(), ",x", 2, "Decimal Separator");
    lang.StoreText(lang.Locales(), "janv.,févr.", 2, "Short Month Names");
    // Switched off, the rows stay but are not applied.
    lang.SetChangeLocales(false);
    lang.SetActiveLanguage(2);
    EXPECT_EQ(rtl::FormatSettings().DecimalSeparator, keep.saved.DecimalSeparator);
    // On again with rows there: nothing is added, and they apply.
    lang.SetActiveLanguage(1);
    lang.SetChangeLocales(true);
    EXPECT_EQ(lang.Locales().Count(), 15);
    lang.SetActiveLanguage(2);
    EXPECT_EQ(rtl::FormatSettings().DecimalSeparator, ',');
    EXPECT_EQ(rtl::FormatSettings().ShortMonthNames[1], "févr.");
}

TEST(Charsets, EachLanguageConvertsThroughItsCodePage)
{
    // Language 3 of this form is Russian: its texts go through code page 1251 into a wide-string
    // property.
    Form f;
    auto *lang = f.Load(
        Data({"stCharSets", Row({"TfrmTest", "ANSI_CHARSET", "DEFAULT_CHARSET", "RUSSIAN_CHARSET"}),
              "stMultiLines", "stOtherStrings",
              Row({"Chart1.WideText", "caf\xE9", "caf\xE9", "\xC4\xE0"})}),
        3);
    EXPECT_EQ(lang->LanguageCharset(3), 204);
    EXPECT_EQ(lang->LanguageCharset(2), 1);
    lang->SetActiveLanguage(3);
    EXPECT_EQ(f.chart->WideText, u"\u0414\u0430");
    lang->SetActiveLanguage(1);
    EXPECT_EQ(f.chart->WideText, u"caf\u00e9");

    // A form without a charset row takes a linked form's.
    TlxLangDispatcher d(nullptr);
    d.SetNumOfLanguages(3);
    Form g;
    g.Load(Data({"stCharSets", Row({"TfrmTest", "", "", "GREEK_CHARSET"})}), 3, &d);
    Form h;
    auto *plain = h.Load("", 3, &d);
    EXPECT_EQ(plain->LanguageCharset(3), 161);
    EXPECT_EQ(plain->LanguageCharset(2), 1); // an unknown or empty name: DEFAULT_CHARSET
    g.form.reset();                          // the other form goes
    EXPECT_EQ(plain->LanguageCharset(3), 1);
}

TEST(StoreAsUTF8, TextsRoundTripAndConvertPerLanguage)
{
    const std::string danish = "R\xE6kkef\xF8lge \xE5";
    const std::string finnish = "\xC4\xE4nitaso \xF6";
    const std::string french = "Donn\xE9"
                               "es \xE0 \xE9t\xE9 \x9C";
    Form f;
    auto *lang = f.Load(Data({"stCaptions", Row({"Label1", french, danish, finnish}), "stStrings",
                              Row({"IDS_1", french, danish, finnish})}),
                        3);
    lang->SetStoreAsUTF8(true);
    // Stored as UTF-8 ...
    EXPECT_EQ(GetEntryField(lang->Strings().Strings(0), '\x01', 2),
              "R\xC3\xA6kkef\xC3\xB8lge \xC3\xA5");
    // ... and shown as they were.
    lang->SetActiveLanguage(3);
    EXPECT_EQ(f.label1->Caption, finnish);
    EXPECT_EQ(lang->GetStringById("IDS_1"), finnish);
    // Through the stored data and back to 8-bit: unchanged.
    Form g;
    auto *back = g.Load(
        lang->TranslationDataBytes(), 3, nullptr,
        std::function<void(TlxLangLinked &)>([](TlxLangLinked &l) { l.SetStoreAsUTF8(true); }));
    back->SetActiveLanguage(2);
    EXPECT_EQ(g.label1->Caption, danish);
    back->SetStoreAsUTF8(false);
    EXPECT_EQ(back->Strings().Strings(0), Row({"IDS_1", french, danish, finnish}));

    // A text the language's code page cannot hold becomes '?', and the conversion goes on with the
    // rest.
    EXPECT_EQ(TlxCustomLang::Utf8ToCharset("\xE2\x82\xAC \xD0\x96", 0), "\x80 ?");
}

TEST(ResourceStrings, LanguageIndexAndTranslatedTexts)
{
    // A component loaded with HandleResourceStrings takes the program's resource strings over;
    // destroyed, it gives them back.
    const rtl::TResStringRec cancel{100, "Cancel"};
    {
        Form f;
        auto *res =
            f.Load(Data({"stStrings", Row({"IDS_1", "Cancel", "Annuler", "Abbrechen", ""})}), 4,
                   nullptr, std::function<void(TlxLangLinked &)>([](TlxLangLinked &l) {
                       l.SetHandleResourceStrings(true);
                   }));
        EXPECT_EQ(fake::ErrorOf([&] { res->SetResourceLanguageIndex(5); }),
                  "5 - is not a valid property value!\rValue must be within [1..4]!");
        EXPECT_EQ(res->ResourceLanguageIndex(), 1);
        res->SetDefaultLanguage(9); // silently ignored
        EXPECT_EQ(res->DefaultLanguage(), 1);
        EXPECT_EQ(ResourceStringOwner(), res);
        EXPECT_EQ(rtl::LoadResString(cancel), "Cancel");
        res->SetActiveLanguage(4); // no text: the text as written
        EXPECT_EQ(rtl::LoadResString(cancel), "Cancel");
        res->SetActiveLanguage(3);
        res->SetResourceLanguageIndex(2); // written in French now
        EXPECT_EQ(rtl::LoadResString({101, "Annuler"}), "Abbrechen");
        // The engine's own message goes the same way.
        res->SetDoRaiseExceptions(true);
        EXPECT_THROW(res->GetStringById("IDS_9"), ELanguageError);
    }
    EXPECT_EQ(ResourceStringOwner(), nullptr);
    EXPECT_EQ(rtl::LoadResString(cancel), "Cancel");
}
