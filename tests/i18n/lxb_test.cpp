// LXB translation files: a file written by WriteLXB gives a form's component its tables, language
// names, fixed languages and extended items (the first entry of a form class counts, the form's own
// caption row comes first); a file that is no LXB file, or one cut short or damaged anywhere,
// raises and leaves the component exactly as it was; and a stored component of another translation
// class is not taken.
#include "fake_form.h"

#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"
#include "i18n/lx_lxb.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace i18n;
using fake::Data;
using fake::Texts;

namespace {

using Form = fake::TTestForm;

// Everything a load may change.
std::string Snapshot(TlxCustomLang &lang)
{
    return lang.TranslationDataBytes() + "|" + lang.LangNames().Text() + "|" +
           std::to_string(lang.NumOfLanguages()) + "|" +
           std::to_string(lang.ExtendedTranslations().Count()) + "|" +
           (lang.StoreAsUTF8() ? "u" : "a");
}

// A file with another form first, then TfrmTest twice (its second entry a decoy), the caption row
// of the form stored last.
std::string SampleFile()
{
    Form other, stored, decoy;
    auto *storedLang = stored.LoadNamed(
        Data({"stCaptions", Texts("Label1", "label"), "stStrings", Texts("IDS_1", "string")}));
    storedLang->Captions().Add(Texts("TfrmTest", "form"));
    storedLang->SetStoreAsUTF8(false);
    TlxExtendedItem &item = storedLang->ExtendedTranslations().Add();
    item.SetIdentifier("Label1.Hint");
    item.SetValues(fake::Row({"tip", "astuce"}));
    rtl::TStringList fixed;
    fixed.Add("German");
    fixed.Add("Danish");
    rtl::TMemoryStream out;
    WriteLXB(out, fixed,
             {{"TfrmOther", other.LoadNamed(Data({"stCaptions", Texts("Label1", "other")}))},
              {"TfrmTest", storedLang},
              {"TfrmTest", decoy.LoadNamed(Data({"stCaptions", Texts("Label1", "decoy")}))}});
    return fake::BytesOf(out);
}

} // namespace

TEST(LXBFiles, AFormTakesItsFirstEntrysTablesNamesAndExtendedItems)
{
    const std::string file = SampleFile();
    ASSERT_EQ(file.compare(0, 42, std::string(kLXBHeader, 42)), 0);

    Form target;
    auto *lang = target.LoadNamed(Data({}));
    lang->SetActiveLanguage(2);
    const int components = target.form->ComponentCount();
    TLXBFileManager manager;
    rtl::TMemoryStream s = fake::StreamOf(file);
    ASSERT_TRUE(manager.LoadFromStream(*lang, "TfrmTest", s));
    ASSERT_EQ(lang->Captions().Count(), 2);
    EXPECT_EQ(lang->Captions().Strings(0), Texts("TfrmTest", "form")); // stored last, now first
    EXPECT_EQ(lang->Captions().Strings(1), Texts("Label1", "label"));
    EXPECT_EQ(lang->Strings().Count(), 1);
    EXPECT_EQ(lang->LangNames().Strings(7), "Danish");
    EXPECT_EQ(manager.FixedLanguages().CommaText(), "Danish,German");
    ASSERT_EQ(lang->ExtendedTranslations().Count(), 1);
    EXPECT_EQ(lang->ExtendedTranslations().Items(0).PropertyType(), rtl::tkLString);
    // Nothing is left behind on the target: the stored component is read on a form of its own,
    // freed after the copy.
    EXPECT_EQ(lang->ComponentCount(), 0);
    EXPECT_EQ(target.form->ComponentCount(), components);
    EXPECT_FALSE(lang->LXBLoading());

    // Another form's class loads nothing and is no error.
    Form stranger;
    auto *strangerLang = stranger.LoadNamed(Data({}));
    const std::string before = Snapshot(*strangerLang);
    rtl::TMemoryStream s2 = fake::StreamOf(file);
    EXPECT_FALSE(manager.LoadFromStream(*strangerLang, "TfrmNone", s2));
    EXPECT_EQ(Snapshot(*strangerLang), before);

    // Through the component: the form shows the active language at once.
    testsupport::TTempDir dir("nivora-lxb");
    std::ofstream(dir / "all.lxb", std::ios::binary) << file;
    Form shown;
    auto *shownLang = shown.LoadNamed(Data({}));
    shownLang->SetActiveLanguage(3);
    ASSERT_TRUE(shownLang->LoadFromLXB(dir / "all.lxb"));
    EXPECT_EQ(shown.label1->Caption, "label3");
    EXPECT_FALSE(shownLang->LoadFromLXB(dir / "missing.lxb"));
}

TEST(LXBFiles, AWrongHeaderOrADamagedFileRaisesAndChangesNothing)
{
    const std::string file = SampleFile();
    Form target;
    auto *lang = target.LoadNamed(Data({"stCaptions", Texts("Label1", "mine")}));
    const std::string before = Snapshot(*lang);
    TLXBFileManager manager;
    auto refused = [&](const std::string &bytes, const std::string &what) {
        rtl::TMemoryStream s = fake::StreamOf(bytes);
        EXPECT_NE(
            fake::ErrorOf<rtl::EStreamError>([&] { manager.LoadFromStream(*lang, "TfrmTest", s); }),
            "no error")
            << what;
        EXPECT_EQ(Snapshot(*lang), before) << what;
        EXPECT_FALSE(lang->LXBLoading()) << what;
        EXPECT_EQ(lang->ComponentCount(), 0) << what;
    };

    // One letter of the header in the other case.
    std::string header = file;
    header[4] = 'F';
    rtl::TMemoryStream s = fake::StreamOf(header);
    EXPECT_EQ(fake::ErrorOf<rtl::Exception>([&] { manager.LoadFromStream(*lang, "TfrmTest", s); }),
              "Unrecognized stream format!");

    // Cut anywhere before the end of the form's component (the decoy after it is not read).
    const size_t directory = 46 + (file[44] & 0xFF);
    const size_t secondOffset = directory + 2 + 9 + 4 + 2 + 8;
    const size_t decoyOffset = secondOffset + 4 + 2 + 8;
    const size_t decoy =
        static_cast<uint8_t>(file[decoyOffset]) | static_cast<uint8_t>(file[decoyOffset + 1]) << 8;
    ASSERT_GT(decoy, secondOffset);
    for (size_t cut = 0; cut < decoy; ++cut)
        refused(file.substr(0, cut), "cut at " + std::to_string(cut));

    // A fixed-languages length, a name length or the form's offset beyond the file.
    auto patched = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        std::string f = file;
        for (uint8_t b : bytes)
            f[at++] = static_cast<char>(b);
        return f;
    };
    refused(patched(44, {0xFF, 0xFF}), "fixed-languages length");
    refused(patched(directory, {0xFF, 0xFF}), "name length");
    refused(patched(secondOffset, {60, 0, 0, 0}), "offset into garbage");

    // A stored component of another translation class is not taken.
    Form linked;
    rtl::TMemoryStream out;
    WriteLXB(out, rtl::TStringList(),
             {{"TfrmTest",
               linked.LoadNamed<TlxLangLinked>(Data({"stCaptions", Texts("Label1", "linked")}))}});
    refused(fake::BytesOf(out), "TlxLangLinked for a TlxLang");
}
