// The commands of the data-logger set-up window ("Data Logger Setup"): set
// the meter clock to the computer's, erase the memory, set the recording
// interval, read the logger information, write and read single EEPROM bytes
// behind the access code.
//
// The commands build their packets in one 7-byte packet and read their
// replies into one 32-byte block; both exist once in the program and keep
// their bytes between commands and between windows. Each command sets only
// the packet bytes it names, so a byte it leaves alone carries what the
// previous command left there (the EEPROM read's byte 5, the set-clock
// packet's bytes 4 and 5).
//
// Each command that talks to the meter holds the link operation guard, shows
// the hourglass meanwhile and ends in a message box (fixed English texts);
// MainTimer runs again at its end. A write whose packet the meter took but
// whose reply was lost may have been carried out: its message says so and
// what to read again to check. Input that cannot be right (an interval
// above one minute, an EEPROM address or data byte out of range, text that
// is not a number) is refused with "Invalid Input" before any traffic.
#pragma once

#include "meter/meter_commands.h"
#include "platform/rtl/datetime.h"

#include <string>

namespace meter {

// The window's fields the commands read and write, by component name.
enum class TSetupField {
    edtInt1, // recording interval, minutes
    edtInt2, // recording interval, seconds
    txtMeterTime,
    txtInt,
    txtMemoryAvailable,
    txtDataSets,
    txtVer,
    txtSN,
    txt94dB,
    txt70dB,
    txt60dB,
    txt40dB,
    txt30dB,
    txtWAddress,
    txtWData,
    edtPassword,
    txtRAddress,
    txtRData,
};

class TSetupFields {
public:
    virtual ~TSetupFields() = default;
    virtual std::string FieldText(TSetupField field) = 0;
    virtual void SetFieldText(TSetupField field, const std::string &text) = 0;
};

// Result codes of the set-up commands besides the link's.
constexpr int SetupClockBlockFailed = 205; // the clock block was not written
constexpr int SetupInvalidInput = 701;     // the input cannot be sent

// The program's one packet, reply block and last result of the set-up commands.
struct TSetupBuffers {
    TCommandPacket Packet = {0x02, 0x00, 0x00, 0x00, 0x00, 0x00, 0x03};
    TReplyBlock Reply{};
    int Result = 0;
};
TSetupBuffers &SetupBuffers();

inline constexpr TCommandPacket InformationPacket = {0x02, 'Y', 0x00, 0x00, 0x00, 0x00, 0x03};
inline constexpr const char *EepromAccessCode = "0429";
constexpr long long EepromLastAddress = 0xFFFFFF;
constexpr int LoggerEndAddress = 0x1F500; // end of the logger's sample area
constexpr unsigned ClockBlockPauseMs = 100;

// The 32-byte clock block for the local date-time now, in packed BCD:
// seconds, minutes, hours, day, month, 00, year within the century, 00, and
// 00 in bytes 8..31.
void BuildClockBlock(TReplyBlock &block, rtl::TDateTime now);

// The texts of the information reply (the 'Y' reply).
struct TLoggerInformation {
    std::string MeterTime;       // "MM/DD/20YY   hh:mm:ss" from bytes 26, 27, 25, 28, 29, 30
    std::string Interval;        // byte 15, seconds
    std::string MemoryAvailable; // free samples: (0x1F500 - last used address) / 2
    std::string DataSets;        // bytes 9..10
    std::string Version;         // byte 31 / 100, two decimals
    std::string Cal94;           // byte 18, signed, in 0.1 dB, one decimal
    std::string Cal70, Cal60, Cal40, Cal30; // words in 1/256 dB: "70.00  (17920)"
};
TLoggerInformation FormatLoggerInformation(const TReplyBlock &reply);

class TSetupCommands {
public:
    TSetupCommands(TMeterLink &link, TCommandUi &ui, TSetupFields &fields,
                   TSetupBuffers &buffers = SetupBuffers());

    // "Adjust Meter Time To Computer Time": 't' 'c', then the clock block.
    void SetMeterClock();
    // "Erase Meter Memory": after the erase question, erase, then clear the
    // LEQ record count.
    void EraseMemory();
    // "Adjust Meter Recording Interval": 0 to meter address 14, then the
    // interval in seconds (0..60) to address 15.
    void SetRecordingInterval();
    // "Read": the information reply into the information fields, then the
    // serial number.
    void ReadInformation();
    // "Write EEProm": after the access code, one byte to one address.
    void WriteEeprom();
    // "Read EEProm": one byte of one address into txtRData.
    void ReadEeprom();

private:
    bool ReadAddress(TSetupField field, long long &address);
    void InvalidInput();
    // The end of a command: its code kept, the hourglass off, the message.
    void FinishWith(int code, const std::string &message);
    // FinishWith the text success when code is LinkOk, else FailureText(code).
    void Finish(int code, const char *success);
    // A write whose reply was lost: it may have been carried out.
    void FinishMaybeDone(int code, const char *mayHave, const char *check);

    TMeterLink &FLink;
    TCommandUi &FUi;
    TSetupFields &FFields;
    TSetupBuffers &FBuffers;
};

} // namespace meter
