// The real meter through hidapi (hidraw). See README.md in this folder for
// how packets and replies are framed as HID reports.
#pragma once

#include "platform/usb/usb_device.h"

#include <cstdio>
#include <functional>

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

    // When the open fails while a device with the ids is present (most often
    // the user may not open it: the udev rule is not installed), one line on
    // the hint stream (standard error) names the rule, once per device
    // object; the program's windows say only "No Connection". Tests replace
    // the probe (hidapi's device list) and the stream.
    using PresenceProbe = std::function<bool(uint16_t vendorId, uint16_t productId)>;
    void SetPresenceProbe(PresenceProbe probe) { FPresent = std::move(probe); }
    void SetHintStream(std::FILE *stream) { FHintStream = stream; }
    static const char *OpenHint();

private:
    int WriteReports(const uint8_t *data, int length);
    void HintOnce(uint16_t vendorId, uint16_t productId);

    hid_device_ *FDevice = nullptr;
    bool FInitialised = false;
    int FReadTimeoutMs = 100;
    int FWriteTimeoutMs = 100;
    PresenceProbe FPresent;
    std::FILE *FHintStream = stderr;
    bool FHinted = false;
};

} // namespace usb
