// The sample content of a simulated meter that a user starts the program on:
// three logged data sets and five LEQ records from the last days.
#include "platform/usb/sim/logger_image_builder.h"
#include "platform/usb/sim/simulated_meter.h"

#include <cmath>
#include <numbers>

namespace usb {

namespace {

std::vector<uint16_t> SampleLevels(int count, double baseDb, double swingDb, double periodSamples)
{
    std::vector<uint16_t> out;
    out.reserve(static_cast<size_t>(count));
    for (int k = 0; k < count; ++k) {
        const double phase = 2 * std::numbers::pi * k / periodSamples;
        const double db = baseDb + swingDb * std::sin(phase) + 2.0 * std::sin(phase * 7.3);
        out.push_back(static_cast<uint16_t>(std::lround(db * 10.0)));
    }
    return out;
}

} // namespace

void SimulatedMeter::LoadSampleContent()
{
    const rtl::TDateTime now = rtl::GetClock().Now();
    const double hour = 1.0 / 24.0;

    TLoggerImageBuilder logger;
    TLoggerSetSpec set;
    set.DateBytes = BcdDateTimeBytes(now - 2.0 - 3 * hour);
    set.Interval = 1;
    set.Flags = 0x03; // dBA, FAST
    set.Samples = SampleLevels(600, 62.0, 8.0, 120.0);
    logger.AddSet(set);
    set.DateBytes = BcdDateTimeBytes(now - 1.0 - 6 * hour);
    set.Interval = 2;
    set.Flags = 0x02; // dBA, SLOW
    set.Samples = SampleLevels(900, 71.0, 12.0, 300.0);
    logger.AddSet(set);
    set.DateBytes = BcdDateTimeBytes(now - 2 * hour);
    set.Interval = 10;
    set.Flags = 0x01; // dBC, FAST
    set.Samples = SampleLevels(360, 55.0, 6.0, 90.0);
    logger.AddSet(set);
    SetLoggerImage(logger.Build());

    std::vector<SimLeqRecord> leq = {
        {652, now - 3.0 - 2 * hour, 1, true, true},   {718, now - 2.0 - 5 * hour, 3, true, true},
        {583, now - 2.0 - 1 * hour, 0, false, true},  {811, now - 1.0 - 4 * hour, 6, true, false},
        {694, now - 1.0 - 2 * hour, 2, false, false},
    };
    SetLeqRecords(leq);
    SetSerialNumber("MX4820-SIM-0001");
}

} // namespace usb
