// Restores arbitrary bytes as a chart state block. A refused block must leave the chart as it
// was; an accepted one must store back to a block that restores to the same bytes again.
#include "platform/chartlib/chartlib.h"

#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace chartlib;
    static HCHART h = [] {
        HCHART c = ChartCreate(304, 0, nullptr, 0, 12111);
        ChartSetString(c, 2105, u"before");
        ChartSetElement2D(c, 3013, 0, 1, 46000.5);
        return c;
    }();
    static const std::vector<std::uint8_t> initial = ChartStoreState(h);

    if (!ChartLoadState(h, std::span(data, size))) {
        if (ChartStoreState(h) != initial)
            std::abort();
        return 0;
    }
    std::vector<std::uint8_t> stored = ChartStoreState(h);
    if (!ChartLoadState(h, stored) || ChartStoreState(h) != stored)
        std::abort();
    ChartLoadState(h, initial);
    return 0;
}
