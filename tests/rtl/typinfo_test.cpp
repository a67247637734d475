#include "platform/rtl/classes.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typinfo.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace rtl;

namespace {

class TFontStub : public TPersistent {
    RTL_DECLARE_CLASS(TFontStub)
public:
    std::string FaceName = "Arial";
};
RTL_IMPLEMENT_CLASS(TFontStub, TPersistent)

class TOtherStub : public TPersistent {
    RTL_DECLARE_CLASS(TOtherStub)
};
RTL_IMPLEMENT_CLASS(TOtherStub, TPersistent)

enum class TAlign { alNone, alTop, alBottom };

// Stands for a widget adapter: the properties are code, not fields.
class TWidget : public TComponent {
    RTL_DECLARE_CLASS(TWidget)
public:
    using TComponent::TComponent;
    std::string Text;
    std::u16string HintText;
    int Width = 10;
    bool Shown = true;
    TAlign Align = TAlign::alNone;
    double Ratio = 0.5;
    unsigned Styles = 0;
    TFontStub Font;
    TFontStub *FontPtr = &Font;
    int CaptionWrites = 0;
};

RTL_IMPLEMENT_PUBLISHED_CLASS(TWidget, TComponent)
{
    P.String(
        "Caption", "TCaption", [](TWidget &w) { return w.Text; },
        [](TWidget &w, const std::string &v) {
            w.Text = v;
            ++w.CaptionWrites;
        });
    P.WideString(
        "Hint", "WideString", [](TWidget &w) { return w.HintText; },
        [](TWidget &w, const std::u16string &v) { w.HintText = v; });
    P.Integer(
        "width", "Integer", [](TWidget &w) { return w.Width; },
        [](TWidget &w, int v) { w.Width = v; });
    P.Boolean(
        "Visible", [](TWidget &w) { return w.Shown; }, [](TWidget &w, bool v) { w.Shown = v; });
    P.Enumeration<TAlign>(
        "Align", "TAlign", {"alNone", "alTop", "alBottom"}, [](TWidget &w) { return w.Align; },
        [](TWidget &w, TAlign v) { w.Align = v; });
    P.Float(
        "Ratio", "Double", [](TWidget &w) { return w.Ratio; },
        [](TWidget &w, double v) { w.Ratio = v; });
    P.Object<TFontStub>(
        "Font", [](TWidget &w) { return w.FontPtr; },
        [](TWidget &w, TFontStub *f) { w.FontPtr = f; });
    P.Set(
        "Style", "TFontStyles", {"fsBold", "fsItalic", "fsUnderline"},
        [](TWidget &w) { return w.Styles; }, [](TWidget &w, unsigned v) { w.Styles = v; });
    P.String("ClassText", "string", [](TWidget &w) { return w.ClassName(); });
    P.Add("OnClick", tkMethod, "TNotifyEvent", [](TWidget &) { return TPropValue(); });
}

// Publishes Caption again under another type and adds one property.
class TWideWidget : public TWidget {
    RTL_DECLARE_CLASS(TWideWidget)
public:
    using TWidget::TWidget;
};

RTL_IMPLEMENT_PUBLISHED_CLASS(TWideWidget, TWidget)
{
    P.WideString(
        "CAPTION", "WideString",
        [](TWideWidget &w) { return std::u16string(u"wide:") + w.HintText; },
        [](TWideWidget &w, const std::u16string &v) { w.HintText = v; });
    P.String("beta", "string", [](TWideWidget &) { return std::string("b"); });
}

std::vector<std::string> Names(const TPropList &list)
{
    std::vector<std::string> names;
    for (const TPropInfo *p : list)
        names.push_back(p->Name());
    return names;
}

} // namespace

TEST(TypInfo, PropertyListsAreFilteredByKindAndSortedIgnoringCase)
{
    TWidget w;
    EXPECT_EQ(Names(GetPropList(&w)),
              (std::vector<std::string>{"Align", "Caption", "ClassText", "Font", "Hint", "Name",
                                        "Ratio", "Style", "Tag", "Visible", "width"}));
    EXPECT_EQ(Names(GetPropList(&w, tkStrings)),
              (std::vector<std::string>{"Caption", "ClassText", "Hint", "Name"}));
    EXPECT_TRUE(GetPropList(static_cast<TObject *>(nullptr)).empty());

    // A re-published name replaces the inherited property in place.
    TWideWidget ww;
    TPropList all = GetPropInfos(ww.ClassType());
    EXPECT_EQ(Names(all).front(), "Name"); // ancestors first
    EXPECT_EQ(std::count_if(all.begin(), all.end(),
                            [](const TPropInfo *p) { return SameText(p->Name(), "caption"); }),
              1);
    EXPECT_EQ(Names(GetPropList(&ww, tkStrings)),
              (std::vector<std::string>{"beta", "CAPTION", "ClassText", "Hint", "Name"}));
    EXPECT_EQ(GetPropInfo(&ww, "Caption")->TypeName(), "WideString");
}

TEST(TypInfo, LookupByNameIgnoresCaseAndKindFilter)
{
    TWidget w;
    const TPropInfo *p = GetPropInfo(&w, "cApTiOn");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Name(), "Caption");
    EXPECT_EQ(p->Kind(), tkLString);
    EXPECT_TRUE(p->IsReadable() && p->IsWritable());
    EXPECT_EQ(GetPropInfo(&w, "Caption", tkClass), nullptr);
    EXPECT_EQ(GetPropInfo(&w, "Missing"), nullptr);
    EXPECT_EQ(GetPropInfo(static_cast<const TObject *>(nullptr), "Caption"), nullptr);
    EXPECT_TRUE(w.InheritsFrom("tcomponent"));
}

TEST(TypInfo, AccessRunsTheGetterAndSetterCode)
{
    TWidget w;
    SetStrProp(&w, "caption", "OK");
    EXPECT_EQ(w.Text, "OK");
    EXPECT_EQ(w.CaptionWrites, 1);
    EXPECT_EQ(GetStrProp(&w, "Caption"), "OK");

    SetOrdProp(&w, "Visible", 0);
    EXPECT_FALSE(w.Shown);
    EXPECT_EQ(GetEnumProp(&w, "Visible"), "False");
    SetEnumProp(&w, "Align", "ALBOTTOM");
    EXPECT_EQ(w.Align, TAlign::alBottom);
    EXPECT_EQ(GetOrdProp(&w, "Align"), 2);
    SetFloatProp(&w, "Ratio", 1.25);
    EXPECT_DOUBLE_EQ(GetFloatProp(&w, "Ratio"), 1.25);

    TFontStub other;
    EXPECT_EQ(GetObjectProp(&w, "Font"), &w.Font);
    SetObjectProp(&w, "Font", &other);
    EXPECT_EQ(w.FontPtr, &other);
    SetObjectProp(&w, "Font", nullptr);
    EXPECT_EQ(w.FontPtr, nullptr);
    w.FontPtr = &w.Font;
    EXPECT_EQ(GetObjectProp(&w, "Font", &TComponent::StaticClassInfo()), nullptr);

    SetSetProp(&w, "Style", "[ fsUnderline, FSBOLD ]");
    EXPECT_EQ(w.Styles, 5u);
    EXPECT_EQ(GetSetProp(&w, "Style"), "fsBold,fsUnderline");
    SetSetProp(&w, "Style", "");
    EXPECT_EQ(GetSetProp(&w, "Style", true), "[]");
    EXPECT_THROW(SetSetProp(&w, "Style", "fsBold,fsStrike"), EPropertyError);
    EXPECT_EQ(w.Styles, 0u);
}

TEST(TypInfo, StringAccessConvertsBetweenCodePageAndWide)
{
    TWidget w;
    // "\x80" is the euro sign and "\xE9" e acute in Windows-1252.
    SetStrProp(&w, "Hint", "\x80 caf\xE9");
    EXPECT_EQ(w.HintText, u"\u20AC caf\u00E9");
    w.HintText = u"\u20AC \u4E2D \U0001F600";
    EXPECT_EQ(GetStrProp(&w, "Hint"), "\x80 ? ?");
    SetWideStrProp(&w, "Caption", u"\u0160\u00FF");
    EXPECT_EQ(w.Text, "\x8A\xFF");
    EXPECT_EQ(GetWideStrProp(&w, "Caption"), u"\u0160\u00FF");
}

TEST(TypInfo, RefusedAccessRaisesPropertyError)
{
    TWidget w;
    // Read-only.
    EXPECT_THAT(
        [&] { SetStrProp(&w, "ClassText", "x"); },
        testing::ThrowsMessage<EPropertyError>(testing::StrEq("Property ClassText is read-only")));
    EXPECT_EQ(GetStrProp(&w, "ClassText"), "TWidget");
    // Unknown names, wrong kinds, null objects.
    EXPECT_THROW(GetStrProp(&w, "Nothing"), EPropertyError);
    EXPECT_THROW(SetOrdProp(&w, "Caption", 1), EPropertyError);
    EXPECT_THROW(GetObjectProp(&w, "Caption"), EPropertyError);
    EXPECT_THROW(GetStrProp(nullptr, "Caption"), EPropertyError);
    EXPECT_THROW(GetStrProp(&w, static_cast<const TPropInfo *>(nullptr)), EPropertyError);
    // Values the property's type does not hold.
    TOtherStub stranger;
    EXPECT_THROW(SetObjectProp(&w, "Font", &stranger), EPropertyError);
    EXPECT_EQ(w.FontPtr, &w.Font);
    EXPECT_THROW(SetOrdProp(&w, "Align", 3), EPropertyError);
    EXPECT_THROW(SetEnumProp(&w, "Align", "alLeft"), EPropertyError);
    EXPECT_EQ(w.Align, TAlign::alNone);
    EXPECT_THROW(GetPropInfo(&w, "Caption")->SetValue(w, std::int64_t{5}), EPropertyError);
    // A property info used on an object of another class.
    TComponent plain;
    EXPECT_THROW(GetStrProp(&plain, GetPropInfo(&w, "Caption")), EPropertyError);
    EXPECT_EQ(w.CaptionWrites, 0);
}
