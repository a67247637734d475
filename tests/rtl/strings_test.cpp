#include "platform/rtl/strings.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <unistd.h>

using namespace rtl;

namespace {

std::vector<std::string> Lines(const TStrings &list)
{
    std::vector<std::string> r;
    for (int i = 0; i < list.Count(); ++i)
        r.push_back(list.Strings(i));
    return r;
}

void Fill(TStrings &list, std::initializer_list<const char *> lines)
{
    list.Clear();
    for (const char *s : lines)
        list.Add(s);
}

using V = std::vector<std::string>;

// The message of the E that f raises.
template <class E, class F> std::string ErrorOf(F &&f)
{
    try {
        f();
    } catch (const E &e) {
        return e.what();
    }
    return "(no error)";
}

struct Counted : TObject {
    explicit Counted(int &deaths) : Deaths(deaths) {}
    ~Counted() override { ++Deaths; }
    int &Deaths;
};

} // namespace

TEST(StringListText, SplitsAtCrLfOrCrLfWithoutEmptyLastLine)
{
    TStringList list;
    list.SetText("a\r\nb\nc\rd");
    EXPECT_EQ(Lines(list), (V{"a", "b", "c", "d"}));
    list.SetText("a\r\n");
    EXPECT_EQ(Lines(list), (V{"a"}));
    list.SetText("a\r\n\r\n");
    EXPECT_EQ(Lines(list), (V{"a", ""}));
    list.SetText("\n\r"); // LF ends one line, the CR another
    EXPECT_EQ(Lines(list), (V{"", ""}));
    list.SetText("");
    EXPECT_EQ(list.Count(), 0);

    Fill(list, {"x", "", "\xE9t\xE9"});
    EXPECT_EQ(list.Text(), "x\r\n\r\n\xE9t\xE9\r\n");
    TStringList copy;
    copy.SetText(list.Text());
    EXPECT_TRUE(copy.Equals(list));
}

TEST(StringListText, CommaTextQuotesWhatTheSplitterWouldBreak)
{
    TStringList list;
    Fill(list, {"a b", "", "x,y", "say \"hi\"", "plain", "tab\there"});
    EXPECT_EQ(list.CommaText(), "\"a b\",\"\",\"x,y\",\"say \"\"hi\"\"\",plain,\"tab\there\"");
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(Lines(back), Lines(list));
    Fill(list, {""});
    EXPECT_EQ(list.CommaText(), "\"\"");

    // Split at unquoted blanks and commas; a trailing comma gives an empty line.
    const std::pair<const char *, V> split[] = {
        {"  a b, c ,,\"d e\"f", {"a", "b", "c", "", "d e", "f"}},
        {"a,", {"a", ""}},
        {"a, ", {"a"}},
        {"\"unterminated, still", {"unterminated, still"}},
        {"\"\"\"\"", {"\""}},
        {"", {}}};
    for (const auto &[text, lines] : split) {
        list.SetCommaText(text);
        EXPECT_EQ(Lines(list), lines) << text;
    }
}

TEST(StringListSorted, KeepsOrderAndFindsCaseInsensitively)
{
    TStringList list;
    Fill(list, {"zeta", "Eva", "\xE9t\xE9", "apple",
                "\xC9"
                "b\xE8ne"});
    list.SetSorted(true);
    EXPECT_EQ(Lines(list), (V{"apple",
                              "\xC9"
                              "b\xE8ne",
                              "\xE9t\xE9", "Eva", "zeta"}));

    int index = -1;
    EXPECT_TRUE(list.Find("\xC9T\xC9", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find("f", index));
    EXPECT_EQ(index, 4);
    EXPECT_EQ(list.IndexOf("APPLE"), 0);
    EXPECT_EQ(list.IndexOf("ap"), -1);

    EXPECT_EQ(list.Add("Banana"), 1);
    EXPECT_EQ(list.Strings(1), "Banana");
}

TEST(StringListSorted, DuplicateRules)
{
    TStringList list;
    list.SetSorted(true);
    list.Add("b");
    list.Add("a");
    int deaths = 0;
    Counted marker(deaths);
    // dupIgnore: the existing line stays, with its object.
    EXPECT_EQ(list.AddObject("B", &marker), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Objects(1), nullptr);

    list.SetDuplicates(dupError);
    EXPECT_EQ(ErrorOf<EStringListError>([&] { list.Add("A"); }),
              "String list does not allow duplicates");
    EXPECT_EQ(list.Count(), 2);

    list.SetDuplicates(dupAccept);
    list.Add("A");
    EXPECT_EQ(Lines(list), (V{"A", "a", "b"}));
}

TEST(StringListSorted, RefusesPositionalChanges)
{
    TStringList list;
    Fill(list, {"b", "a", "c"});
    list.SetSorted(true);
    const std::function<void()> refused[] = {[&] { list.Put(0, "z"); },
                                             [&] { list.Insert(0, "z"); }, [&] { list.Move(0, 2); },
                                             [&] { list.Exchange(0, 2); }};
    for (const auto &operation : refused)
        EXPECT_EQ(ErrorOf<EStringListError>(operation), "Operation not allowed on sorted list");
    EXPECT_EQ(Lines(list), (V{"a", "b", "c"}));

    list.SetSorted(false);
    list.Put(0, "z");
    EXPECT_EQ(list.Strings(0), "z");
}

TEST(StringListValues, NamesAndValues)
{
    TStringList list;
    Fill(list, {"Alpha=1", "beta=two=2", "noequals", "=empty"});
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.Values("beta"), "two=2");
    EXPECT_EQ(list.Values("noequals"), "");
    EXPECT_EQ(list.Values(""), "empty");
}

TEST(StringListErrors, IndexOutOfBounds)
{
    TStringList list;
    Fill(list, {"a", "b"});
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Strings(-1); }), "List index out of bounds (-1)");
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Delete(2); }), "List index out of bounds (2)");
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Insert(3, "x"); }), "List index out of bounds (3)");
    EXPECT_EQ(ErrorOf<EListError>([&] { list.Names(7); }), "List index out of bounds (7)");
    list.Insert(2, "c"); // inserting at Count appends
    EXPECT_EQ(Lines(list), (V{"a", "b", "c"}));
    EXPECT_THROW(list.SetCapacity(1), EListError);
}

TEST(StringListUpdates, ChangeEventsOncePerOuterUpdate)
{
    TStringList list;
    int changing = 0, changed = 0;
    TObject *sender = nullptr;
    list.OnChanging = [&](TObject *) { ++changing; };
    list.OnChange = [&](TObject *s) {
        ++changed;
        sender = s;
    };
    list.Add("a");
    EXPECT_EQ(changing, 1);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(sender, &list);

    list.BeginUpdate();
    list.BeginUpdate();
    EXPECT_EQ(changing, 2);
    list.Add("b");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changed, 1);
    list.EndUpdate();
    EXPECT_EQ(changing, 2);
    EXPECT_EQ(changed, 2);
    list.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(list.UpdateCount(), 0);

    list.SetText("x\r\ny\r\nz");
    list.SetCommaText("p,q");
    TStringList other;
    other.Add("o");
    list.Assign(other);
    EXPECT_EQ(changed, 5);
    EXPECT_EQ(changing, 5);

    // A failing add inside SetText still closes the update.
    list.SetSorted(true);
    list.SetDuplicates(dupError);
    EXPECT_THROW(list.SetText("a\nA"), EStringListError);
    EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(StringListObjects, AttachedOwnedAndCopied)
{
    int deaths = 0;
    {
        TStringList list;
        Counted one(deaths), two(deaths);
        list.AddObject("one", &one);
        list.AddObject("two", &two);
        list.Exchange(0, 1);
        EXPECT_EQ(list.Objects(0), &two);
        list.Move(0, 1);
        EXPECT_EQ(list.IndexOfObject(&two), 1);
        list.Put(1, "TWO");
        EXPECT_EQ(list.Objects(1), &two);

        TStringList copy;
        copy.Add("old");
        copy.Assign(list);
        EXPECT_EQ(Lines(copy), (V{"one", "TWO"}));
        EXPECT_EQ(copy.Objects(1), &two);
        copy.AddStrings(copy);
        EXPECT_EQ(copy.Count(), 4);
        list.Clear();
    }
    EXPECT_EQ(deaths, 2); // only the stack objects' own destruction

    deaths = 0;
    {
        TStringList owning;
        owning.SetOwnsObjects(true);
        owning.AddObject("a", new Counted(deaths));
        owning.AddObject("b", new Counted(deaths));
        owning.AddObject("c", new Counted(deaths));
        owning.Delete(0);
        EXPECT_EQ(deaths, 1);
        std::unique_ptr<TObject> kept(owning.Objects(0));
        owning.PutObject(0, nullptr); // replaced, not freed: the caller keeps it
        EXPECT_EQ(deaths, 1);
    }
    EXPECT_EQ(deaths, 3); // "c" with the list, "b" with the caller

    TStringList list;
    TPersistent notAList;
    EXPECT_THROW(list.Assign(notAList), EConvertError);
}

TEST(StringListFiles, BytesUnchangedAndSafelyReplaced)
{
    testsupport::TTempDir dir("nivora-strings");
    const std::string file = dir / "list.txt";
    TStringList list;
    Fill(list, {"a", "\xE9\x80", ""});
    list.SaveToFile(file);
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes, "a\r\n\xE9\x80\r\n\r\n");

    TStringList loaded;
    loaded.LoadFromFile(file);
    EXPECT_TRUE(loaded.Equals(list));
    EXPECT_EQ(dir.EntryCount(), 1u);

    EXPECT_THROW(loaded.LoadFromFile(dir / "missing.txt"), EFOpenError);
    EXPECT_TRUE(loaded.Equals(list));
    EXPECT_THROW(list.SaveToFile(dir / "no/such/folder.txt"), EStreamError);

    TMemoryStream stream;
    stream.WriteBuffer("skip|x\ny", 8);
    stream.SetPosition(5);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(Lines(loaded), (V{"x", "y"}));
}

TEST(SysUtils, IntegerConversions)
{
    const std::pair<const char *, int> good[] = {{"  -17", -17},
                                                 {"$FF", 255},
                                                 {"0x10", 16},
                                                 {"$FFFFFFFF", -1},
                                                 {"2147483647", 2147483647},
                                                 {"-2147483648", -2147483647 - 1}};
    for (auto [text, value] : good)
        EXPECT_EQ(StrToInt(text), value) << text;
    for (const char *bad : {"", "12a", "2147483648", " 1 ", "+", "$", "1.5", "$1FFFFFFFF"}) {
        int value = 7;
        EXPECT_FALSE(TryStrToInt(bad, value)) << bad;
        EXPECT_EQ(StrToIntDef(bad, -5), -5);
    }
    EXPECT_EQ(ErrorOf<EConvertError>([] { StrToInt("12a"); }),
              "'12a' is not a valid integer value");
}

TEST(SysUtils, TextAndFileNameHelpers)
{
    EXPECT_EQ(Trim("\t a b \r\n"), "a b");
    EXPECT_EQ(TrimRight("  a \x01"), "  a");
    EXPECT_EQ(UpperCase("ab\xE9"), "AB\xE9");
    EXPECT_LT(CompareText("a", "B"), 0);

    EXPECT_EQ(StringReplace("aXbxc", "x", "-", rfReplaceAll), "aXb-c");
    EXPECT_EQ(StringReplace("aXbxc", "x", "-", rfIgnoreCase), "a-bxc");
    EXPECT_EQ(StringReplace("\xC9te ete", "\xE9TE", "x", rfReplaceAll | rfIgnoreCase), "x ete");
    EXPECT_EQ(StringReplace("aa", "a", "aa", rfReplaceAll), "aaaa");
    EXPECT_EQ(StringReplace("abc", "", "x", rfReplaceAll), "abc");

    size_t pos = 0;
    EXPECT_EQ(AnsiExtractQuotedStr("\"a\"\"b\"rest", '"', pos), "a\"b");
    EXPECT_EQ(pos, 6u);
    EXPECT_EQ(AnsiExtractQuotedStr("x\"a\"", '"'), "");

    EXPECT_EQ(IncludeTrailingPathDelimiter("/a/"), "/a/");
    EXPECT_EQ(ExtractFilePath("y.txt"), "");
    EXPECT_EQ(ExtractFileExt("/x.d/file"), "");
    EXPECT_EQ(ExtractFileExt("a.tar.GZ"), ".GZ");
    EXPECT_EQ(ChangeFileExt("/x.d/file", ".txt"), "/x.d/file.txt");
    EXPECT_EQ(ChangeFileExt("a.tar.gz", ".rec"), "a.tar.rec");
}
