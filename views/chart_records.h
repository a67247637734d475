// The records a graph window reads straight from its chart object (mouse
// point, plotting area, hot spot).
#pragma once

#include "platform/chartlib/chartlib.h"

#include <cstdint>
#include <span>

namespace views {

template <class T> T ReadChartRecord(chartlib::HCHART h, std::int32_t id)
{
    T rec{};
    chartlib::ChartGetProperty(h, id,
                               std::span(reinterpret_cast<std::uint8_t *>(&rec), sizeof rec));
    return rec;
}

} // namespace views
