// The sound-level logger's memory image and its byte-level layout.
//
// The image is a byte-for-byte copy of the logger memory: image offset k is
// logger address k, numbers of more than one byte are big-endian. Bytes 0..31
// hold the handshake reply of a download, bytes 9..10 the number of data sets,
// bytes 11..13 the last used address; the first data set begins at offset 256.
//
// Every read goes through ImageByte(): a byte outside the image is absent.
// The decoder treats an absent byte as one that fails every marker test and
// matches nothing, so a damaged count or a short file never leads to a read
// outside the image.
#pragma once

#include "platform/rtl/datetime.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The logger memory as downloaded or read from a collection file.
using TLoggerImage = std::vector<uint8_t>;

// Bytes per logged sample.
constexpr int gSampleWidth = 2;

// The last used logger address; whoever loads an image sets it before
// decoding (the download from the handshake reply, the file open from the
// image's bytes 11..13). Every search of the decoder stops here.
extern int gLoggerLastAddress;

namespace logger {

// Header area and data-set layout.
constexpr int64_t HeaderSize = 256;       // the first data set begins here
constexpr int64_t SetCountOffset = 9;     // 2 bytes
constexpr int64_t LastAddressOffset = 11; // 3 bytes
constexpr int MaxDataSets = 4000;
constexpr int64_t MaxImageSize = 131072;

constexpr uint8_t StartMarker0 = 0xA5; // set offset 0
constexpr uint8_t StartMarker1 = 0x5A; // set offset 1
constexpr uint8_t EndMarker0 = 0x5A;   // second to last byte of a set
constexpr uint8_t EndMarker1 = 0xA5;   // last byte of a set

constexpr int64_t SetDateOffset = 3; // six packed BCD bytes: yy mm dd hh nn ss
constexpr int64_t SetIntervalOffset = 10;
constexpr int64_t SetCountFieldOffset = 11; // 3 bytes
constexpr int64_t SetFlagsOffset = 14;
constexpr int64_t SetSamplesOffset = 16;
constexpr int64_t SetOverhead = 18; // header, samples excluded, and end marker

constexpr uint8_t FlagFast = 0x01;      // clear: SLOW
constexpr uint8_t FlagAWeighted = 0x02; // clear: C weighting

// The byte at offset, or nothing when the offset lies outside the image.
inline std::optional<uint8_t> ImageByte(const TLoggerImage &image, int64_t offset)
{
    if (offset < 0 || offset >= static_cast<int64_t>(image.size()))
        return std::nullopt;
    return image[static_cast<size_t>(offset)];
}

// The byte at offset, 0 when it is absent (for count, interval and flag fields).
inline uint8_t ImageByteOr0(const TLoggerImage &image, int64_t offset)
{
    return ImageByte(image, offset).value_or(0);
}

// True when the byte at offset is present and equals value.
inline bool ImageByteIs(const TLoggerImage &image, int64_t offset, uint8_t value)
{
    auto b = ImageByte(image, offset);
    return b && *b == value;
}

// Big-endian unsigned number of width bytes; absent bytes read 0.
uint32_t ImageNumber(const TLoggerImage &image, int64_t offset, int width);

// The number of data sets the image declares (bytes 9..10).
int ImageSetCount(const TLoggerImage &image);

// The last used address the image declares (bytes 11..13).
int ImageLastAddress(const TLoggerImage &image);

// One sample's level in dB from its two bytes; the first byte's high
// nibble is ignored. A level below 20.0 or above 140.0 becomes 0.
float SampleLevel(uint8_t high, uint8_t low);

// A packed BCD byte read as a decimal number (0x25 -> 25), or nothing when
// the byte is absent or one of its nibbles is above 9.
std::optional<int> BcdValue(std::optional<uint8_t> byte);

// Start date-time from six packed BCD fields (year - 2000, month, day, hour,
// minute, second). A field that does not read takes the matching field of
// the current local date-time (the year the current year itself); a date or
// time that does not exist makes the whole start the current date-time. The
// clock is read only when a fallback needs it.
rtl::TDateTime BcdDateTime(const std::optional<uint8_t> (&fields)[6]);

} // namespace logger
