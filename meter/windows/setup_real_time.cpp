#include "meter/windows/setup_real_time.h"

#include "controls/lang_form.h"
#include "controls/translation_data.h"
#include "i18n/base/lx_languages.h"
#include "i18n/lx_linked.h"
#include "meter/real_time.h"
#include "meter/windows/panel_host.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/numbers.h"
#include "platform/ui/app_application.h"
#include "platform/ui/locale_settings.h"
#include "platform/ui/ui_services.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace meter {

TfrmSetupRealTime *frmSetupRealTime = nullptr;

namespace {

QLabel *MakeLabel(QWidget *parent, const char *name, const char *caption)
{
    auto *label = new QLabel(QString::fromLatin1(caption), parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

} // namespace

TfrmSetupRealTime::TfrmSetupRealTime(i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmSetupRealTime"));
    setWindowTitle(QStringLiteral("Real-Time Setup"));

    Label1 = MakeLabel(this, "Label1", "Real-Time data no to be recorded");
    Label2 = MakeLabel(this, "Label2", "(Adjust the number to meet your need)");
    Label3 = MakeLabel(this, "Label3", "Real -Time Sampling Rate");
    Label4 = MakeLabel(this, "Label4", "second");
    Label5 = MakeLabel(this, "Label5", "Recording Period");
    Label6 = MakeLabel(this, "Label6", "HH:MM:SS");

    edtRealTimeNo = new QLineEdit(this);
    edtRealTimeNo->setObjectName(QStringLiteral("edtRealTimeNo"));
    // Up to five digits; unfilled places show '_'.
    edtRealTimeNo->setInputMask(QStringLiteral("00000;_"));
    edtRealTimeNo->setText(QStringLiteral(" 2000"));

    txtRate = new QComboBox(this);
    txtRate->setObjectName(QStringLiteral("txtRate"));
    txtRate->setEditable(true);
    txtRate->setInsertPolicy(QComboBox::NoInsert);
    for (const char *item : {"1.0", "2.0", "5.0", "10.0", "20.0", "30.0"})
        txtRate->addItem(QString::fromLatin1(item));
    txtRate->setEditText(QStringLiteral("0.5"));

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto *panelLayout = new QHBoxLayout(Panel1);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    edtPeriod = new QLineEdit(Panel1);
    edtPeriod->setObjectName(QStringLiteral("edtPeriod"));
    panelLayout->addWidget(edtPeriod);
    Panel1->setEnabled(false);

    const int fieldWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000:00:00")) + 24;
    for (QWidget *field :
         {static_cast<QWidget *>(edtRealTimeNo), static_cast<QWidget *>(txtRate), Panel1})
        field->setFixedWidth(fieldWidth);

    btnOpenSingleSet = new QPushButton(QStringLiteral("Start"), this);
    btnOpenSingleSet->setObjectName(QStringLiteral("btnOpenSingleSet"));
    btnOpenSingleSet->setDefault(true);
    Button1 = new QPushButton(QStringLiteral("Cancel"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    connect(btnOpenSingleSet, &QPushButton::clicked, this,
            ui::GuardedSlot(this, &TfrmSetupRealTime::btnOpenSingleSetClick));
    connect(Button1, &QPushButton::clicked, this, [this] { done(ui::mrCancel); });

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(edtRealTimeNo, 0, 1);
    grid->addWidget(Label2, 0, 2);
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(txtRate, 1, 1);
    grid->addWidget(Label4, 1, 2);
    grid->addWidget(Label5, 2, 0);
    grid->addWidget(Panel1, 2, 1);
    grid->addWidget(Label6, 2, 2);
    grid->setColumnStretch(2, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOpenSingleSet);
    buttons->addWidget(Button1);
    buttons->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    // The period follows the user's edits (a count or rate typed, a rate
    // picked from the list); what the program writes into the fields leaves
    // it as the caller filled it.
    const auto change = ui::GuardedSlot(this, &TfrmSetupRealTime::edtRealTimeNoChange);
    connect(edtRealTimeNo, &QLineEdit::textEdited, this, change);
    connect(txtRate, &QComboBox::textActivated, this, change);
    connect(txtRate->lineEdit(), &QLineEdit::textEdited, this, change);

    FForm = ui::CreateFormComponent(this, "TfrmSetupRealTime");
    lxLangLinked_frmSetupRealTime = controls::LoadFormTranslation<i18n::TlxLangLinked>(
        FForm, dispatcher, i18n::kLanguageCount, controls::TranslationData("TfrmSetupRealTime"));
    lxLangLinked_frmSetupRealTime->SetName("lxLangLinked_frmSetupRealTime");
}

TfrmSetupRealTime::~TfrmSetupRealTime()
{
    if (frmSetupRealTime == this)
        frmSetupRealTime = nullptr;
}

void TfrmSetupRealTime::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    ui::Guarded([this] { FormShow(); });
    adjustSize();
    QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmSetupRealTime::FormShow()
{
    // Replacing the items would take the typed text: it is put back.
    const QString typed = txtRate->currentText();
    txtRate->clear();
    for (int seconds : {1, 2, 5, 10, 20, 30})
        txtRate->addItem(ui::AnsiToQString(rtl::LevelText(seconds)));
    txtRate->setCurrentIndex(-1);
    txtRate->setEditText(typed);
}

std::string TfrmSetupRealTime::RateText() const
{
    return ui::QStringToAnsi(txtRate->currentText());
}

std::string TfrmSetupRealTime::CountText() const
{
    return ui::QStringToAnsi(edtRealTimeNo->text());
}

void TfrmSetupRealTime::edtRealTimeNoChange()
{
    edtPeriod->setText(ui::AnsiToQString(RecordingPeriodText(CountText(), RateText())));
}

void TfrmSetupRealTime::btnOpenSingleSetClick()
{
    double rate = 0;
    if (!rtl::TryStrToFloat(RateText(), rate) || !ValidRealTimeRate(rate)) {
        ui::ShowMessage(txtRate->currentText() +
                        controls::StringById(lxLangLinked_frmSetupRealTime, "IDS_34"));
        txtRate->setFocus();
        return;
    }
    done(ui::mrOk);
}

} // namespace meter
