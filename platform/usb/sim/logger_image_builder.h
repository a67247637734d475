// Builds sound-level logger memory images and LEQ records byte by byte, as
// the meter writes them: for the simulated meter's memory and for tests of
// the decoders, including damaged sets and sets placed on page boundaries.
//
// Image layout: bytes 0..31 the handshake reply (0x04 .. 0x05), bytes 9..10
// the number of data sets, bytes 11..13 the last used address (big-endian),
// data sets from offset 256 on, one after another. A set of n samples takes
// 18 + 2n bytes: 0xA5 0x5A, one spare byte, six packed BCD bytes (year - 2000,
// month, day, hour, minute, second), one spare byte, the interval in seconds,
// the 24-bit sample count, the flags (bit 1 A weighting, bit 0 FAST), one
// spare byte, the samples (two bytes each, 0.1 dB, big-endian), 0x5A 0xA5.
#pragma once

#include "platform/rtl/datetime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace usb {

// A byte of packed BCD (25 -> 0x25); value must be 0..99.
uint8_t ToBcd(int value);

// The six packed BCD date-time bytes of a date-time (year 2000..2099).
std::array<uint8_t, 6> BcdDateTimeBytes(rtl::TDateTime dt);

struct TLoggerSetSpec {
    // Start as six raw bytes, so that tests can place invalid BCD.
    std::array<uint8_t, 6> DateBytes = {0x24, 0x01, 0x15, 0x10, 0x30, 0x00};
    uint8_t Interval = 1;
    uint8_t Flags = 0x03;                // dBA, FAST
    std::vector<uint16_t> Samples;       // 0.1 dB words written as they are
    std::optional<uint32_t> StoredCount; // count field; default Samples.size()
    bool StartMarker = true;             // write 0xA5 0x5A (else 0x00 0x00)
    bool EndMarker = true;               // write 0x5A 0xA5 (else 0x00 0x00)
    uint8_t Spare = 0x00;                // the bytes at set offsets 2, 9 and 15
};

class TLoggerImageBuilder {
public:
    TLoggerImageBuilder();

    // Appends a data set at NextOffset(); returns its offset.
    size_t AddSet(const TLoggerSetSpec &set);
    // Appends a set of count samples of the level `tenths`, interval 1 s.
    size_t AddSimpleSet(int count, uint16_t tenths = 650);
    // Appends raw bytes after the last set.
    void AddRaw(const std::vector<uint8_t> &bytes);

    // Where the next set begins.
    size_t NextOffset() const { return FBytes.size(); }
    // Samples a set needs so that the set after it begins at offset.
    static int SamplesToReach(size_t from, size_t offset);

    // The declared set count (default: the sets added) and last used address
    // (default: the offset of the last byte written).
    void SetDeclaredSetCount(uint16_t count) { FDeclaredCount = count; }
    void SetLastAddress(uint32_t address) { FLastAddress = address; }
    uint32_t LastAddress() const;
    int SetsAdded() const { return FSets; }

    // The image as a download delivers it: last used address + 1 bytes,
    // rounded up to a multiple of 32, between 256 and 131,072 bytes (a
    // size below 256 or above 131,072 reads the whole 131,072), zero-filled.
    std::vector<uint8_t> Build() const;
    // The image cut or zero-filled to exactly size bytes.
    std::vector<uint8_t> Build(size_t size) const;

private:
    std::vector<uint8_t> FBytes;
    int FSets = 0;
    std::optional<uint16_t> FDeclaredCount;
    std::optional<uint32_t> FLastAddress;
};

// One 20-byte LEQ record as the meter stores it: record number (1-based),
// level in 0.1 dB, BCD date-time, period code 0..11, flags (bit 7 FAST,
// bit 6 A weighting).
std::array<uint8_t, 20> LeqRecordBytes(uint8_t number, uint16_t tenths,
                                       const std::array<uint8_t, 6> &dateBytes, uint8_t period,
                                       uint8_t flags);

} // namespace usb
