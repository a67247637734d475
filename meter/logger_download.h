// The sound-level logger download: the handshake 'P' (up to 15 tries), the
// memory size taken from its reply, then one 'p' request and one 32-byte
// block per 32 bytes of memory, and 'q' at the end.
//
// The handshake reply is the image's first 32 bytes; its bytes 11..13 hold
// the last used address L. The size is L + 1, read whole (131,072 bytes)
// when that lies below 256 or above 131,072, and rounded up to a multiple of
// 32. The block requests change only the command byte of gCommand, so they
// carry bytes 2..5 as the packet holds them; no end-of-write call and no
// pause come between a request and its read.
//
// The caller (the main window's "Load SPL Data") holds the link guard for
// the whole download; between blocks the view lets pending window messages
// run, which the guard keeps from starting other link work.
#pragma once

#include "meter/link.h"
#include "meter/logger_image.h"

#include <cstdint>

namespace meter {

// Result codes of the transfer besides 0 and the handshake's link codes.
constexpr int DownloadSizeFailed = 122;    // the memory size could not be taken in
constexpr int DownloadRequestFailed = 123; // writing a block request failed
constexpr int DownloadReadFailed = 124;    // reading a block failed
constexpr int DownloadEndFailed = 125;     // writing the end request failed

constexpr int HandshakeTries = 15;
constexpr int LoggerMinSize = 256;
constexpr int LoggerMaxSize = 131072;

// The number of bytes a download reads for a last used address.
int LoggerMemorySize(uint32_t lastAddress);

// What the transfer shows while it runs.
class TDownloadView {
public:
    virtual ~TDownloadView() = default;
    // The hourglass cursor during the handshakes.
    virtual void SetHourglass(bool on) = 0;
    // The progress window for total bytes, "0" received.
    virtual void ShowDownloadProgress(int total) = 0;
    // Bytes received so far; lets pending window messages run.
    virtual void DownloadProgressed(int received) = 0;
    // Closes the progress window when there is one.
    virtual void CloseDownloadProgress() = 0;
};

// Runs the transfer on the link, appending to image and setting
// lastAddress. Waits for the busy flag and switches MainTimer off; leaves it
// off (the caller enables it when its whole command is over). Returns 0, the
// last handshake's link code, or 122..125. After 123 and 124 the link is
// closed; after a complete transfer it stays open.
int DownloadLogger(TMeterLink &link, TLoggerImage &image, int &lastAddress, TDownloadView &view);

} // namespace meter
