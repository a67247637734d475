#include "app/main_form.h"

#include "app/about_link.h"
#include "controls/lang_form.h"
#include "controls/translation_data.h"
#include "i18n/base/lx_languages.h"
#include "i18n/lx_comp.h"
#include "platform/ui/app_application.h"
#include "platform/ui/folders.h"
#include "platform/ui/locale_settings.h"
#include "platform/ui/mdi_area.h"
#include "platform/ui/qt_language.h"
#include "platform/ui/ui_services.h"
#include "resources/pictures.h"
#include "views/graph_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>

namespace app {

namespace {

const char *const kLanguageItems[] = {"English1", "French1",  "German1",  "Italian1",
                                      "Spanish1", "Swedish1", "Finnish1", "Danish1"};
static_assert(std::size(kLanguageItems) == i18n::kLanguageCount, "one menu item per language");

void SetEnabled(QObject *object, bool on)
{
    if (auto *action = qobject_cast<QAction *>(object))
        action->setEnabled(on);
    else if (auto *menu = qobject_cast<QMenu *>(object))
        menu->menuAction()->setEnabled(on);
    else if (auto *widget = qobject_cast<QWidget *>(object))
        widget->setEnabled(on);
}

void SetVisible(QObject *object, bool visible)
{
    if (auto *action = qobject_cast<QAction *>(object))
        action->setVisible(visible);
    else if (auto *menu = qobject_cast<QMenu *>(object))
        menu->menuAction()->setVisible(visible);
    else if (auto *widget = qobject_cast<QWidget *>(object))
        widget->setVisible(visible);
}

} // namespace

// ---------------------------------------------------------------------------
// Construction

TfrmMain::TfrmMain(usb::UsbDevice &device, QWidget *parent)
    : QMainWindow(parent), FLink(device), FTimerLogic(FLink, *this),
      FLeqRun(FLink, *this, &FTimerLogic), FRealTime(FTimerLogic, *this)
{
    FLink.SetMainTimer(this);
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Nivora"));
    setWindowIcon(QIcon(QString::fromLatin1(pictures::kProgramIcon)));
    QFont font(QStringLiteral("Tahoma"));
    font.setPointSize(9);
    setFont(font);

    // The client area: the tool bar panel above the MDI client area.
    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(client);
    BuildMenus();
    BuildToolBar();
    layout->addWidget(Panel1);
    FMdiClient = new ui::TMdiArea(client);
    FMdiClient->setObjectName(QStringLiteral("MdiClient"));
    layout->addWidget(FMdiClient, 1);
    connect(FMdiClient, &ui::TMdiArea::childActivated, this, ui::GuardedSlot([this](QWidget *form) {
                if (form && form == FPanel)
                    FPanel->FormActivate();
                else if (auto *graph = qobject_cast<views::TfrmGraph *>(form))
                    graph->FormActivate();
                else if (auto *list = qobject_cast<views::TfrmList *>(form))
                    list->FormActivate();
            }));
    BuildStatusBar();
    BuildTimers();
    BuildRealTime();
    BuildPrinting();

    // Hidden controls of the layout; Button1 and Button2 keep their handlers.
    auto *maskEdit = new QLineEdit(client);
    maskEdit->setObjectName(QStringLiteral("MaskEdit1"));
    maskEdit->setInputMask(QStringLiteral("99:99:99;_"));
    for (const char *name : {"Edit1", "Edit2"}) {
        auto *edit = new QLineEdit(client);
        edit->setObjectName(QString::fromLatin1(name));
        edit->hide();
    }
    maskEdit->hide();
    auto *button1 = new QPushButton(QStringLiteral("setup"), client);
    button1->setObjectName(QStringLiteral("Button1"));
    button1->hide();
    connect(button1, &QPushButton::clicked, this, ui::GuardedSlot(this, &TfrmMain::Button1Click));
    auto *button2 = new QPushButton(QStringLiteral("Button2"), client);
    button2->setObjectName(QStringLiteral("Button2"));
    button2->hide();
    connect(button2, &QPushButton::clicked, this, ui::GuardedSlot(this, &TfrmMain::Button2Click));
    auto *grid8 = new QTableWidget(client);
    grid8->setObjectName(QStringLiteral("Grid8"));
    grid8->hide();

    resize(ClientWidth,
           ClientHeight + menuBar()->sizeHint().height() + StatusBar1->sizeHint().height());

    // The window's components: adapters for every named control, the
    // dispatcher and the translation component.
    ui::TFormAdapter *form = ui::CreateFormComponent(this, "TfrmMain");
    FDispatcher = new i18n::TlxLangDispatcher(form);
    FDispatcher->SetName("lxLangDispatcher1");
    FDispatcher->SetNumOfLanguages(i18n::kLanguageCount);
    FDispatcher->SetActiveLanguage(1);
    FLang = controls::LoadFormTranslation<i18n::TlxLang>(form, FDispatcher, i18n::kLanguageCount,
                                                         controls::TranslationData("TfrmMain"));
    FLang->SetName("lxLang_frmMain");

    FormCreate();
}

TfrmMain::~TfrmMain()
{
    FDestroying = true;
    FLeqRun.Stop();
    MainTimer->stop();
    MaxMinTimer->stop();
    // The child windows go first, while this window can still be told.
    delete FMdiClient;
    FMdiClient = nullptr;
    CloseSplash();
}

QAction *TfrmMain::MenuItem(const char *name) const
{
    return Control<QAction>(name);
}

QLabel *TfrmMain::StatusPanel(int index) const
{
    return index >= 0 && index < 3 ? FStatusPanels[static_cast<size_t>(index)] : nullptr;
}

void TfrmMain::BuildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto menu = [bar](const char *name, const char *caption) {
        QMenu *m = bar->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    // check: -1 no check mark, 0 unchecked, 1 checked. A click does not
    // toggle the mark by itself: the handlers set it. Every command's
    // handler shows its own errors (none may unwind through Qt's menus).
    auto item = [this](QMenu *m, const char *name, const char *caption,
                       void (TfrmMain::*handler)() = nullptr, int check = -1) {
        QAction *a = m->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        if (check >= 0) {
            a->setCheckable(true);
            a->setChecked(check == 1);
            connect(a, &QAction::triggered, a, [a](bool checked) { a->setChecked(!checked); });
        }
        if (handler)
            connect(a, &QAction::triggered, this, ui::GuardedSlot(this, handler));
        return a;
    };

    QMenu *file = menu("File1", "&File");
    item(file, "Open1", "&Open", &TfrmMain::Open1Click);
    item(file, "Save1", "&Save", &TfrmMain::Save1Click);
    item(file, "Print1", "&Print");
    item(file, "PrinterSetup1", "&Printer Setup");
    item(file, "Exit1", "E&xit", &TfrmMain::Exit1Click);

    QMenu *realTime = menu("RealTime1", "Real Time");
    item(realTime, "Run1", "Run")->setEnabled(false);
    item(realTime, "Stop1", "Stop")->setEnabled(false);

    QMenu *dataLogger = menu("DataLogger1", "&Data Logger");
    item(dataLogger, "LoadData1", "Load SPL Data", &TfrmMain::LoadData1Click);
    item(dataLogger, "LoadLEQdata1", "Load LEQ data", &TfrmMain::LoadLEQdata1Click);
    item(dataLogger, "EraseMemory1", "Erase Memory", &TfrmMain::EraseMemory1Click);
    item(dataLogger, "Setup1", "Setup", &TfrmMain::Setup1Click)->setVisible(false);

    QMenu *view = menu("View1", "&View");
    item(view, "ControlPanel1", "&Control Panel", &TfrmMain::ControlPanel1Click, 1);
    item(view, "RealTimeGraph1", "Real Time &Graph", &TfrmMain::RealTimeGraph1Click, 1);

    QMenu *window = menu("Window1", "&Window");
    item(window, "Tile1", "&Tile", &TfrmMain::Tile1Click);
    item(window, "Cascade1", "&Cascade", &TfrmMain::Cascade1Click);

    QAction *leq = bar->addAction(QStringLiteral("LEQ"));
    leq->setObjectName(QStringLiteral("LEQ1"));
    connect(leq, &QAction::triggered, this, ui::GuardedSlot(this, &TfrmMain::LEQ1Click));

    QMenu *help = menu("Help1", "&Help");
    item(help, "Contents1", "&Contents", &TfrmMain::Contents1Click);
    item(help, "About1", "&About", &TfrmMain::About1Click);

    QMenu *language = menu("Language1", "Language");
    const char *captions[] = {"English", "French",  "German",  "Italian",
                              "Spanish", "Swedish", "Finnish", "Danish"};
    void (TfrmMain::*const handlers[])() = {&TfrmMain::English1Click, &TfrmMain::French1Click,
                                            &TfrmMain::German1Click,  &TfrmMain::Italian1Click,
                                            &TfrmMain::Spanish1Click, &TfrmMain::Swedish1Click,
                                            &TfrmMain::Finnish1Click, &TfrmMain::Danish1Click};
    static_assert(std::size(captions) == i18n::kLanguageCount &&
                  std::size(handlers) == i18n::kLanguageCount);
    for (int i = 0; i < i18n::kLanguageCount; ++i)
        item(language, kLanguageItems[i], captions[i], handlers[i], i == 0 ? 1 : 0);
}

void TfrmMain::BuildToolBar()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(28);
    auto *row = new QHBoxLayout(Panel1);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(1);
    struct ButtonDef {
        const char *name;
        const char *hint;
        const char *icon;
    };
    const ButtonDef buttons[] = {
        {"SpeedButton1", "Open File", pictures::kToolOpen},
        {"SpeedButton2", "Save to file", pictures::kToolSave},
        {"btnPrint", "Print", pictures::kToolPrint},
        {"btnDataLogger", "Data Logger", pictures::kToolDataLogger},
        {"btnOutputToGraph", "Output Tabular to graph", pictures::kToolOutputToGraph},
        {"btnRun", "", pictures::kToolRun},
        {"btnStop", "", pictures::kToolStop},
        {"SpeedButton8", "Help", pictures::kToolHelp},
    };
    for (const ButtonDef &b : buttons) {
        auto *button = new QToolButton(Panel1);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setToolTip(QString::fromLatin1(b.hint));
        button->setIcon(QIcon(QString::fromLatin1(b.icon)));
        button->setIconSize(QSize(20, 20));
        button->setFixedSize(25, 25);
        button->setAutoRaise(true);
        row->addWidget(button);
    }
    connect(Control<QToolButton>("SpeedButton1"), &QToolButton::clicked, this,
            ui::GuardedSlot(this, &TfrmMain::Open1Click));
    connect(Control<QToolButton>("SpeedButton2"), &QToolButton::clicked, this,
            ui::GuardedSlot(this, &TfrmMain::Save1Click));
    connect(Control<QToolButton>("btnDataLogger"), &QToolButton::clicked, this,
            ui::GuardedSlot(this, &TfrmMain::LoadData1Click));
    Control<QToolButton>("SpeedButton8")->hide();
    // Enabled while a list window is active.
    Control<QToolButton>("btnOutputToGraph")->setEnabled(false);
    connect(Control<QToolButton>("SpeedButton8"), &QToolButton::clicked, this,
            ui::GuardedSlot(this, &TfrmMain::Contents1Click));
    auto *reset = new QLabel(QStringLiteral("RESET"), Panel1);
    reset->setObjectName(QStringLiteral("lbl_reset"));
    reset->hide();
    row->addWidget(reset);
    row->addStretch(1);
}

void TfrmMain::BuildStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
    const int widths[3] = {100, 150, 50};
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setFixedWidth(widths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(panel);
        FStatusPanels[static_cast<size_t>(i)] = panel;
    }
}

void TfrmMain::BuildTimers()
{
    auto timer = [this](const char *name, int interval) {
        auto *t = new QTimer(this);
        t->setObjectName(QString::fromLatin1(name));
        t->setInterval(interval);
        return t;
    };
    MainTimer = timer("MainTimer", 500);
    MaxMinTimer = timer("MaxMinTimer", 500);
    Timer1 = timer("Timer1", 60000);
    LEQTimer = timer("LEQTimer", 40);
    RealTime_Timer = timer("RealTime_Timer", 1000);
    connect(MainTimer, &QTimer::timeout, this, ui::GuardedSlot(this, &TfrmMain::MainTimerTimer));
    connect(MaxMinTimer, &QTimer::timeout, this,
            ui::GuardedSlot(this, &TfrmMain::MaxMinTimerTimer));
    connect(LEQTimer, &QTimer::timeout, this, ui::GuardedSlot(this, &TfrmMain::LEQTimerTimer));
}

// ---------------------------------------------------------------------------
// Start-up

void TfrmMain::FormCreate()
{
    const TStartSettings settings = ReadStartSettings();
    gRealTimeRate = settings.gRealTimeRate;
    gLanguageIndex = settings.gLanguageIndex;
    // A stored index outside the languages leaves the program in language 1;
    // the index itself is kept and written back as it was.
    try {
        FDispatcher->SetActiveLanguage(gLanguageIndex);
    } catch (const i18n::ELanguageError &) {
    }
    ui::SetQtDialogLanguage(gLanguageIndex);
    ShowSplash(FDispatcher);
    FGlyphs = meter::TDigitGlyphs();
    for (int n = 0; n < meter::DigitGlyphCount; ++n) {
        FGlyphs.gLargeDigits[static_cast<size_t>(n)] = QPixmap(pictures::largeGlyphPath(n));
        FGlyphs.gSmallDigits[static_cast<size_t>(n)] = QPixmap(pictures::smallGlyphPath(n));
    }
    CheckLanguageItem(gLanguageIndex);
}

void TfrmMain::CheckLanguageItem(int index)
{
    for (int i = 0; i < i18n::kLanguageCount; ++i)
        MenuItem(kLanguageItems[i])->setChecked(i + 1 == index);
}

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!FShown) {
        FShown = true;
        ui::Guarded([this] { FormShow(); });
    }
}

void TfrmMain::FormShow()
{
    CreatePanel();
    gDataFolder = ui::MakeDataFolder();
    if (FTimerLogic.gConnected) {
        FPanel->SetLabelVisible(meter::TPanelLabel::lblNoConnection, false);
        SetStatusText(0, "");
        SetStatusText(1, "On Connection");
    } else {
        FPanel->SetLabelVisible(meter::TPanelLabel::lblNoConnection, true);
        SetStatusText(0, "");
        SetStatusText(1, StringById("IDS_24"));
    }
    FPanel->SetLabelVisible(meter::TPanelLabel::lblTime, true);
    SetCommandVisible(meter::TMeterCommand::DataLogger1, true);
    SetCommandVisible(meter::TMeterCommand::btnDataLogger, true);
    Delay(500);
    MainTimer->start();
    CloseSplash();
    CreateRealTimeGraph();
    PlaceRealTimeGraph();
    SetVisible(MenuItem("Setup1"), false);
    FPanel->SetMainDigits(1, 8, 8, 8);
}

void TfrmMain::CreatePanel()
{
    auto *panel = new meter::TfrmPanel(*this);
    FPanel = panel;
    QMdiSubWindow *sub = FMdiClient->AddChild(panel, Qt::FramelessWindowHint);
    sub->move(0, 0);
}

// ---------------------------------------------------------------------------
// Close

bool TfrmMain::FormCloseQuery()
{
    return true;
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    // A close that fails part way keeps the window open (its error shown).
    if (!ui::Guarded([&] { HandleClose(event); }))
        event->ignore();
}

void TfrmMain::HandleClose(QCloseEvent *event)
{
    // A text file being read into a list, or a list being graphed, keeps
    // the window open.
    if (FReadingText || FGraphingList) {
        event->ignore();
        return;
    }
    // An operation holding the link keeps the window open: its windows and
    // the link itself are in use. A LEQ run goes on while the windows are
    // asked, and ends only when the close goes ahead.
    if (FLink.Guard().Held() && !FLeqRun.Running()) {
        ui::ShowMessage(Text("IDS_140"));
        event->ignore();
        return;
    }
    // Every window that may ask is asked before any of them closes, so that
    // a Cancel leaves them all as they were.
    if (!FMdiClient->QueryCloseChildren() || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    FLeqRun.Stop();
    if (!FMdiClient->CloseAllChildren()) {
        event->ignore();
        return;
    }
    event->accept();
    FormClose();
}

void TfrmMain::FormClose()
{
    if (FClosing)
        return;
    FClosing = true;
    // What could not be saved is told once, with each file and the system's
    // reason; the close goes on so that the program can still end. The next
    // start reads its language from the settings, so a language chosen in
    // this run is lost with them.
    QStringList failures;
    QString error;
    const bool settingsSaved = WriteStartSettings({gRealTimeRate, gLanguageIndex}, &error);
    if (!settingsSaved)
        failures << error;
    const QString working = ui::WorkingFolder(gDataFolder);
    if (!EnsureFolder(working, &error) || !WriteLanguageFile(working, gLanguageIndex, &error))
        failures << error;
    if (!failures.isEmpty())
        ui::ShowMessage(Text(gLanguageChanged && !settingsSaved ? "IDS_231" : "IDS_230") +
                        QLatin1Char('\n') + failures.join(QLatin1Char('\n')));

    FLink.WaitLinkIdle();
    MainTimer->stop();
    MaxMinTimer->stop();
    FLink.Device().UsbClose();

    FGlyphs = meter::TDigitGlyphs();

    if (gLanguageChanged) {
        const QString setup = LanguageSetupProgram();
        if (!setup.isEmpty())
            ui::Services().StartProgram(setup, QStringList());
    }
}

// ---------------------------------------------------------------------------
// Commands

void TfrmMain::Exit1Click()
{
    // The same close as the window's close box: settings, language file and
    // link are looked after, and child windows may still refuse.
    close();
}

void TfrmMain::Tile1Click()
{
    FMdiClient->Tile();
}

void TfrmMain::Cascade1Click()
{
    FMdiClient->Cascade();
}

void TfrmMain::About1Click()
{
    ShowAboutBox(FDispatcher, this);
}

void TfrmMain::Contents1Click()
{
    // The manual is looked for beside the program, then in the package's
    // documentation folder, and opened by the desktop, which says nothing
    // when the file is missing: then the program says where it looked.
    const QString name = QStringLiteral("MX4820_manual.pdf");
    const QStringList places{ui::ProgramFile(name), ui::JoinPath(ui::DocumentationFolder(), name)};
    for (const QString &manual : places) {
        if (!QFileInfo(manual).isFile())
            continue;
        if (!ui::Services().OpenDocument(manual))
            ui::ShowMessage(Text("IDS_212") + QLatin1Char('\n') + QDir::toNativeSeparators(manual));
        return;
    }
    ui::ShowMessage(Text("IDS_212") + QLatin1Char('\n') +
                    QDir::toNativeSeparators(places.join(QLatin1Char('\n'))));
}

void TfrmMain::ControlPanel1Click()
{
    if (FPanel) {
        FMdiClient->Restore(FPanel);
        return;
    }
    CreatePanel();
    MenuItem("ControlPanel1")->setChecked(true);
}

void TfrmMain::LanguageClick(int index)
{
    // A failing window translation must not leave the menu and the index
    // behind; it is shown once the language is recorded.
    std::exception_ptr failure;
    try {
        FDispatcher->SetActiveLanguage(index);
    } catch (...) {
        failure = std::current_exception();
    }
    CheckLanguageItem(index);
    ui::SetQtDialogLanguage(index);
    if (index != gLanguageIndex) {
        gLanguageChanged = true;
        ui::ShowMessage(
            QStringLiteral("You have changed the language, please restart the program."));
    }
    gLanguageIndex = index;
    if (failure)
        std::rethrow_exception(failure);
}

// ---------------------------------------------------------------------------
// Timer sink

void TfrmMain::SetStatusText(int panel, const std::string &text)
{
    if (QLabel *label = StatusPanel(panel))
        label->setText(FLang ? ui::CharsetToQString(text, FLang->ActiveCharset())
                             : ui::AnsiToQString(text));
}

std::string TfrmMain::StringById(const std::string &id)
{
    return FLang ? FLang->GetStringById(id) : std::string();
}

QObject *TfrmMain::CommandObject(meter::TMeterCommand command) const
{
    switch (command) {
    case meter::TMeterCommand::btnRun:
        return Control<QToolButton>("btnRun");
    case meter::TMeterCommand::Run1:
        return MenuItem("Run1");
    case meter::TMeterCommand::btnStop:
        return Control<QToolButton>("btnStop");
    case meter::TMeterCommand::Stop1:
        return MenuItem("Stop1");
    case meter::TMeterCommand::btnDataLogger:
        return Control<QToolButton>("btnDataLogger");
    case meter::TMeterCommand::DataLogger1:
        return Control<QMenu>("DataLogger1");
    case meter::TMeterCommand::tbntClr:
        return gRealTimeGraph ? gRealTimeGraph->tbntClr : nullptr;
    }
    return nullptr;
}

void TfrmMain::SetCommandVisible(meter::TMeterCommand command, bool visible)
{
    if (QObject *o = CommandObject(command))
        SetVisible(o, visible);
}

void TfrmMain::SetCommandEnabled(meter::TMeterCommand command, bool enabled)
{
    if (QObject *o = CommandObject(command))
        SetEnabled(o, enabled);
}

void TfrmMain::SetPanelLabelVisible(meter::TPanelLabel label, bool visible)
{
    if (FPanel)
        FPanel->SetLabelVisible(label, visible);
}

void TfrmMain::DrawReading(const meter::TStatusDisplay &display)
{
    if (FPanel)
        FPanel->DrawReading(display);
}

void TfrmMain::DrawBlankDigits()
{
    if (FPanel)
        FPanel->SetMainDigits(meter::BlankGlyph, meter::BlankGlyph, meter::BlankGlyph,
                              meter::BlankGlyph);
}

void TfrmMain::SetMaxMinTimerEnabled(bool enabled)
{
    if (enabled)
        MaxMinTimer->start();
    else
        MaxMinTimer->stop();
}

void TfrmMain::SetMainTimerEnabled(bool enabled)
{
    if (enabled)
        MainTimer->start();
    else
        MainTimer->stop();
}

// ---------------------------------------------------------------------------
// Panel host

void TfrmMain::PanelActivated()
{
    Control<QToolButton>("btnOutputToGraph")->setEnabled(false);
}

void TfrmMain::PanelClosed(meter::TfrmPanel *panel)
{
    if (FPanel == panel || FPanel.isNull())
        FPanel = nullptr;
    if (!FDestroying)
        MenuItem("ControlPanel1")->setChecked(false);
}

// ---------------------------------------------------------------------------
// First paint (start-up measurement)

bool TfrmMain::event(QEvent *event)
{
    const bool result = QMainWindow::event(event);
    if (event->type() == QEvent::Paint && !FPainted) {
        FPainted = true;
        emit firstPainted();
    }
    return result;
}

} // namespace app
