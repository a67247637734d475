#include "platform/usb/hid/hid_device.h"

#include <hidapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace usb {

HidDevice::HidDevice()
{
    FInitialised = hid_init() == 0;
}

HidDevice::~HidDevice()
{
    UsbClose();
    if (FInitialised)
        hid_exit();
}

int HidDevice::UsbClose()
{
    if (FDevice != nullptr) {
        hid_close(FDevice);
        FDevice = nullptr;
    }
    return UsbOk;
}

int HidDevice::UsbEndWrite()
{
    // Every report is handed to the kernel whole; there is nothing to flush.
    return FDevice != nullptr ? UsbOk : UsbFailed;
}

int HidDevice::UsbReadSerial(int index, char *buffer, int capacity)
{
    if (FDevice == nullptr || buffer == nullptr || capacity <= 0)
        return UsbFailed;
    wchar_t wide[SerialCapacity] = {};
    if (hid_get_serial_number_string(FDevice, wide, SerialCapacity) != 0)
        return UsbFailed;
    // The serial number is ASCII; anything else becomes '?'.
    int n = 0;
    for (; n < capacity - 1 && n < SerialCapacity && wide[n] != L'\0'; ++n)
        buffer[n] = (wide[n] >= 0x20 && wide[n] < 0x7F) ? static_cast<char>(wide[n]) : '?';
    buffer[n] = '\0';
    return UsbOk;
}

int HidDevice::UsbOpen(uint16_t vendorId, uint16_t productId)
{
    UsbClose();
    if (!FInitialised)
        FInitialised = hid_init() == 0;
    if (!FInitialised)
        return UsbFailed;
    FDevice = hid_open(vendorId, productId, nullptr);
    if (FDevice == nullptr) {
        HintOnce(vendorId, productId);
        return UsbFailed;
    }
    return UsbOk;
}

const char *HidDevice::OpenHint()
{
    return "nivora: the meter is plugged in but cannot be opened; install the udev rule "
           "dist/60-nivora-mx4820.rules (README: \"Running against a real meter\") and plug "
           "the meter in again";
}

void HidDevice::HintOnce(uint16_t vendorId, uint16_t productId)
{
    if (FHinted || FHintStream == nullptr)
        return;
    bool present = false;
    if (FPresent) {
        present = FPresent(vendorId, productId);
    } else if (hid_device_info *list = hid_enumerate(vendorId, productId)) {
        present = true;
        hid_free_enumeration(list);
    }
    if (!present)
        return;
    FHinted = true;
    std::fprintf(FHintStream, "%s\n", OpenHint());
    std::fflush(FHintStream);
}

int HidDevice::UsbSetTimeouts(int readMs, int writeMs)
{
    if (FDevice == nullptr)
        return UsbFailed;
    FReadTimeoutMs = std::max(readMs, 1);
    FWriteTimeoutMs = std::max(writeMs, 1);
    return UsbOk;
}

int HidDevice::WriteReports(const uint8_t *data, int length)
{
    if (FDevice == nullptr || data == nullptr || length <= 0)
        return UsbFailed;
    // Report id 0 (the device numbers no reports), then the payload padded
    // with zeros to a whole report.
    for (int at = 0; at < length; at += OutputReportSize) {
        uint8_t report[1 + OutputReportSize] = {};
        const int n = std::min(OutputReportSize, length - at);
        std::memcpy(report + 1, data + at, static_cast<size_t>(n));
        if (hid_write(FDevice, report, sizeof report) < 0)
            return UsbFailed;
    }
    return UsbOk;
}

int HidDevice::UsbWrite(int length, const uint8_t *packet)
{
    if (length != PacketSize)
        return UsbFailed;
    return WriteReports(packet, length);
}

int HidDevice::UsbWriteBlock(int length, const uint8_t *block)
{
    if (length != ReplySize)
        return UsbFailed;
    return WriteReports(block, length);
}

int HidDevice::UsbRead(int length, uint8_t *buffer)
{
    if (FDevice == nullptr || buffer == nullptr || length <= 0 || length > 4096)
        return UsbFailed;
    // A reply may arrive as one report or as several shorter ones; collect
    // input reports until length bytes are in. Each report must come within
    // the read time-out.
    int got = 0;
    while (got < length) {
        uint8_t report[64];
        const int n = hid_read_timeout(FDevice, report, sizeof report, FReadTimeoutMs);
        if (n <= 0)
            return UsbFailed; // error (-1) or time-out (0)
        const int take = std::min(n, length - got);
        std::memcpy(buffer + got, report, static_cast<size_t>(take));
        got += take;
    }
    return UsbOk;
}

} // namespace usb
