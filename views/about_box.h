// The About box TfrmAbout. It serves twice: as the start-up splash (with its
// button hidden, closed by the main window when that is first shown) and as
// the About box of the Help menu (shown modally with its button visible).
// Either way closing it frees it.
//
// The main window, at start-up (FormCreate):
//
//     // No parent: the application owns the splash.
//     views::frmAbout = new views::TfrmAbout(lxLangDispatcher1);
//     views::frmAbout->ShowSplash(); // BitBtn1 hidden, shown modeless, painted at once
//
// when it is first shown (FormShow):
//
//     if (views::frmAbout) {
//         views::frmAbout->Label4->setText(QString());
//         views::frmAbout->close();    // frees it; frmAbout is nullptr from here on
//     }
//
// and in About1Click:
//
//     if (!views::gAboutForm)
//         views::gAboutForm = new views::TfrmAbout(lxLangDispatcher1, this);
//     views::gAboutForm->ShowModal();  // returns after the box has been freed
//
// Each About box clears whichever of the two globals holds it when it closes
// (and, should it be destroyed without closing, when it is destroyed), so
// neither global is ever left pointing at a freed window.
#pragma once

#include <QDialog>

namespace i18n {
class TlxLangDispatcher;
class TlxLangLinked;
} // namespace i18n
namespace ui {
class TFormAdapter;
}
namespace controls {
class TVersionInfo;
}

class QCloseEvent;
class QPaintEvent;
class QLabel;
class QPushButton;

namespace views {

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    // Builds the window with its components, loads its translation data
    // (linked to dispatcher, which may be nullptr: the texts stay English),
    // and binds VersionInfo1 to Label2, which then shows the program's
    // version. parent: nullptr for the splash, the main window for the box.
    explicit TfrmAbout(i18n::TlxLangDispatcher *dispatcher, QWidget *parent = nullptr);
    ~TfrmAbout() override;

    // Components, by their names.
    QLabel *Label1 = nullptr;       // "Version:"
    QLabel *Label2 = nullptr;       // the version text
    QLabel *Label3 = nullptr;       // "Sound Level Meter Software"
    QLabel *Label4 = nullptr;       // empty
    QPushButton *BitBtn1 = nullptr; // OK
    controls::TVersionInfo *VersionInfo1 = nullptr;
    i18n::TlxLangLinked *lxLangLinked_frmAbout = nullptr;
    // The window's component (owner of the adapters, VersionInfo1 and the
    // translation component).
    ui::TFormAdapter *Form() const { return FForm; }

    // The splash: hides BitBtn1, shows the window modeless and paints it at
    // once: it returns when the window has been painted on the screen (or
    // after a second without).
    void ShowSplash();
    // Whether the window has been painted while on the screen.
    bool PaintedOnScreen() const { return FPaintedOnScreen; }
    // The About box: shows the window modally (views::ShowModal) with its
    // button visible. The window is freed when this returns.
    int ShowModal();

    // Closes the window.
    void BitBtn1Click();

protected:
    // FormClose: the window is freed (later, by the event loop) and the
    // global that holds it is cleared at once.
    void closeEvent(QCloseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void ClearGlobals();

    ui::TFormAdapter *FForm = nullptr;
    bool FPaintedOnScreen = false;
};

// The splash made by the main window at start-up.
extern TfrmAbout *frmAbout;
// The About box of the Help menu.
extern TfrmAbout *gAboutForm;

} // namespace views
