#include "meter/windows/setup_form.h"

#include "controls/lang_form.h"
#include "i18n/base/lx_languages.h"
#include "i18n/lx_linked.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/app_application.h"
#include "platform/ui/string_grid.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace meter {

TfrmSetup *frmSetup = nullptr;

TfrmSetup::TfrmSetup(TMeterLink &link, i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QWidget(parent), FUi(nullptr), FCommands(link, FUi, *this)
{
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Data Logger Setup"));
    BuildControls();
    auto *form = ui::CreateFormComponent(this, "TfrmSetup");
    // English only: the stored translation data holds no texts.
    lxLangLinked_frmSetup = controls::LoadFormTranslation<i18n::TlxLangLinked>(
        form, dispatcher, i18n::kLanguageCount, "");
    lxLangLinked_frmSetup->SetName("lxLangLinked_frmSetup");
    adjustSize();
}

TfrmSetup::~TfrmSetup()
{
    if (frmSetup == this)
        frmSetup = nullptr;
}

QLineEdit *TfrmSetup::MakeField(TSetupField field, const char *name, bool readOnly,
                                const QString &text)
{
    auto *edit = new QLineEdit(text, this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(readOnly);
    FFields[field] = edit;
    return edit;
}

QLabel *TfrmSetup::MakeLabel(const char *name, const QString &caption)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QPushButton *TfrmSetup::MakeButton(const char *name, const QString &caption,
                                   void (TfrmSetup::*handler)())
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(QString::fromLatin1(name));
    if (handler)
        connect(button, &QPushButton::clicked, this, ui::GuardedSlot(this, handler));
    return button;
}

void TfrmSetup::BuildControls()
{
    using F = TSetupField;
    auto *layout = new QVBoxLayout(this);

    Button1 = MakeButton("Button1", QStringLiteral("Adjust Meter Time To Computer Time"),
                         &TfrmSetup::Button1Click);
    Button3 = MakeButton("Button3", QStringLiteral("Erase Meter Memory"), &TfrmSetup::Button3Click);
    auto *top = new QHBoxLayout;
    top->addWidget(Button1);
    top->addWidget(Button3);
    top->addStretch(1);
    layout->addLayout(top);

    // Recording interval: two-digit minutes and seconds.
    GroupBox1 = new QGroupBox(QStringLiteral("Meter Recording Interval "), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    auto *interval = new QHBoxLayout(GroupBox1);
    for (auto [field, name, text] :
         {std::tuple{F::edtInt1, "edtInt1", "00"}, std::tuple{F::edtInt2, "edtInt2", "02"}}) {
        QLineEdit *edit = MakeField(field, name, false);
        edit->setInputMask(QStringLiteral("00;_"));
        edit->setText(QString::fromLatin1(text));
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 12);
        interval->addWidget(edit);
        if (field == F::edtInt1)
            interval->addWidget(MakeLabel("Label10", QStringLiteral(":")));
    }
    interval->addWidget(MakeLabel("Label2", QStringLiteral("mm:ss(00:01~01:00)")));
    interval->addStretch(1);
    Button2 = MakeButton("Button2", QStringLiteral("Adjust Meter Recording Interval "),
                         &TfrmSetup::Button2Click);
    interval->addWidget(Button2);
    layout->addWidget(GroupBox1);

    // Logger information.
    GroupBox2 = new QGroupBox(QStringLiteral("Meter DataLogger Information"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    auto *info = new QGridLayout(GroupBox2);
    Button4 = MakeButton("Button4", QStringLiteral("Read  "), &TfrmSetup::Button4Click);
    info->addWidget(Button4, 0, 0);
    info->addWidget(MakeLabel("Label1", QStringLiteral("MM/DD/YY   hh:mm:ss")), 0, 1);
    info->addWidget(MakeField(F::txtMeterTime, "txtMeterTime", true), 1, 1, 1, 3);
    struct InfoField {
        F field;
        const char *name;
        const char *label;
        const char *caption;
    };
    const InfoField fields[] = {
        {F::txtInt, "txtInt", "Label3", "Interval (s)"},
        {F::txtMemoryAvailable, "txtMemoryAvailable", "Label4", "Free memory (samples)"},
        {F::txtDataSets, "txtDataSets", "Label5", "Data sets"},
        {F::txtVer, "txtVer", "Label6", "Firmware version"},
        {F::txtSN, "txtSN", "Label7", "Serial number"},
        {F::txt94dB, "txt94dB", "Label8", "94 dB"},
        {F::txt70dB, "txt70dB", "Label11", "70 dB"},
        {F::txt60dB, "txt60dB", "Label12", "60 dB"},
        {F::txt40dB, "txt40dB", "Label13", "40 dB"},
        {F::txt30dB, "txt30dB", "Label14", "30 dB"},
    };
    // Two columns of label and field: the meter's own values left, the
    // calibration points right.
    for (int i = 0; i < 5; ++i) {
        for (int side = 0; side < 2; ++side) {
            const InfoField &f = fields[i + 5 * side];
            info->addWidget(MakeLabel(f.label, QString::fromLatin1(f.caption)), 2 + i, side * 2);
            info->addWidget(MakeField(f.field, f.name, true), 2 + i, side * 2 + 1);
        }
    }
    info->setColumnStretch(1, 1);
    info->setColumnStretch(3, 1);
    layout->addWidget(GroupBox2);

    // Single EEPROM bytes.
    auto *eeprom = new QGridLayout;
    eeprom->addWidget(MakeLabel("Label15", QStringLiteral("Address")), 0, 1);
    eeprom->addWidget(MakeLabel("Label16", QStringLiteral("Data")), 0, 2);
    eeprom->addWidget(MakeLabel("Label17", QStringLiteral("Password")), 0, 3);
    Button6 = MakeButton("Button6", QStringLiteral("Write EEProm"), &TfrmSetup::Button6Click);
    eeprom->addWidget(Button6, 1, 0);
    eeprom->addWidget(MakeField(F::txtWAddress, "txtWAddress", false, QStringLiteral("0")), 1, 1);
    eeprom->addWidget(MakeField(F::txtWData, "txtWData", false, QStringLiteral("0")), 1, 2);
    QLineEdit *password = MakeField(F::edtPassword, "edtPassword", false, QStringLiteral("0"));
    password->setEchoMode(QLineEdit::Password);
    eeprom->addWidget(password, 1, 3);
    Button7 = MakeButton("Button7", QStringLiteral("Read EEProm"), &TfrmSetup::Button7Click);
    eeprom->addWidget(Button7, 2, 0);
    eeprom->addWidget(MakeField(F::txtRAddress, "txtRAddress", false, QStringLiteral("0")), 2, 1);
    eeprom->addWidget(MakeField(F::txtRData, "txtRData", true), 2, 2);
    layout->addLayout(eeprom);
    layout->addStretch(1);

    // Hidden parts of the layout without a role.
    auto *grid = new ui::TStringGrid(this);
    grid->setObjectName(QStringLiteral("Grid1"));
    grid->hide();
    MakeButton("Button5", QStringLiteral("Button5"), nullptr)->hide();
    MakeLabel("lblMemTest", QString())->hide();
    MakeLabel("Label9", QStringLiteral("Memory Test:"))->hide();
}

QLineEdit *TfrmSetup::Field(TSetupField field) const
{
    auto it = FFields.find(field);
    return it == FFields.end() ? nullptr : it->second;
}

std::string TfrmSetup::FieldText(TSetupField field)
{
    QLineEdit *edit = Field(field);
    return edit ? ui::QStringToAnsi(edit->text()) : std::string();
}

void TfrmSetup::SetFieldText(TSetupField field, const std::string &text)
{
    if (QLineEdit *edit = Field(field))
        edit->setText(ui::AnsiToQString(text));
}

void TfrmSetup::FormClose()
{
    FClosed = true;
    if (frmSetup == this)
        frmSetup = nullptr;
}

void TfrmSetup::closeEvent(QCloseEvent *event)
{
    if (!TLinkGuard::Instance().CanClose(this)) {
        event->ignore();
        return;
    }
    event->accept();
    if (!FClosed)
        FormClose();
}

} // namespace meter
