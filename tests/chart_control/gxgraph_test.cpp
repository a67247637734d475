// The twin chart control GXGraph: where its hot-spot dispatch differs from GXSGraph's. Its
// painting and actions are GXSGraph's (the same control template, tested there), its
// properties and their ids are tested in tests/chart.
#include "chart/control/gxgraph.h"

#include "platform/chartlib/chart_object.h"
#include "tests/support/mouse.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

using namespace chartlib;

namespace Gxgctl {
namespace {

// Puts a given hot spot where the chart's own hit test of a left press leaves it, and records
// the reads of element values.
class SpotLibrary : public ChartLibrary {
public:
    std::optional<HotSpotRecord> hotSpot;
    std::vector<std::string> log;

    bool ChartGetElement(HCHART h, std::int32_t id, std::int32_t i, double &out) override
    {
        log.push_back("GetElement " + std::to_string(id));
        return ChartLibrary::ChartGetElement(h, id, i, out);
    }
    std::int32_t ChartSendMessage(HCHART h, std::uint32_t m, std::uint32_t w,
                                  std::int32_t l) override
    {
        std::int32_t result = ChartLibrary::ChartSendMessage(h, m, w, l);
        if (hotSpot && (m == msg::LButtonDown || m == msg::LButtonDblClk))
            ChartFind(h)->SetRecord(prop::HotSpotData, *hotSpot);
        return result;
    }
};

} // namespace

TEST(GXGraphInput, HotSpotRowsOfTheTwin)
{
    SpotLibrary lib;
    GXGraph g(nullptr, &lib);
    g.resize(300, 200);
    std::vector<std::string> seen;
    g.OnMouseDown = [&](QObject *, TMouseButton, TShiftState, int, int) {
        seen.push_back("MouseDown");
    };
    g.OnClick = [&](QObject *) { seen.push_back("Click"); };
    g.OnGridNumber = [&](QObject *, int, int type, int axis, double) {
        seen.push_back("Grid " + std::to_string(type) + " " + std::to_string(axis));
    };
    g.OnPointHotSpot = [&](QObject *, int dbl, int point) {
        seen.push_back("Point " + std::to_string(dbl) + " " + std::to_string(point));
    };
    g.OnTableHotSpot = [&](QObject *, int dbl, int subset, int point) {
        seen.push_back("TableSpot " + std::to_string(dbl) + " " + std::to_string(subset) + " " +
                       std::to_string(point));
    };
    g.OnTableAnnotation = [&](QObject *, int, int k, int, int) {
        seen.push_back("TableAnnotation " + std::to_string(k));
    };
    auto click = [&](int type, int i1, int i2) {
        HotSpotRecord r{};
        r.type = type;
        r.index1 = i1;
        r.index2 = i2;
        lib.hotSpot = r;
        seen.clear();
        lib.log.clear();
        testsupport::LeftClick(g, {40, 40});
        return seen;
    };
    using V = std::vector<std::string>;
    // Grid numbers 21 and 22 are no hot spots of the twin, and their value is not read.
    EXPECT_EQ(click(21, 1, 2), (V{"MouseDown", "Click"}));
    EXPECT_TRUE(lib.log.empty());
    EXPECT_EQ(click(22, 1, 2), (V{"MouseDown", "Click"}));
    EXPECT_EQ(click(19, 1, 0), (V{"Grid 1 1"}));
    EXPECT_EQ(lib.log, (V{"GetElement 3123"}));
    EXPECT_EQ(click(20, 0, 0), (V{"Grid 2 0"}));
    // Points and tables are hot spots of their own.
    EXPECT_EQ(click(2, 8, 3), (V{"Point 0 8"}));
    EXPECT_EQ(click(4, 1, 6), (V{"TableSpot 0 1 6"}));
    EXPECT_EQ(click(27, 0, 0), (V{"TableAnnotation 4"}));
    EXPECT_EQ(click(43, 0, 0), (V{"MouseDown", "Click"}));
    // Unassigned, a point hot spot still ends the handling.
    g.OnPointHotSpot = nullptr;
    EXPECT_EQ(click(2, 8, 3), V{});
    // A double click reports itself.
    lib.hotSpot->type = 4;
    seen.clear();
    testsupport::SendMouse(g, QEvent::MouseButtonDblClick, {40, 40}, Qt::LeftButton,
                           Qt::LeftButton);
    EXPECT_EQ(seen, (V{"TableSpot 1 8 3"}));
}

} // namespace Gxgctl
