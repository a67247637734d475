// Small components with published properties, standing in for a form and
// its controls in tests of the translation engine.
#pragma once

#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"

#include "platform/rtl/classes.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/typinfo.h"
#include "tests/support/translation_rows.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

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

inline RTL_IMPLEMENT_PUBLISHED_CLASS(TCustomForm, rtl::TComponent)
{
    P.String(
        "Caption", "TCaption", [](TCustomForm &f) { return f.Caption; },
        [](TCustomForm &f, const std::string &v) { f.Caption = v; });
    P.String(
        "Hint", "string", [](TCustomForm &f) { return f.Hint; },
        [](TCustomForm &f, const std::string &v) { f.Hint = v; });
}
inline RTL_IMPLEMENT_CLASS(TfrmTest, TCustomForm)

    inline RTL_IMPLEMENT_PUBLISHED_CLASS(TLabel, rtl::TComponent)
{
    P.String(
        "Caption", "TCaption", [](TLabel &l) { return l.Caption; },
        [](TLabel &l, const std::string &v) {
            l.Caption = v;
            ++l.CaptionWrites;
        });
    P.String(
        "Hint", "string", [](TLabel &l) { return l.Hint; },
        [](TLabel &l, const std::string &v) { l.Hint = v; });
}

inline RTL_IMPLEMENT_PUBLISHED_CLASS(TField, rtl::TComponent)
{
    P.String(
        "DisplayLabel", "string", [](TField &f) { return f.DisplayLabel; },
        [](TField &f, const std::string &v) { f.DisplayLabel = v; });
}

inline RTL_IMPLEMENT_PUBLISHED_CLASS(TStatusPanel, rtl::TCollectionItem)
{
    P.String(
        "Text", "string", [](TStatusPanel &p) { return p.Text; },
        [](TStatusPanel &p, const std::string &v) { p.Text = v; });
}

inline RTL_IMPLEMENT_PUBLISHED_CLASS(TStatusBar, rtl::TComponent)
{
    P.Object<rtl::TCollection>("Panels", [](TStatusBar &s) { return &s.Panels; });
}

inline RTL_IMPLEMENT_PUBLISHED_CLASS(TCustomListControl, rtl::TComponent)
{
    P.Object<rtl::TStrings>(
        "Items", [](TCustomListControl &l) { return &l.Items; },
        [](TCustomListControl &l, rtl::TStrings *v) { l.Items.Assign(*v); });
    P.Integer(
        "ItemIndex", "Integer", [](TCustomListControl &l) { return l.ItemIndex; },
        [](TCustomListControl &l, int v) { l.ItemIndex = v; });
}
inline RTL_IMPLEMENT_CLASS(TListBox, TCustomListControl)

    // A chart-like control whose texts sit in objects and properties of several
    // kinds, for extended items: Title.Text (an object's string), Alignment (an
    // enumeration), Total (a 64-bit integer), Lines (a string list), WideText (a
    // wide string).
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

inline RTL_IMPLEMENT_PUBLISHED_CLASS(TTitle, rtl::TPersistent)
{
    P.String(
        "Text", "string", [](TTitle &t) { return t.Text; },
        [](TTitle &t, const std::string &v) { t.Text = v; });
}

inline RTL_IMPLEMENT_PUBLISHED_CLASS(TChartBox, rtl::TComponent)
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

// Loads a translation component of type L into owner the way a window does;
// beforeRead runs while it is loading, before its data is read.
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

// A test form with a label "Label1" and a chart box "Chart1".
struct TTestForm {
    std::unique_ptr<TfrmTest> form = std::make_unique<TfrmTest>();
    TLabel *label1 = Make<TLabel>(form.get(), "Label1");
    TChartBox *chart = Make<TChartBox>(form.get(), "Chart1");

    template <class L = i18n::TlxLangLinked>
    L *Load(const std::string &data, int languages, i18n::TlxLangDispatcher *dispatcher = nullptr,
            const std::function<void(L &)> &beforeRead = nullptr)
    {
        return LoadLang<L>(form.get(), data, languages, dispatcher, beforeRead);
    }
};

} // namespace fake
