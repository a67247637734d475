#include "platform/usb/sim/logger_image_builder.h"

#include "platform/rtl/exceptions.h"

#include <algorithm>

namespace usb {

namespace {
constexpr size_t HeaderSize = 256;
constexpr size_t MaxImageSize = 131072;
} // namespace

uint8_t ToBcd(int value)
{
    if (value < 0 || value > 99)
        throw rtl::EConvertError(rtl::Format("%d does not fit one BCD byte", value));
    return static_cast<uint8_t>((value / 10) << 4 | (value % 10));
}

std::array<uint8_t, 6> BcdDateTimeBytes(rtl::TDateTime dt)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    rtl::DecodeDate(dt, year, month, day);
    rtl::DecodeTime(dt, hour, minute, second, msec);
    return {ToBcd(year - 2000), ToBcd(month),  ToBcd(day),
            ToBcd(hour),        ToBcd(minute), ToBcd(second)};
}

TLoggerImageBuilder::TLoggerImageBuilder() : FBytes(HeaderSize, 0)
{
    FBytes[0] = 0x04;
    FBytes[31] = 0x05;
}

size_t TLoggerImageBuilder::AddSet(const TLoggerSetSpec &set)
{
    const size_t b = FBytes.size();
    const uint32_t count = set.StoredCount.value_or(static_cast<uint32_t>(set.Samples.size()));
    FBytes.push_back(set.StartMarker ? 0xA5 : 0x00);
    FBytes.push_back(set.StartMarker ? 0x5A : 0x00);
    FBytes.push_back(set.Spare);
    FBytes.insert(FBytes.end(), set.DateBytes.begin(), set.DateBytes.end());
    FBytes.push_back(set.Spare);
    FBytes.push_back(set.Interval);
    FBytes.push_back(static_cast<uint8_t>(count >> 16));
    FBytes.push_back(static_cast<uint8_t>(count >> 8));
    FBytes.push_back(static_cast<uint8_t>(count));
    FBytes.push_back(set.Flags);
    FBytes.push_back(set.Spare);
    for (uint16_t s : set.Samples) {
        FBytes.push_back(static_cast<uint8_t>(s >> 8));
        FBytes.push_back(static_cast<uint8_t>(s));
    }
    FBytes.push_back(set.EndMarker ? 0x5A : 0x00);
    FBytes.push_back(set.EndMarker ? 0xA5 : 0x00);
    ++FSets;
    return b;
}

size_t TLoggerImageBuilder::AddSimpleSet(int count, uint16_t tenths)
{
    TLoggerSetSpec set;
    set.Samples.assign(static_cast<size_t>(std::max(count, 0)), tenths);
    return AddSet(set);
}

void TLoggerImageBuilder::AddRaw(const std::vector<uint8_t> &bytes)
{
    FBytes.insert(FBytes.end(), bytes.begin(), bytes.end());
}

int TLoggerImageBuilder::SamplesToReach(size_t from, size_t offset)
{
    if (offset < from + 18 || (offset - from - 18) % 2 != 0)
        throw rtl::Exception(
            rtl::Format("no set at %zu ends right before offset %zu", from, offset));
    return static_cast<int>((offset - from - 18) / 2);
}

uint32_t TLoggerImageBuilder::LastAddress() const
{
    return FLastAddress.value_or(static_cast<uint32_t>(FBytes.size() - 1));
}

std::vector<uint8_t> TLoggerImageBuilder::Build() const
{
    size_t size = static_cast<size_t>(LastAddress()) + 1;
    if (size > MaxImageSize || size < HeaderSize)
        size = MaxImageSize;
    size = (size + 31) / 32 * 32;
    return Build(size);
}

std::vector<uint8_t> TLoggerImageBuilder::Build(size_t size) const
{
    std::vector<uint8_t> image = FBytes;
    const uint16_t sets = FDeclaredCount.value_or(static_cast<uint16_t>(FSets));
    const uint32_t last = LastAddress();
    image[9] = static_cast<uint8_t>(sets >> 8);
    image[10] = static_cast<uint8_t>(sets);
    image[11] = static_cast<uint8_t>(last >> 16);
    image[12] = static_cast<uint8_t>(last >> 8);
    image[13] = static_cast<uint8_t>(last);
    image.resize(size, 0);
    return image;
}

std::array<uint8_t, 20> LeqRecordBytes(uint8_t number, uint16_t tenths,
                                       const std::array<uint8_t, 6> &dateBytes, uint8_t period,
                                       uint8_t flags)
{
    std::array<uint8_t, 20> r{};
    r[0] = number;
    r[1] = static_cast<uint8_t>(tenths >> 8);
    r[2] = static_cast<uint8_t>(tenths);
    std::copy(dateBytes.begin(), dateBytes.end(), r.begin() + 3);
    r[9] = period;
    r[10] = flags;
    return r;
}

} // namespace usb
