// Small components with published properties, standing in for a form and its controls in tests of
// the translation engine (and in the sample form of tests/golden), a test form, and the helpers
// that load a translation component the way a window does. Every function is inline, so several
// files of one program may include it.
#pragma once

#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"

#include "platform/rtl/classes.h"
#include "platform/rtl/filer.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/typinfo.h"
#include "tests/support/translation_rows.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

// RTL_IMPLEMENT_PUBLISHED_CLASS with both of its functions inline.
#define FAKE_PUBLISHED_CLASS(Class, Parent)                                                        \
    inline const ::rtl::TClassInfo &Class::StaticClassInfo()                                       \
    {                                                                                              \
        static const ::rtl::TPublishedTable table =                                                \
            ::rtl::TPublisher<Class>::Build(&Class::DefinePublished);                              \
        static const ::rtl::TClassInfo info{#Class, &Parent::StaticClassInfo(), &table};           \
        return info;                                                                               \
    }                                                                                              \
    inline void Class::DefinePublished([[maybe_unused]] ::rtl::TPublisher<Class> &P)

// A published string property Name of the field Field.
#define FAKE_STRING(Class, Name, Type, Field)                                                      \
    P.String(                                                                                      \
        Name, Type, [](Class &o) { return o.Field; },                                              \
        [](Class &o, const std::string &v) { o.Field = v; })

namespace fake {

class TCustomForm : public rtl::TComponent {
    RTL_DECLARE_CLASS(TCustomForm)
public:
    using rtl::TComponent::TComponent;
    std::string Caption, Hint;
};

class TfrmTest : public TCustomForm {
    RTL_DECLARE_CLASS(TfrmTest)
public:
    using TCustomForm::TCustomForm;
};

class TLabel : public rtl::TComponent {
    RTL_DECLARE_CLASS(TLabel)
public:
    using rtl::TComponent::TComponent;
    std::string Caption, Hint;
    int CaptionWrites = 0;
};

// A data field: its text is a display label.
class TField : public rtl::TComponent {
    RTL_DECLARE_CLASS(TField)
public:
    using rtl::TComponent::TComponent;
    std::string DisplayLabel;
};

class TStatusPanel : public rtl::TCollectionItem {
    RTL_DECLARE_CLASS(TStatusPanel)
public:
    using rtl::TCollectionItem::TCollectionItem;
    std::string Text;
};

class TStatusBar : public rtl::TComponent {
    RTL_DECLARE_CLASS(TStatusBar)
public:
    explicit TStatusBar(rtl::TComponent *owner)
        : rtl::TComponent(owner), Panels(rtl::CollectionItemClass<TStatusPanel>(), this)
    {
    }
    rtl::TCollection Panels;
    std::string &Text(int panel) { return static_cast<TStatusPanel *>(Panels.Items(panel))->Text; }
};

class TCustomListControl : public rtl::TComponent {
    RTL_DECLARE_CLASS(TCustomListControl)
public:
    using rtl::TComponent::TComponent;
    rtl::TStringList Items;
    int ItemIndex = -1;
};

class TListBox : public TCustomListControl {
    RTL_DECLARE_CLASS(TListBox)
public:
    using TCustomListControl::TCustomListControl;
};

// A chart-like control whose texts sit in objects and properties of several kinds, for extended
// items: Title.Text (an object's string), Alignment (an enumeration), Total (a 64-bit integer),
// Lines (a string list), WideText (a wide string).
class TTitle : public rtl::TPersistent {
    RTL_DECLARE_CLASS(TTitle)
public:
    std::string Text;
};

class TChartBox : public rtl::TComponent {
    RTL_DECLARE_CLASS(TChartBox)
public:
    using rtl::TComponent::TComponent;
    TTitle Title;
    int Alignment = 0;
    int64_t Total = 0;
    rtl::TStringList Lines;
    std::u16string WideText;
};

FAKE_PUBLISHED_CLASS(TCustomForm, rtl::TComponent)
{
    FAKE_STRING(TCustomForm, "Caption", "TCaption", Caption);
    FAKE_STRING(TCustomForm, "Hint", "string", Hint);
}
inline RTL_IMPLEMENT_CLASS(TfrmTest, TCustomForm);

FAKE_PUBLISHED_CLASS(TLabel, rtl::TComponent)
{
    P.String(
        "Caption", "TCaption", [](TLabel &l) { return l.Caption; },
        [](TLabel &l, const std::string &v) {
            l.Caption = v;
            ++l.CaptionWrites;
        });
    FAKE_STRING(TLabel, "Hint", "string", Hint);
}

FAKE_PUBLISHED_CLASS(TField, rtl::TComponent)
{
    FAKE_STRING(TField, "DisplayLabel", "string", DisplayLabel);
}

FAKE_PUBLISHED_CLASS(TStatusPanel, rtl::TCollectionItem)
{
    FAKE_STRING(TStatusPanel, "Text", "string", Text);
}

FAKE_PUBLISHED_CLASS(TStatusBar, rtl::TComponent)
{
    P.Object<rtl::TCollection>("Panels", [](TStatusBar &s) { return &s.Panels; });
}

FAKE_PUBLISHED_CLASS(TCustomListControl, rtl::TComponent)
{
    P.Object<rtl::TStrings>(
        "Items", [](TCustomListControl &l) { return &l.Items; },
        [](TCustomListControl &l, rtl::TStrings *v) { l.Items.Assign(*v); });
    P.Integer(
        "ItemIndex", "Integer", [](TCustomListControl &l) { return l.ItemIndex; },
        [](TCustomListControl &l, int v) { l.ItemIndex = v; });
}
inline RTL_IMPLEMENT_CLASS(TListBox, TCustomListControl);

FAKE_PUBLISHED_CLASS(TTitle, rtl::TPersistent)
{
    FAKE_STRING(TTitle, "Text", "string", Text);
}

FAKE_PUBLISHED_CLASS(TChartBox, rtl::TComponent)
{
    P.Object<TTitle>("Title", [](TChartBox &c) { return &c.Title; });
    P.Enumeration(
        "Alignment", "TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"},
        [](TChartBox &c) { return c.Alignment; }, [](TChartBox &c, int v) { c.Alignment = v; });
    P.Int64(
        "Total", "Int64", [](TChartBox &c) { return c.Total; },
        [](TChartBox &c, int64_t v) { c.Total = v; });
    P.Object<rtl::TStrings>(
        "Lines", [](TChartBox &c) { return &c.Lines; },
        [](TChartBox &c, rtl::TStrings *v) { c.Lines.Assign(*v); });
    P.WideString(
        "WideText", "WideString", [](TChartBox &c) { return c.WideText; },
        [](TChartBox &c, const std::u16string &v) { c.WideText = v; });
}

// A component with this name and owner.
template <class C> C *Make(rtl::TComponent *owner, const std::string &name)
{
    auto *c = new C(owner);
    c->SetName(name);
    return c;
}

// Table rows and stored translation data.
using testsupport::Data;
using testsupport::Row;

// A row whose text of language n is prefix followed by n.
inline std::string Texts(const std::string &key, const std::string &prefix, int languages = 8)
{
    std::string row = key + '\x01';
    for (int n = 1; n <= languages; ++n)
        row += prefix + std::to_string(n) + '\x01';
    return row;
}

// The text as UTF-16LE bytes, as a component that stores its texts wide holds them.
inline std::string Utf16Le(const std::u16string &text)
{
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

// A stream holding the bytes, at its start; the bytes a stream holds; an object's published
// properties as a form file stores them.
inline rtl::TMemoryStream StreamOf(const std::string &bytes)
{
    rtl::TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    return s;
}

inline std::string BytesOf(const rtl::TMemoryStream &s)
{
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

inline std::string StoredProperties(rtl::TPersistent &object)
{
    rtl::TMemoryStream s;
    rtl::TWriter writer(s);
    writer.WriteProperties(object);
    writer.WriteListEnd();
    return BytesOf(s);
}

// The message of the error of class E that f raises; "no error" when it raises none.
template <class E = i18n::ELanguageError, class F> std::string ErrorOf(F f)
{
    try {
        f();
    } catch (const E &e) {
        return e.Message();
    }
    return "no error";
}

// Loads a translation component of type L into owner the way a window does; beforeRead runs while
// it is loading, before its data is read.
template <class L>
L *LoadLang(rtl::TComponent *owner, const std::string &data, int languages,
            i18n::TlxLangDispatcher *dispatcher = nullptr,
            const std::function<void(L &)> &beforeRead = nullptr)
{
    auto *lang = new L(owner);
    lang->Loading();
    lang->SetNumOfLanguages(languages);
    lang->SetLangDispatcher(dispatcher);
    if (beforeRead)
        beforeRead(*lang);
    lang->ReadTranslationData(data);
    lang->Loaded();
    return lang;
}

// The first count of eight language names as a component's names.
inline void NameLanguages(i18n::TlxCustomLang &lang, int count)
{
    static const char *const kNames[8] = {"English", "French",  "German",  "Italian",
                                          "Spanish", "Swedish", "Finnish", "Danish"};
    rtl::TStringList names;
    for (int i = 0; i < count; ++i)
        names.Add(kNames[i]);
    lang.SetLangNames(names);
}

// A test form "frmTest" of class TfrmTest: the labels "Label1" and "Label2", a status bar
// "StatusBar1" of three panels, a list box "ListBox1" and a chart box "Chart1".
struct TTestForm {
    std::unique_ptr<TfrmTest> form = std::make_unique<TfrmTest>();
    TLabel *label1 = Make<TLabel>(form.get(), "Label1");
    TLabel *label2 = Make<TLabel>(form.get(), "Label2");
    TStatusBar *bar = Make<TStatusBar>(form.get(), "StatusBar1");
    TListBox *list = Make<TListBox>(form.get(), "ListBox1");
    TChartBox *chart = Make<TChartBox>(form.get(), "Chart1");

    TTestForm()
    {
        form->SetName("frmTest");
        for (int i = 0; i < 3; ++i)
            bar->Panels.Add();
    }

    template <class L = i18n::TlxLangLinked>
    L *Load(const std::string &data, int languages, i18n::TlxLangDispatcher *dispatcher = nullptr,
            const std::function<void(L &)> &beforeRead = nullptr)
    {
        return LoadLang<L>(form.get(), data, languages, dispatcher, beforeRead);
    }

    // As Load, the languages named as NameLanguages names them.
    template <class L = i18n::TlxLang> L *LoadNamed(const std::string &data, int languages = 8)
    {
        L *lang = Load<L>(data, languages);
        NameLanguages(*lang, languages);
        return lang;
    }
};

} // namespace fake
