// The window the translation files of the golden vectors belong to, and the one the
// translation-file fuzz targets load them on: a form "TfrmSample" with a caption and a hint, a
// label "Label1", a list box "List1", a status bar "Bar1" of two panels and a box "Box1" with a
// caption, a 64-bit number and lines (for extended items); and "TfrmOther", the other form of
// a file that holds more than one. The controls are those of tests/i18n. Qt-free.
#pragma once

#include "tests/i18n/fake_form.h"

#include <cstdint>
#include <string>

namespace sample {

using fake::TLabel;
using fake::TListBox;
using fake::TStatusBar;

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
        fake::Make<TLabel>(this, "Label1");
        fake::Make<TListBox>(this, "List1");
        fake::Make<TStatusBar>(this, "Bar1")->Panels.Add();
        Bar()->Panels.Add();
        fake::Make<TBox>(this, "Box1");
    }
    TStatusBar *Bar() { return static_cast<TStatusBar *>(FindComponent("Bar1")); }
    std::string Caption, Hint;
};

class TfrmOther : public rtl::TComponent {
    RTL_DECLARE_CLASS(TfrmOther)
public:
    TfrmOther() : rtl::TComponent(nullptr) { SetName("frmOther"); }
    std::string Caption;
};

FAKE_PUBLISHED_CLASS(TBox, rtl::TComponent)
{
    FAKE_STRING(TBox, "Caption", "string", Caption);
    P.Int64(
        "Total", "Int64", [](TBox &b) { return b.Total; }, [](TBox &b, int64_t v) { b.Total = v; });
    P.Object<rtl::TStrings>("Lines", [](TBox &b) { return &b.Lines; });
}

FAKE_PUBLISHED_CLASS(TfrmSample, rtl::TComponent)
{
    FAKE_STRING(TfrmSample, "Caption", "TCaption", Caption);
    FAKE_STRING(TfrmSample, "Hint", "string", Hint);
}

FAKE_PUBLISHED_CLASS(TfrmOther, rtl::TComponent)
{
    FAKE_STRING(TfrmOther, "Caption", "TCaption", Caption);
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
