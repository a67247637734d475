// The sample content of a simulated meter that a user starts the program on:
// the logged data sets and LEQ records of a few days of measuring. The sets
// differ in interval, weighting, time constant and length; the long one, a
// night and a day beside a road at one-second steps, takes most of the
// memory, so a REC recording still has room for a few hours.
// Two of the eight LEQ records lie over the meter's range (their level shows
// as "----").
#include "platform/usb/sim/logger_image_builder.h"
#include "platform/usb/sim/simulated_meter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace usb {

namespace {

// A small deterministic noise source, so the content is the same every run.
class TNoise {
public:
    explicit TNoise(uint32_t seed) : FState(seed) {}
    // Uniform in [0, 1).
    double Next()
    {
        FState = FState * 1664525u + 1013904223u;
        return (FState >> 8) / 16777216.0;
    }

private:
    uint32_t FState;
};

uint16_t Tenths(double db)
{
    return static_cast<uint16_t>(std::lround(std::clamp(db, 25.0, 135.0) * 10.0));
}

// Road traffic: a background that follows the hour of the day (quiet at
// night, busy at the rush hours), with cars and lorries passing by.
std::vector<uint16_t> Traffic(rtl::TDateTime start, int count, int interval, uint32_t seed)
{
    TNoise noise(seed);
    std::vector<uint16_t> out;
    out.reserve(static_cast<size_t>(count));
    double passing = 0; // level of the vehicle passing now, decays
    for (int k = 0; k < count; ++k) {
        const double hour =
            std::fmod((start - std::floor(start)) * 24.0 + k * interval / 3600.0, 24.0);
        const double day = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * (hour - 3.0) / 24.0);
        const double rush =
            4.0 * (std::exp(-std::pow(hour - 8.0, 2)) + std::exp(-std::pow(hour - 17.5, 2)));
        double db = 44.0 + 20.0 * day + rush + 2.0 * (noise.Next() - 0.5);
        const double chance = 0.002 + 0.02 * day;
        if (noise.Next() < chance * interval)
            passing = db + 8.0 + 14.0 * noise.Next(); // now and then a lorry
        passing -= 1.5 * interval;
        db = std::max(db, passing);
        out.push_back(Tenths(db));
    }
    return out;
}

// An office or a workshop: steady machines with speech and knocks on top.
std::vector<uint16_t> Indoor(int count, double baseDb, double swingDb, uint32_t seed)
{
    TNoise noise(seed);
    std::vector<uint16_t> out;
    out.reserve(static_cast<size_t>(count));
    double event = 0;
    for (int k = 0; k < count; ++k) {
        const double slow = swingDb * std::sin(2 * std::numbers::pi * k / 173.0);
        double db = baseDb + slow + 3.0 * (noise.Next() - 0.5);
        if (noise.Next() < 0.03)
            event = db + 6.0 + 12.0 * noise.Next();
        event -= 2.0;
        out.push_back(Tenths(std::max(db, event)));
    }
    return out;
}

} // namespace

void SimulatedMeter::LoadSampleContent()
{
    const rtl::TDateTime now = rtl::GetClock().Now();
    const rtl::TDateTime today = std::floor(now);
    const double hour = 1.0 / 24.0;
    const double minute = hour / 60.0;

    TLoggerImageBuilder logger;
    auto add = [&logger](rtl::TDateTime start, uint8_t interval, uint8_t flags,
                         std::vector<uint16_t> samples) {
        TLoggerSetSpec set;
        set.DateBytes = BcdDateTimeBytes(start);
        set.Interval = interval;
        set.Flags = flags;
        set.Samples = std::move(samples);
        logger.AddSet(set);
    };
    // Three days ago: an office afternoon, 2 s, dBA SLOW.
    rtl::TDateTime start = today - 3 + 14 * hour + 5 * minute;
    add(start, 2, 0x02, Indoor(900, 52.0, 4.0, 11));
    // A workshop, 1 s, dBC FAST.
    start = today - 3 + 16 * hour + 40 * minute;
    add(start, 1, 0x01, Indoor(1200, 78.0, 6.0, 12));
    // The long one: the road from the evening two days ago to the evening
    // before last, 1 s, dBA FAST, 47,000 samples (about 13 hours).
    start = today - 2 + 18 * hour + 30 * minute;
    add(start, 1, 0x03, Traffic(start, 47000, 1, 13));
    // The same road the next morning at 10 s, dBA SLOW.
    start = today - 1 + 6 * hour;
    add(start, 10, 0x02, Traffic(start, 720, 10, 14));
    // A night in a bedroom, one sample a minute, dBA SLOW.
    start = today - 1 + 23 * hour;
    add(start, 60, 0x02, Indoor(480, 31.0, 2.0, 15));
    SetLoggerImage(logger.Build());

    std::vector<SimLeqRecord> leq = {
        {652, now - 3.0 - 2 * hour, 1, true, true},
        {718, now - 2.0 - 5 * hour, 3, true, true},
        {583, now - 2.0 - 1 * hour, 0, false, true},
        {811, now - 1.0 - 4 * hour, 6, true, false},
        {694, now - 1.0 - 2 * hour, 2, false, false},
        {1352, now - 1.0 - 1 * hour, 1, true, true},
        {745, now - 0.5, 4, true, true},
        {1418, now - 3 * hour, 0, false, true},
    };
    SetLeqRecords(leq);
    SetSerialNumber("MX4820-SIM-0001");
}

} // namespace usb
