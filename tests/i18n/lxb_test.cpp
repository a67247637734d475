// LXB translation files: a file written by WriteLXB gives a form's
// component its tables, language names, fixed languages and extended items
// (the first entry of a form class counts, the form's own caption row comes
// first); a file that is no LXB file, or one cut short or damaged anywhere,
// raises and leaves the component exactly as it was; one table can be taken
// alone; and a dispatcher whose FileName names a LXB file loads every
// component that links.
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

namespace {

const char *const kNames[8] = {"English", "French",  "German",  "Italian",
                               "Spanish", "Swedish", "Finnish", "Danish"};

// A form with a label, and its translation component.
template <class L = TlxLang> struct Form {
    std::unique_ptr<fake::TfrmTest> form = std::make_unique<fake::TfrmTest>();
    fake::TLabel *label = fake::Make<fake::TLabel>(form.get(), "Label1");
    L *lang;

    explicit Form(const std::string &data = fake::Data({}), int languages = 8)
    {
        lang = fake::LoadLang<L>(form.get(), data, languages);
        rtl::TStringList names;
        for (int i = 0; i < languages; ++i)
            names.Add(kNames[i]);
        lang->SetLangNames(names);
    }
};

std::string Texts(const std::string &key, const std::string &prefix)
{
    std::string row = key + '\x01';
    for (int n = 1; n <= 8; ++n)
        row += prefix + std::to_string(n) + '\x01';
    return row;
}

// Everything a load may change.
std::string Snapshot(TlxCustomLang &lang)
{
    std::string s = lang.TranslationDataBytes() + "|" + lang.LangNames().Text() + "|" +
                    std::to_string(lang.NumOfLanguages()) + "|" +
                    std::to_string(lang.ExtendedTranslations().Count()) + "|" +
                    (lang.StoreAsUTF8() ? "u" : "a");
    return s;
}

std::string Bytes(const rtl::TMemoryStream &s)
{
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

rtl::TMemoryStream StreamOf(const std::string &bytes)
{
    rtl::TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    return s;
}

void WriteFile(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// A file with another form first, then TfrmTest twice (its second entry a
// decoy), the caption row of the form stored last.
std::string SampleFile()
{
    Form<TlxLang> other(fake::Data({"stCaptions", Texts("Label1", "other")}));
    Form<TlxLang> stored(fake::Data(
        {"stCaptions", Texts("Label1", "label"), "stStrings", Texts("IDS_1", "string")}));
    stored.lang->Captions().Add(Texts("TfrmTest", "form"));
    stored.lang->SetStoreAsUTF8(false);
    TlxExtendedItem &item = stored.lang->ExtendedTranslations().Add();
    item.SetIdentifier("Label1.Hint");
    item.SetValues(fake::Row({"tip", "astuce"}));
    Form<TlxLang> decoy(fake::Data({"stCaptions", Texts("Label1", "decoy")}));

    rtl::TStringList fixed;
    fixed.Add("German");
    fixed.Add("Danish");
    rtl::TMemoryStream out;
    WriteLXB(out, fixed,
             {{"TfrmOther", other.lang}, {"TfrmTest", stored.lang}, {"TfrmTest", decoy.lang}});
    return Bytes(out);
}

} // namespace

TEST(LXBFiles, AFormTakesItsFirstEntrysTablesNamesAndExtendedItems)
{
    const std::string file = SampleFile();
    ASSERT_EQ(file.compare(0, 42, std::string(kLXBHeader, 42)), 0);

    Form<TlxLang> target;
    target.lang->SetActiveLanguage(2);
    TLXBFileManager manager;
    rtl::TMemoryStream s = StreamOf(file);
    ASSERT_TRUE(manager.LoadFromStream(*target.lang, "TfrmTest", s));

    rtl::TStrings &captions = target.lang->Captions();
    ASSERT_EQ(captions.Count(), 2);
    EXPECT_EQ(captions.Strings(0), Texts("TfrmTest", "form")); // stored last, now first
    EXPECT_EQ(captions.Strings(1), Texts("Label1", "label"));
    EXPECT_EQ(target.lang->Strings().Count(), 1);
    EXPECT_EQ(target.lang->LangNames().Strings(7), "Danish");
    EXPECT_EQ(manager.FixedLanguages().CommaText(), "Danish,German");
    ASSERT_EQ(target.lang->ExtendedTranslations().Count(), 1);
    EXPECT_EQ(target.lang->ExtendedTranslations().Items(0).PropertyType(), rtl::tkLString);
    // Nothing is left behind on the target: the stored component is read on
    // a form of its own, freed after the copy.
    EXPECT_EQ(target.lang->ComponentCount(), 0);
    EXPECT_EQ(target.form->ComponentCount(), 2);
    EXPECT_FALSE(target.lang->LXBLoading());

    // Another form's class loads nothing and is no error.
    Form<TlxLang> stranger;
    const std::string before = Snapshot(*stranger.lang);
    rtl::TMemoryStream s2 = StreamOf(file);
    EXPECT_FALSE(manager.LoadFromStream(*stranger.lang, "TfrmNone", s2));
    EXPECT_EQ(Snapshot(*stranger.lang), before);

    // Through the component: the form shows the active language at once.
    testsupport::TTempDir dir("nivora-lxb");
    WriteFile(dir / "all.lxb", file);
    Form<TlxLang> shown;
    shown.lang->SetActiveLanguage(3);
    ASSERT_TRUE(shown.lang->LoadFromLXB(dir / "all.lxb"));
    EXPECT_EQ(shown.label->Caption, "label3");
    EXPECT_FALSE(shown.lang->LoadFromLXB(dir / "missing.lxb"));
}

TEST(LXBFiles, AWrongHeaderOrADamagedFileRaisesAndChangesNothing)
{
    const std::string file = SampleFile();
    Form<TlxLang> target(fake::Data({"stCaptions", Texts("Label1", "mine")}));
    const std::string before = Snapshot(*target.lang);
    TLXBFileManager manager;
    auto refused = [&](const std::string &bytes, const std::string &what) {
        rtl::TMemoryStream s = StreamOf(bytes);
        try {
            manager.LoadFromStream(*target.lang, "TfrmTest", s);
            ADD_FAILURE() << what << ": loaded";
        } catch (const rtl::EStreamError &) {
        }
        EXPECT_EQ(Snapshot(*target.lang), before) << what;
        EXPECT_FALSE(target.lang->LXBLoading()) << what;
        EXPECT_EQ(target.lang->ComponentCount(), 0) << what;
    };

    // One letter of the header in the other case.
    std::string header = file;
    header[4] = 'F';
    rtl::TMemoryStream s = StreamOf(header);
    try {
        manager.LoadFromStream(*target.lang, "TfrmTest", s);
        ADD_FAILURE() << "loaded";
    } catch (const rtl::Exception &e) {
        EXPECT_EQ(e.Message(), "Unrecognized stream format!");
    }

    // Cut anywhere before the end of the form's component (the decoy after
    // it is not read).
    const size_t directory = 46 + (file[44] & 0xFF);
    const size_t secondOffset = directory + 2 + 9 + 4 + 2 + 8;
    const size_t decoyOffset = secondOffset + 4 + 2 + 8;
    const size_t decoy =
        static_cast<uint8_t>(file[decoyOffset]) | static_cast<uint8_t>(file[decoyOffset + 1]) << 8;
    ASSERT_GT(decoy, secondOffset);
    for (size_t cut = 0; cut < decoy; ++cut)
        refused(file.substr(0, cut), "cut at " + std::to_string(cut));

    // A fixed-languages length, a name length or the form's offset beyond
    // the file.
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
    Form<TlxLangLinked> linked(fake::Data({"stCaptions", Texts("Label1", "linked")}));
    rtl::TMemoryStream out;
    WriteLXB(out, rtl::TStringList(), {{"TfrmTest", linked.lang}});
    refused(Bytes(out), "TlxLangLinked for a TlxLang");
}
