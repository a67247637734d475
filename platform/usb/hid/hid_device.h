// The real meter through hidapi (hidraw). See README.md in this folder for
// how packets and replies are framed as HID reports.
#pragma once

#include "platform/usb/usb_device.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>

namespace usb {

// The few hidapi calls the framing below rests on. The program uses the
// hidapi one (MakeHidapiPort); tests give a scripted one, so that the framing
// and the draining of stale replies can be checked without a meter.
class HidPort {
public:
    virtual ~HidPort() = default;
    virtual bool Open(uint16_t vendorId, uint16_t productId) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // One output report, report id first; the bytes written or -1 (hid_write).
    virtual int Write(const uint8_t *report, size_t length) = 0;
    // One input report within timeoutMs (0: only one already waiting); its
    // length, 0 on a time-out, -1 on an error (hid_read_timeout).
    virtual int Read(uint8_t *buffer, size_t capacity, int timeoutMs) = 0;
    // The serial number string descriptor; false when it cannot be read.
    virtual bool SerialNumber(wchar_t *buffer, size_t capacity) = 0;
    // A device with these ids is attached (hidapi's device list).
    virtual bool Present(uint16_t vendorId, uint16_t productId) = 0;
};

std::unique_ptr<HidPort> MakeHidapiPort();

class HidDevice : public UsbDevice {
public:
    HidDevice();
    explicit HidDevice(std::unique_ptr<HidPort> port);
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
    // Most input reports thrown away before one write.
    static constexpr int MaxStaleReports = 64;

    // When the open fails while a device with the ids is present (most often
    // the user may not open it: the udev rule is not installed), one line on
    // the hint stream (standard error) names the rule, once per device
    // object; the program's windows say only "No Connection". Tests replace
    // the probe (by default the port's device list) and the stream.
    using PresenceProbe = std::function<bool(uint16_t vendorId, uint16_t productId)>;
    void SetPresenceProbe(PresenceProbe probe) { FPresent = std::move(probe); }
    void SetHintStream(std::FILE *stream) { FHintStream = stream; }
    static const char *OpenHint();

private:
    int WriteReports(const uint8_t *data, int length);
    void HintOnce(uint16_t vendorId, uint16_t productId);
    // Throws away input reports that arrived after their read gave up.
    void DrainStaleReports();

    std::unique_ptr<HidPort> FPort;
    int FReadTimeoutMs = 100;
    int FWriteTimeoutMs = 100;
    PresenceProbe FPresent;
    std::FILE *FHintStream = stderr;
    bool FHinted = false;
};

} // namespace usb
