// The meter's replies and memories: status and information replies, LEQ memory, logger images.
#include "tests/golden/describe.h"

#include "meter/leq_record.h"
#include "meter/logger_data.h"
#include "meter/setup_commands.h"
#include "meter/status.h"
#include "platform/rtl/datetime.h"

#include <span>
#include <string>

namespace golden {

namespace {

std::string Flag(bool on)
{
    return on ? "yes" : "no";
}

bool ReadReply(const std::filesystem::path &file, meter::TReplyBlock &reply, TFields &fields)
{
    const std::string bytes = ReadBytes(file);
    fields.emplace_back("size", std::to_string(bytes.size()));
    if (bytes.size() != reply.size())
        return false;
    for (size_t i = 0; i < reply.size(); ++i)
        reply[i] = static_cast<uint8_t>(bytes[i]);
    return true;
}

const char *MaxMinName(meter::TMaxMinAction a)
{
    switch (a) {
    case meter::TMaxMinAction::HideLabels:
        return "hide labels";
    case meter::TMaxMinAction::StopTimer:
        return "stop timer";
    case meter::TMaxMinAction::ShowMax:
        return "show MAX";
    case meter::TMaxMinAction::ShowMin:
        return "show MIN";
    case meter::TMaxMinAction::Blink:
        return "blink";
    case meter::TMaxMinAction::NoChange:
        break;
    }
    return "no change";
}

std::string DateTimeText(rtl::TDateTime t)
{
    return rtl::FormatDateTime("yyyy-mm-dd hh:nn:ss", t, rtl::CLikeFormatSettings());
}

// Status replies (32 bytes); given lastSecond, the seconds byte remembered from the last drawn
// clock (0 when not given).
TFields DescribeStatus(const std::filesystem::path &file, const TGiven &given)
{
    TFields f;
    meter::TReplyBlock reply{};
    if (!ReadReply(file, reply, f))
        return f;
    const auto last =
        static_cast<uint8_t>(std::stoi(GivenOr(given, "lastSecond", "0"), nullptr, 0));
    const meter::TStatusDisplay d = meter::DecodeStatus(reply, last);
    f.emplace_back("markers", meter::StatusMarkersValid(reply) ? "valid" : "invalid");
    std::vector<std::string> shown;
    const std::pair<const char *, bool> indicators[] = {
        {"lblREC", d.lblREC},     {"lbldBA", d.lbldBA},   {"lbldBC", d.lbldBC},
        {"lblFAST", d.lblFAST},   {"lblSLOW", d.lblSLOW}, {"imgUNDER", d.imgUNDER},
        {"imgOVER", d.imgOVER},   {"lblFULL", d.lblFULL}, {"imgStart", d.imgStart},
        {"imgPause", d.imgPause}, {"imgStop", d.imgStop}, {"imgLEQ", d.imgLEQ},
        {"imgSPL", d.imgSPL}};
    for (const auto &[name, on] : indicators)
        if (on)
            shown.push_back(name);
    f.emplace_back("indicators", Joined(shown, " "));
    std::string digits;
    for (int g : d.MainD)
        digits += (digits.empty() ? "" : " ") + std::to_string(g);
    f.emplace_back("main digits", digits);
    f.emplace_back("value", std::to_string(d.value));
    f.emplace_back("current level", Number(d.currentLevel, 1));
    f.emplace_back("bar width", std::to_string(d.imgColorBarWidth));
    f.emplace_back("max/min", MaxMinName(d.maxMin));
    f.emplace_back("clock changed", Flag(d.clockChanged));
    f.emplace_back("clock reset", Flag(d.clockReset));
    std::string clock;
    for (int i = 0; i < d.clockFieldsDrawn; ++i)
        clock += (i ? " " : "") + std::to_string(d.clock[size_t(i)].tens) +
                 std::to_string(d.clock[size_t(i)].units);
    f.emplace_back("clock fields drawn", std::to_string(d.clockFieldsDrawn) + ": " + clock);
    f.emplace_back("remembered second", Hex(d.clockLastSecond));
    f.emplace_back("meter recording", Flag(d.meterRecording));
    f.emplace_back("meter LEQ mode", Flag(d.meterLeqMode));
    return f;
}

// Information replies (32 bytes).
TFields DescribeInformation(const std::filesystem::path &file, const TGiven &)
{
    TFields f;
    meter::TReplyBlock reply{};
    if (!ReadReply(file, reply, f))
        return f;
    const meter::TLoggerInformation info = meter::FormatLoggerInformation(reply);
    f.emplace_back("meter time", Escaped(info.MeterTime));
    f.emplace_back("interval", Escaped(info.Interval));
    f.emplace_back("memory available", Escaped(info.MemoryAvailable));
    f.emplace_back("data sets", Escaped(info.DataSets));
    f.emplace_back("version", Escaped(info.Version));
    f.emplace_back("cal 94", Escaped(info.Cal94));
    f.emplace_back("cal 70", Escaped(info.Cal70));
    f.emplace_back("cal 60", Escaped(info.Cal60));
    f.emplace_back("cal 40", Escaped(info.Cal40));
    f.emplace_back("cal 30", Escaped(info.Cal30));
    return f;
}

// LEQ memory as the meter sends it; given count, the record count the meter reports.
TFields DescribeLeqMemory(const std::filesystem::path &file, const TGiven &given)
{
    TFields f;
    const std::string bytes = ReadBytes(file);
    f.emplace_back("size", std::to_string(bytes.size()));
    const int count = std::stoi(GivenOr(given, "count", "0"));
    const std::span<const uint8_t> buffer(reinterpret_cast<const uint8_t *>(bytes.data()),
                                          bytes.size());
    const std::vector<TLeqRecordCells> rows = DecodeLeqRecords(buffer, count);
    f.emplace_back("rows", std::to_string(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
        f.emplace_back("row " + std::to_string(r + 1),
                       Joined({rows[r].Value, rows[r].Time, rows[r].Period, rows[r].Weighting,
                               rows[r].Response}));
    return f;
}

} // namespace

TFields DescribeLoggerImage(const std::filesystem::path &file, const TGiven &given)
{
    TFields f;
    const std::string bytes = ReadBytes(file);
    const TLoggerImage image(bytes.begin(), bytes.end());
    f.emplace_back("size", std::to_string(image.size()));
    f.emplace_back("declared sets", std::to_string(logger::ImageSetCount(image)));
    f.emplace_back("declared last address", std::to_string(logger::ImageLastAddress(image)));
    const std::string mode = GivenOr(given, "lastAddress", "download");
    const int lastAddress = mode == "image"      ? logger::ImageLastAddress(image)
                            : mode == "download" ? static_cast<int>(image.size()) - 1
                                                 : std::stoi(mode, nullptr, 0);
    TDataSetStore store;
    std::vector<TDataSetGridRow> rows;
    std::vector<int> damaged;
    const int result = DecodeLoggerData(image, lastAddress, store, rows, &damaged);
    f.emplace_back("result", std::to_string(result));
    std::vector<std::string> damagedText;
    for (int n : damaged)
        damagedText.push_back(std::to_string(n));
    f.emplace_back("damaged sets", Joined(damagedText, " "));
    f.emplace_back("sets", std::to_string(store.SetCount()));
    for (int n = 0; n < store.SetCount(); ++n) {
        const auto k = static_cast<size_t>(n);
        const std::string set = "set " + std::to_string(n);
        f.emplace_back(set, DateTimeText(store.FSetStart[k]) + " | every " +
                                std::to_string(store.FSetInterval[k]) + " s | " +
                                std::to_string(store.FSetCount[k]) + " samples | flags " +
                                Hex(store.FSetFlags[k]) + " | bytes " +
                                std::to_string(store.FSetBegin[k]) + ".." +
                                std::to_string(store.FSetEnd[k]));
        f.emplace_back(set + " figures", "max at " + std::to_string(store.FSetMaxIndex[k]) +
                                             " | min at " + std::to_string(store.FSetMinIndex[k]) +
                                             " | mean " + Number(store.FSetMean[k], 4));
        const int count = store.FSetCount[k];
        if (count > 0) {
            const auto first = static_cast<size_t>(store.SampleOffset(n));
            const size_t last = first + static_cast<size_t>(count) - 1;
            f.emplace_back(set + " samples", DateTimeText(store.FDataTimes[first]) + " " +
                                                 Number(store.FDataLevels[first], 1) + " .. " +
                                                 DateTimeText(store.FDataTimes[last]) + " " +
                                                 Number(store.FDataLevels[last], 1));
        }
        f.emplace_back(set + " row",
                       Joined(std::vector<std::string>(rows[k].begin(), rows[k].end())));
    }
    return f;
}

std::vector<TFamily> MeterFamilies()
{
    return {
        {"status", "Status replies of the simulated meter, decoded as the main timer's tick does.",
         DescribeStatus},
        {"information",
         "Information replies ('Y') of the simulated meter, as the set-up window "
         "shows them.",
         DescribeInformation},
        {"leq", "LEQ memory as the simulated meter sends it, as the LEQ record list shows it.",
         DescribeLeqMemory},
        {"logger", "Logger images as a download from the simulated meter delivers them.",
         DescribeLoggerImage},
    };
}

} // namespace golden
