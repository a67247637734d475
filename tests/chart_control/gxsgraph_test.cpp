// The chart control GXSGraph: actions and the library calls they make, hot-spot dispatch and
// the input forwarding rules, painting, notifications, and the dialogs, printing and export it
// reaches through the engine.
#include "chart/control/gxsgraph.h"

#include "platform/chartlib/chart_object.h"
#include "platform/chartlib/render/chart_output.h"
#include "platform/ui/ui_services_script.h"
#include "tests/support/mouse.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

using namespace chartlib;
using testsupport::LeftClick;
using testsupport::LeftDrag;
using testsupport::SendMouse;

namespace {

// "what 1 2": a call or an event with its numbers.
template <class... A> std::string Said(const char *what, A... numbers)
{
    std::string s = what;
    ((s += " " + std::to_string(numbers)), ...);
    return s;
}

// Records the calls a control makes; dialogs are recorded and not shown.
class RecordingLibrary : public ChartLibrary {
public:
    std::vector<std::string> log;
    std::optional<HotSpotRecord> hotSpot; // answers HotSpotData reads when set
    bool throwOnPlay = false;

    void Add(std::string s) { log.push_back(std::move(s)); }
    bool Has(const std::string &prefix) const
    {
        return std::any_of(log.begin(), log.end(),
                           [&](const std::string &s) { return s.rfind(prefix, 0) == 0; });
    }

    bool ChartReinitialize(HCHART h) override
    {
        Add("Reinitialize");
        return ChartLibrary::ChartReinitialize(h);
    }
    bool ChartResetImage(HCHART h, std::int32_t a, std::int32_t b) override
    {
        Add(Said("ResetImage", a, b));
        return ChartLibrary::ChartResetImage(h, a, b);
    }
    bool ChartPlayImage(HCHART h, QPainter &p, std::int32_t image) override
    {
        if (throwOnPlay)
            throw std::runtime_error("drawing failed");
        return ChartLibrary::ChartPlayImage(h, p, image);
    }
    std::size_t ChartGetProperty(HCHART h, std::int32_t id, std::span<std::uint8_t> out) override
    {
        if (id == prop::HotSpotData && hotSpot) {
            std::memcpy(out.data(), &*hotSpot, std::min(out.size(), sizeof *hotSpot));
            return sizeof *hotSpot;
        }
        return ChartLibrary::ChartGetProperty(h, id, out);
    }
    bool ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, double &out) override
    {
        Add(Said("GetElement", id, i));
        return ChartLibrary::ChartGetElement(h, id, i, out);
    }
    std::int32_t ChartSendMessage(HCHART h, std::uint32_t m, std::uint32_t w,
                                  std::int32_t l) override
    {
        Add(Said("Send", m, w, l));
        return ChartLibrary::ChartSendMessage(h, m, w, l);
    }
    bool ChartPrintDialog(HCHART, std::int32_t flag, const ChartPair *pair) override
    {
        Add(Said("PrintDialog", flag, pair->a, pair->b));
        return false;
    }
    bool ChartPrintGraph(HCHART, std::int32_t a, std::int32_t b, std::int32_t o) override
    {
        Add(Said("PrintGraph", a, b, o));
        return true;
    }
    bool ChartTextExportDialog(HCHART, std::int32_t n, const std::u16string &) override
    {
        Add(Said("TextExportDialog", n));
        return true;
    }
};

class TestGraph : public GXSGraph {
public:
    explicit TestGraph(RecordingLibrary &lib) : GXSGraph(nullptr, &lib), FLog(lib) {}
    void Invalidate() override
    {
        FLog.Add("Invalidate");
        GXSGraph::Invalidate();
    }

private:
    RecordingLibrary &FLog;
};

// Scripted answers of the chart's modal steps; no printer is offered.
class ScriptedDialogs : public ChartDialogs {
public:
    std::function<bool(QDialog &)> onDialog = [](QDialog &) { return true; };
    QString saveAs;
    bool ExecDialog(QDialog &d) override { return onDialog(d); }
    bool ExecPrintDialog(QPrinter &) override { return false; }
    bool DefaultPrinter(QPrinter &) override { return false; }
    bool SaveFileName(const QString &, const QString &, QString &fileName, int &) override
    {
        fileName = saveAs;
        return !saveAs.isEmpty();
    }
    std::function<QAction *(QMenu &)> onMenu = [](QMenu &) { return nullptr; };
    QAction *ExecMenu(QMenu &menu, const QPoint &) override { return onMenu(menu); }
};

// Installed for every test, so no modal step can block.
ScriptedDialogs gQuietDialogs;
struct QuietDialogs : ::testing::Environment {
    void SetUp() override { SetChartDialogs(&gQuietDialogs); }
};
const auto *const kQuiet = ::testing::AddGlobalTestEnvironment(new QuietDialogs);

ChartRect PlotRectOf(HCHART h)
{
    ChartRect plot{};
    ChartGetProperty(h, prop::PlotRect,
                     std::span(reinterpret_cast<std::uint8_t *>(&plot), sizeof plot));
    return plot;
}

// A chart shown at 500 x 300 that zooms horizontally, zoomed by a drag across its middle.
void ZoomByDrag(GXSGraph &g)
{
    g.resize(500, 300);
    g.show();
    g.SetAllowZooming(sgHorzZooming);
    g.SetGXactions(sgReinitAndReset);
    LeftDrag(g, {150, 100}, {300, 150});
}

// The events a control raised, in order.
struct Events {
    std::vector<std::string> seen;
    void Wire(GXSGraph &g)
    {
        auto add = [this](std::string s) { seen.push_back(std::move(s)); };
        g.OnMouseDown = [add](QObject *, TMouseButton b, TShiftState, int, int) {
            add(Said("MouseDown", b));
        };
        g.OnMouseUp = [add](QObject *, TMouseButton b, TShiftState, int, int) {
            add(Said("MouseUp", b));
        };
        g.OnClick = [add](QObject *) { add("Click"); };
        g.OnDataHotSpot = [add](QObject *, int d, int s, int p) { add(Said("Data", d, s, p)); };
        g.OnGraphAnnotHotSpot = [add](QObject *, int d, int k) { add(Said("Annot", d, k)); };
        g.OnVertLineAnnotHotSpot = [add](QObject *, int d, int k) { add(Said("VertLine", d, k)); };
        g.OnTableAnnotation = [add](QObject *, int d, int k, int r, int c) {
            add(Said("Table", d, k, r, c));
        };
        g.OnGridNumber = [add](QObject *, int, int type, int axis, double) {
            add(Said("Grid", type, axis));
        };
        g.OnZoomIn = [add](QObject *) { add("ZoomIn"); };
        g.OnZoomOut = [add](QObject *) { add("ZoomOut"); };
    }
};

HotSpotRecord Spot(int type, int i1, int i2)
{
    HotSpotRecord r{};
    r.type = type;
    r.index1 = i1;
    r.index2 = i2;
    return r;
}

using Strings = std::vector<std::string>;

} // namespace

TEST(GXSGraphActions, LibraryCallsOfTheActionsAndOfNoSetterAndTheWindow)
{
    RecordingLibrary lib;
    TestGraph g(lib);
    const Strings redraw = {"Reinitialize", "ResetImage 0 0", "Invalidate"};
    lib.log.clear();
    g.SetGXactions(sgReinitAndReset);
    EXPECT_EQ(lib.log, redraw);

    lib.log.clear();
    g.SetGXnarg1(5);
    g.SetGXnarg2(0);
    g.SetGXactions(sgPrintDialog);
    g.SetGXnarg1(0);
    g.SetGXactions(sgPrintDialog);
    g.SetGXactions(sgOleToClip); // nothing
    g.SetGXnarg1(3);
    g.SetGXnarg2(4);
    g.SetGXstrarg1(u"x.txt");
    g.SetDefOrientation(sgPortrait);
    g.SetGXactions(sgResetImage);
    g.SetGXactions(sgTextExportDialog);
    g.SetGXactions(sgPrintGraph);
    g.SetGXactions(sgUndoZoom);
    EXPECT_EQ(lib.log, (Strings{"PrintDialog 0 5 0", "PrintDialog 1 0 0", "ResetImage 3 4",
                                "TextExportDialog 3", "PrintGraph 0 0 2", "Send 273 53053 0"}));
    // No action changes its arguments.
    EXPECT_EQ(g.GetGXnarg1(), 3);
    EXPECT_EQ(g.GetGXnarg2(), 4);
    EXPECT_EQ(g.GetGXstrarg1(), u"x.txt");
    EXPECT_EQ(g.GetGXactions(), sgUndoZoom);
    // Loaded from a form: the chart is drawn once.
    lib.log.clear();
    g.Loaded();
    EXPECT_EQ(lib.log, redraw);

    // The window keeps the object and its settings, and is at least 50 pixels each way.
    const HCHART h = g.GethObject();
    g.SetMainTitle(u"Before the window");
    g.resize(30, 20);
    g.show();
    EXPECT_TRUE(g.WindowCreated());
    EXPECT_EQ(g.GethObject(), h);
    EXPECT_EQ(g.GetMainTitle(), u"Before the window");
    const ChartRect &r = ChartFind(h)->Rect();
    EXPECT_EQ(r.right - r.left, 50);
    EXPECT_EQ(r.bottom - r.top, 50);

    // Setters never repaint at run time, even shown; while designed, refresh-marked ones do.
    lib.log.clear();
    g.SetManualMaxX(200.0); // refresh-marked
    g.SetMainTitle(u"Level");
    EXPECT_TRUE(lib.log.empty());
    g.SetDesigning(true);
    g.SetManualMaxX(300.0);
    EXPECT_EQ(lib.log, redraw);
}

TEST(GXSGraphInput, MouseKeysAndScrollMessagesFollowTheForwardingRules)
{
    RecordingLibrary lib;
    TestGraph g(lib);
    const HCHART h = g.GethObject();
    g.resize(300, 200);
    g.show();
    Events ev;
    ev.Wire(g);
    lib.log.clear();
    SendMouse(g, QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::NoButton);
    SendMouse(g, QEvent::MouseMove, {10, 10}, Qt::NoButton, Qt::NoButton); // not moved
    SendMouse(g, QEvent::MouseMove, {11, 10}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(lib.log, (Strings{Said("Send", msg::MouseMove, 0, msg::MakePoint(10, 10)),
                                Said("Send", msg::MouseMove, 0, msg::MakePoint(11, 10))}));
    lib.log.clear();
    SendMouse(g, QEvent::MouseButtonPress, {20, 30}, Qt::RightButton, Qt::RightButton);
    EXPECT_TRUE(lib.log.empty()); // a right press is not forwarded
    SendMouse(g, QEvent::MouseButtonRelease, {20, 30}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(lib.log, (Strings{Said("Send", msg::RButtonDown, 0, msg::MakePoint(20, 30))}));
    EXPECT_EQ(ev.seen, (Strings{"MouseDown 1", "MouseUp 1"}));

    // Keys: the control's own handling first, then the chart gets the (possibly changed) key.
    g.OnKeyDown = [&](QObject *, std::uint16_t &key, TShiftState) {
        lib.Add(Said("OnKeyDown", key));
        key = 0x28; // the handler turns it into the down arrow
    };
    lib.log.clear();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(&g, &press);
    EXPECT_EQ(lib.log, (Strings{"OnKeyDown 38", Said("Send", msg::KeyDown, 40, 0)}));

    // Tab is not among the keys the control wants: it moves the focus on and never reaches
    // the chart (arrows, Return and Escape do).
    QWidget form;
    TestGraph onForm(lib);
    onForm.setParent(&form);
    QLineEdit next(&form);
    onForm.setFocus();
    lib.log.clear();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(&onForm, &tab);
    EXPECT_EQ(form.focusWidget(), &next);
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&onForm, &escape);
    EXPECT_EQ(lib.log, (Strings{Said("Send", msg::KeyDown, 27, 0)}));

    // Scroll messages from the chart raise the event (end of scroll does not); from the
    // control's own bar they go on to the chart with lParam 0.
    std::vector<int> scrolls;
    g.OnVertScroll = [&](QObject *, std::int32_t code, std::int32_t &pos) {
        scrolls.push_back(code * 1000 + pos);
        pos = 999; // not used
    };
    lib.log.clear();
    g.WMVScroll((7u << 16) | 5u, h);
    g.WMVScroll(8u, h);
    EXPECT_EQ(scrolls, (std::vector<int>{5007}));
    EXPECT_EQ(g.VertScrollBar().pos, 7);
    g.WMVScroll((3u << 16) | 2u, 0);
    EXPECT_EQ(lib.log, (Strings{Said("Send", msg::VScroll, (3u << 16) | 2u, 0)}));
}

TEST(GXSGraphInput, HotSpotDispatch)
{
    RecordingLibrary lib;
    TestGraph g(lib);
    g.resize(300, 200);
    Events ev;
    ev.Wire(g);
    auto click = [&](HotSpotRecord spot, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        lib.hotSpot = spot;
        ev.seen.clear();
        LeftClick(g, {50, 50}, false, mods);
        return ev.seen;
    };
    const Strings plain = {"MouseDown 0", "Click", "MouseUp 0"};
    // A cursor line: only its event; no OnMouseDown and no click follows.
    EXPECT_EQ(click(Spot(10, 1, 0)), (Strings{"VertLine 0 1", "MouseUp 0"}));
    // Ctrl held: the data point is not a hot spot.
    EXPECT_EQ(click(Spot(5, 0, 7), Qt::ControlModifier), plain);
    EXPECT_EQ(click(Spot(5, 0, 7)), (Strings{"Data 0 0 7", "MouseUp 0"}));
    for (int type : {0, 2, 4, 43, -1})
        EXPECT_EQ(click(Spot(type, 1, 1)), plain) << type;
    EXPECT_EQ(click(Spot(27, 3, 4)), (Strings{"Table 0 4 3 4", "MouseUp 0"}));
    lib.log.clear();
    EXPECT_EQ(click(Spot(21, 2, 6)), (Strings{"Grid 0 2", "MouseUp 0"}));
    EXPECT_TRUE(lib.Has("GetElement 3123 6"));
    EXPECT_EQ(click(Spot(22, 1, 0)), (Strings{"Grid 3 1", "MouseUp 0"}));
    // Unassigned handler: the hot spot still ends the handling.
    g.OnDataHotSpot = nullptr;
    EXPECT_EQ(click(Spot(5, 0, 7)), (Strings{"MouseUp 0"}));
    // A double click on annotation 9: press (0, 9), then double click (1, 9).
    lib.hotSpot = Spot(6, 9, 0);
    ev.seen.clear();
    LeftClick(g, {50, 50}, true);
    EXPECT_EQ(ev.seen, (Strings{"Annot 0 9", "MouseUp 0", "Annot 1 9", "MouseUp 0"}));
}

TEST(GXSGraphInput, PressOnACursorLineOfARealChartStartsNoZoom)
{
    GXSGraph g;
    g.resize(600, 400);
    g.show();
    g.SetDateTimeMode(eDateTimeMode(1));
    g.SetManualScaleControlX(sgManualMinAndMax);
    g.SetManualMinX(46000.0);
    g.SetManualMaxX(46000.001);
    g.SetAllowZooming(sgHorzPlusVertZooming);
    g.SetShowVertLineAnnotations(true);
    g.SetAllowVertLineAnnotHotSpots(true);
    g.SetVertLineAnnotation(0, 46000.0003);
    g.SetVertLineAnnotation(1, 46000.0006);
    g.SetGXactions(sgReinitAndReset);
    Events ev;
    ev.Wire(g);
    std::int32_t axis = 0, x = 0, y = 0;
    double dx = 46000.0006, dy = 0.5; // Y runs from 0 to 1 on an empty chart
    ChartConvertPoint(g.GethObject(), &axis, &x, &y, &dx, &dy, 0, 0, 1);
    SendMouse(g, QEvent::MouseMove, {x, y}, Qt::NoButton, Qt::NoButton);
    LeftDrag(g, {x, y}, {x + 120, y + 80});
    EXPECT_EQ(ev.seen, (Strings{"VertLine 0 1", "MouseUp 0"}));
    EXPECT_FALSE(ChartIsZoomed(g.GethObject()));
    // Away from the lines a drag zooms, and the zoom comes before the click.
    ev.seen.clear();
    LeftDrag(g, {x - 200, y - 100}, {x - 60, y});
    EXPECT_TRUE(ChartIsZoomed(g.GethObject()));
    EXPECT_EQ(ev.seen, (Strings{"MouseDown 0", "ZoomIn", "Click", "MouseUp 0"}));
}

TEST(GXSGraphPaint, PaintingFlagIsResetWhenDrawingThrows)
{
    RecordingLibrary lib;
    TestGraph g(lib);
    g.resize(200, 150);
    g.show();
    QImage target(200, 150, QImage::Format_RGB32);
    {
        QPainter p(&target);
        lib.throwOnPlay = true;
        EXPECT_THROW(g.PaintTo(p), std::runtime_error);
    }
    EXPECT_EQ(g.GetPainting(), 0);
    lib.throwOnPlay = false;
    g.SetGraphBackColor(GXSGraph::GXargb(255, 0, 0, 255));
    g.SetGXactions(sgReinitAndReset);
    lib.log.clear();
    QImage shot = g.grab().toImage();
    EXPECT_FALSE(lib.Has("ResetImage")); // a paint of a built image only copies it
    const ChartRect plot = PlotRectOf(g.GethObject());
    EXPECT_EQ(shot.pixelColor(plot.left + 5, plot.top + 5), QColor(0, 0, 255));
    // A setter alone changes nothing on screen until the redraw actions run.
    g.SetGraphBackColor(GXSGraph::GXargb(255, 0, 255, 0));
    EXPECT_EQ(g.grab().toImage().pixelColor(plot.left + 5, plot.top + 5), QColor(0, 0, 255));
    g.SetGXnarg1(0);
    g.SetGXnarg2(0);
    g.SetGXactions(sgResetImage);
    g.SetGXactions(sgInvalidateImage);
    EXPECT_EQ(g.grab().toImage().pixelColor(plot.left + 5, plot.top + 5), QColor(0, 255, 0));
}

TEST(GXSGraphNotify, CommandsScrollBarsAndCustomGridNumbers)
{
    GXSGraph g;
    g.show();
    const HCHART h = g.GethObject();
    int zooms = 0, params = 0;
    g.OnZoomIn = [&](QObject *) { ++zooms; };
    g.OnParamUpdate = [&](QObject *) { ++params; };
    g.WMCommand(std::uint32_t(code::ZoomIn) << 16, h + 1); // another window
    EXPECT_EQ(zooms, 0);
    g.WMCommand(std::uint32_t(code::ZoomIn) << 16, h);
    EXPECT_EQ(zooms, 1);
    g.WMCommand(std::uint32_t(code::ParamUpdate) << 16, h);
    EXPECT_EQ(params, 1);
    EXPECT_FALSE(g.VertScrollBar().visible);
    EXPECT_EQ(g.VertScrollBar().max, 0);

    // A handler that writes a long text into the grid number: kept to the field's size.
    CustomGridNumberRecord rec{};
    rec.axisType = 1;
    rec.number = 42.5;
    std::u16string original = u"42.5";
    std::copy(original.begin(), original.end(), rec.text);
    ChartSetProperty(h, prop::CustomGridNumberData,
                     std::span(reinterpret_cast<const std::uint8_t *>(&rec), sizeof rec));
    double seen = 0;
    g.OnCustomGridnumbers = [&](QObject *, int, int, double number, WideString &text) {
        seen = number;
        EXPECT_EQ(text, u"42.5");
        text.assign(300, u'x');
    };
    g.WMCommand(std::uint32_t(code::CustomGridNumbers) << 16, h);
    EXPECT_EQ(seen, 42.5);
    CustomGridNumberRecord back{};
    EXPECT_EQ(ChartGetProperty(h, prop::CustomGridNumberData,
                               std::span(reinterpret_cast<std::uint8_t *>(&back), sizeof back)),
              sizeof back);
    EXPECT_EQ(std::u16string(back.text), std::u16string(99, u'x'));
}

TEST(GXSGraphDialogs, CustomiseDialogResultAndColoursWithTheirAlpha)
{
    ScriptedDialogs dialogs;
    SetChartDialogs(&dialogs);
    GXSGraph g;
    g.show();
    int closed = 0;
    g.OnCustomizeDlg = [&](QObject *) { ++closed; };
    bool tabsFit = false;
    QString title = QStringLiteral("Customised");
    dialogs.onDialog = [&](QDialog &d) {
        // Every tab's title shows; none hides behind scroll arrows.
        auto *w = d.findChild<QTabWidget *>(QStringLiteral("tabs"));
        d.adjustSize();
        tabsFit = w && w->count() > 0 && w->tabBar()->sizeHint().width() <= w->width();
        if (auto *e = d.findChild<QLineEdit *>(QStringLiteral("edtMainTitle")))
            e->setText(title);
        if (auto *e = d.findChild<QLineEdit *>(QStringLiteral("edtSubsetColor0")))
            e->setText(QStringLiteral("#ff0000"));
        return title == QStringLiteral("Customised");
    };
    g.SetMainTitleFont(u"No Such Font Family");
    g.SetDeskColor(0x00BEBEBE); // alpha byte 0
    g.SetGXactions(sgCustomize);
    EXPECT_EQ(ChartGetInt(g.GethObject(), prop::DialogResult), 1);
    EXPECT_TRUE(tabsFit);
    EXPECT_EQ(g.GetMainTitle(), u"Customised");
    // Untouched settings are not rewritten, not even a font that is not there.
    EXPECT_EQ(g.GetMainTitleFont(), u"No Such Font Family");
    EXPECT_EQ(g.GetDeskColor(), 0x00BEBEBEu);
    // A colour chosen in the dialog keeps its alpha byte (all 32 bits reach the element).
    EXPECT_EQ(g.GetSubsetColors(0), GXSGraph::GXargb(255, 255, 0, 0));
    // Cancelled: nothing changes.
    title = QStringLiteral("Cancelled");
    g.SetGXactions(sgCustomize);
    EXPECT_EQ(ChartGetInt(g.GethObject(), prop::DialogResult), 0);
    EXPECT_EQ(g.GetMainTitle(), u"Customised");
    EXPECT_EQ(closed, 2);
    SetChartDialogs(&gQuietDialogs);
}

TEST(GXSGraphDialogs, ImageFilesClipboardAndTextExport)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ScriptedDialogs dialogs;
    SetChartDialogs(&dialogs);
    GXSGraph g;
    g.resize(500, 300);
    g.SetGXnarg1(320);
    g.SetGXnarg2(200);
    const struct {
        eGXactions action;
        const char *name, *format;
    } files[] = {{sgPngToFile, "a.png", "png"},
                 {sgJpegToFile, "a.jpg", "jpeg"},
                 {sgBmpToFile, "a.bmp", "bmp"}};
    for (const auto &c : files) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        g.SetGXstrarg1(path.toStdU16String());
        g.SetGXactions(c.action);
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), QByteArray(c.format)) << c.name;
        EXPECT_EQ(reader.size(), QSize(320, 200)) << c.name;
    }
    g.SetGXactions(sgPngToClip);
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(320, 200));
    // A file that cannot be written leaves nothing behind.
    const QString bad = dir.filePath(QStringLiteral("missing/b.png"));
    g.SetGXstrarg1(bad.toStdU16String());
    g.SetGXactions(sgPngToFile);
    EXPECT_FALSE(QFileInfo::exists(bad));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 3);
    // The export dialog writes the data as text when asked for ".txt".
    g.SetPoints(2);
    g.SetYData(0, 1, 63.5f);
    dialogs.saveAs = dir.filePath(QStringLiteral("data.txt"));
    g.SetGXactions(sgExportDialog);
    QFile text(dialogs.saveAs);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = text.readAll().split('\n');
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(lines[2].startsWith("2\t") && lines[2].contains("63.5")) << lines[2].toStdString();
    SetChartDialogs(&gQuietDialogs);
}

TEST(GXSGraphDialogs, FileAndPrintDialogsGoThroughTheUIServices)
{
    SetChartDialogs(nullptr); // the engine's own: files and printing through the UI services
    ui::TScriptedUIServices services;
    ui::TServicesScope scope(services);
    services.SetOnUnanswered(
        [](const ui::TUICall &c) { ADD_FAILURE() << c.Describe().toStdString(); });
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    GXSGraph g;
    g.resize(400, 250);
    QString pdf = dir.filePath(QStringLiteral("p.pdf"));
    services.AnswerPrintDialog(true, pdf);
    g.SetGXactions(sgPrintDialog);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    // Export: the file dialog's answer without an extension takes the chosen entry's.
    services.AnswerFileDialog(dir.filePath(QStringLiteral("e")), 2);
    g.SetGXactions(sgExportDialog);
    EXPECT_EQ(QImageReader(dir.filePath(QStringLiteral("e.jpg"))).format(), QByteArray("jpeg"));
    // Cancelled: nothing written.
    services.CancelFileDialog();
    g.SetGXactions(sgExportDialog);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    SetChartDialogs(&gQuietDialogs);
}

TEST(GXSGraphInput, RightClickPopupMenuUndoesAZoom)
{
    GXSGraph g;
    std::vector<std::string> seen;
    g.OnZoomOut = [&](QObject *) { seen.push_back("ZoomOut"); };
    g.OnPopupMenu = [&](QObject *) { seen.push_back("PopupMenu"); };
    ZoomByDrag(g);
    ASSERT_TRUE(ChartIsZoomed(g.GethObject()));
    QStringList items;
    gQuietDialogs.onMenu = [&](QMenu &menu) -> QAction * {
        QAction *undo = nullptr;
        for (QAction *a : menu.actions()) {
            items << a->text();
            if (a->text() == QStringLiteral("Undo Zoom") && a->isEnabled())
                undo = a;
        }
        return undo;
    };
    SendMouse(g, QEvent::MouseButtonPress, {200, 120}, Qt::RightButton, Qt::RightButton);
    SendMouse(g, QEvent::MouseButtonRelease, {200, 120}, Qt::RightButton, Qt::NoButton);
    EXPECT_FALSE(ChartIsZoomed(g.GethObject()));
    EXPECT_EQ(seen, (std::vector<std::string>{"PopupMenu", "ZoomOut"}));
    EXPECT_FALSE(items.isEmpty());
    // With AllowPopup off (as the graph windows set it) no menu appears.
    items.clear();
    g.SetAllowPopup(false);
    SendMouse(g, QEvent::MouseButtonRelease, {200, 120}, Qt::RightButton, Qt::NoButton);
    EXPECT_TRUE(items.isEmpty());
    gQuietDialogs.onMenu = [](QMenu &) { return nullptr; };
}

// The bar's part of the chart's window (page steps, the far end) is in the graph windows' tests.
TEST(GXSGraphInput, AZoomedChartScrollsThroughTheControlsBars)
{
    GXSGraph g;
    g.SetScrollingHorzZoom(true);
    std::vector<std::pair<std::int32_t, std::int32_t>> scrolls;
    int preScrolls = 0;
    g.OnHorzScroll = [&](QObject *, std::int32_t code, std::int32_t &pos) {
        scrolls.emplace_back(code, pos);
    };
    g.OnPreHScroll = [&](QObject *) { ++preScrolls; };
    EXPECT_FALSE(g.HorzScrollBar().visible);
    ZoomByDrag(g);
    ASSERT_TRUE(ChartIsZoomed(g.GethObject()));
    // The zoom's parameter update copied the chart's bar; the vertical one stays hidden.
    const GXScrollBar bar = g.HorzScrollBar();
    ASSERT_TRUE(bar.visible);
    EXPECT_EQ(bar.min, 1);
    EXPECT_GT(bar.page, 0);
    EXPECT_LT(bar.page, bar.max);
    EXPECT_FALSE(g.VertScrollBar().visible);
    // The control's own bar (source 0) scrolls the chart, which answers with its position.
    g.WMHScroll(std::uint32_t(chartlib::msg::SB_LINEDOWN), 0);
    ASSERT_EQ(scrolls.size(), 1u);
    EXPECT_EQ(scrolls[0].first, chartlib::msg::SB_LINEDOWN);
    EXPECT_GT(scrolls[0].second, bar.pos);
    EXPECT_EQ(g.HorzScrollBar().pos, scrolls[0].second);
    EXPECT_EQ(preScrolls, 1);

    // The bar stands on the screen along the bottom edge, and the chart keeps the rest.
    QScrollBar *widget = g.ScrollBarWidget(false);
    ASSERT_NE(widget, nullptr);
    EXPECT_TRUE(widget->isVisible());
    EXPECT_FALSE(g.ScrollBarWidget(true)->isVisible());
    EXPECT_EQ(widget->geometry().bottom(), g.height() - 1);
    EXPECT_EQ(widget->value(), g.HorzScrollBar().pos);
    EXPECT_EQ(widget->pageStep(), bar.page);
    EXPECT_EQ(widget->maximum(), bar.max - bar.page + 1);
    EXPECT_LE(PlotRectOf(g.GethObject()).bottom, widget->y());
    // Working it scrolls the chart, and the bar shows where the chart went.
    widget->triggerAction(QAbstractSlider::SliderPageStepAdd);
    ASSERT_EQ(scrolls.size(), 2u);
    EXPECT_EQ(scrolls[1].first, chartlib::msg::SB_PAGEDOWN);
    EXPECT_EQ(widget->value(), scrolls[1].second);
    widget->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(widget->value(), widget->maximum());
    EXPECT_EQ(scrolls.back().first, chartlib::msg::SB_BOTTOM);

    g.SetGXactions(sgUndoZoom);
    EXPECT_FALSE(g.HorzScrollBar().visible);
    EXPECT_FALSE(widget->isVisible());
}

TEST(GXSGraphInput, AnExceptionOfAnEventHandlerIsShownAndGoesNoFurther)
{
    ui::TScriptedUIServices services;
    ui::TServicesScope scope(services);
    GXSGraph g;
    g.resize(300, 200);
    g.show();
    g.OnMouseDown = [](QObject *, TMouseButton, TShiftState, int, int) {
        throw std::runtime_error("no data here");
    };
    g.OnKeyDown = [](QObject *, std::uint16_t, TShiftState) {
        throw std::runtime_error("no key here");
    };
    // Without the guard the exception would leave sendEvent (and leak Qt's
    // copy of the event in a running program).
    EXPECT_NO_THROW(LeftClick(g, {50, 50}));
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    EXPECT_NO_THROW(QApplication::sendEvent(&g, &key));
    EXPECT_EQ(services.MessageTexts(), (QStringList{"no data here.", "no key here."}));
}
