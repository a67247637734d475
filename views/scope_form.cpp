#include "views/scope_form.h"

#include "controls/lang_form.h"
#include "controls/translation_data.h"
#include "i18n/base/lx_languages.h"
#include "platform/ui/app_application.h"
#include "platform/ui/caption_fit.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace views {

TfrmScope *frmScope = nullptr;

namespace {

template <class W> W *Part(QWidget *parent, const char *name)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->hide();
    return w;
}

} // namespace

TfrmScope::TfrmScope(i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmScope"));
    setWindowTitle(QStringLiteral("Print Range"));

    GroupBox1 = Part<QGroupBox>(this, "GroupBox1");
    GroupBox1->setTitle(QStringLiteral("Range"));
    radAll = new QRadioButton(QStringLiteral("&All"), GroupBox1);
    radAll->setObjectName(QStringLiteral("radAll"));
    radAll->setChecked(true);
    radNo = new QRadioButton(QStringLiteral("&Select"), GroupBox1);
    radNo->setObjectName(QStringLiteral("radNo"));
    Label1 = new QLabel(QStringLiteral("&from"), GroupBox1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(QStringLiteral("&to"), GroupBox1);
    Label2->setObjectName(QStringLiteral("Label2"));
    edtSelFrom = new QLineEdit(GroupBox1);
    edtSelFrom->setObjectName(QStringLiteral("edtSelFrom"));
    edtSelTo = new QLineEdit(GroupBox1);
    edtSelTo->setObjectName(QStringLiteral("edtSelTo"));
    Label1->setBuddy(edtSelFrom);
    Label2->setBuddy(edtSelTo);
    for (QLineEdit *edit : {edtSelFrom, edtSelTo})
        edit->setMaximumWidth(90);
    auto *range = new QGridLayout(GroupBox1);
    range->addWidget(radAll, 0, 0, 1, 4);
    range->addWidget(radNo, 1, 0);
    range->addWidget(Label1, 1, 1);
    range->addWidget(edtSelFrom, 1, 2);
    range->addWidget(Label2, 1, 3);
    range->addWidget(edtSelTo, 1, 4);

    Progress1 = Part<QProgressBar>(this, "Progress1");
    Progress1->setTextVisible(false);
    Progress1->setMinimumWidth(260);
    SText1 = Part<QLabel>(this, "SText1");
    SText1->setText(QStringLiteral("bytes received"));
    SText2 = Part<QLabel>(this, "SText2");
    SText2->setText(QStringLiteral("total bytes"));
    lblBytesReceived = Part<QLabel>(this, "lblBytesReceived");
    lblTotalBytes = Part<QLabel>(this, "lblTotalBytes");
    for (QLabel *label : {lblBytesReceived, lblTotalBytes}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setMinimumWidth(70);
    }

    BitBtn1 = Part<QPushButton>(this, "BitBtn1");
    BitBtn1->setText(QStringLiteral("OK"));
    BitBtn1->setDefault(true);
    BitBtn2 = Part<QPushButton>(this, "BitBtn2");
    BitBtn2->setText(QStringLiteral("Cancel"));
    connect(BitBtn1, &QPushButton::clicked, this,
            ui::GuardedSlot([this] { SetModalResult(ui::mrOk); }));
    connect(BitBtn2, &QPushButton::clicked, this,
            ui::GuardedSlot([this] { SetModalResult(ui::mrCancel); }));

    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(GroupBox1);
    auto *counts = new QGridLayout;
    counts->addWidget(SText1, 0, 0);
    counts->addWidget(lblBytesReceived, 0, 1);
    counts->addWidget(SText2, 1, 0);
    counts->addWidget(lblTotalBytes, 1, 1);
    counts->setColumnStretch(0, 1);
    layout->addLayout(counts);
    layout->addWidget(Progress1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    FForm = ui::CreateFormComponent(this, "TfrmScope");
    lxLangLinked_frmScope = controls::LoadFormTranslation<i18n::TlxLangLinked>(
        FForm, dispatcher, i18n::kLanguageCount, controls::TranslationData("TfrmScope"));
    lxLangLinked_frmScope->SetName("lxLangLinked_frmScope");
}

TfrmScope::~TfrmScope()
{
    if (frmScope == this)
        frmScope = nullptr;
}

void TfrmScope::SetModalResult(ui::TModalResult result)
{
    FModalResult = result;
    if (isModal() && result != ui::mrNone)
        done(result);
}

void TfrmScope::FitToParts()
{
    ui::FitCaption(*this);
    layout()->activate();
    adjustSize();
}

void TfrmScope::SetClosable(bool closable)
{
    FClosable = closable;
    setWindowFlag(Qt::WindowCloseButtonHint, closable);
}

void TfrmScope::closeEvent(QCloseEvent *event)
{
    if (!FClosable) {
        event->ignore();
        return;
    }
    // The close box is Cancel, shown modally or not.
    FModalResult = ui::mrCancel;
    QDialog::closeEvent(event);
}

void TfrmScope::reject()
{
    if (!FClosable)
        return;
    FModalResult = ui::mrCancel;
    QDialog::reject();
}

} // namespace views
