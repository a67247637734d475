#include "meter/logger_image.h"

int gLoggerLastAddress = 0;

namespace logger {

uint32_t ImageNumber(const TLoggerImage &image, int64_t offset, int width)
{
    uint32_t value = 0;
    for (int i = 0; i < width; ++i)
        value = (value << 8) | ImageByteOr0(image, offset + i);
    return value;
}

int ImageSetCount(const TLoggerImage &image)
{
    return static_cast<int>(ImageNumber(image, SetCountOffset, 2));
}

int ImageLastAddress(const TLoggerImage &image)
{
    return static_cast<int>(ImageNumber(image, LastAddressOffset, 3));
}

float SampleLevel(uint8_t high, uint8_t low)
{
    const int raw = (high & 0x0F) * 256 + low;
    const float level = static_cast<float>(raw * 0.1);
    if (level < 20.0f || level > 140.0f)
        return 0.0f;
    return level;
}

std::optional<int> BcdValue(std::optional<uint8_t> byte)
{
    if (!byte)
        return std::nullopt;
    const int hi = *byte >> 4;
    const int lo = *byte & 0x0F;
    if (hi > 9 || lo > 9)
        return std::nullopt;
    return hi * 10 + lo;
}

rtl::TDateTime BcdDateTime(const std::optional<uint8_t> (&fields)[6])
{
    std::optional<int> v[6];
    bool allRead = true;
    for (int i = 0; i < 6; ++i) {
        v[i] = BcdValue(fields[i]);
        allRead = allRead && v[i].has_value();
    }

    // The clock is read at most once, and only when something falls back to it.
    bool haveNow = false;
    rtl::TDateTime now = 0;
    int cur[6] = {};
    auto readNow = [&] {
        if (haveNow)
            return;
        haveNow = true;
        now = rtl::GetClock().Now();
        int msec = 0;
        rtl::DecodeDate(now, cur[0], cur[1], cur[2]);
        rtl::DecodeTime(now, cur[3], cur[4], cur[5], msec);
    };
    if (!allRead)
        readNow();

    const int year = v[0] ? 2000 + *v[0] : cur[0];
    const int month = v[1] ? *v[1] : cur[1];
    const int day = v[2] ? *v[2] : cur[2];
    const int hour = v[3] ? *v[3] : cur[3];
    const int minute = v[4] ? *v[4] : cur[4];
    const int second = v[5] ? *v[5] : cur[5];

    rtl::TDateTime date = 0, time = 0;
    if (rtl::TryEncodeDate(year, month, day, date) &&
        rtl::TryEncodeTime(hour, minute, second, 0, time))
        return date + time;
    readNow();
    return now;
}

} // namespace logger
