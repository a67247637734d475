// The binary property streaming: every kind of property written and read
// back, what is left out, and damaged streams.
#include "platform/rtl/classes.h"
#include "platform/rtl/filer.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/typinfo.h"

#include <gtest/gtest.h>

namespace {

class TFontX : public rtl::TPersistent {
    RTL_DECLARE_CLASS(TFontX)
public:
    std::string Name = "Tahoma";
    int Size = 8;
};

class TItemX : public rtl::TCollectionItem {
    RTL_DECLARE_CLASS(TItemX)
public:
    using rtl::TCollectionItem::TCollectionItem;
    std::string Text;
    std::string Blob; // stored as the defined binary property "Blob"
    void DefineProperties(rtl::TFiler &filer) override
    {
        filer.DefineBinaryProperty(
            "Blob",
            [this](rtl::TStream &s) {
                Blob.assign(static_cast<size_t>(s.Size()), '\0');
                s.ReadBuffer(Blob.data(), s.Size());
            },
            [this](rtl::TStream &s) { s.WriteBuffer(Blob.data(), int64_t(Blob.size())); },
            !Blob.empty());
    }
};

class TThing : public rtl::TComponent {
    RTL_DECLARE_CLASS(TThing)
public:
    explicit TThing(rtl::TComponent *owner = nullptr)
        : rtl::TComponent(owner), Items(rtl::CollectionItemClass<TItemX>(), this)
    {
    }
    int Count = 1; // default 1
    int64_t Big = 0;
    double Ratio = 0;
    bool On = false;
    int Kind = 0;
    int64_t Options = 0;
    char Delim = 9;
    std::string Caption;
    std::u16string Wide;
    std::string Hidden; // never stored
    TFontX Font;
    rtl::TStringList Lines;
    rtl::TCollection Items;
    TThing *Buddy = nullptr;
};

RTL_IMPLEMENT_PUBLISHED_CLASS(TFontX, rtl::TPersistent)
{
    P.String(
        "Name", "string", [](TFontX &f) { return f.Name; },
        [](TFontX &f, const std::string &v) { f.Name = v; });
    P.Integer(
        "Size", "Integer", [](TFontX &f) { return f.Size; }, [](TFontX &f, int v) { f.Size = v; });
}

RTL_IMPLEMENT_PUBLISHED_CLASS(TItemX, rtl::TCollectionItem)
{
    P.String(
        "Text", "string", [](TItemX &i) { return i.Text; },
        [](TItemX &i, const std::string &v) { i.Text = v; });
}

RTL_IMPLEMENT_PUBLISHED_CLASS(TThing, rtl::TComponent)
{
    P.Integer(
         "Count", "Integer", [](TThing &t) { return t.Count; },
         [](TThing &t, int v) { t.Count = v; })
        .Default(1);
    P.Int64(
        "Big", "Int64", [](TThing &t) { return t.Big; }, [](TThing &t, int64_t v) { t.Big = v; });
    P.Float(
        "Ratio", "Double", [](TThing &t) { return t.Ratio; },
        [](TThing &t, double v) { t.Ratio = v; });
    P.Boolean(
        "On", [](TThing &t) { return t.On; }, [](TThing &t, bool v) { t.On = v; });
    P.Enumeration(
        "Kind", "TKind", {"kOne", "kTwo", "kThree"}, [](TThing &t) { return t.Kind; },
        [](TThing &t, int v) { t.Kind = v; });
    P.Set(
        "Options", "TOptions", {"oA", "oB", "oC"}, [](TThing &t) { return t.Options; },
        [](TThing &t, int64_t v) { t.Options = v; });
    P.Add(
        "Delim", rtl::tkChar, "Char",
        [](TThing &t) { return rtl::TPropValue(int64_t(static_cast<unsigned char>(t.Delim))); },
        [](TThing &t, const rtl::TPropValue &v) {
            t.Delim = static_cast<char>(std::get<int64_t>(v));
        });
    P.String(
        "Caption", "string", [](TThing &t) { return t.Caption; },
        [](TThing &t, const std::string &v) { t.Caption = v; });
    P.WideString(
        "Wide", "WideString", [](TThing &t) { return t.Wide; },
        [](TThing &t, const std::u16string &v) { t.Wide = v; });
    P.String(
         "Hidden", "string", [](TThing &t) { return t.Hidden; },
         [](TThing &t, const std::string &v) { t.Hidden = v; })
        .Stored([](TThing &) { return false; });
    P.Object<TFontX>("Font", [](TThing &t) { return &t.Font; });
    P.Object<rtl::TStrings>("Lines", [](TThing &t) { return &t.Lines; });
    P.Object<rtl::TCollection>("Items", [](TThing &t) { return &t.Items; });
    P.Object<TThing>(
        "Buddy", [](TThing &t) { return t.Buddy; }, [](TThing &t, TThing *v) { t.Buddy = v; });
}

std::string Write(rtl::TPersistent &object)
{
    rtl::TMemoryStream s;
    rtl::TWriter w(s);
    w.WriteProperties(object);
    w.WriteListEnd();
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

void Read(rtl::TPersistent &object, const std::string &bytes, rtl::TComponent *root = nullptr)
{
    rtl::TMemoryStream s;
    s.WriteBuffer(bytes.data(), int64_t(bytes.size()));
    s.SetPosition(0);
    rtl::TReader r(s, root);
    r.ReadProperties(object);
}

} // namespace

TEST(PropertyStreaming, EveryKindRoundTrips)
{
    rtl::TComponent form;
    auto *a = new TThing(&form);
    a->SetName("Thing1");
    auto *buddy = new TThing(&form);
    buddy->SetName("Thing2");
    a->Count = 70000;
    a->Big = -8589934597LL;
    a->Ratio = 0.1;
    a->On = true;
    a->Kind = 2;
    a->Options = 5;
    a->Delim = 1;
    a->Caption = std::string(300, 'x') + "\xE9";
    a->Wide = u"\u0416a";
    a->Hidden = "secret";
    a->Font.Name = "Serif";
    a->Lines.SetCommaText("one,two");
    static_cast<TItemX *>(a->Items.Add())->Text = "first";
    auto *second = static_cast<TItemX *>(a->Items.Add());
    second->Blob = std::string("\0\1\2", 3);
    a->Buddy = buddy;

    const std::string bytes = Write(*a);
    EXPECT_EQ(bytes.find("secret"), std::string::npos); // a property not stored
    TThing b(nullptr);
    b.Hidden = "kept";
    Read(b, bytes, &form);
    EXPECT_EQ(b.Name(), "Thing1");
    EXPECT_EQ(b.Count, 70000);
    EXPECT_EQ(b.Big, -8589934597LL);
    EXPECT_DOUBLE_EQ(b.Ratio, 0.1);
    EXPECT_TRUE(b.On);
    EXPECT_EQ(b.Kind, 2);
    EXPECT_EQ(b.Options, 5);
    EXPECT_EQ(b.Delim, 1);
    EXPECT_EQ(b.Caption, a->Caption);
    EXPECT_EQ(b.Wide, a->Wide);
    EXPECT_EQ(b.Hidden, "kept");
    EXPECT_EQ(b.Font.Name, "Serif");
    EXPECT_EQ(b.Lines.CommaText(), "one,two");
    ASSERT_EQ(b.Items.Count(), 2);
    EXPECT_EQ(static_cast<TItemX *>(b.Items.Items(0))->Text, "first");
    EXPECT_EQ(static_cast<TItemX *>(b.Items.Items(1))->Blob, std::string("\0\1\2", 3));
    EXPECT_EQ(b.Buddy, buddy);

    // A value equal to its default is left out.
    TThing plain(nullptr);
    EXPECT_EQ(Write(plain).find("\x05"
                                "Count"),
              std::string::npos);
}

TEST(PropertyStreaming, DamagedStreamsRaiseAReadError)
{
    TThing a(nullptr);
    a.Caption = "text";
    a.Lines.SetCommaText("one,two");
    static_cast<TItemX *>(a.Items.Add())->Text = "first";
    const std::string bytes = Write(a);
    // Cut anywhere: an error, never a crash.
    for (size_t n = 0; n < bytes.size(); ++n) {
        TThing b(nullptr);
        EXPECT_THROW(Read(b, bytes.substr(0, n)), rtl::EReadError) << n;
    }
    TThing b(nullptr);
    EXPECT_THROW(Read(b, std::string("\x07Nothing\x08\x00", 10)), rtl::EReadError); // unknown
    EXPECT_THROW(Read(b, std::string("\x04Kind\x07\x03kXX\x00", 11)), rtl::EReadError);
    EXPECT_THROW(Read(b, std::string("\x07"
                                     "Caption\x63\x00",
                                     10)),
                 rtl::EReadError); // no such value type
    // A length beyond the stream.
    EXPECT_THROW(Read(b, std::string("\x07"
                                     "Caption\x0C\xFF\xFF\xFF\x7F",
                                     13)),
                 rtl::EReadError);
}
