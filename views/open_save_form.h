// TfrmOpenSave: the stay-on-top choice, centred on the screen, between a
// data-set collection and a single data set when saving or opening. Its
// three buttons close it with a modal result: btnOpenSets OK, btnOpenSingleSet
// No, Button1 Cancel. The caller sets the caption (and, for Open, the two
// choices' texts), shows it modally into the global frmOpenSave and frees it;
// the window clears frmOpenSave when it is destroyed.
#pragma once

#include <QDialog>

class QPushButton;

namespace i18n {
class TlxLangDispatcher;
class TlxLangLinked;
} // namespace i18n
namespace ui {
class TFormAdapter;
}

namespace views {

class TfrmOpenSave : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOpenSave(i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);
    ~TfrmOpenSave() override;

    QPushButton *btnOpenSets = nullptr;      // all data sets: mrOk
    QPushButton *btnOpenSingleSet = nullptr; // the selected data set or one file: mrNo
    QPushButton *Button1 = nullptr;          // "Cancel": mrCancel
    i18n::TlxLangLinked *lxLangLinked_frmOpenSave = nullptr;
    ui::TFormAdapter *Form() const { return FForm; }

    // Centres the window on its screen at the size its texts need.
    void FitAndCentre();

private:
    ui::TFormAdapter *FForm = nullptr;
};

extern TfrmOpenSave *frmOpenSave;

} // namespace views
