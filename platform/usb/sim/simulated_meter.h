// A software MX4820 that speaks the meter's USB protocol.
//
// It answers every command packet the program sends: status 'A', identify
// 'K', resynchronise 'Q', the logger handshakes 'P' and 'Z' with the block
// requests 'p' and the end 'q', byte write 'W' and read 'r' on an EEPROM map,
// "erase" (which empties the logger and the LEQ memory; the LEQ record count
// at EEPROM address 0x1E is cleared by the program's 'W'), information 'Y'
// from its state, the clock command 't' 'c' with its 32-byte block, the
// serial number and the front-panel keys. Its level wanders over time (about
// 45 to 75 dB, with a short peak every so often) as a fixed function of the
// program's monotonic clock, and its clock runs with the program's clock
// (rtl::GetClock()) with an offset, or stands still under test control.
//
// Its logger records like the meter's: the REC key starts a new data set at
// the meter's clock, the recording interval (EEPROM address 0x0F) and the
// present weighting and time constant, and adds one sample per interval
// until REC is pressed again or the memory is full (then FULL shows). The
// memory stays a valid image throughout: the set's count, its end marker,
// the set count and the last used address follow every sample.
//
// For tests it logs its recent calls with their bytes and the clock's
// monotonic time, and injects faults per operation and per occurrence: a
// failing call, wrong reply markers, a wrong echo, the device unplugged from
// some call on.
//
// The meter answers at once: a read never waits for a time-out, so a fake
// clock only moves through the program's own waits.
#pragma once

#include "platform/rtl/datetime.h"
#include "platform/usb/usb_device.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace usb {

enum class UsbOp { Close, EndWrite, ReadSerial, Open, Read, SetTimeouts, Write, WriteBlock };
constexpr int UsbOpCount = 8;
const char *UsbOpName(UsbOp op);

enum class SimFault {
    Fail,             // the call returns a failure; a read leaves the buffer alone
    WrongStartMarker, // a read succeeds, byte 0 of the reply is altered
    WrongEndMarker,   // a read succeeds, byte 31 of the reply is altered
    WrongEcho,        // a read succeeds, the echo bytes (1, 3 and 30) are altered
    Unplug,           // the device is pulled out just before this call
};

// One call as the meter saw it.
struct SimCall {
    UsbOp op;
    int result = 0;
    std::vector<uint8_t> bytes; // written packet or block, or the reply read
    int arg1 = 0;               // open: vendor id; set time-outs: read ms; read serial: index
    int arg2 = 0;               // open: product id; set time-outs: write ms
    int64_t timeMs = 0;         // monotonic time of the call
};

// A stored LEQ record's fields, for filling the LEQ memory.
struct SimLeqRecord {
    int levelTenths = 0;
    rtl::TDateTime time = 0;
    uint8_t periodCode = 0; // 0..11
    bool fast = true;
    bool aWeighted = true;
};

class SimulatedMeter : public UsbDevice {
public:
    using Reply = std::array<uint8_t, ReplySize>;

    static constexpr uint16_t VendorId = 0x04D9;
    static constexpr uint16_t ProductId = 0xE000;
    static constexpr int LoggerSize = 131072;
    static constexpr int LeqMemorySize = 2560;
    static constexpr uint32_t LeqCountAddress = 0x1E;
    static constexpr uint32_t IntervalAddress = 0x0F;
    static constexpr uint32_t LoggerCapacityAddress = 0x1F500; // end of the sample area

    SimulatedMeter();

    // The library's operations.
    int UsbClose() override;
    int UsbEndWrite() override;
    int UsbReadSerial(int index, char *buffer, int capacity) override;
    int UsbOpen(uint16_t vendorId, uint16_t productId) override;
    int UsbRead(int length, uint8_t *buffer) override;
    int UsbSetTimeouts(int readMs, int writeMs) override;
    int UsbWrite(int length, const uint8_t *packet) override;
    int UsbWriteBlock(int length, const uint8_t *block) override;

    // Sample data for a user trying the program: a few data sets (when the
    // image builder can make them) and LEQ records.
    void LoadSampleContent();

    // --- Plugging ---------------------------------------------------------
    void SetPresent(bool present);
    bool Present() const { return FPresent; }
    bool IsOpen() const { return FOpen; }

    // --- Identity ---------------------------------------------------------
    void SetModel(const std::string &fourDigits) { FModel = fourDigits; }
    void SetSerialNumber(const std::string &serial) { FSerial = serial; }
    void SetFirmware(uint8_t versionTimes100) { FFirmware = versionTimes100; }
    // The five calibration values of the information reply.
    void SetCalibration(int8_t offset94, uint16_t w70, uint16_t w60, uint16_t w40, uint16_t w30);

    // --- Display ----------------------------------------------------------
    // Fixes the measured level (0.1 dB); a negative value lets it move again.
    void SetLevel(int tenths) { FFixedLevel = tenths; }
    int CurrentLevel() const; // 0.1 dB, as the next status reply shows it
    bool Recording() const { return FRecording; }
    bool LeqMode() const { return FLeqMode; }
    bool AWeighted() const { return FWeightA; }
    bool Fast() const { return FFast; }
    bool MaxMinMode() const { return FMaxMinMode; }
    uint8_t MaxMinState() const { return FMaxMinState; }
    bool Backlight() const { return FBacklight; }
    // 0 stopped, 1 running, 2 paused: the LEQ run of the start/pause key.
    int LeqRunState() const { return FLeqRun; }
    // Only the REC indicator, without logging (the REC key logs).
    void SetRecording(bool on) { FRecording = on; }
    // A data set is being recorded into the logger memory.
    bool Logging() const { return FLogging; }
    // The last recording stopped because the memory was full (or REC found
    // it full); cleared by erasing the memory.
    bool MemoryFull() const { return FMemoryFull; }
    // Brings the recording up to the program's clock; every command does this
    // before it is answered.
    void CatchUpRecording();
    void SetLeqMode(bool on) { FLeqMode = on; }

    // --- Clock ------------------------------------------------------------
    // From now on the meter clock runs with the program's clock, showing t now.
    void SetMeterTime(rtl::TDateTime t);
    // The meter clock stands at t until StepMeterClock or SetMeterTime.
    void FreezeMeterClock(rtl::TDateTime t);
    void StepMeterClock(int seconds);
    rtl::TDateTime MeterTime() const;

    // --- Memories ---------------------------------------------------------
    // Replaces the logger memory; the image is padded with 0xFF to 128 KiB.
    // Bytes 9..13 (set count, last used address) are taken as they stand.
    void SetLoggerImage(const std::vector<uint8_t> &image);
    const std::vector<uint8_t> &LoggerMemory() const { return FLogger; }
    // An empty logger: no data set, last used address 0xFF.
    void ClearLogger();
    void SetLeqRecords(const std::vector<SimLeqRecord> &records);
    void SetLeqMemory(const std::vector<uint8_t> &bytes); // raw, padded with 0xFF
    const std::vector<uint8_t> &LeqMemory() const { return FLeq; }
    uint8_t Eeprom(uint32_t address) const;
    void SetEeprom(uint32_t address, uint8_t value);

    // --- Faults -----------------------------------------------------------
    // The fault hits the occurrence-th call of op (1-based, counted over the
    // meter's life) and the count-1 calls of op after it.
    void InjectFault(UsbOp op, int occurrence, SimFault fault = SimFault::Fail, int count = 1);
    // The next count calls of op.
    void FailNext(UsbOp op, int count = 1, SimFault fault = SimFault::Fail);
    void ClearFaults() { FFaults.clear(); }
    int CallCount(UsbOp op) const { return FCallCounts[static_cast<int>(op)]; }

    // Changes every reply before it is read (command byte, reply).
    void SetReplyFilter(std::function<void(uint8_t, Reply &)> filter)
    {
        FReplyFilter = std::move(filter);
    }

    // --- Call log ---------------------------------------------------------
    // The most recent calls, oldest first: at most LogLimit() of them, so
    // that a program running for days keeps bounded memory (the default is
    // hours of polling, and far more than any test makes). Older calls are
    // dropped and counted.
    static constexpr size_t DefaultLogLimit = 100000;
    const std::deque<SimCall> &Log() const { return FLog; }
    void ClearLog()
    {
        FLog.clear();
        FLogDropped = 0;
    }
    size_t LogLimit() const { return FLogLimit; }
    void SetLogLimit(size_t limit);
    // How many calls were dropped from the front since the last ClearLog.
    size_t LogDropped() const { return FLogDropped; }
    // The packets written with UsbWrite, in order.
    std::vector<std::vector<uint8_t>> WrittenPackets() const;
    // The operations in order, as names ("Close Open SetTimeouts Write ...").
    std::string OpSequence() const;

private:
    struct FaultRule {
        UsbOp op;
        int first;
        int count;
        SimFault fault;
    };
    enum class Stream { None, Logger, Leq };

    // Counts the call, applies an Unplug or Fail rule; returns the rule's
    // fault for the caller to apply (Fail and Unplug already handled).
    bool Enter(UsbOp op, SimFault &fault);
    int Record(UsbOp op, int result, const uint8_t *bytes, int length, int arg1 = 0, int arg2 = 0);
    void TrimLog();
    void HandlePacket(const std::array<uint8_t, PacketSize> &p);
    void PressKey(uint8_t key);
    void SetPending(uint8_t command, Reply reply);
    Reply StatusReply(uint8_t sequence);
    Reply InformationReply() const;
    int DisplayedLevel() const;
    int LevelAt(int64_t monotonicMs) const;
    void StartLogging();
    void StopLogging();
    // Writes a 24-bit big-endian number into the logger memory.
    void PutLogger24(size_t at, uint32_t value);
    void Sample(int level);

    bool FPresent = true;
    bool FOpen = false;
    int FReadTimeout = 0;
    int FWriteTimeout = 0;
    bool FHasPending = false;
    Reply FPending{};
    Stream FStream = Stream::None;
    size_t FStreamPos = 0;
    bool FAwaitClockBlock = false;

    std::vector<uint8_t> FLogger;
    std::vector<uint8_t> FLeq;
    std::map<uint32_t, uint8_t> FEeprom;

    std::string FModel = "4820";
    std::string FSerial = "MX4820-0001";
    uint8_t FFirmware = 105;
    int8_t FCal94 = 0;
    uint16_t FCal70 = 0x4600, FCal60 = 0x3C00, FCal40 = 0x2800, FCal30 = 0x1E00;

    int FFixedLevel = -1;
    bool FRecording = false;
    bool FMaxMinMode = false;
    uint8_t FMaxMinState = 0;
    int FMaxLevel = 0, FMinLevel = 0;
    bool FWeightA = true;
    bool FFast = true;
    bool FLeqMode = false;
    int FLeqRun = 0;
    double FLeqEnergy = 0;
    int FLeqSamples = 0;
    bool FBacklight = false;

    bool FLogging = false;
    bool FMemoryFull = false;
    size_t FLogBegin = 0;     // first byte of the set being recorded
    int64_t FLogStartMs = 0;  // monotonic time of its first sample
    int FLogInterval = 1;     // seconds
    uint32_t FLogSamples = 0; // samples written so far

    double FClockOffset = 0; // days added to the program's clock
    bool FClockFrozen = false;
    rtl::TDateTime FFrozenTime = 0;

    std::vector<FaultRule> FFaults;
    std::array<int, UsbOpCount> FCallCounts{};
    std::deque<SimCall> FLog;
    size_t FLogLimit = DefaultLogLimit;
    size_t FLogDropped = 0;
    std::function<void(uint8_t, Reply &)> FReplyFilter;
};

} // namespace usb
