// Restores arbitrary bytes as a chart state block: the input itself, and the block of a chart
// file (".ghf": a 32-bit little-endian length, then that many bytes) when the input is one. A
// refused block must leave the chart as it was; an accepted one must store back to a block
// that restores to the same bytes again.
#include "platform/chartlib/chartlib.h"

#include <cstdlib>
#include <span>
#include <vector>

namespace {

void Restore(std::span<const std::uint8_t> block)
{
    using namespace chartlib;
    static HCHART h = [] {
        HCHART c = ChartCreate(304, 0, nullptr, 0, 12111);
        ChartSetString(c, 2105, u"before");
        ChartSetElement2D(c, 3013, 0, 1, 46000.5);
        return c;
    }();
    static const std::vector<std::uint8_t> initial = ChartStoreState(h);

    if (!ChartLoadState(h, block)) {
        if (ChartStoreState(h) != initial)
            std::abort();
        return;
    }
    std::vector<std::uint8_t> stored = ChartStoreState(h);
    if (!ChartLoadState(h, stored) || ChartStoreState(h) != stored)
        std::abort();
    ChartLoadState(h, initial);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    Restore(input);
    if (size >= 4) {
        const std::uint32_t n = std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 |
                                std::uint32_t(data[2]) << 16 | std::uint32_t(data[3]) << 24;
        if (n <= size - 4)
            Restore(input.subspan(4, n));
    }
    return 0;
}
