#include "meter/setup_commands.h"

#include "meter/memory_erase.h"
#include "platform/rtl/numbers.h"

#include <cstdio>

namespace meter {

namespace {

constexpr TEcho CommandEcho{0, 1}; // the reply repeats 0x02 and the command byte
constexpr TEcho DataEcho{3, 6};    // the reply repeats the address's low bytes and the data
constexpr uint32_t IntervalZeroAddress = 0x0E;
constexpr uint32_t IntervalAddress = 0x0F;
constexpr int MaxIntervalSeconds = 60;

uint8_t Bcd(int v)
{
    return static_cast<uint8_t>(((v / 10 % 10) << 4) | (v % 10));
}

std::string Hex2(uint8_t b)
{
    char text[3];
    std::snprintf(text, sizeof text, "%02X", b);
    return text;
}

unsigned Word(const TReplyBlock &r, size_t at)
{
    return static_cast<unsigned>(r[at]) << 8 | r[at + 1];
}

std::string CalibrationText(unsigned w)
{
    return rtl::FormatFloatFixed(w / 256.0, 2) + "  (" + std::to_string(w) + ")";
}

// Bytes 0..4 and 6 of an EEPROM packet; byte 5 is the caller's.
void SetAddressPacket(TCommandPacket &p, uint8_t command, long long address)
{
    p[0] = 0x02;
    p[1] = command;
    p[6] = 0x03;
    p[2] = static_cast<uint8_t>(address >> 16);
    p[3] = static_cast<uint8_t>(address >> 8);
    p[4] = static_cast<uint8_t>(address);
}

} // namespace

TSetupBuffers &SetupBuffers()
{
    static TSetupBuffers buffers;
    return buffers;
}

void BuildClockBlock(TReplyBlock &block, rtl::TDateTime now)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    rtl::DecodeDate(now, year, month, day);
    rtl::DecodeTime(now, hour, minute, second, ms);
    block.fill(0);
    block[0] = Bcd(second);
    block[1] = Bcd(minute);
    block[2] = Bcd(hour);
    block[3] = Bcd(day);
    block[4] = Bcd(month);
    block[6] = Bcd(year % 100);
}

TLoggerInformation FormatLoggerInformation(const TReplyBlock &r)
{
    TLoggerInformation info;
    info.DataSets = std::to_string(Word(r, 9));
    const int last = static_cast<int>(r[11]) << 16 | static_cast<int>(r[12]) << 8 | r[13];
    info.MemoryAvailable = std::to_string((LoggerEndAddress - last) / 2);
    info.Interval = std::to_string(r[15]);
    info.Cal94 = rtl::FormatFloatFixed(static_cast<int8_t>(r[18]) * 0.1, 1);
    info.Cal70 = CalibrationText(Word(r, 19));
    info.Cal60 = CalibrationText(Word(r, 21));
    info.Cal40 = CalibrationText(Word(r, 23));
    info.Cal30 = CalibrationText(Word(r, 25));
    info.MeterTime = Hex2(r[26]) + "/" + Hex2(r[27]) + "/20" + Hex2(r[25]) + "   " + Hex2(r[28]) +
                     ":" + Hex2(r[29]) + ":" + Hex2(r[30]);
    info.Version = rtl::FormatFloatFixed(r[31] * 0.01, 2);
    return info;
}

TSetupCommands::TSetupCommands(TMeterLink &link, TCommandUi &ui, TSetupFields &fields,
                               TSetupBuffers &buffers)
    : FLink(link), FUi(ui), FFields(fields), FBuffers(buffers)
{
}

void TSetupCommands::FinishWith(int code, const std::string &message)
{
    FBuffers.Result = code;
    FUi.SetHourglass(false);
    FUi.ShowMessage(message);
}

void TSetupCommands::Finish(int code, const char *success)
{
    FinishWith(code, code == LinkOk ? std::string(success) : FailureText(code));
}

void TSetupCommands::FinishMaybeDone(int code, const char *mayHave, const char *check)
{
    FinishWith(code, ReplyLostText(mayHave, check) + FailureText(code));
}

void TSetupCommands::InvalidInput()
{
    FBuffers.Result = SetupInvalidInput;
    FUi.ShowMessage("Invalid Input");
}

bool TSetupCommands::ReadAddress(TSetupField field, long long &address)
{
    return ParseDecimal(FFields.FieldText(field), address) && address >= 0 &&
           address <= EepromLastAddress;
}

void TSetupCommands::SetMeterClock()
{
    TLinkOperation op(FLink, "set-up: meter clock");
    if (!op)
        return;
    FUi.SetHourglass(true);
    TCommandPacket &p = FBuffers.Packet;
    int code = LinkNoAnswer;
    for (int i = 0; i < CommandTries; ++i) {
        p[0] = 0x02;
        p[1] = 't';
        p[2] = 'c';
        p[3] = 0x00;
        p[6] = 0x03;
        code = FLink.SendPacket(p);
        if (code == LinkOk)
            break;
    }
    if (code == LinkOk) {
        FLink.Delay(ClockBlockPauseMs);
        BuildClockBlock(FBuffers.Reply, rtl::GetClock().Now());
        // On the link the set-clock packet left open.
        if (FLink.Device().UsbWriteBlock(usb::ReplySize, FBuffers.Reply.data()) != usb::UsbOk)
            code = SetupClockBlockFailed;
    }
    FinishWith(code,
               code == LinkOk ? "Meter time updated successfully \n" : "Meter time updated fail");
}

void TSetupCommands::EraseMemory()
{
    if (FLink.Guard().Held() || !FUi.Confirm(EraseQuestion))
        return;
    TLinkOperation op(FLink, "set-up: memory erase");
    if (!op)
        return;
    FUi.SetHourglass(true);
    FBuffers.Packet = ErasePacket;
    const TStepResult erased = TransactStep(FLink, FBuffers.Packet, FBuffers.Reply, EraseEcho);
    FBuffers.Packet = ClearLeqCountPacket;
    const TStepResult cleared =
        TransactStep(FLink, FBuffers.Packet, FBuffers.Reply, ClearLeqCountEcho);
    const int code = erased.Done() ? cleared.Code : erased.Code;
    if (erased.MaybeDone() || cleared.MaybeDone())
        FinishWith(code, EraseResultText(cleared, erased, LinkOk, false));
    else
        Finish(code, "erase memory successfully");
}

void TSetupCommands::SetRecordingInterval()
{
    long long minutes = 0, seconds = 0;
    if (!ParseDecimal(FFields.FieldText(TSetupField::edtInt1), minutes) ||
        !ParseDecimal(FFields.FieldText(TSetupField::edtInt2), seconds) || minutes < 0 ||
        seconds < 0 || minutes > MaxIntervalSeconds || seconds > MaxIntervalSeconds ||
        minutes * 60 + seconds > MaxIntervalSeconds) {
        InvalidInput();
        return;
    }
    const auto v = static_cast<uint8_t>(minutes * 60 + seconds);
    TLinkOperation op(FLink, "set-up: recording interval");
    if (!op)
        return;
    FUi.SetHourglass(true);
    TCommandPacket &p = FBuffers.Packet;
    p = {0x02, 'W', 0x00, 0x00, IntervalZeroAddress, 0x00, 0x03};
    TStepResult step = TransactStep(FLink, p, FBuffers.Reply, CommandEcho);
    if (step.Done()) {
        // Only the interval's own write can have set it.
        p = {0x02, 'W', 0x00, 0x00, IntervalAddress, v, 0x03};
        step = TransactStep(FLink, p, FBuffers.Reply, CommandEcho);
        if (step.MaybeDone()) {
            FinishMaybeDone(step.Code, "The recording interval may have been set",
                            "Read the meter's set-up again (Read) to see the interval it has.");
            return;
        }
    }
    Finish(step.Code,
           "Recording Interval Setup Successfully, turn off and turn on the meter to effective ");
}

void TSetupCommands::ReadInformation()
{
    TLinkOperation op(FLink, "set-up: information");
    if (!op)
        return;
    for (TSetupField f : {TSetupField::txtMemoryAvailable, TSetupField::txtMeterTime,
                          TSetupField::txtInt, TSetupField::txtDataSets, TSetupField::txtVer,
                          TSetupField::txtSN, TSetupField::txt70dB, TSetupField::txt94dB})
        FFields.SetFieldText(f, "");
    FUi.SetHourglass(true);
    FBuffers.Packet = InformationPacket;
    int code = TransactTries(FLink, FBuffers.Packet, FBuffers.Reply, NoEcho);
    if (code == LinkOk) {
        const TLoggerInformation info = FormatLoggerInformation(FBuffers.Reply);
        FFields.SetFieldText(TSetupField::txtMeterTime, info.MeterTime);
        FFields.SetFieldText(TSetupField::txtInt, info.Interval);
        FFields.SetFieldText(TSetupField::txtMemoryAvailable, info.MemoryAvailable);
        FFields.SetFieldText(TSetupField::txtDataSets, info.DataSets);
        FFields.SetFieldText(TSetupField::txtVer, info.Version);
        FFields.SetFieldText(TSetupField::txt94dB, info.Cal94);
        FFields.SetFieldText(TSetupField::txt70dB, info.Cal70);
        FFields.SetFieldText(TSetupField::txt60dB, info.Cal60);
        FFields.SetFieldText(TSetupField::txt40dB, info.Cal40);
        FFields.SetFieldText(TSetupField::txt30dB, info.Cal30);
        char serial[usb::SerialCapacity] = {};
        if (FLink.Device().UsbReadSerial(0, serial, usb::SerialCapacity) == usb::UsbOk) {
            serial[usb::SerialCapacity - 1] = '\0';
            FFields.SetFieldText(TSetupField::txtSN, serial);
        } else {
            code = LinkBadMarkers;
        }
    }
    if (code == LinkBadMarkers)
        FinishWith(code, "can not read serail number");
    else
        Finish(code, "read data successfully");
}

void TSetupCommands::WriteEeprom()
{
    if (FFields.FieldText(TSetupField::edtPassword) != EepromAccessCode) {
        FUi.ShowMessage("Password error !!");
        return;
    }
    long long address = 0, data = 0;
    if (!ReadAddress(TSetupField::txtWAddress, address) ||
        !ParseDecimal(FFields.FieldText(TSetupField::txtWData), data) || data < 0 || data > 255) {
        InvalidInput();
        return;
    }
    TLinkOperation op(FLink, "set-up: EEPROM write");
    if (!op)
        return;
    FUi.SetHourglass(true);
    TCommandPacket &p = FBuffers.Packet;
    SetAddressPacket(p, 'W', address);
    p[5] = static_cast<uint8_t>(data);
    const TStepResult step = TransactStep(FLink, p, FBuffers.Reply, DataEcho);
    if (step.MaybeDone())
        FinishMaybeDone(step.Code, "The EEPROM byte may have been written",
                        "Read it again (Read EEProm) to see what the meter holds.");
    else
        Finish(step.Code, "Write EEProm successfully");
}

void TSetupCommands::ReadEeprom()
{
    FFields.SetFieldText(TSetupField::txtRData, "");
    long long address = 0;
    if (!ReadAddress(TSetupField::txtRAddress, address)) {
        InvalidInput();
        return;
    }
    TLinkOperation op(FLink, "set-up: EEPROM read");
    if (!op)
        return;
    FUi.SetHourglass(true);
    // Byte 5 keeps what the last command left there.
    SetAddressPacket(FBuffers.Packet, 'r', address);
    const int code = TransactTries(FLink, FBuffers.Packet, FBuffers.Reply, CommandEcho);
    if (code == LinkOk)
        FFields.SetFieldText(TSetupField::txtRData, std::to_string(FBuffers.Reply[6]));
    Finish(code, "Read EEProm successfully");
}

} // namespace meter
