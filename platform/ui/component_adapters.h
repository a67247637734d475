// Adapters that present Qt widgets as components of the class library, with
// its class names and published property names, so that walks over a form's
// components (the translation walk) reach them:
//
//   TForm        the window            Caption, Hint, Font, Left, Top, Width, Height,
//                                      WindowState (of its MDI sub-window when it has one)
//   TControl     any other named widget Hint
//   TLabel       QLabel                Caption, Hint, Font, ParentFont (sizes itself
//                                      to a new caption, as an auto-sizing label does)
//   TButton      QPushButton           Caption, Hint
//   TSpeedButton QToolButton           Caption, Hint (TToolButton on a QToolBar)
//   TCheckBox    QCheckBox             Caption, Hint
//   TRadioButton QRadioButton          Caption, Hint
//   TGroupBox    QGroupBox             Caption, Hint
//   TEdit        QLineEdit             Text, Hint (TMaskEdit with an input mask)
//   TComboBox    QComboBox             Items, ItemIndex, Text, Hint
//   TListBox     QListWidget           Items, ItemIndex, Hint
//   TMemo        QPlainTextEdit        Lines, WordWrap, Hint
//   TStatusBar   QStatusBar            Panels (its QLabel children, in order), Hint
//   TMenuItem    QAction, QMenu        Caption, Hint
//
// Texts cross between Qt and the engine's 8-bit strings here, in the code
// page of the form's language (TFormAdapter::SetTextCharsetSource; Windows-1252
// until one is set). An adapter whose widget is gone reads empty texts and
// ignores writes.
#pragma once

#include "platform/rtl/classes.h"
#include "platform/rtl/strings.h"
#include "platform/ui/ansi_text.h"

#include <QMetaObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QStatusBar;
class QWidget;

namespace ui {

// The class library's font: Name, Size (points), Height (the character
// height in pixels, negative, as the class library gives it), Style (fsBold
// 1, fsItalic 2, fsUnderline 4, fsStrikeOut 8) and Charset (kept; it changes
// nothing here). A font sized in pixels stays sized in pixels until Size is
// written. OnChange runs after every change.
class TFontAdapter : public rtl::TPersistent {
    RTL_DECLARE_CLASS(TFontAdapter)
public:
    enum : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

    const std::string &Name() const { return FName; }
    void SetName(const std::string &name);
    int Size() const { return FSize; }
    void SetSize(int size);
    int Height() const;
    void SetHeight(int height);
    int Style() const { return FStyle; }
    void SetStyle(int style);
    int Charset() const { return FCharset; }
    void SetCharset(int charset);

    void Assign(const rtl::TPersistent &source) override;

    // Loads name, size and style from a Qt font (no OnChange).
    void ReadFrom(const QFont &font);
    // The Qt font with name, size and style applied to base.
    QFont ToQFont(const QFont &base) const;

    std::function<void()> OnChange;

private:
    void Changed();

    std::string FName;
    int FSize = 8;
    int FPixelSize = 0; // > 0: sized in pixels
    int FStyle = 0;
    int FCharset = 1; // DEFAULT_CHARSET
};

// A caption as Qt shows it, from the class library's: '&' before a character
// marks its mnemonic and "&&" is one ampersand in both, but an ampersand before
// a blank or at the end marks nothing and shows as written ("Change Date &
// Time"), where Qt would underline the blank. CaptionFromQt gives the caption
// back.
QString QtCaption(const QString &caption);
QString CaptionFromQt(const QString &text);

// Base of every adapter: a component named after its Qt object.
class TControlAdapter : public rtl::TComponent {
    RTL_DECLARE_CLASS(TControlAdapter)
public:
    TControlAdapter(rtl::TComponent *owner, QObject *object);
    ~TControlAdapter() override;

    QObject *Object() const { return FObject; }
    QWidget *Widget() const;

    virtual std::string Hint() const;
    virtual void SetHint(const std::string &hint);

    // The charset of the texts this adapter takes and gives: its form's
    // (DEFAULT_CHARSET outside a form), and the conversions through it.
    int TextCharset() const;
    QString ToQt(const std::string &text) const;
    std::string FromQt(const QString &text) const;

private:
    QPointer<QObject> FObject;
    QMetaObject::Connection FDestroyed;
};

// A control whose Caption is its widget's text (labels, buttons, group boxes).
class TCaptionAdapter : public TControlAdapter {
    RTL_DECLARE_CLASS(TCaptionAdapter)
public:
    using TControlAdapter::TControlAdapter;
    std::string Caption() const;
    void SetCaption(const std::string &caption);
};

class TLabelAdapter : public TCaptionAdapter {
    RTL_DECLARE_CLASS(TLabelAdapter)
public:
    TLabelAdapter(rtl::TComponent *owner, QObject *object);
    TFontAdapter *Font();
    void SetFont(TFontAdapter *font);
    bool ParentFont() const;
    void SetParentFont(bool value);

private:
    TFontAdapter FFont;
};

class TButtonAdapter : public TCaptionAdapter {
    RTL_DECLARE_CLASS(TButtonAdapter)
public:
    using TCaptionAdapter::TCaptionAdapter;
};
class TSpeedButtonAdapter : public TCaptionAdapter {
    RTL_DECLARE_CLASS(TSpeedButtonAdapter)
public:
    using TCaptionAdapter::TCaptionAdapter;
};
class TToolButtonAdapter : public TCaptionAdapter {
    RTL_DECLARE_CLASS(TToolButtonAdapter)
public:
    using TCaptionAdapter::TCaptionAdapter;
};
class TCheckBoxAdapter : public TCaptionAdapter {
    RTL_DECLARE_CLASS(TCheckBoxAdapter)
public:
    using TCaptionAdapter::TCaptionAdapter;
};
class TRadioButtonAdapter : public TCaptionAdapter {
    RTL_DECLARE_CLASS(TRadioButtonAdapter)
public:
    using TCaptionAdapter::TCaptionAdapter;
};
class TGroupBoxAdapter : public TCaptionAdapter {
    RTL_DECLARE_CLASS(TGroupBoxAdapter)
public:
    using TCaptionAdapter::TCaptionAdapter;
};
// Menu items and tool-bar actions: Caption is the action's text, Hint its
// tool tip and status tip.
class TMenuItemAdapter : public TCaptionAdapter {
    RTL_DECLARE_CLASS(TMenuItemAdapter)
public:
    using TCaptionAdapter::TCaptionAdapter;
    std::string Hint() const override;
    void SetHint(const std::string &hint) override;
};

class TEditAdapter : public TControlAdapter {
    RTL_DECLARE_CLASS(TEditAdapter)
public:
    using TControlAdapter::TControlAdapter;
    std::string Text() const;
    void SetText(const std::string &text);
};
class TMaskEditAdapter : public TEditAdapter {
    RTL_DECLARE_CLASS(TMaskEditAdapter)
public:
    using TEditAdapter::TEditAdapter;
};

// Combo and list boxes: Items is a live list on the control's items.
class TListControlAdapter : public TControlAdapter {
    RTL_DECLARE_CLASS(TListControlAdapter)
public:
    TListControlAdapter(rtl::TComponent *owner, QObject *object);
    ~TListControlAdapter() override;
    rtl::TStrings *Items() { return FItems.get(); }
    void SetItems(rtl::TStrings *items);
    virtual int ItemIndex() const = 0;
    virtual void SetItemIndex(int index) = 0;

protected:
    std::unique_ptr<rtl::TStrings> FItems;
};

class TComboBoxAdapter : public TListControlAdapter {
    RTL_DECLARE_CLASS(TComboBoxAdapter)
public:
    TComboBoxAdapter(rtl::TComponent *owner, QComboBox *combo);
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    std::string Text() const;
    void SetText(const std::string &text);
};

class TListBoxAdapter : public TListControlAdapter {
    RTL_DECLARE_CLASS(TListBoxAdapter)
public:
    TListBoxAdapter(rtl::TComponent *owner, QListWidget *list);
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
};

class TMemoAdapter : public TControlAdapter {
    RTL_DECLARE_CLASS(TMemoAdapter)
public:
    TMemoAdapter(rtl::TComponent *owner, QPlainTextEdit *memo);
    ~TMemoAdapter() override;
    rtl::TStrings *Lines() { return FLines.get(); }
    void SetLines(rtl::TStrings *lines);
    bool WordWrap() const;
    void SetWordWrap(bool wrap);

private:
    std::unique_ptr<rtl::TStrings> FLines;
};

// One panel of a status bar: a QLabel in it.
class TStatusPanelAdapter : public rtl::TCollectionItem {
    RTL_DECLARE_CLASS(TStatusPanelAdapter)
public:
    using rtl::TCollectionItem::TCollectionItem;
    QPointer<QLabel> Label;
    const TControlAdapter *Bar = nullptr; // the status bar's adapter
    std::string Text() const;
    void SetText(const std::string &text);
};

class TStatusBarAdapter : public TControlAdapter {
    RTL_DECLARE_CLASS(TStatusBarAdapter)
public:
    TStatusBarAdapter(rtl::TComponent *owner, QStatusBar *bar);
    rtl::TCollection *Panels() { return &FPanels; }

private:
    rtl::TCollection FPanels;
};

// The window itself. Its class name is the window's (for example
// "TfrmAbout"), below TForm and TCustomForm.
class TFormAdapter : public TControlAdapter {
public:
    static const rtl::TClassInfo &StaticClassInfo();
    const rtl::TClassInfo &ClassType() const override { return *FClass; }
    static void DefinePublished(rtl::TPublisher<TFormAdapter> &P);

    TFormAdapter(QWidget *window, const std::string &className);
    ~TFormAdapter() override;

    std::string Caption() const;
    void SetCaption(const std::string &caption);
    TFontAdapter *Font();
    void SetFont(TFontAdapter *font);
    // The placement of the window's frame (its MDI sub-window when it has
    // one); WindowState 0 normal, 1 minimised, 2 maximised.
    QWidget *Frame() const;
    QRect Bounds() const;
    void SetBounds(const QRect &bounds);
    int WindowState() const;
    void SetWindowState(int state);

    // The font charset of every text the form's adapters take and give: what
    // charset() returns (the charset of the form's language, read at each
    // conversion), DEFAULT_CHARSET (the system code page) while no source is
    // set. The source is forgotten when it is destroyed.
    void SetTextCharsetSource(rtl::TComponent *source, std::function<int()> charset);
    int FormCharset() const;

    // Adds an adapter for every object below the window that has a valid,
    // not yet used component name (Qt's own "qt_" objects are left out).
    void AdaptChildren();
    // The adapter for one object (nullptr when its name is unusable).
    TControlAdapter *Adapt(QObject *object);

protected:
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

private:
    const rtl::TClassInfo *FClass;
    TFontAdapter FFont;
    rtl::TComponent *FCharsetSource = nullptr;
    std::function<int()> FCharset;
};

// The form component of window (class name className) with an adapter for
// every named widget, action and menu below it. It lives as long as the
// window: it is destroyed with it, taking every component it owns along.
TFormAdapter *CreateFormComponent(QWidget *window, const std::string &className);

// The form component made for window; nullptr when there is none.
TFormAdapter *FormComponentOf(const QWidget *window);

} // namespace ui
