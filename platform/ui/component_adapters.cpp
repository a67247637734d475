#include "platform/ui/component_adapters.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/typinfo.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QVariant>
#include <QWidget>

#include <deque>
#include <map>
#include <vector>

// Defines the class information of an adapter under the class library's
// class name, below the class information parentInfo, and opens the body
// that publishes its properties.
#define UI_IMPLEMENT_ADAPTER(Class, ClassName, parentInfo)                                         \
    const ::rtl::TClassInfo &Class::StaticClassInfo()                                              \
    {                                                                                              \
        static const ::rtl::TPublishedTable table =                                                \
            ::rtl::TPublisher<Class>::Build(&Class::DefinePublished);                              \
        static const ::rtl::TClassInfo info{ClassName, &(parentInfo), &table};                     \
        return info;                                                                               \
    }                                                                                              \
    void Class::DefinePublished([[maybe_unused]] ::rtl::TPublisher<Class> &P)

namespace ui {

namespace {

// Class information of the class library's classes that have no adapter of
// their own.
const rtl::TClassInfo &CustomFormInfo()
{
    static const rtl::TClassInfo info{"TCustomForm", &TControlAdapter::StaticClassInfo(), nullptr};
    return info;
}
const rtl::TClassInfo &CustomMemoInfo()
{
    static const rtl::TClassInfo info{"TCustomMemo", &TControlAdapter::StaticClassInfo(), nullptr};
    return info;
}

// True when a layout of the widget's parent places the widget.
bool IsLaidOut(const QWidget *widget)
{
    const QWidget *parent = widget->parentWidget();
    if (!parent || !parent->layout())
        return false;
    std::vector<const QLayout *> layouts{parent->layout()};
    while (!layouts.empty()) {
        const QLayout *layout = layouts.back();
        layouts.pop_back();
        for (int i = 0; i < layout->count(); ++i) {
            QLayoutItem *item = layout->itemAt(i);
            if (item->widget() == widget)
                return true;
            if (item->layout())
                layouts.push_back(item->layout());
        }
    }
    return false;
}

// Sizes a text label to its text, as the class library's auto-sizing label
// does: the edge its alignment names stays where it is (the centre for a
// centred label), a word-wrapping label keeps its width. Pictures and labels
// that a layout places are left to themselves.
void AutoSizeLabel(QLabel *label)
{
    if (!label->pixmap().isNull() || IsLaidOut(label))
        return;
    const QRect old = label->geometry();
    QSize size = label->sizeHint();
    if (label->wordWrap())
        size = QSize(old.width(), label->heightForWidth(old.width()));
    if (size.width() <= 0 || size.height() <= 0 || size == old.size())
        return;
    int left = old.left();
    const Qt::Alignment h = label->alignment() & Qt::AlignHorizontal_Mask;
    if (h & Qt::AlignRight)
        left = old.right() + 1 - size.width();
    else if (h & Qt::AlignHCenter)
        left = old.left() + (old.width() - size.width()) / 2;
    label->setGeometry(left, old.top(), size.width(), size.height());
}

template <class A> void PublishHint(rtl::TPublisher<A> &P)
{
    P.String(
        "Hint", "string", [](A &a) { return a.Hint(); },
        [](A &a, const std::string &v) { a.SetHint(v); });
}

template <class A> void PublishCaption(rtl::TPublisher<A> &P)
{
    P.String(
        "Caption", "TCaption", [](A &a) { return a.Caption(); },
        [](A &a, const std::string &v) { a.SetCaption(v); });
    PublishHint(P);
}

// ---- Control-backed string lists -------------------------------------------

class TComboItems : public rtl::TStrings {
public:
    TComboItems(QComboBox *combo, const TControlAdapter *adapter) : FCombo(combo), FAdapter(adapter)
    {
    }
    int GetCount() const override { return FCombo ? FCombo->count() : 0; }
    std::string Get(int index) const override
    {
        Check(index, GetCount());
        return FAdapter->FromQt(FCombo->itemText(index));
    }
    void Put(int index, const std::string &s) override
    {
        Check(index, GetCount());
        FCombo->setItemText(index, FAdapter->ToQt(s));
    }
    rtl::TObject *GetObject(int index) const override
    {
        Check(index, GetCount());
        return reinterpret_cast<rtl::TObject *>(
            FCombo->itemData(index, kObjectRole).value<quintptr>());
    }
    void PutObject(int index, rtl::TObject *object) override
    {
        Check(index, GetCount());
        FCombo->setItemData(index, QVariant::fromValue(reinterpret_cast<quintptr>(object)),
                            kObjectRole);
    }
    void Insert(int index, const std::string &s) override
    {
        Check(index, GetCount() + 1);
        FCombo->insertItem(index, FAdapter->ToQt(s));
    }
    void Delete(int index) override
    {
        Check(index, GetCount());
        FCombo->removeItem(index);
    }
    void Clear() override
    {
        if (FCombo)
            FCombo->clear();
    }

private:
    static constexpr int kObjectRole = Qt::UserRole + 77;
    static void Check(int index, int limit)
    {
        if (index < 0 || index >= limit)
            IndexError(index);
    }
    QPointer<QComboBox> FCombo;
    const TControlAdapter *FAdapter;
};

class TListBoxItems : public rtl::TStrings {
public:
    TListBoxItems(QListWidget *list, const TControlAdapter *adapter)
        : FList(list), FAdapter(adapter)
    {
    }
    int GetCount() const override { return FList ? FList->count() : 0; }
    std::string Get(int index) const override
    {
        Check(index, GetCount());
        return FAdapter->FromQt(FList->item(index)->text());
    }
    void Put(int index, const std::string &s) override
    {
        Check(index, GetCount());
        FList->item(index)->setText(FAdapter->ToQt(s));
    }
    rtl::TObject *GetObject(int index) const override
    {
        Check(index, GetCount());
        return reinterpret_cast<rtl::TObject *>(
            FList->item(index)->data(kObjectRole).value<quintptr>());
    }
    void PutObject(int index, rtl::TObject *object) override
    {
        Check(index, GetCount());
        FList->item(index)->setData(kObjectRole,
                                    QVariant::fromValue(reinterpret_cast<quintptr>(object)));
    }
    void Insert(int index, const std::string &s) override
    {
        Check(index, GetCount() + 1);
        FList->insertItem(index, FAdapter->ToQt(s));
    }
    void Delete(int index) override
    {
        Check(index, GetCount());
        delete FList->takeItem(index);
    }
    void Clear() override
    {
        if (FList)
            FList->clear();
    }

private:
    static constexpr int kObjectRole = Qt::UserRole + 77;
    static void Check(int index, int limit)
    {
        if (index < 0 || index >= limit)
            IndexError(index);
    }
    QPointer<QListWidget> FList;
    const TControlAdapter *FAdapter;
};

// The lines of a memo: its text split at line ends; an empty memo has none.
class TMemoLines : public rtl::TStrings {
public:
    TMemoLines(QPlainTextEdit *memo, const TControlAdapter *adapter)
        : FMemo(memo), FAdapter(adapter)
    {
    }
    int GetCount() const override { return static_cast<int>(Lines().size()); }
    std::string Get(int index) const override
    {
        QStringList lines = Lines();
        Check(index, static_cast<int>(lines.size()));
        return FAdapter->FromQt(lines[index]);
    }
    void Put(int index, const std::string &s) override
    {
        QStringList lines = Lines();
        Check(index, static_cast<int>(lines.size()));
        lines[index] = FAdapter->ToQt(s);
        SetLines(lines);
    }
    void Insert(int index, const std::string &s) override
    {
        QStringList lines = Lines();
        Check(index, static_cast<int>(lines.size()) + 1);
        lines.insert(index, FAdapter->ToQt(s));
        SetLines(lines);
    }
    void Delete(int index) override
    {
        QStringList lines = Lines();
        Check(index, static_cast<int>(lines.size()));
        lines.removeAt(index);
        SetLines(lines);
    }
    void Clear() override
    {
        FOneEmptyLine = false;
        if (FMemo)
            FMemo->clear();
    }

private:
    QStringList Lines() const
    {
        if (!FMemo)
            return {};
        if (FMemo->document()->isEmpty())
            return FOneEmptyLine ? QStringList{QString()} : QStringList{};
        QStringList lines;
        for (QTextBlock b = FMemo->document()->begin(); b.isValid(); b = b.next())
            lines << b.text();
        return lines;
    }
    void SetLines(const QStringList &lines)
    {
        if (!FMemo)
            return;
        // One empty line and no lines show the same empty text; remember
        // which one the memo holds, so that a line added next keeps it.
        FOneEmptyLine = lines.size() == 1 && lines.front().isEmpty();
        FMemo->setPlainText(lines.join(QLatin1Char('\n')));
    }
    static void Check(int index, int limit)
    {
        if (index < 0 || index >= limit)
            IndexError(index);
    }
    QPointer<QPlainTextEdit> FMemo;
    const TControlAdapter *FAdapter;
    bool FOneEmptyLine = false;
};

} // namespace

// ---- Font ------------------------------------------------------------------------

UI_IMPLEMENT_ADAPTER(TFontAdapter, "TFont", rtl::TPersistent::StaticClassInfo())
{
    P.String(
        "Name", "TFontName", [](TFontAdapter &f) { return f.Name(); },
        [](TFontAdapter &f, const std::string &v) { f.SetName(v); });
    P.Integer(
        "Size", "Integer", [](TFontAdapter &f) { return f.Size(); },
        [](TFontAdapter &f, int v) { f.SetSize(v); });
    P.Integer(
        "Height", "Integer", [](TFontAdapter &f) { return f.Height(); },
        [](TFontAdapter &f, int v) { f.SetHeight(v); });
    P.Add(
        "Style", rtl::tkSet, "TFontStyles",
        [](TFontAdapter &f) { return rtl::TPropValue(std::int64_t(f.Style())); },
        [](TFontAdapter &f, const rtl::TPropValue &v) {
            f.SetStyle(static_cast<int>(std::get<std::int64_t>(v)));
        });
    P.Integer(
        "Charset", "TFontCharset", [](TFontAdapter &f) { return f.Charset(); },
        [](TFontAdapter &f, int v) { f.SetCharset(v); });
}

void TFontAdapter::Changed()
{
    if (OnChange)
        OnChange();
}

void TFontAdapter::SetName(const std::string &name)
{
    if (name == FName)
        return;
    FName = name;
    Changed();
}

void TFontAdapter::SetSize(int size)
{
    if (size == FSize && FPixelSize == 0)
        return;
    FSize = size;
    FPixelSize = 0;
    Changed();
}

namespace {
// Pixels and points at the class library's screen resolution.
constexpr int kPixelsPerInch = 96;
int PixelsToPoints(int pixels)
{
    return (pixels * 72 + kPixelsPerInch / 2) / kPixelsPerInch;
}
int PointsToPixels(int points)
{
    return (points * kPixelsPerInch + 36) / 72;
}
} // namespace

int TFontAdapter::Height() const
{
    return -(FPixelSize > 0 ? FPixelSize : PointsToPixels(FSize));
}

void TFontAdapter::SetHeight(int height)
{
    // A negative height is the character height, a positive one the cell
    // height; both are taken as the pixel size here.
    const int pixels = height < 0 ? -height : height;
    if (pixels == 0 || pixels == FPixelSize)
        return;
    FPixelSize = pixels;
    FSize = PixelsToPoints(pixels);
    Changed();
}

void TFontAdapter::SetStyle(int style)
{
    if (style == FStyle)
        return;
    FStyle = style;
    Changed();
}

void TFontAdapter::SetCharset(int charset)
{
    if (charset == FCharset)
        return;
    FCharset = charset;
    Changed();
}

void TFontAdapter::Assign(const rtl::TPersistent &source)
{
    auto *font = dynamic_cast<const TFontAdapter *>(&source);
    if (!font) {
        rtl::TPersistent::Assign(source);
        return;
    }
    if (font == this)
        return;
    FName = font->FName;
    FSize = font->FSize;
    FPixelSize = font->FPixelSize;
    FStyle = font->FStyle;
    FCharset = font->FCharset;
    Changed();
}

void TFontAdapter::ReadFrom(const QFont &font)
{
    FName = QStringToAnsi(font.family());
    if (font.pixelSize() > 0) {
        FPixelSize = font.pixelSize();
        FSize = PixelsToPoints(FPixelSize);
    } else if (font.pointSize() > 0) {
        FPixelSize = 0;
        FSize = font.pointSize();
    }
    FStyle = (font.bold() ? fsBold : 0) | (font.italic() ? fsItalic : 0) |
             (font.underline() ? fsUnderline : 0) | (font.strikeOut() ? fsStrikeOut : 0);
}

QFont TFontAdapter::ToQFont(const QFont &base) const
{
    QFont f = base;
    f.setFamily(AnsiToQString(FName));
    if (FPixelSize > 0)
        f.setPixelSize(FPixelSize);
    else if (FSize > 0)
        f.setPointSize(FSize);
    f.setBold(FStyle & fsBold);
    f.setItalic(FStyle & fsItalic);
    f.setUnderline(FStyle & fsUnderline);
    f.setStrikeOut(FStyle & fsStrikeOut);
    return f;
}

// ---- Controls ------------------------------------------------------------------

UI_IMPLEMENT_ADAPTER(TControlAdapter, "TControl", rtl::TComponent::StaticClassInfo())
{
    PublishHint(P);
}

TControlAdapter::TControlAdapter(rtl::TComponent *owner, QObject *object)
    : rtl::TComponent(owner), FObject(object)
{
    if (object)
        FDestroyed = QObject::connect(object, &QObject::destroyed, [this]() { delete this; });
}

TControlAdapter::~TControlAdapter()
{
    QObject::disconnect(FDestroyed);
}

int TControlAdapter::TextCharset() const
{
    for (const rtl::TComponent *c = this; c; c = c->Owner())
        if (auto *form = dynamic_cast<const TFormAdapter *>(c))
            return form->FormCharset();
    return rtl::DEFAULT_CHARSET;
}

QString TControlAdapter::ToQt(const std::string &text) const
{
    return CharsetToQString(text, TextCharset());
}

std::string TControlAdapter::FromQt(const QString &text) const
{
    return QStringToCharset(text, TextCharset());
}

QWidget *TControlAdapter::Widget() const
{
    return qobject_cast<QWidget *>(FObject.data());
}

std::string TControlAdapter::Hint() const
{
    if (auto *w = Widget())
        return FromQt(w->toolTip());
    if (auto *a = qobject_cast<QAction *>(FObject.data()))
        return FromQt(a->toolTip());
    return {};
}

void TControlAdapter::SetHint(const std::string &hint)
{
    if (auto *w = Widget())
        w->setToolTip(ToQt(hint));
    else if (auto *a = qobject_cast<QAction *>(FObject.data()))
        a->setToolTip(ToQt(hint));
}

UI_IMPLEMENT_ADAPTER(TCaptionAdapter, "TCaptionControl", TControlAdapter::StaticClassInfo())
{
    PublishCaption(P);
}

namespace {

bool EndsAMnemonic(const QString &text, qsizetype at)
{
    return at >= text.size() || text[at].isSpace();
}

} // namespace

QString QtCaption(const QString &caption)
{
    QString text;
    text.reserve(caption.size() + 2);
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar c = caption[i];
        text += c;
        if (c != QLatin1Char('&'))
            continue;
        if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&'))
            text += caption[++i];
        else if (EndsAMnemonic(caption, i + 1))
            text += QLatin1Char('&');
    }
    return text;
}

QString CaptionFromQt(const QString &text)
{
    QString caption;
    caption.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        caption += text[i];
        if (text[i] == QLatin1Char('&') && i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
            ++i;
            if (!EndsAMnemonic(text, i + 1))
                caption += QLatin1Char('&');
        }
    }
    return caption;
}

namespace {

// The caption last written through an adapter, kept on the object so that it
// reads back as written: "& " and "&& " show alike.
constexpr const char *kCaptionProperty = "nivoraCaption";

QString CaptionOf(const QObject *o, const QString &shown)
{
    const QString written = o->property(kCaptionProperty).toString();
    return QtCaption(written) == shown ? written : CaptionFromQt(shown);
}

QString ShowCaption(QObject *o, const QString &caption)
{
    o->setProperty(kCaptionProperty, caption);
    return QtCaption(caption);
}

} // namespace

std::string TCaptionAdapter::Caption() const
{
    QObject *o = Object();
    if (auto *l = qobject_cast<QLabel *>(o))
        return FromQt(l->text());
    if (auto *b = qobject_cast<QAbstractButton *>(o))
        return FromQt(CaptionOf(o, b->text()));
    if (auto *g = qobject_cast<QGroupBox *>(o))
        return FromQt(CaptionOf(o, g->title()));
    if (auto *m = qobject_cast<QMenu *>(o))
        return FromQt(CaptionOf(o, m->title()));
    if (auto *a = qobject_cast<QAction *>(o))
        return FromQt(CaptionOf(o, a->text()));
    return {};
}

void TCaptionAdapter::SetCaption(const std::string &caption)
{
    QObject *o = Object();
    const QString text = ToQt(caption);
    if (auto *l = qobject_cast<QLabel *>(o)) {
        l->setText(text);
        AutoSizeLabel(l);
    } else if (auto *b = qobject_cast<QAbstractButton *>(o))
        b->setText(ShowCaption(o, text));
    else if (auto *g = qobject_cast<QGroupBox *>(o))
        g->setTitle(ShowCaption(o, text));
    else if (auto *m = qobject_cast<QMenu *>(o))
        m->setTitle(ShowCaption(o, text));
    else if (auto *a = qobject_cast<QAction *>(o))
        a->setText(ShowCaption(o, text));
}

UI_IMPLEMENT_ADAPTER(TLabelAdapter, "TLabel", TCaptionAdapter::StaticClassInfo())
{
    P.Object<TFontAdapter>(
        "Font", [](TLabelAdapter &l) { return l.Font(); },
        [](TLabelAdapter &l, TFontAdapter *f) { l.SetFont(f); });
    P.Boolean(
        "ParentFont", [](TLabelAdapter &l) { return l.ParentFont(); },
        [](TLabelAdapter &l, bool v) { l.SetParentFont(v); });
}

TLabelAdapter::TLabelAdapter(rtl::TComponent *owner, QObject *object)
    : TCaptionAdapter(owner, object)
{
    FFont.OnChange = [this]() {
        if (auto *l = qobject_cast<QLabel *>(Object())) {
            l->setFont(FFont.ToQFont(l->font()));
            AutoSizeLabel(l);
        }
    };
}

TFontAdapter *TLabelAdapter::Font()
{
    if (QWidget *w = Widget())
        FFont.ReadFrom(w->font());
    return &FFont;
}

void TLabelAdapter::SetFont(TFontAdapter *font)
{
    if (font && font != &FFont)
        FFont.Assign(*font);
    else if (FFont.OnChange)
        FFont.OnChange();
}

bool TLabelAdapter::ParentFont() const
{
    QWidget *w = Widget();
    return w && !w->testAttribute(Qt::WA_SetFont);
}

void TLabelAdapter::SetParentFont(bool value)
{
    QWidget *w = Widget();
    if (!w || value == ParentFont())
        return;
    if (value)
        w->setFont(QFont());
    else {
        QFont own = w->font();
        own.setFamily(own.family()); // marks the font as the widget's own
        w->setFont(own);
    }
}

UI_IMPLEMENT_ADAPTER(TButtonAdapter, "TButton", TCaptionAdapter::StaticClassInfo()) {}
UI_IMPLEMENT_ADAPTER(TSpeedButtonAdapter, "TSpeedButton", TCaptionAdapter::StaticClassInfo()) {}
UI_IMPLEMENT_ADAPTER(TToolButtonAdapter, "TToolButton", TCaptionAdapter::StaticClassInfo()) {}
UI_IMPLEMENT_ADAPTER(TCheckBoxAdapter, "TCheckBox", TCaptionAdapter::StaticClassInfo()) {}
UI_IMPLEMENT_ADAPTER(TRadioButtonAdapter, "TRadioButton", TCaptionAdapter::StaticClassInfo()) {}
UI_IMPLEMENT_ADAPTER(TGroupBoxAdapter, "TGroupBox", TCaptionAdapter::StaticClassInfo()) {}

UI_IMPLEMENT_ADAPTER(TMenuItemAdapter, "TMenuItem", TCaptionAdapter::StaticClassInfo()) {}

std::string TMenuItemAdapter::Hint() const
{
    QObject *o = Object();
    if (auto *m = qobject_cast<QMenu *>(o))
        return FromQt(m->menuAction()->statusTip());
    if (auto *a = qobject_cast<QAction *>(o))
        return FromQt(a->statusTip());
    return {};
}

void TMenuItemAdapter::SetHint(const std::string &hint)
{
    QObject *o = Object();
    QAction *a = qobject_cast<QAction *>(o);
    if (auto *m = qobject_cast<QMenu *>(o))
        a = m->menuAction();
    if (!a)
        return;
    a->setStatusTip(ToQt(hint));
    a->setToolTip(ToQt(hint));
}

UI_IMPLEMENT_ADAPTER(TEditAdapter, "TEdit", TControlAdapter::StaticClassInfo())
{
    P.String(
        "Text", "TCaption", [](TEditAdapter &e) { return e.Text(); },
        [](TEditAdapter &e, const std::string &v) { e.SetText(v); });
}

std::string TEditAdapter::Text() const
{
    if (auto *e = qobject_cast<QLineEdit *>(Object()))
        return FromQt(e->text());
    return {};
}

void TEditAdapter::SetText(const std::string &text)
{
    if (auto *e = qobject_cast<QLineEdit *>(Object()))
        e->setText(ToQt(text));
}

UI_IMPLEMENT_ADAPTER(TMaskEditAdapter, "TMaskEdit", TEditAdapter::StaticClassInfo()) {}

// ---- Lists -------------------------------------------------------------------------

UI_IMPLEMENT_ADAPTER(TListControlAdapter, "TCustomListControl", TControlAdapter::StaticClassInfo())
{
    P.Object<rtl::TStrings>(
        "Items", [](TListControlAdapter &l) { return l.Items(); },
        [](TListControlAdapter &l, rtl::TStrings *v) { l.SetItems(v); });
    P.Integer(
        "ItemIndex", "Integer", [](TListControlAdapter &l) { return l.ItemIndex(); },
        [](TListControlAdapter &l, int v) { l.SetItemIndex(v); });
}

TListControlAdapter::TListControlAdapter(rtl::TComponent *owner, QObject *object)
    : TControlAdapter(owner, object)
{
}

TListControlAdapter::~TListControlAdapter() = default;

void TListControlAdapter::SetItems(rtl::TStrings *items)
{
    if (items && items != FItems.get())
        FItems->Assign(*items);
}

UI_IMPLEMENT_ADAPTER(TComboBoxAdapter, "TComboBox", TListControlAdapter::StaticClassInfo())
{
    P.String(
        "Text", "TCaption", [](TComboBoxAdapter &c) { return c.Text(); },
        [](TComboBoxAdapter &c, const std::string &v) { c.SetText(v); });
}

TComboBoxAdapter::TComboBoxAdapter(rtl::TComponent *owner, QComboBox *combo)
    : TListControlAdapter(owner, combo)
{
    FItems = std::make_unique<TComboItems>(combo, this);
}

int TComboBoxAdapter::ItemIndex() const
{
    auto *c = qobject_cast<QComboBox *>(Object());
    return c ? c->currentIndex() : -1;
}

void TComboBoxAdapter::SetItemIndex(int index)
{
    if (auto *c = qobject_cast<QComboBox *>(Object()))
        c->setCurrentIndex(index);
}

std::string TComboBoxAdapter::Text() const
{
    auto *c = qobject_cast<QComboBox *>(Object());
    return c ? FromQt(c->currentText()) : std::string();
}

void TComboBoxAdapter::SetText(const std::string &text)
{
    auto *c = qobject_cast<QComboBox *>(Object());
    if (!c)
        return;
    if (c->isEditable()) {
        c->setEditText(ToQt(text));
        return;
    }
    int i = c->findText(ToQt(text));
    if (i >= 0)
        c->setCurrentIndex(i);
}

UI_IMPLEMENT_ADAPTER(TListBoxAdapter, "TListBox", TListControlAdapter::StaticClassInfo()) {}

TListBoxAdapter::TListBoxAdapter(rtl::TComponent *owner, QListWidget *list)
    : TListControlAdapter(owner, list)
{
    FItems = std::make_unique<TListBoxItems>(list, this);
}

int TListBoxAdapter::ItemIndex() const
{
    auto *l = qobject_cast<QListWidget *>(Object());
    return l ? l->currentRow() : -1;
}

void TListBoxAdapter::SetItemIndex(int index)
{
    if (auto *l = qobject_cast<QListWidget *>(Object()))
        l->setCurrentRow(index);
}

UI_IMPLEMENT_ADAPTER(TMemoAdapter, "TMemo", CustomMemoInfo())
{
    P.Object<rtl::TStrings>(
        "Lines", [](TMemoAdapter &m) { return m.Lines(); },
        [](TMemoAdapter &m, rtl::TStrings *v) { m.SetLines(v); });
    P.Boolean(
        "WordWrap", [](TMemoAdapter &m) { return m.WordWrap(); },
        [](TMemoAdapter &m, bool v) { m.SetWordWrap(v); });
}

TMemoAdapter::TMemoAdapter(rtl::TComponent *owner, QPlainTextEdit *memo)
    : TControlAdapter(owner, memo), FLines(std::make_unique<TMemoLines>(memo, this))
{
}

TMemoAdapter::~TMemoAdapter() = default;

void TMemoAdapter::SetLines(rtl::TStrings *lines)
{
    if (lines && lines != FLines.get())
        FLines->Assign(*lines);
}

bool TMemoAdapter::WordWrap() const
{
    auto *m = qobject_cast<QPlainTextEdit *>(Object());
    return m && m->lineWrapMode() != QPlainTextEdit::NoWrap;
}

void TMemoAdapter::SetWordWrap(bool wrap)
{
    if (auto *m = qobject_cast<QPlainTextEdit *>(Object()))
        m->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

// ---- Status bar -----------------------------------------------------------------

UI_IMPLEMENT_ADAPTER(TStatusPanelAdapter, "TStatusPanel", rtl::TCollectionItem::StaticClassInfo())
{
    P.String(
        "Text", "string", [](TStatusPanelAdapter &p) { return p.Text(); },
        [](TStatusPanelAdapter &p, const std::string &v) { p.SetText(v); });
}

std::string TStatusPanelAdapter::Text() const
{
    return Label && Bar ? Bar->FromQt(Label->text()) : std::string();
}

void TStatusPanelAdapter::SetText(const std::string &text)
{
    if (Label && Bar)
        Label->setText(Bar->ToQt(text));
}

UI_IMPLEMENT_ADAPTER(TStatusBarAdapter, "TStatusBar", TControlAdapter::StaticClassInfo())
{
    P.Object<rtl::TCollection>("Panels", [](TStatusBarAdapter &s) { return s.Panels(); });
}

TStatusBarAdapter::TStatusBarAdapter(rtl::TComponent *owner, QStatusBar *bar)
    : TControlAdapter(owner, bar), FPanels(rtl::CollectionItemClass<TStatusPanelAdapter>(), this)
{
    for (QLabel *label : bar->findChildren<QLabel *>(Qt::FindDirectChildrenOnly)) {
        auto *panel = static_cast<TStatusPanelAdapter *>(FPanels.Add());
        panel->Label = label;
        panel->Bar = this;
    }
}

// ---- The window ---------------------------------------------------------------

UI_IMPLEMENT_ADAPTER(TFormAdapter, "TForm", CustomFormInfo())
{
    P.String(
        "Caption", "TCaption", [](TFormAdapter &f) { return f.Caption(); },
        [](TFormAdapter &f, const std::string &v) { f.SetCaption(v); });
    P.Object<TFontAdapter>(
        "Font", [](TFormAdapter &f) { return f.Font(); },
        [](TFormAdapter &f, TFontAdapter *v) { f.SetFont(v); });
    // The placement: the window's frame (its MDI sub-window when it has one).
    P.Integer(
        "Left", "Integer", [](TFormAdapter &f) { return f.Bounds().x(); },
        [](TFormAdapter &f, int v) { f.SetBounds(f.Bounds().translated(v - f.Bounds().x(), 0)); });
    P.Integer(
        "Top", "Integer", [](TFormAdapter &f) { return f.Bounds().y(); },
        [](TFormAdapter &f, int v) { f.SetBounds(f.Bounds().translated(0, v - f.Bounds().y())); });
    P.Integer(
        "Width", "Integer", [](TFormAdapter &f) { return f.Bounds().width(); },
        [](TFormAdapter &f, int v) {
            QRect r = f.Bounds();
            r.setWidth(v);
            f.SetBounds(r);
        });
    P.Integer(
        "Height", "Integer", [](TFormAdapter &f) { return f.Bounds().height(); },
        [](TFormAdapter &f, int v) {
            QRect r = f.Bounds();
            r.setHeight(v);
            f.SetBounds(r);
        });
    P.Enumeration(
        "WindowState", "TWindowState", {"wsNormal", "wsMinimized", "wsMaximized"},
        [](TFormAdapter &f) { return f.WindowState(); },
        [](TFormAdapter &f, int v) { f.SetWindowState(v); });
}

namespace {
// One class information per window class name, kept for the whole run.
const rtl::TClassInfo *WindowClassInfo(const std::string &className)
{
    static std::map<std::string, rtl::TClassInfo> infos;
    static std::deque<std::string> names;
    auto it = infos.find(className);
    if (it != infos.end())
        return &it->second;
    names.push_back(className);
    auto &info = infos[className];
    info = rtl::TClassInfo{names.back().c_str(), &TFormAdapter::StaticClassInfo(), nullptr};
    return &info;
}
} // namespace

TFormAdapter::TFormAdapter(QWidget *window, const std::string &className)
    : TControlAdapter(nullptr, window),
      FClass(className.empty() ? &StaticClassInfo() : WindowClassInfo(className))
{
    if (window && rtl::IsValidIdent(QStringToAnsi(window->objectName())))
        SetName(QStringToAnsi(window->objectName()));
    FFont.OnChange = [this]() {
        if (QWidget *w = Widget())
            w->setFont(FFont.ToQFont(w->font()));
    };
}

void TFormAdapter::SetTextCharsetSource(rtl::TComponent *source, std::function<int()> charset)
{
    if (FCharsetSource && FCharsetSource != source)
        FCharsetSource->RemoveFreeNotification(this);
    FCharsetSource = source;
    FCharset = source ? std::move(charset) : std::function<int()>();
    if (source)
        source->FreeNotification(this);
}

int TFormAdapter::FormCharset() const
{
    return FCharset ? FCharset() : rtl::DEFAULT_CHARSET;
}

void TFormAdapter::Notification(rtl::TComponent *component, rtl::TOperation operation)
{
    if (operation == rtl::opRemove && component == FCharsetSource) {
        FCharsetSource = nullptr;
        FCharset = nullptr;
    }
    TControlAdapter::Notification(component, operation);
}

TFormAdapter::~TFormAdapter()
{
    // The window no longer leads to this component.
    if (QObject *window = Object())
        if (window->property("nivoraFormComponent").value<void *>() == this)
            window->setProperty("nivoraFormComponent", QVariant());
    DestroyComponents();
}

QWidget *TFormAdapter::Frame() const
{
    QWidget *w = Widget();
    if (!w)
        return nullptr;
    if (auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget()))
        return sub;
    return w;
}

QRect TFormAdapter::Bounds() const
{
    QWidget *frame = Frame();
    return frame ? frame->geometry() : QRect();
}

void TFormAdapter::SetBounds(const QRect &bounds)
{
    QWidget *frame = Frame();
    if (!frame || bounds.width() < 0 || bounds.height() < 0)
        return;
    frame->move(bounds.topLeft());
    frame->resize(bounds.size());
}

int TFormAdapter::WindowState() const
{
    QWidget *frame = Frame();
    if (!frame)
        return 0;
    if (frame->isMinimized())
        return 1;
    return frame->isMaximized() ? 2 : 0;
}

void TFormAdapter::SetWindowState(int state)
{
    QWidget *frame = Frame();
    if (!frame)
        return;
    const Qt::WindowStates keep =
        frame->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    frame->setWindowState(keep | (state == 1   ? Qt::WindowMinimized
                                  : state == 2 ? Qt::WindowMaximized
                                               : Qt::WindowNoState));
}

std::string TFormAdapter::Caption() const
{
    QWidget *w = Widget();
    return w ? FromQt(w->windowTitle()) : std::string();
}

void TFormAdapter::SetCaption(const std::string &caption)
{
    if (QWidget *w = Widget())
        w->setWindowTitle(ToQt(caption));
}

TFontAdapter *TFormAdapter::Font()
{
    if (QWidget *w = Widget())
        FFont.ReadFrom(w->font());
    return &FFont;
}

void TFormAdapter::SetFont(TFontAdapter *font)
{
    if (font && font != &FFont)
        FFont.Assign(*font);
    else if (FFont.OnChange)
        FFont.OnChange();
}

TControlAdapter *TFormAdapter::Adapt(QObject *object)
{
    const std::string name = QStringToAnsi(object->objectName());
    if (name.empty() || name.rfind("qt_", 0) == 0 || !rtl::IsValidIdent(name) ||
        FindComponent(name))
        return nullptr;
    TControlAdapter *a = nullptr;
    if (auto *menu = qobject_cast<QMenu *>(object))
        a = new TMenuItemAdapter(this, menu);
    else if (qobject_cast<QAction *>(object))
        a = new TMenuItemAdapter(this, object);
    else if (qobject_cast<QLabel *>(object))
        a = new TLabelAdapter(this, object);
    else if (auto *tool = qobject_cast<QToolButton *>(object)) {
        if (qobject_cast<QToolBar *>(tool->parentWidget()))
            a = new TToolButtonAdapter(this, object);
        else
            a = new TSpeedButtonAdapter(this, object);
    } else if (qobject_cast<QCheckBox *>(object))
        a = new TCheckBoxAdapter(this, object);
    else if (qobject_cast<QRadioButton *>(object))
        a = new TRadioButtonAdapter(this, object);
    else if (qobject_cast<QAbstractButton *>(object))
        a = new TButtonAdapter(this, object);
    else if (qobject_cast<QGroupBox *>(object))
        a = new TGroupBoxAdapter(this, object);
    else if (auto *edit = qobject_cast<QLineEdit *>(object)) {
        if (edit->inputMask().isEmpty())
            a = new TEditAdapter(this, object);
        else
            a = new TMaskEditAdapter(this, object);
    } else if (auto *combo = qobject_cast<QComboBox *>(object))
        a = new TComboBoxAdapter(this, combo);
    else if (auto *list = qobject_cast<QListWidget *>(object))
        a = new TListBoxAdapter(this, list);
    else if (auto *memo = qobject_cast<QPlainTextEdit *>(object))
        a = new TMemoAdapter(this, memo);
    else if (auto *bar = qobject_cast<QStatusBar *>(object))
        a = new TStatusBarAdapter(this, bar);
    else if (qobject_cast<QWidget *>(object))
        a = new TControlAdapter(this, object);
    else
        return nullptr;
    a->SetName(name);
    return a;
}

void TFormAdapter::AdaptChildren()
{
    QObject *window = Object();
    if (!window)
        return;
    for (QObject *child : window->findChildren<QObject *>())
        Adapt(child);
}

namespace {
const char *const kFormProperty = "nivoraFormComponent";
} // namespace

TFormAdapter *CreateFormComponent(QWidget *window, const std::string &className)
{
    auto *form = new TFormAdapter(window, className);
    form->AdaptChildren();
    if (window)
        window->setProperty(kFormProperty, QVariant::fromValue(static_cast<void *>(form)));
    return form;
}

TFormAdapter *FormComponentOf(const QWidget *window)
{
    if (!window)
        return nullptr;
    QVariant v = window->property(kFormProperty);
    return v.isValid() ? static_cast<TFormAdapter *>(v.value<void *>()) : nullptr;
}

} // namespace ui
