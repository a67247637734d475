#include "platform/usb/hid/hid_device.h"

#include <hidapi.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace usb {

namespace {

class HidapiPort : public HidPort {
public:
    HidapiPort() { FInitialised = hid_init() == 0; }
    ~HidapiPort() override
    {
        Close();
        if (FInitialised)
            hid_exit();
    }

    bool Open(uint16_t vendorId, uint16_t productId) override
    {
        Close();
        if (!FInitialised)
            FInitialised = hid_init() == 0;
        if (!FInitialised)
            return false;
        FDevice = hid_open(vendorId, productId, nullptr);
        return FDevice != nullptr;
    }
    void Close() override
    {
        if (FDevice != nullptr) {
            hid_close(FDevice);
            FDevice = nullptr;
        }
    }
    bool IsOpen() const override { return FDevice != nullptr; }
    int Write(const uint8_t *report, size_t length) override
    {
        return FDevice != nullptr ? hid_write(FDevice, report, length) : -1;
    }
    int Read(uint8_t *buffer, size_t capacity, int timeoutMs) override
    {
        return FDevice != nullptr ? hid_read_timeout(FDevice, buffer, capacity, timeoutMs) : -1;
    }
    bool SerialNumber(wchar_t *buffer, size_t capacity) override
    {
        return FDevice != nullptr && hid_get_serial_number_string(FDevice, buffer, capacity) == 0;
    }
    bool Present(uint16_t vendorId, uint16_t productId) override
    {
        if (!FInitialised)
            return false;
        hid_device_info *list = hid_enumerate(vendorId, productId);
        const bool present = list != nullptr;
        hid_free_enumeration(list);
        return present;
    }

private:
    hid_device *FDevice = nullptr;
    bool FInitialised = false;
};

} // namespace

std::unique_ptr<HidPort> MakeHidapiPort()
{
    return std::make_unique<HidapiPort>();
}

HidDevice::HidDevice() : HidDevice(MakeHidapiPort()) {}

HidDevice::HidDevice(std::unique_ptr<HidPort> port) : FPort(std::move(port)) {}

HidDevice::~HidDevice()
{
    UsbClose();
}

int HidDevice::UsbClose()
{
    FPort->Close();
    return UsbOk;
}

int HidDevice::UsbEndWrite()
{
    // Every report is handed to the kernel whole; there is nothing to flush.
    return FPort->IsOpen() ? UsbOk : UsbFailed;
}

int HidDevice::UsbReadSerial(int index, char *buffer, int capacity)
{
    (void)index;
    if (!FPort->IsOpen() || buffer == nullptr || capacity <= 0)
        return UsbFailed;
    wchar_t wide[SerialCapacity] = {};
    if (!FPort->SerialNumber(wide, SerialCapacity))
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
    if (FPort->Open(vendorId, productId))
        return UsbOk;
    HintOnce(vendorId, productId);
    return UsbFailed;
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
    const bool present =
        FPresent ? FPresent(vendorId, productId) : FPort->Present(vendorId, productId);
    if (!present)
        return;
    FHinted = true;
    std::fprintf(FHintStream, "%s\n", OpenHint());
    std::fflush(FHintStream);
}

int HidDevice::UsbSetTimeouts(int readMs, int writeMs)
{
    if (!FPort->IsOpen())
        return UsbFailed;
    FReadTimeoutMs = std::max(readMs, 1);
    FWriteTimeoutMs = std::max(writeMs, 1);
    return UsbOk;
}

void HidDevice::DrainStaleReports()
{
    // A read that timed out may be answered after all, once the meter gets
    // to it; a download keeps the device open from block to block, so that
    // late reply would be taken for the next block and shift every block
    // after it. Whatever is waiting before a new command belongs to an older
    // one.
    uint8_t report[64];
    for (int i = 0; i < MaxStaleReports; ++i)
        if (FPort->Read(report, sizeof report, 0) <= 0)
            break;
}

int HidDevice::WriteReports(const uint8_t *data, int length)
{
    if (!FPort->IsOpen() || data == nullptr || length <= 0)
        return UsbFailed;
    DrainStaleReports();
    // Report id 0 (the device numbers no reports), then the payload padded
    // with zeros to a whole report.
    for (int at = 0; at < length; at += OutputReportSize) {
        uint8_t report[1 + OutputReportSize] = {};
        const int n = std::min(OutputReportSize, length - at);
        std::memcpy(report + 1, data + at, static_cast<size_t>(n));
        if (FPort->Write(report, sizeof report) < 0)
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
    if (!FPort->IsOpen() || buffer == nullptr || length <= 0 || length > 4096)
        return UsbFailed;
    // A reply may arrive as one report or as several shorter ones; collect
    // input reports until length bytes are in. Each report must come within
    // the read time-out.
    int got = 0;
    while (got < length) {
        uint8_t report[64];
        const int n = FPort->Read(report, sizeof report, FReadTimeoutMs);
        if (n <= 0)
            return UsbFailed; // error (-1) or time-out (0)
        const int take = std::min(n, length - got);
        std::memcpy(buffer + got, report, static_cast<size_t>(take));
        got += take;
    }
    return UsbOk;
}

} // namespace usb
