// Extended items (translations of properties reached by a path), their stored "ValuesEx", the
// sorted string collections, and a component's data stored and read back through the property
// streaming.
#include "fake_form.h"

#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"

#include "platform/rtl/filer.h"
#include "platform/rtl/streams.h"

#include <gtest/gtest.h>

using namespace i18n;

namespace {

using Form = fake::TTestForm;

void AddItem(TlxCustomLang &lang, const std::string &id, const std::string &values)
{
    TlxExtendedItem &item = lang.ExtendedTranslations().Add();
    item.SetIdentifier(id);
    item.SetValues(values);
    item.SetPropertyType(lang.PropertyKindOf(id));
}

void Restore(rtl::TPersistent &object, const std::string &bytes, rtl::TComponent *root)
{
    rtl::TMemoryStream stream = fake::StreamOf(bytes);
    rtl::TReader reader(stream, root);
    reader.ReadProperties(object);
}

} // namespace

TEST(ExtendedItems, TranslatePropertiesByPathAndSurviveAStoreAndReload)
{
    Form f;
    f.chart->Title.Text = "Levels";
    f.chart->Lines.SetCommaText("one,two,three");
    TlxLangLinked *lang = f.Load("", 2);
    AddItem(*lang, "Chart1.Title.Text", fake::Row({"Levels", "Niveaux"}));
    AddItem(*lang, "Chart1.Tag", fake::Row({"1", "2"}));
    AddItem(*lang, "Chart1.Alignment", fake::Row({"taLeftJustify", "taCenter"}));
    AddItem(*lang, "Chart1.Lines", fake::Row({"one,two,three", "un,deux"}));
    AddItem(*lang, "TfrmTest.Caption", fake::Row({"Test", "Essai"}));
    EXPECT_EQ(lang->ExtendedTranslations().Items(0).PropertyType(), rtl::tkLString);
    EXPECT_EQ(lang->ExtendedTranslations().Items(3).PropertyType(), rtl::tkClass);
    EXPECT_TRUE(lang->ExtendedTranslations().Items(4).IsRoot());

    lang->SetActiveLanguage(2);
    EXPECT_EQ(f.chart->Title.Text, "Niveaux");
    EXPECT_EQ(f.chart->Tag(), 2);
    EXPECT_EQ(f.chart->Alignment, 2);
    EXPECT_EQ(f.chart->Lines.CommaText(), "un,deux");
    EXPECT_EQ(f.form->Caption, "Essai");
    EXPECT_EQ(lang->GetPathPropertyText("Chart1.Alignment"), "taCenter");

    // The component's data, stored and read into the same form afresh.
    lang->SetActiveLanguage(1);
    const std::string stored = fake::StoredProperties(*lang);
    Form g;
    auto *back = new TlxLangLinked(g.form.get());
    back->Loading();
    Restore(*back, stored, g.form.get());
    back->Loaded();
    ASSERT_EQ(back->ExtendedTranslations().Count(), 5);
    EXPECT_EQ(back->ExtendedTranslations().Items(3).Values(),
              fake::Row({"one,two,three", "un,deux"}));
    EXPECT_EQ(back->ExtendedTranslations().Items(3).PropertyType(), rtl::tkClass);
    EXPECT_EQ(back->NumOfLanguages(), 2);
    back->SetActiveLanguage(2);
    EXPECT_EQ(g.chart->Alignment, 2);
    EXPECT_EQ(g.chart->Lines.CommaText(), "un,deux");
    back->SetActiveLanguage(1);

    // An item whose path no longer resolves goes; one whose property changed takes the new text
    // into the active language's place.
    AddItem(*back, "Chart1.Nothing", fake::Row({"x", "y"}));
    g.chart->Title.Text = "Sound levels";
    back->RefreshExtendedItems();
    EXPECT_EQ(back->ExtendedTranslations().Count(), 5);
    EXPECT_EQ(back->ExtendedTranslations().Items(0).Values(),
              fake::Row({"Sound levels", "Niveaux"}));
}

TEST(ExtendedItems, ValuesConvertWithoutLosingData)
{
    Form f;
    TlxLangLinked *lang = f.Load("", 2);
    // A 64-bit value keeps all its digits; a value that does not convert leaves the property as it
    // is.
    lang->SetPathPropertyText("Chart1.Total", "8589934597");
    EXPECT_EQ(f.chart->Total, 8589934597LL);
    lang->SetPathPropertyText("Chart1.Total", "12abc");
    lang->SetPathPropertyText("Chart1.Alignment", "taNowhere");
    lang->SetPathPropertyText("Chart1.Tag", "99999999999");
    EXPECT_EQ(f.chart->Total, 8589934597LL);
    EXPECT_EQ(f.chart->Alignment, 0);
    EXPECT_EQ(f.chart->Tag(), 0);
    EXPECT_EQ(lang->GetPathPropertyText("Chart1.Total"), "8589934597");
    // Paths that lead nowhere read empty and write nothing.
    EXPECT_EQ(lang->ResolvePath("Chart9.Title.Text"), nullptr);
    EXPECT_EQ(lang->PropertyKindOf("Chart1.Title.Nothing"), rtl::tkUnknown);
    lang->SetPathPropertyText("Chart1.Title", "x");
    EXPECT_EQ(lang->MakeValuesRow("b", 2), fake::Row({"", "b"}));
}

TEST(ExtendedItems, ValuesExReadsWideTextOnlyWhenItCanBeWide)
{
    auto read = [](const std::string &bytes) {
        TlxExtendedItems items;
        TlxExtendedItem &item = items.Add();
        rtl::TMemoryStream s = fake::StreamOf(bytes);
        item.ReadValuesEx(s);
        return std::make_pair(item.HasWideValues(), item.Values());
    };
    // Four bytes, then UTF-16LE.
    EXPECT_EQ(read(std::string("\0\0\0\0\xE9\0x\0\x01\0", 10)),
              std::make_pair(true, std::string("\xE9x\x01")));
    // Plain 8-bit values.
    EXPECT_EQ(read("ab\x01"), std::make_pair(false, std::string("ab\x01")));
    // A zero byte but too short, or an odd count after the 4: 8-bit bytes.
    EXPECT_EQ(read(std::string("a\0b", 3)), std::make_pair(false, std::string("a\0b", 3)));
    EXPECT_EQ(read(std::string("\0\0\0\0abc", 7)),
              std::make_pair(false, std::string("\0\0\0\0abc", 7)));
    EXPECT_EQ(read(std::string()), std::make_pair(false, std::string()));
}

TEST(StringsCollection, BinarySearchesByKeyAndByText)
{
    TlxStringsCollection index;
    index.Sort(&TlxStringsCollection::CompareByKey, &index); // empty: nothing
    for (const char *k : {"IDS_1", "IDS_10", "IDS_2", "IDS_7", "IDS_3"}) {
        auto &item = index.Add();
        item.Key = k;
        item.Values.Add(std::string("en ") + k);
        item.Values.Add(std::string("fr ") + k);
    }
    index.SortItems();
    EXPECT_EQ(index.Items(1).Key, "IDS_10");
    for (const char *k : {"IDS_1", "ids_10", "IDS_7"})
        EXPECT_EQ(index.FindByKey(k, 1).substr(0, 3), "en ") << k;
    bool found = true;
    EXPECT_EQ(index.FindByKey("IDS_11", 1, &found), "");
    EXPECT_FALSE(found);
    // A language beyond the values gives an empty text, not a neighbour's.
    EXPECT_EQ(index.FindByKey("IDS_2", 3, &found), "");
    EXPECT_TRUE(found);
    EXPECT_EQ(index.IndexOfKey("ids_7"), 4);

    index.SetSortID(2);
    index.SortItems();
    EXPECT_EQ(index.FindByText("fr IDS_7", 1), "en IDS_7");
    EXPECT_EQ(index.FindByText("FR IDS_7", 1, &found), ""); // texts compare with case
    EXPECT_FALSE(found);
}
