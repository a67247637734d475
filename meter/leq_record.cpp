#include "meter/leq_record.h"

#include "meter/logger_image.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/numbers.h"

#include <algorithm>
#include <optional>

namespace {

constexpr int LeqNumberOffset = 0;
constexpr int LeqLevelOffset = 1; // 2 bytes
constexpr int LeqDateOffset = 3;  // six packed BCD bytes
constexpr int LeqPeriodOffset = 9;
constexpr int LeqFlagsOffset = 10;
constexpr uint8_t LeqFlagFast = 0x80;
constexpr uint8_t LeqFlagAWeighted = 0x40;

std::optional<uint8_t> RecordByte(std::span<const uint8_t> record, int offset)
{
    if (offset < 0 || static_cast<size_t>(offset) >= record.size())
        return std::nullopt;
    return record[static_cast<size_t>(offset)];
}

} // namespace

std::string LeqPeriodText(int code)
{
    static const char *const texts[] = {"00:00:10", "00:01:00", "00:05:00", "00:10:00",
                                        "00:20:00", "00:30:00", "01:00:00", "02:00:00",
                                        "04:00:00", "08:00:00", "16:00:00", "24:00:00"};
    if (code < 0 || code >= static_cast<int>(std::size(texts)))
        return {};
    return texts[code];
}

TLeqRecordCells DecodeLeqRecord(std::span<const uint8_t> record, int r)
{
    TLeqRecordCells cells;
    const auto number = RecordByte(record, LeqNumberOffset);
    const auto levelHigh = RecordByte(record, LeqLevelOffset);
    const auto levelLow = RecordByte(record, LeqLevelOffset + 1);
    // Levels are whole tenths of a dB, so "130.1 dB or more" is 1301 or more.
    const int raw = levelHigh && levelLow ? *levelHigh * 256 + *levelLow : 0;
    if (!number || *number != r + 1 || !levelHigh || !levelLow || raw >= 1301) {
        cells.Value = "----";
        return cells;
    }
    cells.Value = rtl::LevelText(static_cast<float>(raw * 0.1));

    std::optional<uint8_t> fields[6];
    for (int f = 0; f < 6; ++f)
        fields[f] = RecordByte(record, LeqDateOffset + f);
    const rtl::TDateTime dt = rtl::RoundDisplaySeconds(logger::BcdDateTime(fields));
    cells.Time = rtl::DateToStr(dt) + " " + rtl::TimeToStr(dt);

    if (const auto period = RecordByte(record, LeqPeriodOffset))
        cells.Period = LeqPeriodText(*period);
    const uint8_t flags = RecordByte(record, LeqFlagsOffset).value_or(0);
    cells.Weighting = (flags & LeqFlagAWeighted) ? "dBA" : "dBC";
    cells.Response = (flags & LeqFlagFast) ? "FAST" : "SLOW";
    return cells;
}

std::vector<TLeqRecordCells> DecodeLeqRecords(std::span<const uint8_t> buffer, int count)
{
    const int whole = static_cast<int>(buffer.size() / LeqRecordSize);
    count = std::clamp(count, 0, std::min(LeqMaxRecords, whole));
    std::vector<TLeqRecordCells> rows;
    rows.reserve(static_cast<size_t>(count));
    for (int r = 0; r < count; ++r)
        rows.push_back(DecodeLeqRecord(
            buffer.subspan(static_cast<size_t>(r) * LeqRecordSize, LeqRecordSize), r));
    return rows;
}
