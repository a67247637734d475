// TfrmSetup, "Data Logger Setup": the window that serves the meter's data
// logger directly (clock, erase, recording interval, logger information,
// single EEPROM bytes behind the access code). An MDI child of the main
// window; one at a time, reached through frmSetup, which it clears when it
// closes. Its texts are English only: its translation component holds none.
//
// The commands themselves are meter::TSetupCommands (meter/setup_commands.h);
// the window holds the fields they read and fill.
#pragma once

#include "meter/setup_commands.h"
#include "meter/windows/command_ui.h"
#include "meter/windows/panel_host.h"

#include <QWidget>

#include <map>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace i18n {
class TlxLangDispatcher;
class TlxLangLinked;
} // namespace i18n
namespace ui {
class TStringGrid;
}

namespace meter {

class TfrmSetup : public QWidget, public TSetupFields {
    Q_OBJECT
public:
    TfrmSetup(TMeterLink &link, i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);
    ~TfrmSetup() override;

    // ---- published event handlers
    void Button1Click() { FCommands.SetMeterClock(); }
    void Button3Click() { FCommands.EraseMemory(); }
    void Button2Click() { FCommands.SetRecordingInterval(); }
    void Button4Click() { FCommands.ReadInformation(); }
    void Button6Click() { FCommands.WriteEeprom(); }
    void Button7Click() { FCommands.ReadEeprom(); }
    void FormClose();

    // ---- TSetupFields
    std::string FieldText(TSetupField field) override;
    void SetFieldText(TSetupField field, const std::string &text) override;
    QLineEdit *Field(TSetupField field) const;

    template <class T = QWidget> T *Control(const char *name) const
    {
        return findChild<T *>(QString::fromLatin1(name));
    }

    QPushButton *Button1 = nullptr; // "Adjust Meter Time To Computer Time"
    QPushButton *Button3 = nullptr; // "Erase Meter Memory"
    QGroupBox *GroupBox1 = nullptr; // recording interval
    QPushButton *Button2 = nullptr;
    QGroupBox *GroupBox2 = nullptr; // logger information
    QPushButton *Button4 = nullptr;
    QPushButton *Button6 = nullptr; // "Write EEProm"
    QPushButton *Button7 = nullptr; // "Read EEProm"
    i18n::TlxLangLinked *lxLangLinked_frmSetup = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QLineEdit *MakeField(TSetupField field, const char *name, bool readOnly,
                         const QString &text = QString());
    QLabel *MakeLabel(const char *name, const QString &caption);
    QPushButton *MakeButton(const char *name, const QString &caption, void (TfrmSetup::*handler)());
    void BuildControls();

    TQtCommandUi FUi;
    TSetupCommands FCommands;
    std::map<TSetupField, QLineEdit *> FFields;
    bool FClosed = false;
};

// The one set-up window, or nullptr.
extern TfrmSetup *frmSetup;

} // namespace meter
