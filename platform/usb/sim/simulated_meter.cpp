#include "platform/usb/sim/simulated_meter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace usb {

namespace {

uint8_t ToBcd(int v)
{
    v = std::clamp(v, 0, 99);
    return static_cast<uint8_t>(((v / 10) << 4) | (v % 10));
}

// -1 when a nibble is above 9.
int FromBcd(uint8_t b)
{
    if ((b >> 4) > 9 || (b & 0x0F) > 9)
        return -1;
    return (b >> 4) * 10 + (b & 0x0F);
}

void PutWord(SimulatedMeter::Reply &r, int at, int value)
{
    value = std::clamp(value, 0, 0xFFFF);
    r[at] = static_cast<uint8_t>(value >> 8);
    r[at + 1] = static_cast<uint8_t>(value & 0xFF);
}

struct ClockFields {
    int year, month, day, hour, minute, second;
};

// A fixed pseudo-random number in [0, 1) for each integer and stream.
double Noise(int64_t k, uint64_t stream)
{
    uint64_t z = static_cast<uint64_t>(k) * 0x9E3779B97F4A7C15ull + stream;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    return static_cast<double>(z >> 11) / 9007199254740992.0;
}

// Smooth noise in [-1, 1]: random values every period seconds, eased in between.
double Wander(double t, double period, uint64_t stream)
{
    const double x = t / period;
    const double cell = std::floor(x);
    const double f = x - cell;
    const double ease = f * f * (3 - 2 * f);
    const auto k = static_cast<int64_t>(cell);
    return 2 * (Noise(k, stream) + (Noise(k + 1, stream) - Noise(k, stream)) * ease) - 1;
}

// A room whose level wanders between about 45 and 75 dB, with a short peak
// (a door, a voice, a passing car) in about one of three 15-second spans:
// a fast rise of 12 to 30 dB that dies away within a few seconds.
double AmbientLevel(double t)
{
    double db =
        60.0 + 11.0 * Wander(t, 40.0, 1) + 4.0 * Wander(t, 6.0, 2) + 2.0 * Wander(t, 0.7, 3);
    constexpr double kSpan = 15.0;
    const auto span = static_cast<int64_t>(std::floor(t / kSpan));
    for (int64_t k = span - 1; k <= span; ++k) { // a peak may reach into the next span
        if (Noise(k, 4) >= 0.35)
            continue;
        const double start = k * kSpan + Noise(k, 5) * (kSpan - 3.0);
        const double height = 12.0 + 18.0 * Noise(k, 6);
        const double length = 1.5 + 3.0 * Noise(k, 7);
        const double x = t - start;
        if (x < 0 || x > length)
            continue;
        constexpr double kRise = 0.3;
        db += x < kRise ? height * x / kRise : height * std::exp(-4.0 * (x - kRise) / length);
    }
    return db;
}

ClockFields Split(rtl::TDateTime t)
{
    ClockFields f{};
    int ms = 0;
    rtl::DecodeDate(t, f.year, f.month, f.day);
    rtl::DecodeTime(t, f.hour, f.minute, f.second, ms);
    return f;
}

} // namespace

const char *UsbOpName(UsbOp op)
{
    switch (op) {
    case UsbOp::Close:
        return "Close";
    case UsbOp::EndWrite:
        return "EndWrite";
    case UsbOp::ReadSerial:
        return "ReadSerial";
    case UsbOp::Open:
        return "Open";
    case UsbOp::Read:
        return "Read";
    case UsbOp::SetTimeouts:
        return "SetTimeouts";
    case UsbOp::Write:
        return "Write";
    case UsbOp::WriteBlock:
        return "WriteBlock";
    }
    return "?";
}

SimulatedMeter::SimulatedMeter()
{
    ClearLogger();
    FLeq.assign(LeqMemorySize, 0xFF);
    FEeprom[IntervalAddress] = 2;
    FEeprom[LeqCountAddress] = 0;
}

// --- Faults and the log ---------------------------------------------------

bool SimulatedMeter::Enter(UsbOp op, SimFault &fault)
{
    const int n = ++FCallCounts[static_cast<int>(op)];
    bool hit = false;
    for (const FaultRule &rule : FFaults)
        if (rule.op == op && n >= rule.first && n < rule.first + rule.count) {
            fault = rule.fault;
            hit = true;
        }
    if (hit && fault == SimFault::Unplug)
        SetPresent(false);
    return hit;
}

int SimulatedMeter::Record(UsbOp op, int result, const uint8_t *bytes, int length, int arg1,
                           int arg2)
{
    SimCall call;
    call.op = op;
    call.result = result;
    if (bytes != nullptr && length > 0)
        call.bytes.assign(bytes, bytes + length);
    call.arg1 = arg1;
    call.arg2 = arg2;
    call.timeMs = rtl::GetClock().MonotonicMs();
    FLog.push_back(std::move(call));
    TrimLog();
    return result;
}

void SimulatedMeter::SetLogLimit(size_t limit)
{
    FLogLimit = std::max<size_t>(limit, 1);
    TrimLog();
}

void SimulatedMeter::TrimLog()
{
    while (FLog.size() > FLogLimit) {
        FLog.pop_front();
        ++FLogDropped;
    }
}

void SimulatedMeter::InjectFault(UsbOp op, int occurrence, SimFault fault, int count)
{
    FFaults.push_back({op, occurrence, std::max(count, 0), fault});
}

void SimulatedMeter::FailNext(UsbOp op, int count, SimFault fault)
{
    InjectFault(op, CallCount(op) + 1, fault, count);
}

std::vector<std::vector<uint8_t>> SimulatedMeter::WrittenPackets() const
{
    std::vector<std::vector<uint8_t>> out;
    for (const SimCall &c : FLog)
        if (c.op == UsbOp::Write)
            out.push_back(c.bytes);
    return out;
}

std::string SimulatedMeter::OpSequence() const
{
    std::string s;
    for (const SimCall &c : FLog) {
        if (!s.empty())
            s += ' ';
        s += UsbOpName(c.op);
    }
    return s;
}

// --- Library operations ---------------------------------------------------

int SimulatedMeter::UsbClose()
{
    SimFault fault{};
    if (Enter(UsbOp::Close, fault) && fault == SimFault::Fail)
        return Record(UsbOp::Close, UsbFailed, nullptr, 0);
    FOpen = false;
    FHasPending = false;
    FStream = Stream::None;
    FAwaitClockBlock = false;
    return Record(UsbOp::Close, UsbOk, nullptr, 0);
}

int SimulatedMeter::UsbEndWrite()
{
    SimFault fault{};
    const bool hit = Enter(UsbOp::EndWrite, fault);
    const bool ok = FOpen && !(hit && fault == SimFault::Fail);
    return Record(UsbOp::EndWrite, ok ? UsbOk : UsbFailed, nullptr, 0);
}

int SimulatedMeter::UsbReadSerial(int index, char *buffer, int capacity)
{
    SimFault fault{};
    const bool hit = Enter(UsbOp::ReadSerial, fault);
    if (!FOpen || (hit && fault == SimFault::Fail) || buffer == nullptr || capacity <= 0)
        return Record(UsbOp::ReadSerial, UsbFailed, nullptr, 0, index);
    const size_t n = std::min(FSerial.size(), static_cast<size_t>(capacity - 1));
    std::memcpy(buffer, FSerial.data(), n);
    buffer[n] = '\0';
    return Record(UsbOp::ReadSerial, UsbOk, reinterpret_cast<const uint8_t *>(buffer),
                  static_cast<int>(n), index);
}

int SimulatedMeter::UsbOpen(uint16_t vendorId, uint16_t productId)
{
    SimFault fault{};
    const bool hit = Enter(UsbOp::Open, fault);
    const bool ok = FPresent && !(hit && fault == SimFault::Fail) && vendorId == VendorId &&
                    productId == ProductId;
    if (ok)
        FOpen = true;
    return Record(UsbOp::Open, ok ? UsbOk : UsbFailed, nullptr, 0, vendorId, productId);
}

int SimulatedMeter::UsbSetTimeouts(int readMs, int writeMs)
{
    SimFault fault{};
    const bool hit = Enter(UsbOp::SetTimeouts, fault);
    const bool ok = FOpen && !(hit && fault == SimFault::Fail);
    if (ok) {
        FReadTimeout = readMs;
        FWriteTimeout = writeMs;
    }
    return Record(UsbOp::SetTimeouts, ok ? UsbOk : UsbFailed, nullptr, 0, readMs, writeMs);
}

int SimulatedMeter::UsbWrite(int length, const uint8_t *packet)
{
    SimFault fault{};
    const bool hit = Enter(UsbOp::Write, fault);
    const int logged = packet != nullptr ? std::clamp(length, 0, 64) : 0;
    if (!FOpen || (hit && fault == SimFault::Fail) || length != PacketSize || packet == nullptr)
        return Record(UsbOp::Write, UsbFailed, packet, logged);
    std::array<uint8_t, PacketSize> p{};
    std::copy(packet, packet + PacketSize, p.begin());
    Record(UsbOp::Write, UsbOk, packet, PacketSize);
    HandlePacket(p);
    return UsbOk;
}

int SimulatedMeter::UsbRead(int length, uint8_t *buffer)
{
    SimFault fault{};
    const bool hit = Enter(UsbOp::Read, fault);
    if (!FOpen || (hit && fault == SimFault::Fail) || length != ReplySize || buffer == nullptr ||
        !FHasPending) {
        FHasPending = false;
        return Record(UsbOp::Read, UsbFailed, nullptr, 0);
    }
    Reply r = FPending;
    FHasPending = false;
    if (hit) {
        if (fault == SimFault::WrongStartMarker)
            r[0] ^= 0x80;
        else if (fault == SimFault::WrongEndMarker)
            r[31] ^= 0x80;
        else if (fault == SimFault::WrongEcho) {
            r[1] ^= 0x80;
            r[3] ^= 0x80;
            r[30] ^= 0x80;
        }
    }
    std::copy(r.begin(), r.end(), buffer);
    return Record(UsbOp::Read, UsbOk, r.data(), ReplySize);
}

int SimulatedMeter::UsbWriteBlock(int length, const uint8_t *block)
{
    SimFault fault{};
    const bool hit = Enter(UsbOp::WriteBlock, fault);
    const int logged = block != nullptr ? std::clamp(length, 0, 64) : 0;
    if (!FOpen || (hit && fault == SimFault::Fail) || length != ReplySize || block == nullptr)
        return Record(UsbOp::WriteBlock, UsbFailed, block, logged);
    if (FAwaitClockBlock) {
        FAwaitClockBlock = false;
        // seconds, minutes, hours, day, month, -, year within the century
        const int s = FromBcd(block[0]), n = FromBcd(block[1]), h = FromBcd(block[2]);
        const int d = FromBcd(block[3]), m = FromBcd(block[4]), y = FromBcd(block[6]);
        rtl::TDateTime date = 0, time = 0;
        if (s >= 0 && n >= 0 && h >= 0 && d >= 0 && m >= 0 && y >= 0 &&
            rtl::TryEncodeDate(2000 + y, m, d, date) && rtl::TryEncodeTime(h, n, s, 0, time)) {
            if (FClockFrozen)
                FFrozenTime = date + time;
            else
                SetMeterTime(date + time);
        }
    }
    return Record(UsbOp::WriteBlock, UsbOk, block, ReplySize);
}

// --- The protocol ---------------------------------------------------------

void SimulatedMeter::SetPending(uint8_t command, Reply reply)
{
    if (FReplyFilter)
        FReplyFilter(command, reply);
    FPending = reply;
    FHasPending = true;
}

void SimulatedMeter::HandlePacket(const std::array<uint8_t, PacketSize> &p)
{
    CatchUpRecording();
    FHasPending = false;
    if (p[0] != 0x02 || p[6] != 0x03)
        return; // not a packet the meter understands: no answer
    const uint8_t command = p[1];
    const uint32_t address = (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 8) | p[4];
    Reply r{};
    switch (command) {
    case 'A':
        SetPending(command, StatusReply(p[5]));
        break;
    case 'K':
        r[0] = 0x02;
        r[31] = 0x03;
        for (size_t i = 0; i < 4 && i < FModel.size(); ++i)
            r[23 + i] = static_cast<uint8_t>(FModel[i]);
        SetPending(command, r);
        break;
    case 'Q':
    case 'q':
        FStream = Stream::None;
        break;
    case 'P':
        std::copy(FLogger.begin(), FLogger.begin() + ReplySize, r.begin());
        r[0] = 4;
        r[31] = 5;
        FStream = Stream::Logger;
        FStreamPos = ReplySize;
        SetPending(command, r);
        break;
    case 'Z':
        r[0] = 6;
        r[31] = 7;
        FStream = Stream::Leq;
        FStreamPos = 0;
        SetPending(command, r);
        break;
    case 'p': {
        if (FStream == Stream::None)
            break;
        const std::vector<uint8_t> &mem = FStream == Stream::Logger ? FLogger : FLeq;
        r.fill(0xFF);
        for (size_t i = 0; i < ReplySize && FStreamPos + i < mem.size(); ++i)
            r[i] = mem[FStreamPos + i];
        FStreamPos += ReplySize;
        SetPending(command, r);
        break;
    }
    case 't':
        if (p[2] == 'c')
            FAwaitClockBlock = true;
        break;
    case 'W':
        SetEeprom(address, p[5]);
        std::copy(p.begin(), p.end(), r.begin());
        SetPending(command, r);
        break;
    case 'r':
        r[0] = 0x02;
        r[1] = 'r';
        r[2] = p[2];
        r[3] = p[3];
        r[4] = p[4];
        r[6] = Eeprom(address);
        SetPending(command, r);
        break;
    case 'e':
        if (p[2] == 'r' && p[3] == 'a' && p[4] == 's' && p[5] == 'e') {
            FLogging = false;
            FRecording = false;
            // Logger and LEQ memory; the record count at 0x1E is the
            // program's to clear.
            ClearLogger();
            FLeq.assign(LeqMemorySize, 0xFF);
            std::copy(p.begin(), p.end(), r.begin());
            SetPending(command, r);
        }
        break;
    case 'Y':
        SetPending(command, InformationReply());
        break;
    default:
        PressKey(command);
        break;
    }
}

void SimulatedMeter::PressKey(uint8_t key)
{
    switch (key) {
    case 'R':
        if (FLogging)
            StopLogging();
        else
            StartLogging();
        break;
    case 'M':
        if (!FMaxMinMode) {
            FMaxMinMode = true;
            FMaxMinState = 0x11;
            FMaxLevel = FMinLevel = CurrentLevel();
        } else {
            FMaxMinState = FMaxMinState == 0x11 ? 0x22 : FMaxMinState == 0x22 ? 0x44 : 0x11;
        }
        break;
    case 'N':
        FMaxMinMode = false;
        FMaxMinState = 0;
        break;
    case 'C':
        FWeightA = !FWeightA;
        break;
    case 'F':
        FFast = !FFast;
        break;
    case 'B':
        FBacklight = !FBacklight;
        break;
    case 'L':
        FLeqMode = !FLeqMode;
        break;
    case 's':
        if (FLeqRun == 0) {
            FLeqRun = 1;
            FLeqEnergy = 0;
            FLeqSamples = 0;
        } else {
            FLeqRun = FLeqRun == 1 ? 2 : 1;
        }
        break;
    case 'u':
        FLeqRun = 0;
        break;
    default:
        break; // unknown command: the meter ignores it
    }
}

int SimulatedMeter::CurrentLevel() const
{
    return LevelAt(rtl::GetClock().MonotonicMs());
}

int SimulatedMeter::LevelAt(int64_t monotonicMs) const
{
    if (FFixedLevel >= 0)
        return FFixedLevel;
    double db = AmbientLevel(static_cast<double>(monotonicMs) / 1000.0);
    if (!FWeightA)
        db += 1.5;
    return static_cast<int>(std::lround(db * 10.0));
}

void SimulatedMeter::Sample(int level)
{
    if (FMaxMinMode) {
        FMaxLevel = std::max(FMaxLevel, level);
        FMinLevel = std::min(FMinLevel, level);
    }
    if (FLeqRun == 1) {
        FLeqEnergy += std::pow(10.0, level / 100.0);
        ++FLeqSamples;
    }
}

int SimulatedMeter::DisplayedLevel() const
{
    return std::clamp(CurrentLevel(), 0, 9999);
}

SimulatedMeter::Reply SimulatedMeter::StatusReply(uint8_t sequence)
{
    const int level = DisplayedLevel();
    Sample(level);
    Reply r{};
    r[0] = 0x02;
    r[31] = 0x03;
    uint8_t a = 0;
    if (FRecording)
        a |= 0x01;
    if (FMaxMinMode)
        a |= 0x04;
    if (FWeightA)
        a |= 0x08;
    if (FFast)
        a |= 0x10;
    if (level < 300)
        a |= 0x40;
    if (level > 1300)
        a |= 0x80;
    uint8_t b = 0;
    const uint32_t last =
        (uint32_t(FLogger[11]) << 16) | (uint32_t(FLogger[12]) << 8) | FLogger[13];
    if (FMemoryFull || last >= LoggerCapacityAddress)
        b |= 0x10;
    if (FLeqRun == 1 || FLogging)
        b |= 0x60;
    else if (FLeqRun == 2)
        b |= 0x40;
    if (FLeqMode)
        b |= 0x80;
    r[1] = a;
    r[2] = b;
    r[4] = FMaxMinMode ? FMaxMinState : 0;

    const ClockFields f = Split(MeterTime());
    int word = level;
    if (FMaxMinMode && FMaxMinState == 0x44)
        word = f.second % 2 == 0 ? FMaxLevel : FMinLevel;
    PutWord(r, 5, word);
    r[7] = static_cast<uint8_t>(level / 1000);
    r[8] = static_cast<uint8_t>(level / 100 % 10);
    r[9] = static_cast<uint8_t>(level / 10 % 10);
    r[10] = static_cast<uint8_t>(level % 10);
    PutWord(r, 11, FMaxMinMode ? FMaxLevel : level);
    PutWord(r, 13, FMaxMinMode ? FMinLevel : level);
    r[15] = ToBcd(f.second);
    r[16] = ToBcd(f.minute);
    r[17] = ToBcd(f.hour);
    r[18] = ToBcd(f.day);
    r[19] = ToBcd(f.month);
    r[21] = ToBcd(f.year % 100);
    int leq = level;
    if (FLeqSamples > 0)
        leq = static_cast<int>(std::lround(100.0 * std::log10(FLeqEnergy / FLeqSamples)));
    PutWord(r, 26, leq);
    r[30] = sequence;
    return r;
}

SimulatedMeter::Reply SimulatedMeter::InformationReply() const
{
    Reply r{};
    r[0] = 0x02;
    r[1] = 'Y';
    r[9] = FLogger[9];
    r[10] = FLogger[10];
    r[11] = FLogger[11];
    r[12] = FLogger[12];
    r[13] = FLogger[13];
    r[15] = Eeprom(IntervalAddress);
    r[18] = static_cast<uint8_t>(FCal94);
    PutWord(r, 19, FCal70);
    PutWord(r, 21, FCal60);
    PutWord(r, 23, FCal40);
    PutWord(r, 25, FCal30);
    // The clock overlays the 30 dB word: the meter sends its clock there.
    const ClockFields f = Split(MeterTime());
    r[25] = ToBcd(f.year % 100);
    r[26] = ToBcd(f.month);
    r[27] = ToBcd(f.day);
    r[28] = ToBcd(f.hour);
    r[29] = ToBcd(f.minute);
    r[30] = ToBcd(f.second);
    r[31] = FFirmware;
    return r;
}

// --- Test control ---------------------------------------------------------

void SimulatedMeter::SetPresent(bool present)
{
    FPresent = present;
    if (!present) {
        FOpen = false;
        FHasPending = false;
        FStream = Stream::None;
    }
}

void SimulatedMeter::SetCalibration(int8_t offset94, uint16_t w70, uint16_t w60, uint16_t w40,
                                    uint16_t w30)
{
    FCal94 = offset94;
    FCal70 = w70;
    FCal60 = w60;
    FCal40 = w40;
    FCal30 = w30;
}

void SimulatedMeter::SetMeterTime(rtl::TDateTime t)
{
    FClockFrozen = false;
    FClockOffset = t - rtl::GetClock().Now();
}

void SimulatedMeter::FreezeMeterClock(rtl::TDateTime t)
{
    FClockFrozen = true;
    FFrozenTime = t;
}

void SimulatedMeter::StepMeterClock(int seconds)
{
    if (FClockFrozen)
        FFrozenTime += seconds / rtl::SecsPerDay;
    else
        FClockOffset += seconds / rtl::SecsPerDay;
}

rtl::TDateTime SimulatedMeter::MeterTime() const
{
    // Half a millisecond on top keeps whole seconds from reading as 59.999.
    const double halfMs = 0.5 / rtl::MSecsPerDay;
    return (FClockFrozen ? FFrozenTime : rtl::GetClock().Now() + FClockOffset) + halfMs;
}

void SimulatedMeter::SetLoggerImage(const std::vector<uint8_t> &image)
{
    FLogging = false;
    FMemoryFull = false;
    FLogger.assign(LoggerSize, 0xFF);
    const size_t n = std::min(image.size(), FLogger.size());
    std::copy(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(n), FLogger.begin());
    if (n < 14) // a header too short to declare anything: an empty logger
        ClearLogger();
}

void SimulatedMeter::ClearLogger()
{
    FLogging = false;
    FMemoryFull = false;
    FLogger.assign(LoggerSize, 0xFF);
    std::fill(FLogger.begin(), FLogger.begin() + 256, 0);
    FLogger[9] = 0;
    FLogger[10] = 0;
    FLogger[11] = 0;
    FLogger[12] = 0;
    FLogger[13] = 0xFF;
}

// --- Recording into the logger memory --------------------------------------

void SimulatedMeter::PutLogger24(size_t at, uint32_t value)
{
    FLogger[at] = static_cast<uint8_t>(value >> 16);
    FLogger[at + 1] = static_cast<uint8_t>(value >> 8);
    FLogger[at + 2] = static_cast<uint8_t>(value);
}

void SimulatedMeter::StartLogging()
{
    const uint32_t last =
        (uint32_t(FLogger[11]) << 16) | (uint32_t(FLogger[12]) << 8) | FLogger[13];
    const int sets = FLogger[9] * 256 + FLogger[10];
    // An empty memory declares 0xFF as its last address: the first set
    // begins at 256, every further one right after the last.
    const size_t begin = sets == 0 ? 256 : size_t(last) + 1;
    // Room for the header, one sample and the end marker.
    if (sets >= 4000 || begin + 20 > LoggerCapacityAddress) {
        FMemoryFull = true;
        return;
    }
    const uint8_t interval = Eeprom(IntervalAddress);
    FLogInterval = interval == 0 ? 1 : interval > 60 ? 2 : interval;
    FLogBegin = begin;
    FLogStartMs = rtl::GetClock().MonotonicMs();
    FLogSamples = 0;
    const ClockFields f = Split(MeterTime());
    const uint8_t header[16] = {0xA5,
                                0x5A,
                                0x00,
                                ToBcd(f.year % 100),
                                ToBcd(f.month),
                                ToBcd(f.day),
                                ToBcd(f.hour),
                                ToBcd(f.minute),
                                ToBcd(f.second),
                                0x00,
                                static_cast<uint8_t>(FLogInterval),
                                0,
                                0,
                                0,
                                static_cast<uint8_t>((FWeightA ? 0x02 : 0) | (FFast ? 0x01 : 0)),
                                0x00};
    std::copy(header, header + 16, FLogger.begin() + static_cast<std::ptrdiff_t>(begin));
    FLogger[begin + 16] = 0x5A;
    FLogger[begin + 17] = 0xA5;
    FLogger[9] = static_cast<uint8_t>((sets + 1) >> 8);
    FLogger[10] = static_cast<uint8_t>(sets + 1);
    PutLogger24(11, static_cast<uint32_t>(begin + 17));
    FLogging = true;
    FRecording = true;
    CatchUpRecording(); // the first sample is taken at once
}

void SimulatedMeter::CatchUpRecording()
{
    if (!FLogging)
        return;
    const int64_t stepMs = int64_t(FLogInterval) * 1000;
    const int64_t elapsed = rtl::GetClock().MonotonicMs() - FLogStartMs;
    const int64_t due = elapsed < 0 ? 0 : elapsed / stepMs + 1;
    while (FLogSamples < due) {
        const size_t at = FLogBegin + 16 + 2 * size_t(FLogSamples);
        if (at + 4 > LoggerCapacityAddress) { // the sample and the end marker
            FMemoryFull = true;
            StopLogging();
            return;
        }
        const int level = std::clamp(LevelAt(FLogStartMs + FLogSamples * stepMs), 0, 0x0FFF);
        FLogger[at] = static_cast<uint8_t>(level >> 8);
        FLogger[at + 1] = static_cast<uint8_t>(level);
        FLogger[at + 2] = 0x5A;
        FLogger[at + 3] = 0xA5;
        ++FLogSamples;
        PutLogger24(FLogBegin + 11, FLogSamples);
        PutLogger24(11, static_cast<uint32_t>(at + 3));
    }
}

void SimulatedMeter::StopLogging()
{
    FLogging = false;
    FRecording = false;
}

void SimulatedMeter::SetLeqMemory(const std::vector<uint8_t> &bytes)
{
    FLeq.assign(LeqMemorySize, 0xFF);
    std::copy(bytes.begin(),
              bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), FLeq.size())),
              FLeq.begin());
}

void SimulatedMeter::SetLeqRecords(const std::vector<SimLeqRecord> &records)
{
    std::vector<uint8_t> bytes;
    const size_t n = std::min<size_t>(records.size(), LeqMemorySize / 20);
    for (size_t i = 0; i < n; ++i) {
        const SimLeqRecord &rec = records[i];
        const ClockFields f = Split(rec.time + 0.5 / rtl::MSecsPerDay);
        uint8_t flags = 0;
        if (rec.fast)
            flags |= 0x80;
        if (rec.aWeighted)
            flags |= 0x40;
        const int level = std::clamp(rec.levelTenths, 0, 0xFFFF);
        const uint8_t record[20] = {static_cast<uint8_t>(i + 1),
                                    static_cast<uint8_t>(level >> 8),
                                    static_cast<uint8_t>(level & 0xFF),
                                    ToBcd(f.year % 100),
                                    ToBcd(f.month),
                                    ToBcd(f.day),
                                    ToBcd(f.hour),
                                    ToBcd(f.minute),
                                    ToBcd(f.second),
                                    rec.periodCode,
                                    flags};
        bytes.insert(bytes.end(), record, record + 20);
    }
    SetLeqMemory(bytes);
    SetEeprom(LeqCountAddress, static_cast<uint8_t>(n));
}

uint8_t SimulatedMeter::Eeprom(uint32_t address) const
{
    auto it = FEeprom.find(address);
    return it == FEeprom.end() ? 0 : it->second;
}

void SimulatedMeter::SetEeprom(uint32_t address, uint8_t value)
{
    FEeprom[address] = value;
}

} // namespace usb
