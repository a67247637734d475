#include "meter/windows/panel.h"

#include "controls/lang_form.h"
#include "controls/translation_data.h"
#include "i18n/base/lx_languages.h"
#include "i18n/lx_linked.h"
#include "platform/ui/app_application.h"
#include "platform/ui/jpeg/jpeg_picture.h"
#include "platform/ui/ui_services.h"

#include <QCloseEvent>
#include <QFile>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTimer>
#include <QToolButton>

namespace meter {

namespace {

// Where the panel's pictures and texts are kept in the program's resources.
const QString kPictureRoot = QStringLiteral(":/panel/");

} // namespace

QPixmap PanelPicture(const QString &fileName)
{
    const QString path = kPictureRoot + fileName;
    if (fileName.endsWith(QLatin1String(".jpg"))) {
        // Decoded once through libjpeg; a damaged picture leaves the panel blank.
        QImage image;
        QString error;
        if (ui::TryJpegPicture(path, image, error))
            return QPixmap::fromImage(image);
        return QPixmap();
    }
    return QPixmap(path);
}

// ---------------------------------------------------------------------------
// TKeyZone

TKeyZone::TKeyZone(QWidget *parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
}

bool TKeyZone::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !FShowHint)
        return true; // the hint is kept for the translation, not shown
    return QLabel::event(event);
}

void TKeyZone::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        FPressed = true;
}

void TKeyZone::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !FPressed)
        return;
    FPressed = false;
    // The release that ends a double click is no click of its own.
    if (FAfterDoubleClick) {
        FAfterDoubleClick = false;
        return;
    }
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void TKeyZone::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    FPressed = true;
    FAfterDoubleClick = true;
    emit doubleClicked();
}

// ---------------------------------------------------------------------------
// TfrmPanel

TfrmPanel::TfrmPanel(TPanelHost &host, QWidget *parent) : QWidget(parent), FHost(host)
{
    setObjectName(QStringLiteral("frmPanel"));
    setWindowTitle(QStringLiteral("Control Panel"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(ClientWidth, ClientHeight);
    BuildControls();
    auto *form = ui::CreateFormComponent(this, "TfrmPanel");
    FLang = controls::LoadFormTranslation<i18n::TlxLangLinked>(
        form, FHost.LangDispatcher(), i18n::kLanguageCount, controls::TranslationData("TfrmPanel"));
    FLang->SetName("lxLangLinked_frmPanel");
    FormCreate();
}

TfrmPanel::~TfrmPanel()
{
    // A panel destroyed without a close (the main window going away) still
    // leaves the main window without a dangling panel.
    if (!FClosed) {
        FClosed = true;
        FHost.PanelClosed(this);
    }
}

QLabel *TfrmPanel::Picture(const char *name, int left, int top, int width, int height,
                           const QPixmap &pixmap)
{
    auto *image = new QLabel(this);
    image->setObjectName(QString::fromLatin1(name));
    image->setGeometry(left, top, width, height);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (!pixmap.isNull())
        image->setPixmap(pixmap);
    return image;
}

QLabel *TfrmPanel::Text(const char *name, const QString &caption, int left, int top, int pixelSize,
                        bool bold)
{
    auto *label = new QLabel(caption, this);
    label->setObjectName(QString::fromLatin1(name));
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    label->setFont(font);
    label->move(left, top);
    label->adjustSize();
    return label;
}

TKeyZone *TfrmPanel::Zone(const char *name, int left, int top, int width, int height)
{
    auto *zone = new TKeyZone(this);
    zone->setObjectName(QString::fromLatin1(name));
    zone->setGeometry(left, top, width, height);
    return zone;
}

void TfrmPanel::BuildControls()
{
    const TDigitGlyphs &glyphs = FHost.Glyphs();
    imgPanel = Picture("imgPanel", 0, 0, 279, 618, PanelPicture(QStringLiteral("panel.jpg")));
    imgPanel->setAttribute(Qt::WA_OpaquePaintEvent);
    // Fixed battery symbol and the two fixed symbols that stay hidden.
    Picture("imgBat", 222, 89, 19, 9, PanelPicture(QStringLiteral("battery.png")));
    Picture("imgAutoOff", 216, 236, 19, 9)->hide();
    Picture("Image15", 40, 236, 9, 9)->hide();
    Picture("Image9", 300, 620, 10, 10); // lies outside the client area

    const int digitLeft[4] = {74, 110, 146, 184};
    for (int i = 0; i < 4; ++i) {
        const std::string name = "MainD" + std::to_string(i + 1);
        MainD[static_cast<size_t>(i)] = Picture(name.c_str(), digitLeft[i], i == 2 ? 178 : 179, 30,
                                                51, glyphs.gLargeDigits[BlankGlyph]);
    }
    imgPoint = Picture("imgPoint", 175, 216, 9, 13, PanelPicture(QStringLiteral("point.png")));

    const int clockLeft[6] = {124, 133, 149, 158, 172, 182};
    for (int i = 0; i < 6; ++i) {
        const std::string name = "LCDT" + std::to_string(i + 3);
        LCDT[static_cast<size_t>(i)] =
            Picture(name.c_str(), clockLeft[i], 159, 9, 15, glyphs.gSmallDigits[BlankGlyph]);
    }
    const int dateLeft[6] = {124, 133, 149, 158, 173, 181};
    const char *dateNames[6] = {"LCDA", "LCDB", "LCDC", "LCDD", "LCDE", "LCDF"};
    for (int i = 0; i < 6; ++i)
        LCDDate[static_cast<size_t>(i)] =
            Picture(dateNames[i], dateLeft[i], 144, 9, 15, glyphs.gSmallDigits[BlankGlyph]);
    const QPixmap colon = PanelPicture(QStringLiteral("colon.png"));
    Picture("Image2", 144, 162, 5, 8, colon);
    Picture("Image1", 167, 163, 5, 8, colon);
    const QPixmap dash = PanelPicture(QStringLiteral("date_dash.png"));
    Picture("Image16", 143, 150, 3, 2, dash);
    Picture("Image17", 167, 150, 3, 2, dash);
    Picture("LCDT1", 319, 441, 9, 15);
    Picture("LCDT2", 332, 441, 9, 15);

    lblRangeLow = Text("lblRangeLow", QStringLiteral("30"), 40, 121, 13, true);
    lblRangeHigh = Text("lblRangeHigh", QStringLiteral("130"), 222, 121, 13, true);
    imgColorBar =
        Picture("imgColorBar", 60, 115, 154, 22, PanelPicture(QStringLiteral("level_bar.png")));
    // Not opaque: a bar wider than its picture (above 130 dB) shows the
    // display behind it, never unpainted pixels.

    lblMAX = Text("lblMAX", QStringLiteral("MAX"), 119, 88, 11, true);
    lblMIN = Text("lblMIN", QStringLiteral("MIN"), 94, 88, 11, true);
    lblMAX->hide();
    lblMIN->hide();
    lblFAST = Text("lblFAST", QStringLiteral("FAST"), 150, 88, 11, true);
    lblSLOW = Text("lblSLOW", QStringLiteral("SLOW"), 181, 88, 11, true);
    lblSLOW->hide();
    lbldBA = Text("lbldBA", QStringLiteral("dBA"), 217, 179, 16, true);
    lbldBC = Text("lbldBC", QStringLiteral("dBC"), 216, 197, 16, true);
    lbldBC->hide();
    lblREC = Text("lblREC", QStringLiteral("REC"), 137, 233, 11, true);
    lblFULL = Text("lblFULL", QStringLiteral("FULL"), 166, 234, 11, true);
    lblREC->hide();
    lblFULL->hide();
    imgUNDER = Picture("imgUNDER", 56, 235, 36, 11, PanelPicture(QStringLiteral("under.png")));
    imgOVER = Picture("imgOVER", 203, 234, 30, 11, PanelPicture(QStringLiteral("over.png")));
    imgUNDER->hide();
    imgOVER->hide();
    imgStart = Picture("imgStart", 48, 160, 11, 11, PanelPicture(QStringLiteral("rec_start.png")));
    imgPause = Picture("imgPause", 63, 159, 11, 11, PanelPicture(QStringLiteral("rec_pause.png")));
    imgStop = Picture("imgStop", 76, 159, 11, 11, PanelPicture(QStringLiteral("rec_stop.png")));
    imgStart->hide();
    imgPause->hide();
    imgStop->hide();
    imgLEQ = Picture("imgLEQ", 41, 213, 26, 12, PanelPicture(QStringLiteral("leq.png")));
    imgSPL = Picture("imgSPL", 43, 199, 26, 12, PanelPicture(QStringLiteral("spl.png")));
    imgLEQ->hide();
    imgSPL->hide();

    lblNoConnection = Text("lblNoConnection", QStringLiteral("No Connection"), 45, 98, 20, false);
    QPalette red = lblNoConnection->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    lblNoConnection->setPalette(red);
    lblNoConnection->hide();
    lblTime = Text("lblTime", QString(), 263, 104, 11, false);
    lblTime->hide();

    // Key zones over the pictured keys.
    struct ZoneDef {
        const char *name;
        int left, top, width, height;
        void (TfrmPanel::*click)();
        void (TfrmPanel::*dblClick)();
    };
    const ZoneDef zones[] = {
        {"btnSPL", 110, 290, 72, 39, &TfrmPanel::btnSPLClick, nullptr},
        {"btnTIME", 60, 327, 34, 90, &TfrmPanel::btnTIMEClick, nullptr},
        {"btnSET", 123, 343, 49, 48, &TfrmPanel::btnSETClick, nullptr},
        {"Label1", 188, 327, 41, 90, &TfrmPanel::Label1Click, &TfrmPanel::Label1DblClick},
        {"btnMaxMin", 110, 424, 66, 32, &TfrmPanel::btnMaxMinClick, &TfrmPanel::btnMaxMinDblClick},
        {"btnBK", 63, 508, 41, 45, &TfrmPanel::btnBKClick, nullptr},
        {"btnREC", 181, 508, 48, 45, &TfrmPanel::btnRECClick, nullptr},
        {"btnLevel", 530, 235, 51, 34, &TfrmPanel::btnLevelClick, nullptr},
        {"btnAC", 460, 167, 53, 31, &TfrmPanel::btnACClick, nullptr},
        {"btnFast", 488, 290, 49, 31, &TfrmPanel::btnFastClick, nullptr},
        {"btnUP", 631, 357, 36, 34, &TfrmPanel::btnUPClick, nullptr},
        {"btnDOWN", 390, 159, 40, 34, &TfrmPanel::btnDOWNClick, nullptr},
        {"btnPower", 520, 106, 48, 43, &TfrmPanel::btnPowerClick, nullptr},
    };
    for (const ZoneDef &z : zones) {
        TKeyZone *zone = Zone(z.name, z.left, z.top, z.width, z.height);
        auto click = z.click;
        // A key's handler shows its own errors: none may unwind through Qt.
        connect(zone, &TKeyZone::clicked, this, ui::GuardedSlot(this, click));
        if (auto dbl = z.dblClick)
            connect(zone, &TKeyZone::doubleClicked, this, ui::GuardedSlot(this, dbl));
    }
    // Hint texts: only the MAX MIN zone shows its hint; the others carry
    // theirs for the translation without showing them.
    auto hint = [this](const char *name, const char *text) {
        Control<TKeyZone>(name)->setToolTip(QString::fromLatin1(text));
    };
    hint("btnMaxMin", "single click to change MAX/MIN mode, double click  to cancel .");
    hint("Label1", "single click to start/pause LEQ, double click  to cancel .");
    hint("btnAC", "Frequency Weighting select button");
    hint("btnFast", "Time weighting select button");
    hint("btnPower", "Close Control Panel");
    Control<TKeyZone>("btnMaxMin")->SetShowHint(true);

    // Title-bar substitutes.
    auto *minimise = new QToolButton(this);
    minimise->setObjectName(QStringLiteral("SpeedButton1"));
    minimise->setGeometry(237, 1, 16, 14);
    minimise->setIcon(PanelPicture(QStringLiteral("minimise.png")));
    minimise->setIconSize(QSize(16, 14));
    minimise->setAutoRaise(true);
    connect(minimise, &QToolButton::clicked, this,
            ui::GuardedSlot(this, &TfrmPanel::SpeedButton1Click));
    auto *closeButton = new QToolButton(this);
    closeButton->setObjectName(QStringLiteral("SpeedButton2"));
    closeButton->setGeometry(259, 1, 16, 14);
    closeButton->setIcon(PanelPicture(QStringLiteral("close.png")));
    closeButton->setIconSize(QSize(16, 14));
    closeButton->setAutoRaise(true);
    connect(closeButton, &QToolButton::clicked, this,
            ui::GuardedSlot(this, &TfrmPanel::SpeedButton2Click));

    MMATimer = new QTimer(this);
    MMATimer->setObjectName(QStringLiteral("MMATimer"));

    // The picture controls that move the window when dragged.
    imgPanel->installEventFilter(this);
    findChild<QLabel *>(QStringLiteral("Image9"))->installEventFilter(this);
    for (QLabel *l : MainD)
        l->installEventFilter(this);
    for (QLabel *l : LCDT)
        l->installEventFilter(this);
    for (QLabel *l : LCDDate)
        l->installEventFilter(this);
    for (const char *name : {"LCDT1", "LCDT2"})
        Control<QLabel>(name)->installEventFilter(this);
    // The key zones lie above the picture.
    for (TKeyZone *zone : findChildren<TKeyZone *>())
        zone->raise();
    minimise->raise();
    closeButton->raise();
}

// ---------------------------------------------------------------------------
// Display

void TfrmPanel::SetGlyph(QLabel *image, const QPixmap &glyph)
{
    if (image)
        image->setPixmap(glyph);
}

void TfrmPanel::SetMainDigits(int d1, int d2, int d3, int d4)
{
    const TDigitGlyphs &glyphs = FHost.Glyphs();
    const int digits[4] = {d1, d2, d3, d4};
    for (int i = 0; i < 4; ++i) {
        const int g = digits[i] >= 0 && digits[i] < DigitGlyphCount ? digits[i] : BlankGlyph;
        SetGlyph(MainD[static_cast<size_t>(i)], glyphs.gLargeDigits[static_cast<size_t>(g)]);
    }
}

void TfrmPanel::DrawClockField(int field, const TClockDigits &digits)
{
    const TDigitGlyphs &glyphs = FHost.Glyphs();
    const auto &images = field <= ClockSeconds ? LCDT : LCDDate;
    const size_t first = static_cast<size_t>(field % 3) * 2;
    auto glyph = [&glyphs](int n) {
        return glyphs.gSmallDigits[static_cast<size_t>(n >= 0 && n < 10 ? n : BlankGlyph)];
    };
    SetGlyph(images[first], glyph(digits.tens));
    SetGlyph(images[first + 1], glyph(digits.units));
}

void TfrmPanel::DrawReading(const TStatusDisplay &d)
{
    lblREC->setVisible(d.lblREC);
    lbldBA->setVisible(d.lbldBA);
    lbldBC->setVisible(d.lbldBC);
    lblFAST->setVisible(d.lblFAST);
    lblSLOW->setVisible(d.lblSLOW);
    imgUNDER->setVisible(d.imgUNDER);
    imgOVER->setVisible(d.imgOVER);
    lblFULL->setVisible(d.lblFULL);
    imgStart->setVisible(d.imgStart);
    imgPause->setVisible(d.imgPause);
    imgStop->setVisible(d.imgStop);
    imgLEQ->setVisible(d.imgLEQ);
    imgSPL->setVisible(d.imgSPL);

    if (d.clockChanged && !d.clockReset)
        for (int f = 0; f < d.clockFieldsDrawn && f < ClockFieldCount; ++f)
            DrawClockField(f, d.clock[static_cast<size_t>(f)]);

    SetMainDigits(d.MainD[0], d.MainD[1], d.MainD[2], d.MainD[3]);
    lblRangeLow->setText(QStringLiteral("30"));
    lblRangeHigh->setText(QStringLiteral("130"));
    imgColorBar->resize(d.imgColorBarWidth, imgColorBar->height());
}

void TfrmPanel::SetLabelVisible(TPanelLabel label, bool visible)
{
    switch (label) {
    case TPanelLabel::lblNoConnection:
        lblNoConnection->setVisible(visible);
        break;
    case TPanelLabel::lblTime:
        lblTime->setVisible(visible);
        break;
    case TPanelLabel::lblMAX:
        lblMAX->setVisible(visible);
        break;
    case TPanelLabel::lblMIN:
        lblMIN->setVisible(visible);
        break;
    }
}

// ---------------------------------------------------------------------------
// Keys

void TfrmPanel::Key(uint8_t key)
{
    if (FHost.PanelKey(key) == TKeyResult::OpenFailed)
        ui::ShowMessage(controls::StringById(FLang, "IDS_0"));
}

void TfrmPanel::NotAvailable()
{
    ui::ShowMessage(controls::StringById(FLang, "IDS_6"));
}

// ---------------------------------------------------------------------------
// Window

QWidget *TfrmPanel::MovableWindow()
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        return sub;
    return this;
}

void TfrmPanel::imgPanelMouseDown(QMouseEvent *event)
{
    // The left button drags the window as its title bar would; other buttons
    // do nothing.
    if (event->button() != Qt::LeftButton)
        return;
    FDragging = true;
    FDragStart = event->globalPosition().toPoint();
    FWindowStart = MovableWindow()->pos();
}

bool TfrmPanel::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        imgPanelMouseDown(static_cast<QMouseEvent *>(event));
        return true;
    case QEvent::MouseMove:
        if (FDragging) {
            auto *mouse = static_cast<QMouseEvent *>(event);
            MovableWindow()->move(FWindowStart + mouse->globalPosition().toPoint() - FDragStart);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            FDragging = false;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmPanel::FormActivate()
{
    FHost.PanelActivated();
}

void TfrmPanel::SpeedButton1Click()
{
    auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget());
    if (!sub) {
        showMinimized();
        return;
    }
    // Minimised, the panel keeps a title bar to be found and restored by;
    // restored, it is without one again.
    const QRect normal = sub->geometry();
    sub->setWindowFlag(Qt::FramelessWindowHint, false);
    sub->showMinimized();
    connect(
        sub, &QMdiSubWindow::windowStateChanged, this,
        [sub, normal](Qt::WindowStates, Qt::WindowStates now) {
            if (now & Qt::WindowMinimized)
                return;
            sub->setWindowFlag(Qt::FramelessWindowHint, true);
            sub->setGeometry(normal);
            sub->show();
        },
        Qt::SingleShotConnection);
}

bool TfrmPanel::FormCloseQuery()
{
    // A MaxMinTimer tick is drawing on the panel: let it finish first.
    for (int i = 0; i < 1000 && FHost.PanelUpdating(); ++i)
        ui::ProcessMessages();
    return true;
}

void TfrmPanel::FormClose()
{
    if (FClosed)
        return;
    FClosed = true;
    FHost.PanelClosed(this);
}

void TfrmPanel::closeEvent(QCloseEvent *event)
{
    // A close query or close that fails keeps the panel open.
    bool agreed = false;
    const bool done = ui::Guarded([&] {
        agreed = FormCloseQuery();
        if (agreed)
            FormClose();
    });
    if (!done || !agreed) {
        event->ignore();
        return;
    }
    event->accept();
    // Inside the main window the sub-window goes with it.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        if (!sub->property("nivoraClosing").toBool()) {
            sub->setProperty("nivoraClosing", true);
            QTimer::singleShot(0, sub, &QWidget::close);
        }
}

} // namespace meter
