// The link to the meter: the shared command packet and reply block, the
// status sequence counter, the busy flag and the transactions every meter
// command is built from.
//
// The main window owns one TMeterLink for the whole run and hands it the
// device chosen at start (platform/usb/backend/backend.h) and itself as the
// MainTimer switch. Everything runs on the GUI thread.
//
// Link lifecycle: every transaction first closes whatever link is open and
// opens the device anew. PollStatus, ReadStatus, QueryCommand and SendKey
// close it again at their end; the handshakes, Transact and SendPacket leave
// it open for the operation that continues on it (and for the next
// transaction to close).
//
// Busy discipline: the MainTimer tick sets gUsbBusy for its whole length.
// Every other link user waits for gUsbBusy to clear, disables MainTimer, and
// enables it again when its whole operation is over (see TLinkOperation and
// meter/link_guard.h).
#pragma once

#include "meter/link_guard.h"
#include "platform/usb/usb_device.h"

#include <array>
#include <cstdint>
#include <string>

namespace meter {

// 0x02, command, parameter 1..3, sequence or data byte, 0x03.
using TCommandPacket = std::array<uint8_t, 7>;
// One reply; byte 0 and byte 31 are markers that depend on the command.
using TReplyBlock = std::array<uint8_t, 32>;

// Link result codes; 0 = success.
constexpr int LinkOk = 0;
constexpr int LinkNoAnswer = 1001;      // no answer to the status command in 10 tries
constexpr int LinkOpenFailed = 1002;    // the open operation failed
constexpr int LinkTimeoutFailed = 1003; // setting the time-outs failed
constexpr int LinkWriteFailed = 1004;   // writing the command packet failed
constexpr int LinkReadFailed = 1005;    // reading the reply failed
constexpr int LinkBadMarkers = 1006;    // a handshake reply carried the wrong markers
constexpr int LinkNotEchoed = 707;      // a reply did not repeat the packet it answers

// The fixed message of a link code: "fail to open usb device" (1002), "fail
// to set timeout" (1003), "fail to write command to device" (1004), "fail to
// read" (1005), "data error" (1006, 707); "" for any other code.
const char *LinkMessage(int code);
// "There was error,please try again!   error code=" followed by the code.
std::string LinkErrorText(int code);

// The main window's status poll timer as the link switches it.
class TMainTimerSwitch {
public:
    virtual ~TMainTimerSwitch() = default;
    virtual void SetMainTimerEnabled(bool enabled) = 0;
};

// What became of a panel key.
enum class TKeyResult {
    Sent,       // the key packet went out (a failed write is not noticed)
    Ignored,    // a link operation holds the guard: nothing was touched
    OpenFailed, // the device did not open: the panel shows its "Connect fail" text
};

class TMeterLink {
public:
    static constexpr uint16_t VendorId = 0x04D9;
    static constexpr uint16_t ProductId = 0xE000;
    // Longest wait for gUsbBusy to clear; it can only be seen set from a
    // handler nested in a tick, which the guard already keeps out.
    static constexpr int64_t BusyWaitLimitMs = 2500;

    explicit TMeterLink(usb::UsbDevice &device, TMainTimerSwitch *mainTimer = nullptr,
                        TLinkGuard &guard = TLinkGuard::Instance());

    usb::UsbDevice &Device() { return FDevice; }
    TLinkGuard &Guard() { return FGuard; }
    void SetMainTimer(TMainTimerSwitch *mainTimer) { FMainTimer = mainTimer; }

    // Shared link state. The transactions set bytes 0, 1 and 6 of gCommand
    // (and 5 for the status command) and leave bytes 2..5 as the previous
    // writer left them.
    TCommandPacket gCommand = {0x02, 'K', 0, 0, 0, 0, 0x03};
    TReplyBlock gReply{};
    uint8_t gSequence = 0; // incremented before each status command; wraps 255 -> 0
    uint16_t gUsbVendorId = VendorId;
    uint16_t gUsbProductId = ProductId;
    bool gUsbBusy = false;

    // The meter answers the status command: up to 10 tries, waiting 100, 110,
    // ..., 190 ms before each.
    bool CheckLink();
    // One status command 'A' with a fresh sequence byte, on a link of its
    // own; when the reply's byte 30 does not echo it, one resynchronise
    // packet 'Q' follows. The result reflects open, time-outs and read only.
    bool PollStatus();
    // The same without the echo check (the poll tick).
    bool ReadStatus();
    // Link check, then 'P' expecting reply markers 4 and 5; leaves the link
    // open. 0 or a link code.
    int HandshakeSpl();
    // The same with 'Z' and markers 6 and 7.
    int HandshakeLeq();
    // Waits for the busy flag, disables MainTimer, checks the link, writes
    // the caller's packet, waits 100 ms and reads one reply into reply. The
    // link stays open and MainTimer stays off. 0 or a link code.
    int Transact(const TCommandPacket &packet, TReplyBlock &reply);
    // As Transact up to the end of write, without pause or read.
    int SendPacket(const TCommandPacket &packet);
    // One-byte command with a reply into gReply, on a link of its own (the
    // identify command). No link check, no busy wait.
    bool QueryCommand(uint8_t command);
    // One-byte command without reply (panel keys). False when the device
    // does not open (the link is then left as it is).
    bool SendKey(uint8_t command);
    // Busy wait on the program's clock; processes no window messages.
    void Delay(unsigned milliseconds);

    // Steps of a block transfer on the link a handshake left open: the
    // one-byte command in gCommand (bytes 2..5 as they are) without end of
    // write, 0 or 1004; one 32-byte block into gReply, 0 or 1005.
    int WriteCommand(uint8_t command);
    int ReadBlock();

    // A panel key: ignored while the guard is held, else SendKey.
    TKeyResult PressKey(uint8_t key);

    // Waits while gUsbBusy is set (at most BusyWaitLimitMs), then disables
    // MainTimer.
    void WaitLinkIdle();
    void EnableMainTimer();
    void DisableMainTimer();

private:
    // Close, open with the ids, set the 100/100 time-outs: 0, 1002 or 1003.
    int OpenLink();
    bool StatusCommand(bool echoCheck);
    int Handshake(uint8_t command, uint8_t firstMarker, uint8_t lastMarker);
    int SendAndMaybeRead(const TCommandPacket &packet, TReplyBlock *reply);

    usb::UsbDevice &FDevice;
    TMainTimerSwitch *FMainTimer;
    TLinkGuard &FGuard;
};

// One guarded link operation for the length of a scope: takes the guard
// (refused while another operation holds it), waits for the busy flag and
// disables MainTimer; at the end enables MainTimer and gives the guard back.
//
//     meter::TLinkOperation op(link, "download");
//     if (!op) return;              // another operation runs: do nothing
//     op.Protect(loggerWindow);     // this window cannot close meanwhile
//     ... link.HandshakeSpl(), blocks ...
class TLinkOperation {
public:
    TLinkOperation(TMeterLink &link, const std::string &holder);
    ~TLinkOperation();
    TLinkOperation(const TLinkOperation &) = delete;
    TLinkOperation &operator=(const TLinkOperation &) = delete;

    bool Acquired() const { return FHold.Acquired(); }
    explicit operator bool() const { return FHold.Acquired(); }
    void Protect(const void *window) { FHold.Protect(window); }

private:
    TMeterLink &FLink;
    TLinkHold FHold;
};

} // namespace meter
