// The real meter through hidapi (hidraw). See README.md in this folder for
// how packets and replies are framed as HID reports.
#pragma once

#include "platform/usb/usb_device.h"

struct hid_device_;

namespace usb {

class HidDevice : public UsbDevice {
public:
    HidDevice();
    ~HidDevice() override;
    HidDevice(const HidDevice &) = delete;
    HidDevice &operator=(const HidDevice &) = delete;

    int UsbClose() override;
    int UsbEndWrite() override;
    int UsbReadSerial(int index, char *buffer, int capacity) override;
    int UsbOpen(uint16_t vendorId, uint16_t productId) override;
    int UsbRead(int length, uint8_t *buffer) override;
    int UsbSetTimeouts(int readMs, int writeMs) override;
    int UsbWrite(int length, const uint8_t *packet) override;
    int UsbWriteBlock(int length, const uint8_t *block) override;

    // Payload bytes per output report (the report id byte not counted).
    static constexpr int OutputReportSize = 8;

private:
    int WriteReports(const uint8_t *data, int length);

    hid_device_ *FDevice = nullptr;
    bool FInitialised = false;
    int FReadTimeoutMs = 100;
    int FWriteTimeoutMs = 100;
};

} // namespace usb
