#include "views/small_dialogs.h"

#include "controls/translation_data.h"

#include "controls/lang_form.h"
#include "i18n/base/lx_languages.h"
#include "i18n/lx_linked.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services.h"

#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTime>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <cmath>

namespace views {

TfrmAnnoEdit *frmAnnoEdit = nullptr;
TfrmDelAnno *frmDelAnno = nullptr;
TfrmDateTime *frmDateTime = nullptr;

namespace {

constexpr Qt::WindowFlags kDialogFlags = Qt::Dialog | Qt::WindowStaysOnTopHint |
                                         Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                         Qt::WindowCloseButtonHint;

QPushButton *MakeButton(QDialog *dialog, const char *name, const QString &caption,
                        ui::TModalResult result)
{
    auto *button = new QPushButton(caption, dialog);
    button->setObjectName(QString::fromLatin1(name));
    QObject::connect(button, &QPushButton::clicked, dialog,
                     [dialog, result]() { dialog->done(result); });
    return button;
}

QHBoxLayout *ButtonRow(QPushButton *ok, QPushButton *cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addStretch(1);
    return row;
}

void CentreOnScreen(QWidget *window)
{
    window->adjustSize();
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

template <class L>
L *LoadTranslation(QDialog *dialog, const char *formClass, const char *langName,
                   i18n::TlxLangDispatcher *dispatcher, ui::TFormAdapter *&form)
{
    form = ui::CreateFormComponent(dialog, formClass);
    L *lang = controls::LoadFormTranslation<L>(form, dispatcher, i18n::kLanguageCount,
                                               controls::TranslationData(formClass));
    lang->SetName(langName);
    return lang;
}

} // namespace

// ---- TfrmAnnoEdit ----------------------------------------------------------

TfrmAnnoEdit::TfrmAnnoEdit(i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QDialog(parent, kDialogFlags)
{
    setObjectName(QStringLiteral("frmAnnoEdit"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMinimumWidth(260);
    BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("OK"), ui::mrOk);
    BitBtn1->setDefault(true);
    BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("Cancel"), ui::mrCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Edit1);
    layout->addLayout(ButtonRow(BitBtn1, BitBtn2));

    lxLangLinked_frmAnnoEdit = LoadTranslation<i18n::TlxLangLinked>(
        this, "TfrmAnnoEdit", "lxLangLinked_frmAnnoEdit", dispatcher, FForm);
    CentreOnScreen(this);
}

TfrmAnnoEdit::~TfrmAnnoEdit()
{
    if (frmAnnoEdit == this)
        frmAnnoEdit = nullptr;
}

// ---- TfrmDelAnno -----------------------------------------------------------

TfrmDelAnno::TfrmDelAnno(i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QDialog(parent, kDialogFlags | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmDelAnno"));
    setWindowTitle(QStringLiteral("Erase Annotation"));
    StringGrid1 = new ui::TStringGrid(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->SetColCount(3);
    StringGrid1->SetFixedRows(1);
    StringGrid1->SetRowCount(2);
    StringGrid1->SetOptions(ui::goRowSelect | ui::goRangeSelect);
    StringGrid1->setMinimumSize(400, 200);
    BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("Delete"), ui::mrOk);
    BitBtn1->setEnabled(false);
    BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("Cancel"), ui::mrCancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1);
    layout->addLayout(ButtonRow(BitBtn1, BitBtn2));

    lxLangLinked_frmDelAnno = LoadTranslation<i18n::TlxLangLinked>(
        this, "TfrmDelAnno", "lxLangLinked_frmDelAnno", dispatcher, FForm);
    CentreOnScreen(this);
    setFixedSize(size());
}

TfrmDelAnno::~TfrmDelAnno()
{
    if (frmDelAnno == this)
        frmDelAnno = nullptr;
}

// ---- TfrmDateTime ----------------------------------------------------------

TfrmDateTime::TfrmDateTime(i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QDialog(parent, kDialogFlags)
{
    setObjectName(QStringLiteral("frmDateTime"));
    setWindowTitle(QStringLiteral("Date Time"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("is not valid, Please correct it."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    DatePicker = new QDateEdit(this);
    DatePicker->setObjectName(QStringLiteral("DatePicker"));
    DatePicker->setCalendarPopup(true);
    TimePicker = new QTimeEdit(this);
    TimePicker->setObjectName(QStringLiteral("TimePicker"));
    TimePicker->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    BitBtn1 = MakeButton(this, "BitBtn1", QStringLiteral("OK"), ui::mrOk);
    BitBtn1->setDefault(true);
    BitBtn2 = MakeButton(this, "BitBtn2", QStringLiteral("Cancel"), ui::mrCancel);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(DatePicker, 1, 0);
    grid->addWidget(TimePicker, 1, 1);
    grid->addLayout(ButtonRow(BitBtn1, BitBtn2), 2, 0, 1, 2);

    lxLangLinked_frmDateTime = LoadTranslation<i18n::TlxLangLinked>(
        this, "TfrmDateTime", "lxLangLinked_frmDateTime", dispatcher, FForm);
    CentreOnScreen(this);
}

TfrmDateTime::~TfrmDateTime()
{
    if (frmDateTime == this)
        frmDateTime = nullptr;
}

rtl::TDateTime TfrmDateTime::Date() const
{
    QDate d = DatePicker->date();
    rtl::TDateTime out = 0;
    if (!rtl::TryEncodeDate(d.year(), d.month(), d.day(), out))
        return 0;
    return out;
}

void TfrmDateTime::SetDate(rtl::TDateTime date)
{
    int y = 0, m = 0, d = 0;
    rtl::DecodeDate(date, y, m, d);
    DatePicker->setDate(QDate(y, m, d));
}

rtl::TDateTime TfrmDateTime::Time() const
{
    QTime t = TimePicker->time();
    rtl::TDateTime out = 0;
    if (!rtl::TryEncodeTime(t.hour(), t.minute(), t.second(), 0, out))
        return 0;
    return out;
}

void TfrmDateTime::SetTime(rtl::TDateTime time)
{
    int h = 0, n = 0, s = 0, ms = 0;
    rtl::DecodeTime(time, h, n, s, ms);
    TimePicker->setTime(QTime(h, n, s));
}

} // namespace views
