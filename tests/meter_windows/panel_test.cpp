// The front panel on its own: a host over the link to the simulated meter,
// mouse events sent straight to the key zones and the picture.
#include "meter/windows/panel.h"

#include "i18n/base/lx_languages.h"
#include "i18n/lx_comp.h"
#include "meter/link_guard.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/ui_services_script.h"
#include "platform/usb/sim/simulated_meter.h"
#include "tests/support/mouse.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using meter::TfrmPanel;

class Host : public meter::TPanelHost {
public:
    explicit Host(usb::UsbDevice &device) : link(device)
    {
        dispatcher.SetNumOfLanguages(i18n::kLanguageCount);
        for (int n = 0; n < meter::DigitGlyphCount; ++n) {
            QPixmap large(30, 51), small(9, 15);
            large.fill(QColor(n, 0, 0));
            small.fill(QColor(0, n, 0));
            glyphs.gLargeDigits[static_cast<size_t>(n)] = large;
            glyphs.gSmallDigits[static_cast<size_t>(n)] = small;
        }
    }
    meter::TKeyResult PanelKey(uint8_t key) override { return link.PressKey(key); }
    const meter::TDigitGlyphs &Glyphs() const override { return glyphs; }
    i18n::TlxLangDispatcher *LangDispatcher() override { return &dispatcher; }
    bool PanelUpdating() const override { return false; }
    void PanelActivated() override { ++activations; }
    void PanelClosed(TfrmPanel *) override { ++closes; }

    meter::TMeterLink link;
    meter::TDigitGlyphs glyphs;
    i18n::TlxLangDispatcher dispatcher{nullptr};
    int activations = 0;
    int closes = 0;
};

class PanelTest : public ::testing::Test {
protected:
    PanelTest() : clockScope_(clock_), servicesScope_(services_), host_(meter_)
    {
        panel_ = new TfrmPanel(host_);
        panel_->setAttribute(Qt::WA_DeleteOnClose, false);
        panel_->show();
    }
    ~PanelTest() override
    {
        delete panel_;
        meter::TLinkGuard::Instance().Release();
    }

    void Click(const char *zone, bool twice = false)
    {
        testsupport::LeftClick(*panel_->Control(zone), {5, 5}, twice);
    }
    // The command bytes written, in order.
    std::string Keys()
    {
        std::string keys;
        for (const auto &p : meter_.WrittenPackets())
            keys += static_cast<char>(p[1]);
        return keys;
    }
    QPixmap Pixmap(const char *name) { return panel_->Control<QLabel>(name)->pixmap(); }
    bool Shown(const char *name) { return panel_->Control(name)->isVisibleTo(panel_); }

    rtl::FakeClock clock_;
    rtl::ScopedClock clockScope_;
    ui::TScriptedUIServices services_;
    ui::TServicesScope servicesScope_;
    usb::SimulatedMeter meter_;
    Host host_;
    TfrmPanel *panel_ = nullptr;
};

TEST_F(PanelTest, KeyZonesSendTheirBytes)
{
    const struct {
        const char *zone;
        char key;
    } keys[] = {{"btnSPL", 'L'}, {"btnLevel", 'L'}, {"btnREC", 'R'}, {"btnBK", 'B'},
                {"btnAC", 'C'},  {"btnFast", 'F'},  {"Label1", 's'}, {"btnMaxMin", 'M'}};
    for (const auto &k : keys) {
        meter_.ClearLog();
        Click(k.zone);
        EXPECT_EQ(Keys(), std::string(1, k.key)) << k.zone;
    }
    EXPECT_TRUE(services_.Messages().empty());
}

TEST_F(PanelTest, DoubleClickSendsBothBytesEachOnItsOwnLink)
{
    Click("btnMaxMin", true);
    EXPECT_EQ(Keys(), "MN");
    EXPECT_EQ(meter_.OpSequence(), "Close Open SetTimeouts Write Close "
                                   "Close Open SetTimeouts Write Close");
    meter_.ClearLog();
    Click("Label1", true);
    EXPECT_EQ(Keys(), "su");
    // The simulated meter acted on them.
    EXPECT_FALSE(meter_.MaxMinMode());
}

TEST_F(PanelTest, UnavailableKeysSendNothing)
{
    for (const char *zone : {"btnTIME", "btnSET", "btnUP", "btnDOWN"})
        Click(zone);
    EXPECT_EQ(Keys(), "");
    EXPECT_EQ(services_.MessageTexts(), QStringList(4, "not available"));
}

TEST_F(PanelTest, KeysAreIgnoredWhileALinkOperationRunsAndAFailedOpenIsReported)
{
    ASSERT_TRUE(meter::TLinkGuard::Instance().TryAcquire("download"));
    Click("btnREC");
    EXPECT_TRUE(meter_.Log().empty());
    EXPECT_TRUE(services_.Messages().empty());
    meter::TLinkGuard::Instance().Release();

    meter_.SetPresent(false);
    Click("btnREC");
    EXPECT_EQ(services_.MessageTexts(), QStringList{"Connect fail"});
}

TEST_F(PanelTest, DraggingThePictureMovesTheWindowWithTheLeftButtonOnly)
{
    QWidget &picture = *panel_->Control("imgPanel");
    const QPoint start = panel_->pos();
    testsupport::SendMouse(picture, QEvent::MouseButtonPress, {5, 5}, Qt::RightButton,
                           Qt::RightButton);
    testsupport::SendMouse(picture, QEvent::MouseMove, {45, 30}, Qt::NoButton, Qt::RightButton);
    EXPECT_EQ(panel_->pos(), start);

    testsupport::LeftDrag(picture, {5, 5}, {45, 30});
    EXPECT_EQ(panel_->pos(), start + QPoint(40, 25));
    // Key zones are no handles.
    EXPECT_EQ(Keys(), "");
}

TEST_F(PanelTest, ReadingDrawsDigitsIndicatorsClockAndBar)
{
    meter::TReplyBlock reply{};
    reply[0] = 0x02;
    reply[31] = 0x03;
    reply[1] = 0x01 | 0x08 | 0x80; // REC, dBA, SLOW, OVER
    reply[2] = 0x40;               // recording paused
    reply[7] = 0, reply[8] = 9, reply[9] = 4, reply[10] = 5;
    reply[15] = 0x37, reply[16] = 0x3F, reply[17] = 0x12; // minutes byte is no BCD
    QLabel *bar = panel_->Control<QLabel>("imgColorBar");
    EXPECT_EQ(bar->width(), 154); // full until the first reading
    const meter::TStatusDisplay d = meter::DecodeStatus(reply, 0);
    panel_->DrawReading(d);

    const auto &large = host_.glyphs.gLargeDigits;
    EXPECT_EQ(Pixmap("MainD1").cacheKey(), large[meter::BlankGlyph].cacheKey());
    EXPECT_EQ(Pixmap("MainD2").cacheKey(), large[9].cacheKey());
    EXPECT_EQ(Pixmap("MainD3").cacheKey(), large[4].cacheKey());
    EXPECT_EQ(Pixmap("MainD4").cacheKey(), large[5].cacheKey());
    for (const char *on : {"lblREC", "lbldBA", "lblSLOW", "imgOVER", "imgPause", "imgSPL"})
        EXPECT_TRUE(Shown(on)) << on;
    for (const char *off : {"lbldBC", "lblFAST", "imgStart"})
        EXPECT_FALSE(Shown(off)) << off;
    // Hours drawn, the drawing stopped at the minutes.
    const auto &small = host_.glyphs.gSmallDigits;
    EXPECT_EQ(Pixmap("LCDT3").cacheKey(), small[1].cacheKey());
    EXPECT_EQ(Pixmap("LCDT4").cacheKey(), small[2].cacheKey());
    EXPECT_EQ(Pixmap("LCDT5").cacheKey(), small[meter::BlankGlyph].cacheKey());
    // 94.5 dB: (3 x (945 - 300)) div 20 + 4 pixels, cropped, not scaled.
    EXPECT_EQ(bar->width(), 100);
    EXPECT_EQ(bar->pixmap().width(), 154);
}

TEST_F(PanelTest, ABarLongerThanItsPictureShowsTheDisplayBehindIt)
{
    meter::TStatusDisplay d;
    d.imgColorBarWidth = meter::LevelBarWidth(1400); // 140.0 dB: 169 pixels
    panel_->DrawReading(d);
    const QImage image = panel_->grab().toImage();
    const QColor beyond = image.pixelColor(60 + 158, 115 + 11);
    EXPECT_EQ(beyond.alpha(), 255);
    EXPECT_EQ(beyond, image.pixelColor(60 + 158, 115 + 30)) << "the display's own ground";
}

// The panel's texts in other languages: tests/app (main_form).
TEST_F(PanelTest, CloseTellsTheHostOnce)
{
    panel_->close();
    EXPECT_EQ(host_.closes, 1);
    delete panel_;
    panel_ = nullptr;
    EXPECT_EQ(host_.closes, 1);
}

} // namespace
