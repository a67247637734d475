// The main window from start to close, on the simulated meter with a fake
// clock, an in-memory registry, temporary folders and scripted UI services.
#include "tests/app/main_window_test.h"

#include "chart/control/gxsgraph.h"
#include "views/about_box.h"
#include "views/graph_window.h"
#include "views/show_modal.h"

#include "i18n/base/lx_languages.h"
#include "i18n/lx_comp.h"
#include "platform/ui/mdi_area.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using app::TfrmMain;

class MainFormTest : public MainWindowTest {
protected:
    QString Status(int panel) { return form_->StatusPanel(panel)->text(); }

    static void Put(const std::function<void(rtl::TRegistry &)> &write)
    {
        rtl::TRegistry r;
        r.SetRootKey(rtl::HKEY_LOCAL_MACHINE);
        r.OpenKey(app::kSettingsKey, true);
        write(r);
    }
    static rtl::TRegDataInfo Info(const char *name)
    {
        rtl::TRegistry r;
        r.SetRootKey(rtl::HKEY_LOCAL_MACHINE);
        r.OpenKey(app::kSettingsKey, false);
        rtl::TRegDataInfo info;
        r.GetDataInfo(name, info);
        return info;
    }
    static int StoredLanguage()
    {
        rtl::TRegistry r;
        r.SetRootKey(rtl::HKEY_LOCAL_MACHINE);
        r.OpenKey(app::kSettingsKey, false);
        return r.ReadInteger("LxLangIndex");
    }
    QString WorkingFolder() { return dir_.path() + "/Documents/MX4820/temp"; }
};

bool Checked(TfrmMain &f, const char *item)
{
    return f.MenuItem(item)->isChecked();
}

int CheckedLanguages(TfrmMain &f)
{
    int n = 0;
    for (const char *item : {"English1", "French1", "German1", "Italian1", "Spanish1", "Swedish1",
                             "Finnish1", "Danish1"})
        n += Checked(f, item) ? 1 : 0;
    return n;
}

TEST_F(MainFormTest, FirstStartUsesDefaultsAndCloseWritesBothValues)
{
    TfrmMain &f = Start();
    EXPECT_DOUBLE_EQ(f.gRealTimeRate, 1.0);
    EXPECT_EQ(f.gLanguageIndex, 1);
    EXPECT_TRUE(Checked(f, "English1"));
    EXPECT_EQ(CheckedLanguages(f), 1);

    f.close();
    EXPECT_EQ(Info("RealTimeRate").RegData, rtl::rdBinary);
    EXPECT_EQ(Info("RealTimeRate").DataSize, 8);
    EXPECT_EQ(Info("LxLangIndex").RegData, rtl::rdInteger);
    EXPECT_EQ(Read(WorkingFolder() + "/language.txt"), QByteArray("1\r\n"));
}

TEST_F(MainFormTest, RateStoredWithTheWrongTypeOrSizeOrOutOfRangeReadsAsOne)
{
    const uint8_t four[4] = {0, 0, 0x80, 0x3F}; // 1.0f, but 4 bytes
    for (int variant = 0; variant < 5; ++variant) {
        Put([&](rtl::TRegistry &r) {
            if (variant == 0)
                r.WriteBinaryData("RealTimeRate", four, 4);
            else if (variant == 1)
                r.WriteString("RealTimeRate", "2.5");
            else // no rate a run could use: none, negative, beyond a day
                r.WriteFloat("RealTimeRate", variant == 2 ? 0.0 : variant == 3 ? -2.0 : 1e9);
        });
        TfrmMain &f = Start();
        EXPECT_DOUBLE_EQ(f.gRealTimeRate, 1.0) << variant;
        f.close();
        EXPECT_EQ(Info("RealTimeRate").DataSize, 8) << "written back as a double";
        form_.reset();
    }
}

TEST_F(MainFormTest, LanguageIndexOutsideTheLanguagesStartsInEnglishAndIsKept)
{
    Put([](rtl::TRegistry &r) { r.WriteInteger("LxLangIndex", 9); });
    TfrmMain &f = Start();
    EXPECT_EQ(CheckedLanguages(f), 0);
    EXPECT_EQ(f.lxLangDispatcher1()->ActiveLanguage(), 1);
    EXPECT_EQ(f.Control<QMenu>("File1")->title(), QString("&File"));
    f.close();
    EXPECT_EQ(StoredLanguage(), 9);
}

TEST_F(MainFormTest, PanelFollowsTheMeterBlinksMaxMinAndFivePollFailuresDisconnect)
{
    TfrmMain &f = Start();
    meter::TfrmPanel *panel = f.gPanel();
    auto shown = [panel](const char *label) {
        return panel->Control<QLabel>(label)->isVisibleTo(panel);
    };
    EXPECT_EQ(Status(1), QString("Off Connection"));
    meter_.SetLevel(945);
    Tick(2); // identify, status
    EXPECT_EQ(Status(1), QString("On Connection"));
    EXPECT_FALSE(shown("lblNoConnection"));
    const auto &large = f.Glyphs().gLargeDigits;
    EXPECT_EQ(panel->Control<QLabel>("MainD1")->pixmap().cacheKey(), large[10].cacheKey());
    EXPECT_EQ(panel->Control<QLabel>("MainD2")->pixmap().cacheKey(), large[9].cacheKey());
    EXPECT_EQ(panel->Control<QLabel>("MainD4")->pixmap().cacheKey(), large[5].cacheKey());

    for (int i = 0; i < 3; ++i)
        panel->btnMaxMinClick(); // MAX, MIN, alternating
    Tick();
    ASSERT_TRUE(f.Control<QTimer>("MaxMinTimer")->isActive());
    f.MaxMinTimerTimer();
    EXPECT_TRUE(shown("lblMAX") && shown("lblMIN"));
    f.MaxMinTimerTimer();
    EXPECT_FALSE(shown("lblMAX") || shown("lblMIN"));

    meter_.SetPresent(false);
    Tick(4);
    EXPECT_EQ(Status(1), QString("On Connection"));
    Tick();
    EXPECT_EQ(Status(1), QString("No Connection"));
    EXPECT_TRUE(shown("lblNoConnection"));
    EXPECT_FALSE(f.Control<QMenu>("DataLogger1")->menuAction()->isEnabled());
}

TEST_F(MainFormTest, ClosedPanelComesBackOnceFromTheViewMenu)
{
    TfrmMain &f = Start();
    QPointer<meter::TfrmPanel> first = f.gPanel();
    first->close();
    EXPECT_EQ(f.gPanel(), nullptr);
    EXPECT_FALSE(Checked(f, "ControlPanel1"));
    Tick(2); // decoding without a panel draws nothing and does not fail
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    EXPECT_TRUE(first.isNull());

    f.MenuItem("ControlPanel1")->trigger();
    ASSERT_NE(f.gPanel(), nullptr);
    EXPECT_TRUE(Checked(f, "ControlPanel1"));
    f.resize(1280, 800);
    f.gPanel()->SpeedButton1Click();
    QCoreApplication::processEvents();
    // Minimised, it has a title bar to be found by; restored, none again.
    EXPECT_FALSE(f.MdiClient()->SubWindowOf(f.gPanel())->windowFlags() & Qt::FramelessWindowHint);
    f.MenuItem("ControlPanel1")->trigger();    // restored, no second panel, still checked
    EXPECT_EQ(f.MdiClient()->ChildCount(), 2); // the panel and the real-time graph
    EXPECT_FALSE(f.MdiClient()->SubWindowOf(f.gPanel())->isMinimized());
    EXPECT_TRUE(f.MdiClient()->SubWindowOf(f.gPanel())->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(Checked(f, "ControlPanel1"));
}

TEST_F(MainFormTest, ChoosingALanguageTranslatesEveryWindowAtOnce)
{
    TfrmMain &f = Start();
    f.MenuItem("French1")->trigger();
    EXPECT_EQ(f.Control<QMenu>("File1")->title(), QString("&Fichier"));
    EXPECT_EQ(f.gPanel()->Control<QLabel>("lblNoConnection")->text(), QString("Pas de connexion"));
    EXPECT_TRUE(Checked(f, "French1"));
    EXPECT_EQ(CheckedLanguages(f), 1);
    ASSERT_EQ(services_.MessageTexts(),
              QStringList{"You have changed the language, please restart the program."});

    f.MenuItem("French1")->trigger(); // the active language: no message
    EXPECT_EQ(services_.MessageTexts().size(), 1);
    f.MenuItem("English1")->trigger();
    EXPECT_EQ(services_.MessageTexts().size(), 2);
    EXPECT_TRUE(f.gLanguageChanged);
    EXPECT_EQ(f.gLanguageIndex, 1);

    // A panel made after the change comes up in the active language.
    f.MenuItem("Danish1")->trigger();
    f.gPanel()->close();
    f.MenuItem("ControlPanel1")->trigger();
    EXPECT_EQ(f.gPanel()->Control<QLabel>("lblNoConnection")->text(), QString("Ingen forbindelse"));
    // Messages of the link come from the window's string ids.
    EXPECT_EQ(f.StringById("IDS_115"), std::string("Ingen forbindelse"));
}

// The access key of a menu text ("Fi&nestra" -> 'n'), 0 when it has none.
QChar AccessKey(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] != '&')
            return text[i + 1].toLower();
        ++i;
    }
    return QChar();
}

TEST_F(MainFormTest, AccessKeysAreUniqueInEveryMenuAndLanguage)
{
    // English keeps the window's own texts ("&Print" and "&Printer Setup"
    // share their key); the translations do not add such clashes.
    TfrmMain &f = Start();
    for (int language = 2; language <= i18n::kLanguageCount; ++language) {
        f.lxLangDispatcher1()->SetActiveLanguage(language);
        QList<QList<QAction *>> groups{f.menuBar()->actions()};
        for (QAction *top : f.menuBar()->actions())
            if (top->menu())
                groups.append(top->menu()->actions());
        for (const QList<QAction *> &group : groups) {
            QMap<QChar, QString> seen;
            for (QAction *a : group) {
                const QChar key = AccessKey(a->text());
                if (key.isNull())
                    continue;
                EXPECT_FALSE(seen.contains(key)) << language << ": " << a->text().toStdString()
                                                 << " and " << seen.value(key).toStdString();
                seen.insert(key, a->text());
            }
        }
    }
}

TEST_F(MainFormTest, CloseAndExitStartTheLanguageSetupOnlyAfterAChange)
{
    const QString setup = File("bin/SetupLanguage");
    Write(setup, "#!/bin/sh\n");
    QFile::setPermissions(setup, QFile::permissions(setup) | QFile::ExeOwner);

    Start().close();
    EXPECT_TRUE(services_.CallsOf(ui::TUICallKind::StartProgram).empty());
    form_.reset();

    TfrmMain &f = Start();
    f.MenuItem("Italian1")->trigger();
    f.MenuItem("Exit1")->trigger(); // File > Exit runs the same close
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(StoredLanguage(), 4);
    const auto started = services_.CallsOf(ui::TUICallKind::StartProgram);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].Text, setup);
    EXPECT_EQ(Read(WorkingFolder() + "/language.txt"), QByteArray("4\r\n"));
}

TEST_F(MainFormTest, UnmakableWorkingFolderIsShownOnceAndTheCloseFinishes)
{
    TfrmMain &f = Start();
    // A file where the working folder should be.
    QFile blocker(WorkingFolder());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    f.close();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"The settings could not be saved; the next start uses the earlier "
                          "ones:\nCannot create folder \"" +
                          WorkingFolder() + "\". Not a directory"});
    EXPECT_EQ(Info("LxLangIndex").RegData, rtl::rdInteger);
    EXPECT_FALSE(meter_.IsOpen());
}

// A configuration folder that cannot be written (a file in its place: tests
// run as root, whom read-only folders do not stop): Exit says once which
// file could not be written and why, after a language change that the
// choice is lost, and the close goes on.
TEST_F(MainFormTest, SettingsThatCannotBeSavedAreToldOnceAtTheClose)
{
    rtl::TRegistryBackendScope fileRegistry(rtl::TRegistryBackend::File);
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const QString config = File("config");
    Write(config, "no folder");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config));
    const QString registry = QString::fromStdString(rtl::RegistryFileName());
    ASSERT_TRUE(registry.startsWith(config + "/")) << registry.toStdString();
    const QString why = QStringLiteral("\"%1\". Not a directory").arg(registry);

    TfrmMain &f = Start();
    f.MenuItem("Exit1")->trigger();
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(services_.MessageTexts(),
              QStringList{"The settings could not be saved; the next start uses the earlier "
                          "ones:\nCannot create file " +
                          why});
    EXPECT_FALSE(meter_.IsOpen()) << "the close went on";
    form_.reset();

    services_.ClearCalls();
    TfrmMain &g = Start();
    g.MenuItem("French1")->trigger();
    g.MenuItem("Exit1")->trigger();
    EXPECT_FALSE(g.isVisible());
    EXPECT_EQ(services_.MessageTexts(),
              (QStringList{"You have changed the language, please restart the program.",
                           "Le choix de la langue n'a pas pu être enregistré ; le prochain "
                           "démarrage garde la langue précédente :\nCannot create file " +
                               why}));
    EXPECT_EQ(Read(WorkingFolder() + "/language.txt"), QByteArray("2\r\n"));
    form_.reset();
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

TEST_F(MainFormTest, CommandsAreEnabledWhenTheMeterConnects)
{
    TfrmMain &f = Start();
    Tick();
    ASSERT_TRUE(f.TimerLogic().gConnected);
    EXPECT_FALSE(f.Control<QToolButton>("btnOutputToGraph")->isEnabled()) << "no list is active";
    for (const char *item :
         {"Print1", "PrinterSetup1", "LoadData1", "LoadLEQdata1", "EraseMemory1"})
        EXPECT_TRUE(f.MenuItem(item)->isEnabled()) << item;
    EXPECT_TRUE(f.Control<QToolButton>("btnDataLogger")->isEnabled());

    // The manual is opened by the desktop, from beside the program or else
    // from the package's documentation folder; without it the program says
    // where it looked.
    const QString manual = dir_.path() + "/bin/MX4820_manual.pdf";
    const QString packaged = dir_.path() + "/doc/MX4820_manual.pdf";
    f.Control<QToolButton>("SpeedButton8")->click();
    EXPECT_EQ(services_.MessageTexts().size(), 1);
    EXPECT_EQ(services_.MessageTexts().value(0).split('\n'),
              (QStringList{"The manual could not be opened. Nivora looked for it here:", manual,
                           packaged}));
    ASSERT_TRUE(QDir().mkpath(dir_.path() + "/doc"));
    Write(packaged, "%PDF");
    f.MenuItem("Contents1")->trigger();
    Write(manual, "%PDF");
    f.MenuItem("Contents1")->trigger();
    const auto opened = services_.CallsOf(ui::TUICallKind::OpenDocument);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0].Text, packaged);
    EXPECT_EQ(opened[1].Text, manual);
    EXPECT_EQ(services_.MessageTexts().size(), 1);
}

TEST_F(MainFormTest, SplashShowsFromCreateToShowAndTheAboutBoxClearsItsGlobal)
{
    // The 500 ms busy wait of FormShow starts only after the splash has
    // been painted on the screen (before, under a window manager, it stayed
    // a black box through the wait).
    struct WatchingClock : rtl::FakeClock {
        using rtl::FakeClock::FakeClock;
        int sleeps = 0;
        bool paintedAtFirstSleep = false;
        void SleepMs(int64_t ms) override
        {
            if (sleeps++ == 0)
                paintedAtFirstSleep = views::frmAbout && views::frmAbout->PaintedOnScreen();
            rtl::FakeClock::SleepMs(ms);
        }
    } clock(46000.5);
    rtl::ScopedClock watching(clock);

    form_ = std::make_unique<TfrmMain>(meter_);
    ASSERT_NE(views::frmAbout, nullptr);
    EXPECT_FALSE(views::frmAbout->BitBtn1->isVisibleTo(views::frmAbout));
    EXPECT_TRUE(views::frmAbout->PaintedOnScreen());
    form_->show();
    EXPECT_EQ(views::frmAbout, nullptr);
    EXPECT_GT(clock.sleeps, 0);
    EXPECT_TRUE(clock.paintedAtFirstSleep);

    bool opened = false;
    views::TModalRunnerScope runner([&](QDialog &) {
        opened = views::gAboutForm != nullptr;
        return ui::mrOk;
    });
    form_->MenuItem("About1")->trigger();
    EXPECT_TRUE(opened);
    EXPECT_EQ(views::gAboutForm, nullptr);
    form_.reset(); // while its clock is still there
}

// ---- the graph windows of the main window

TEST_F(MainFormTest, TheRealTimeGraphsCloseIsAFullStopAndTheMenuBringsItBack)
{
    TfrmMain &f = Start();
    ASSERT_NE(f.gRealTimeGraph, nullptr);
    views::TfrmGraph &g = *f.gRealTimeGraph;
    EXPECT_TRUE(Checked(f, "RealTimeGraph1"));
    // Nothing sampled yet; the time axis starts half a second ahead.
    EXPECT_DOUBLE_EQ(g.GXSGraph1->GetManualMinX(), 46000.5 + 0.5 / 86400);
    EXPECT_EQ(g.GXSGraph1->GetPoints(), 2000);
    EXPECT_EQ(g.PointsInUse(), 0);

    // A run in progress ends with the window, whatever the connection.
    f.gRealTimeRunning = true;
    f.gRealTimeCount = 12;
    f.Control<QTimer>("RealTime_Timer")->start();
    g.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(f.gRealTimeGraph, nullptr);
    EXPECT_FALSE(f.gRealTimeRunning);
    EXPECT_EQ(f.gRealTimeCount, 0);
    EXPECT_FALSE(f.Control<QTimer>("RealTime_Timer")->isActive());
    EXPECT_FALSE(Checked(f, "RealTimeGraph1"));

    f.MenuItem("RealTimeGraph1")->trigger();
    ASSERT_NE(f.gRealTimeGraph, nullptr);
    EXPECT_TRUE(Checked(f, "RealTimeGraph1"));
    f.MdiClient()->Minimize(f.gRealTimeGraph);
    f.MenuItem("RealTimeGraph1")->trigger();
    EXPECT_EQ(f.MdiClient()->ChildCount(), 2);
    EXPECT_FALSE(f.MdiClient()->SubWindowOf(f.gRealTimeGraph)->isMinimized());
}

TEST_F(MainFormTest, TheStoredRateSetsTheTimeAxisAndTheRateBox)
{
    const struct {
        double rate;
        int item;
    } cases[] = {{1.0, 0}, {2.0, 1}, {0.5, 0}, {45.0, 0}};
    for (const auto &c : cases) {
        Put([&](rtl::TRegistry &r) { r.WriteFloat("RealTimeRate", c.rate); });
        TfrmMain &f = Start();
        views::TfrmGraph &g = *f.gRealTimeGraph;
        EXPECT_NEAR(g.GXSGraph1->GetManualMaxX() - g.GXSGraph1->GetManualMinX(),
                    c.rate * 2000 / 86400, 1e-9)
            << c.rate;
        EXPECT_EQ(g.txtSamplingRate->currentIndex(), c.item) << c.rate;
        form_.reset();
    }
}

TEST_F(MainFormTest, ACancelledSaveAtCloseKeepsTheProgramOpen)
{
    TfrmMain &f = Start();
    f.gRealTimeUnsaved = true;
    services_.AnswerMessage(ui::mrYes); // "Save Real-Time Graph ?"
    services_.CancelFileDialog();
    f.close();
    EXPECT_TRUE(f.isVisible());
    EXPECT_NE(f.gRealTimeGraph, nullptr);
    EXPECT_TRUE(f.gRealTimeUnsaved);
    EXPECT_EQ(services_.MessageTexts().front(), QString("Save Real-Time Graph ?"));

    services_.AnswerMessage(ui::mrNo);
    f.close();
    EXPECT_FALSE(f.isVisible());
}

} // namespace
