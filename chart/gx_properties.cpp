#include "chart/gx_properties.h"

GXChartProperties::GXChartProperties(std::uint32_t objectType, std::int32_t objectId)
{
    const chartlib::ChartRect rect{0, 0, 300, 300};
    FChart = chartlib::ChartCreate(objectType, 0, &rect, 0, objectId);
}

GXChartProperties::~GXChartProperties()
{
    if (FChart != 0) {
        chartlib::ChartDestroy(FChart);
        FChart = 0;
    }
}

std::int32_t GXChartProperties::AppendFromURL(const WideString &url)
{
    return chartlib::ChartAppendFromURL(FChart, url, 0x80000002u);
}

WideString GXChartProperties::TakeText()
{
    std::size_t n = 0;
    while (n < kMaxTextUnits && FTextBuffer[n] != u'\0')
        ++n;
    FLastText.assign(FTextBuffer, n);
    return FLastText;
}

void GXChartProperties::TextSet(std::int32_t id, const WideString &text)
{
    chartlib::ChartSetString(FChart, id, text);
}

WideString GXChartProperties::TextGet(std::int32_t id)
{
    FTextBuffer[0] = u'\0';
    chartlib::ChartGetString(FChart, id, FTextBuffer, kTextBufferUnits);
    return TakeText();
}

std::vector<std::string> GXEnumValueNames(const GXEnumInfo &info)
{
    std::vector<std::string> names;
    std::string_view s(info.values);
    while (!s.empty()) {
        auto comma = s.find(',');
        std::string_view name = s.substr(0, comma);
        while (!name.empty() && name.front() == ' ')
            name.remove_prefix(1);
        names.emplace_back(name);
        if (comma == std::string_view::npos)
            break;
        s.remove_prefix(comma + 1);
    }
    return names;
}
