// The meter's USB library: the eight operations the program talks to the
// meter through, whatever lies behind them (the simulated meter in sim/, the
// real meter through hidapi in hid/). Every operation returns an int,
// 0 = success, anything else = failure.
#pragma once

#include <cstdint>

namespace usb {

constexpr int UsbOk = 0;
constexpr int UsbFailed = -1;

constexpr int PacketSize = 7; // one command packet
constexpr int ReplySize = 32; // one reply, one data block
constexpr int SerialCapacity = 64;

class UsbDevice {
public:
    virtual ~UsbDevice() = default;

    // Closes the device when one is open; harmless when none is.
    virtual int UsbClose() = 0;
    // Called right after a command packet is written.
    virtual int UsbEndWrite() = 0;
    // Fills buffer (capacity bytes, NUL-terminated) with the meter's serial
    // number text. index selects the string; the program passes 0.
    virtual int UsbReadSerial(int index, char *buffer, int capacity) = 0;
    // Opens the meter with these USB ids.
    virtual int UsbOpen(uint16_t vendorId, uint16_t productId) = 0;
    // Reads one reply of length (32) bytes into buffer.
    virtual int UsbRead(int length, uint8_t *buffer) = 0;
    // Sets the read and write time-outs in milliseconds.
    virtual int UsbSetTimeouts(int readMs, int writeMs) = 0;
    // Writes one command packet of length (7) bytes.
    virtual int UsbWrite(int length, const uint8_t *packet) = 0;
    // Writes one data block of length (32) bytes.
    virtual int UsbWriteBlock(int length, const uint8_t *block) = 0;
};

} // namespace usb
