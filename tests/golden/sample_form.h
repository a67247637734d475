// The window the translation files of the golden vectors belong to, and the one the
// translation-file fuzz targets load them on: a form "TfrmSample" with a caption and a hint, a
// label "Label1", a list box "List1", a status bar "Bar1" of two panels and a box "Box1" with a
// caption, a 64-bit number and lines (for extended items); and "TfrmOther", the other form of
// a file that holds more than one. Qt-free.
#pragma once

#include "i18n/lx_comp.h"

#include "platform/rtl/classes.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/typinfo.h"

#include <cstdint>
#include <string>

namespace sample {

class TLabel : public rtl::TComponent {
    RTL_DECLARE_CLASS(TLabel)
public:
    using rtl::TComponent::TComponent;
    std::string Caption, Hint;
};

class TListBox : public rtl::TComponent {
    RTL_DECLARE_CLASS(TListBox)
public:
    using rtl::TComponent::TComponent;
    rtl::TStringList Items;
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

class TBox : public rtl::TComponent {
    RTL_DECLARE_CLASS(TBox)
public:
    using rtl::TComponent::TComponent;
    std::string Caption;
    int64_t Total = 0;
    rtl::TStringList Lines;
};

class TfrmSample : public rtl::TComponent {
    RTL_DECLARE_CLASS(TfrmSample)
public:
    TfrmSample() : TfrmSample(nullptr) {}
    explicit TfrmSample(rtl::TComponent *owner) : rtl::TComponent(owner)
    {
        SetName("frmSample");
        Make<TLabel>("Label1");
        Make<TListBox>("List1");
        Make<TStatusBar>("Bar1")->Panels.Add();
        Bar()->Panels.Add();
        Make<TBox>("Box1");
    }
    TStatusBar *Bar() { return static_cast<TStatusBar *>(FindComponent("Bar1")); }
    std::string Caption, Hint;

private:
    template <class C> C *Make(const std::string &name)
    {
        auto *c = new C(this);
        c->SetName(name);
        return c;
    }
};

class TfrmOther : public rtl::TComponent {
    RTL_DECLARE_CLASS(TfrmOther)
public:
    TfrmOther() : rtl::TComponent(nullptr) { SetName("frmOther"); }
    std::string Caption;
};

// RTL_IMPLEMENT_PUBLISHED_CLASS with both of its functions inline, for a header that several
// files of one program include.
#define SAMPLE_PUBLISHED_CLASS(Class, Parent)                                                      \
    inline const ::rtl::TClassInfo &Class::StaticClassInfo()                                       \
    {                                                                                              \
        static const ::rtl::TPublishedTable table =                                                \
            ::rtl::TPublisher<Class>::Build(&Class::DefinePublished);                              \
        static const ::rtl::TClassInfo info{#Class, &Parent::StaticClassInfo(), &table};           \
        return info;                                                                               \
    }                                                                                              \
    inline void Class::DefinePublished([[maybe_unused]] ::rtl::TPublisher<Class> &P)

SAMPLE_PUBLISHED_CLASS(TLabel, rtl::TComponent)
{
    P.String(
        "Caption", "TCaption", [](TLabel &l) { return l.Caption; },
        [](TLabel &l, const std::string &v) { l.Caption = v; });
    P.String(
        "Hint", "string", [](TLabel &l) { return l.Hint; },
        [](TLabel &l, const std::string &v) { l.Hint = v; });
}

SAMPLE_PUBLISHED_CLASS(TListBox, rtl::TComponent)
{
    P.Object<rtl::TStrings>(
        "Items", [](TListBox &l) { return &l.Items; },
        [](TListBox &l, rtl::TStrings *v) { l.Items.Assign(*v); });
}

SAMPLE_PUBLISHED_CLASS(TStatusPanel, rtl::TCollectionItem)
{
    P.String(
        "Text", "string", [](TStatusPanel &p) { return p.Text; },
        [](TStatusPanel &p, const std::string &v) { p.Text = v; });
}

SAMPLE_PUBLISHED_CLASS(TStatusBar, rtl::TComponent)
{
    P.Object<rtl::TCollection>("Panels", [](TStatusBar &s) { return &s.Panels; });
}

SAMPLE_PUBLISHED_CLASS(TBox, rtl::TComponent)
{
    P.String(
        "Caption", "string", [](TBox &b) { return b.Caption; },
        [](TBox &b, const std::string &v) { b.Caption = v; });
    P.Int64(
        "Total", "Int64", [](TBox &b) { return b.Total; }, [](TBox &b, int64_t v) { b.Total = v; });
    P.Object<rtl::TStrings>("Lines", [](TBox &b) { return &b.Lines; });
}

SAMPLE_PUBLISHED_CLASS(TfrmSample, rtl::TComponent)
{
    P.String(
        "Caption", "TCaption", [](TfrmSample &f) { return f.Caption; },
        [](TfrmSample &f, const std::string &v) { f.Caption = v; });
    P.String(
        "Hint", "string", [](TfrmSample &f) { return f.Hint; },
        [](TfrmSample &f, const std::string &v) { f.Hint = v; });
}

SAMPLE_PUBLISHED_CLASS(TfrmOther, rtl::TComponent)
{
    P.String(
        "Caption", "TCaption", [](TfrmOther &f) { return f.Caption; },
        [](TfrmOther &f, const std::string &v) { f.Caption = v; });
}

// A translation component of class L made on form as a window makes one.
template <class L> L *MakeLang(rtl::TComponent *form, int languages)
{
    auto *lang = new L(form);
    lang->Loading();
    lang->SetNumOfLanguages(languages);
    lang->Loaded();
    return lang;
}

} // namespace sample

#undef SAMPLE_PUBLISHED_CLASS
