// TfrmPanel: the virtual front panel. A picture of the meter's front whose
// display area mirrors the meter (large digits, clock and date, indicators,
// level bar) and whose pictured keys send the meter's one-byte key commands.
// The window has no title bar; it is moved by dragging its picture with the
// left mouse button. At most one exists; the main window keeps it.
#pragma once

#include "meter/link.h"
#include "meter/main_timer.h"
#include "meter/status.h"
#include "meter/windows/panel_host.h"

#include <QLabel>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <array>
#include <string>

class QMouseEvent;
class QTimer;
class QToolButton;

namespace i18n {
class TlxCustomLang;
}

namespace meter {

// A transparent click zone over a pictured key (a label with the hand
// cursor). A double click delivers the click first and then the double
// click, as the class library does.
class TKeyZone : public QLabel {
    Q_OBJECT
public:
    explicit TKeyZone(QWidget *parent);
    // Whether the zone shows its hint as a tool tip (off by default).
    void SetShowHint(bool show) { FShowHint = show; }

signals:
    void clicked();
    void doubleClicked();

protected:
    bool event(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool FPressed = false;
    bool FAfterDoubleClick = false;
    bool FShowHint = false;
};

class TfrmPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 272;
    static constexpr int ClientHeight = 613;

    explicit TfrmPanel(TPanelHost &host, QWidget *parent = nullptr);
    ~TfrmPanel() override;

    // ---- display, written by the status decoding
    // Indicators, recording and mode symbols, the main digits, the clock
    // fields that changed, the range labels and the level bar.
    void DrawReading(const TStatusDisplay &display);
    void SetLabelVisible(TPanelLabel label, bool visible);
    // Main digits MainD1..MainD4 to the given large glyphs.
    void SetMainDigits(int d1, int d2, int d3, int d4);

    // ---- published event handlers
    void FormCreate() {}
    // The panel became the active child window (the main window calls it).
    void FormActivate();
    // True when the panel may close (waits while a MaxMinTimer tick updates it).
    bool FormCloseQuery();
    void FormClose();
    // A mouse button pressed on the picture, the digits or the clock.
    void imgPanelMouseDown(QMouseEvent *event);
    void btnPowerClick() { close(); }
    void SpeedButton1Click();
    void SpeedButton2Click() { close(); }
    void btnRECClick() { Key('R'); }
    void btnLevelClick() { Key('L'); }
    void btnMaxMinClick() { Key('M'); }
    void btnMaxMinDblClick() { Key('N'); }
    void btnACClick() { Key('C'); }
    void btnFastClick() { Key('F'); }
    void btnBKClick() { Key('B'); }
    void btnSPLClick() { Key('L'); }
    void Label1Click() { Key('s'); }
    void Label1DblClick() { Key('u'); }
    void btnTIMEClick() { NotAvailable(); }
    void btnUPClick() { NotAvailable(); }
    void btnDOWNClick() { NotAvailable(); }
    void btnSETClick() { NotAvailable(); }
    // Kept for the stored layout, which binds them; they do nothing, and
    // MMATimer never runs.
    void btnMaxMinMouseDown() {}
    void btnMaxMinMouseUp() {}
    void MMATimerTimer() {}

    // The translation component (lxLangLinked_frmPanel).
    i18n::TlxCustomLang *Lang() const { return FLang; }
    // A child control by its component name (tests).
    template <class T = QWidget> T *Control(const char *name) const
    {
        return findChild<T *>(QString::fromLatin1(name));
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *Picture(const char *name, int left, int top, int width, int height,
                    const QPixmap &pixmap = QPixmap());
    QLabel *Text(const char *name, const QString &caption, int left, int top, int pixelSize,
                 bool bold);
    TKeyZone *Zone(const char *name, int left, int top, int width, int height);
    void BuildControls();
    void Key(uint8_t key);
    void NotAvailable();
    void DrawClockField(int field, const TClockDigits &digits);
    void SetGlyph(QLabel *image, const QPixmap &glyph);
    QWidget *MovableWindow();

    TPanelHost &FHost;
    i18n::TlxCustomLang *FLang = nullptr;
    bool FClosed = false;

    // Dragging the window by its picture.
    bool FDragging = false;
    QPoint FDragStart;
    QPoint FWindowStart;

    QLabel *imgPanel = nullptr;
    std::array<QLabel *, 4> MainD{};
    QLabel *imgPoint = nullptr;
    std::array<QLabel *, 6> LCDT{};    // LCDT3..LCDT8
    std::array<QLabel *, 6> LCDDate{}; // LCDA..LCDF
    QLabel *imgColorBar = nullptr;
    QLabel *lblRangeLow = nullptr, *lblRangeHigh = nullptr;
    QLabel *lblMAX = nullptr, *lblMIN = nullptr, *lblFAST = nullptr, *lblSLOW = nullptr;
    QLabel *lbldBA = nullptr, *lbldBC = nullptr, *lblREC = nullptr, *lblFULL = nullptr;
    QLabel *imgUNDER = nullptr, *imgOVER = nullptr;
    QLabel *imgStart = nullptr, *imgPause = nullptr, *imgStop = nullptr;
    QLabel *imgLEQ = nullptr, *imgSPL = nullptr;
    QLabel *lblNoConnection = nullptr, *lblTime = nullptr;
    QTimer *MMATimer = nullptr;
};

// A picture of the meter's front panel or a symbol on it, by file name
// ("point.png", "panel.jpg"). A null pixmap when it cannot be read.
QPixmap PanelPicture(const QString &fileName);

} // namespace meter
