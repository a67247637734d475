#include "meter/logger_download.h"

#include <new>

namespace meter {

int LoggerMemorySize(uint32_t lastAddress)
{
    int64_t size = int64_t(lastAddress) + 1;
    if (size > LoggerMaxSize || size < LoggerMinSize)
        size = LoggerMaxSize;
    size = (size + usb::ReplySize - 1) / usb::ReplySize * usb::ReplySize;
    return static_cast<int>(size);
}

namespace {

// Closes the progress window however the transfer ends.
class TProgressScope {
public:
    explicit TProgressScope(TDownloadView &view) : FView(view) {}
    ~TProgressScope() { FView.CloseDownloadProgress(); }
    TProgressScope(const TProgressScope &) = delete;
    TProgressScope &operator=(const TProgressScope &) = delete;

private:
    TDownloadView &FView;
};

} // namespace

int DownloadLogger(TMeterLink &link, TLoggerImage &image, int &lastAddress, TDownloadView &view)
{
    link.WaitLinkIdle();
    TProgressScope progress(view);

    view.SetHourglass(true);
    int code = LinkNoAnswer;
    for (int i = 0; i < HandshakeTries && code != LinkOk; ++i)
        code = link.HandshakeSpl();
    view.SetHourglass(false);
    if (code != LinkOk)
        return code;

    const TReplyBlock &reply = link.gReply;
    const uint32_t last = uint32_t(reply[11]) << 16 | uint32_t(reply[12]) << 8 | reply[13];
    lastAddress = static_cast<int>(last);
    const int size = LoggerMemorySize(last);
    try {
        image.reserve(image.size() + static_cast<size_t>(size));
    } catch (const std::bad_alloc &) {
        return DownloadSizeFailed;
    }

    view.ShowDownloadProgress(size);
    int received = usb::ReplySize;
    int remaining = size - usb::ReplySize;
    image.insert(image.end(), reply.begin(), reply.end());

    usb::UsbDevice &device = link.Device();
    TCommandPacket &packet = link.gCommand;
    while (remaining != 0) {
        packet[1] = 'p';
        if (device.UsbWrite(usb::PacketSize, packet.data()) != usb::UsbOk) {
            device.UsbClose();
            return DownloadRequestFailed;
        }
        if (device.UsbRead(usb::ReplySize, link.gReply.data()) != usb::UsbOk) {
            device.UsbClose();
            return DownloadReadFailed;
        }
        remaining -= usb::ReplySize;
        received += usb::ReplySize;
        image.insert(image.end(), reply.begin(), reply.end());
        view.DownloadProgressed(received);
    }
    packet[1] = 'q';
    if (device.UsbWrite(usb::PacketSize, packet.data()) != usb::UsbOk)
        return DownloadEndFailed;
    return LinkOk;
}

} // namespace meter
