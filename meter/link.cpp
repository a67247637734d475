#include "meter/link.h"

#include "platform/rtl/datetime.h"

namespace meter {

namespace {

constexpr int TimeoutMs = 100;
constexpr unsigned ReplyPauseMs = 100;
constexpr int CheckTries = 10;

} // namespace

const char *LinkMessage(int code)
{
    switch (code) {
    case LinkOpenFailed:
        return "fail to open usb device";
    case LinkTimeoutFailed:
        return "fail to set timeout";
    case LinkWriteFailed:
        return "fail to write command to device";
    case LinkReadFailed:
        return "fail to read";
    case LinkBadMarkers:
    case LinkNotEchoed:
        return "data error";
    default:
        return "";
    }
}

std::string LinkErrorText(int code)
{
    return "There was error,please try again!   error code=" + std::to_string(code);
}

TMeterLink::TMeterLink(usb::UsbDevice &device, TMainTimerSwitch *mainTimer, TLinkGuard &guard)
    : FDevice(device), FMainTimer(mainTimer), FGuard(guard)
{
}

void TMeterLink::Delay(unsigned milliseconds)
{
    rtl::Clock &clock = rtl::GetClock();
    const int64_t start = clock.MonotonicMs();
    for (;;) {
        const int64_t left = static_cast<int64_t>(milliseconds) - (clock.MonotonicMs() - start);
        if (left <= 0)
            break;
        clock.SleepMs(left);
    }
}

int TMeterLink::OpenLink()
{
    FDevice.UsbClose();
    if (FDevice.UsbOpen(gUsbVendorId, gUsbProductId) != usb::UsbOk)
        return LinkOpenFailed;
    if (FDevice.UsbSetTimeouts(TimeoutMs, TimeoutMs) != usb::UsbOk)
        return LinkTimeoutFailed;
    return LinkOk;
}

bool TMeterLink::CheckLink()
{
    for (int i = 0; i < CheckTries; ++i) {
        Delay(100 + 10 * static_cast<unsigned>(i));
        if (PollStatus())
            return true;
    }
    return false;
}

bool TMeterLink::StatusCommand(bool echoCheck)
{
    bool result = true;
    if (OpenLink() != LinkOk) {
        result = false;
    } else {
        gCommand[0] = 0x02;
        gCommand[1] = 'A';
        ++gSequence;
        gCommand[5] = gSequence;
        gCommand[6] = 0x03;
        FDevice.UsbWrite(usb::PacketSize, gCommand.data());
        FDevice.UsbEndWrite();
        gReply.fill(0);
        if (FDevice.UsbRead(usb::ReplySize, gReply.data()) != usb::UsbOk)
            result = false;
        // Also after a failed read, on whatever the buffer holds.
        if (echoCheck && gReply[30] != gSequence) {
            gCommand[1] = 'Q'; // bytes 2..5 as left: byte 5 still carries the sequence
            FDevice.UsbWrite(usb::PacketSize, gCommand.data());
        }
    }
    FDevice.UsbClose();
    return result;
}

bool TMeterLink::PollStatus()
{
    return StatusCommand(true);
}

bool TMeterLink::ReadStatus()
{
    return StatusCommand(false);
}

int TMeterLink::Handshake(uint8_t command, uint8_t firstMarker, uint8_t lastMarker)
{
    if (!CheckLink())
        return LinkNoAnswer;
    if (int code = OpenLink(); code != LinkOk)
        return code;
    gCommand[0] = 0x02;
    gCommand[1] = command;
    gCommand[6] = 0x03;
    if (FDevice.UsbWrite(usb::PacketSize, gCommand.data()) != usb::UsbOk)
        return LinkWriteFailed;
    FDevice.UsbEndWrite();
    if (FDevice.UsbRead(usb::ReplySize, gReply.data()) != usb::UsbOk)
        return LinkReadFailed;
    return gReply[0] == firstMarker && gReply[31] == lastMarker ? LinkOk : LinkBadMarkers;
}

int TMeterLink::HandshakeSpl()
{
    return Handshake('P', 4, 5);
}

int TMeterLink::HandshakeLeq()
{
    return Handshake('Z', 6, 7);
}

int TMeterLink::SendAndMaybeRead(const TCommandPacket &packet, TReplyBlock *reply)
{
    // The link check below rewrites gCommand; a caller may have passed it.
    const TCommandPacket sent = packet;
    WaitLinkIdle();
    if (!CheckLink())
        return LinkNoAnswer;
    if (int code = OpenLink(); code != LinkOk)
        return code;
    if (FDevice.UsbWrite(usb::PacketSize, sent.data()) != usb::UsbOk)
        return LinkWriteFailed;
    FDevice.UsbEndWrite();
    if (reply == nullptr)
        return LinkOk;
    Delay(ReplyPauseMs);
    if (FDevice.UsbRead(usb::ReplySize, reply->data()) != usb::UsbOk)
        return LinkReadFailed;
    return LinkOk;
}

int TMeterLink::Transact(const TCommandPacket &packet, TReplyBlock &reply)
{
    return SendAndMaybeRead(packet, &reply);
}

int TMeterLink::SendPacket(const TCommandPacket &packet)
{
    return SendAndMaybeRead(packet, nullptr);
}

bool TMeterLink::QueryCommand(uint8_t command)
{
    bool result = true;
    if (OpenLink() != LinkOk) {
        result = false;
    } else {
        gCommand[0] = 0x02;
        gCommand[1] = command;
        gCommand[6] = 0x03;
        FDevice.UsbWrite(usb::PacketSize, gCommand.data());
        FDevice.UsbEndWrite();
        if (FDevice.UsbRead(usb::ReplySize, gReply.data()) != usb::UsbOk)
            result = false;
    }
    FDevice.UsbClose();
    return result;
}

bool TMeterLink::SendKey(uint8_t command)
{
    if (OpenLink() != LinkOk)
        return false;
    gCommand[0] = 0x02;
    gCommand[1] = command;
    gCommand[6] = 0x03;
    FDevice.UsbWrite(usb::PacketSize, gCommand.data());
    FDevice.UsbClose();
    return true;
}

int TMeterLink::WriteCommand(uint8_t command)
{
    gCommand[0] = 0x02;
    gCommand[1] = command;
    gCommand[6] = 0x03;
    return FDevice.UsbWrite(usb::PacketSize, gCommand.data()) == usb::UsbOk ? LinkOk
                                                                            : LinkWriteFailed;
}

int TMeterLink::ReadBlock()
{
    return FDevice.UsbRead(usb::ReplySize, gReply.data()) == usb::UsbOk ? LinkOk : LinkReadFailed;
}

TKeyResult TMeterLink::PressKey(uint8_t key)
{
    if (FGuard.Held())
        return TKeyResult::Ignored;
    return SendKey(key) ? TKeyResult::Sent : TKeyResult::OpenFailed;
}

void TMeterLink::WaitLinkIdle()
{
    rtl::Clock &clock = rtl::GetClock();
    const int64_t start = clock.MonotonicMs();
    while (gUsbBusy && clock.MonotonicMs() - start < BusyWaitLimitMs)
        clock.SleepMs(1);
    DisableMainTimer();
}

void TMeterLink::EnableMainTimer()
{
    if (FMainTimer != nullptr)
        FMainTimer->SetMainTimerEnabled(true);
}

void TMeterLink::DisableMainTimer()
{
    if (FMainTimer != nullptr)
        FMainTimer->SetMainTimerEnabled(false);
}

TLinkOperation::TLinkOperation(TMeterLink &link, const std::string &holder)
    : FLink(link), FHold(holder, link.Guard())
{
    if (FHold.Acquired())
        FLink.WaitLinkIdle();
}

TLinkOperation::~TLinkOperation()
{
    if (FHold.Acquired()) {
        FLink.EnableMainTimer();
        FHold.Release();
    }
}

} // namespace meter
