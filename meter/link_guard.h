// The one program-wide "link operation in progress" guard.
//
// Everything runs on the GUI thread, but long link work lets window messages
// run in the middle of it: the logger download between blocks, the LEQ-record
// load between blocks, and a LEQ measurement for its whole run (its exchanges
// happen in timer ticks). Without a guard a second command started from a
// menu, a panel key or a window close would run in the middle of a transfer,
// close and reopen the device under it, overwrite the shared packet and reply
// buffers, or free the window the transfer writes into.
//
// How later work must hold it:
// - The logger download, the LEQ-record load, the memory erase, every set-up
//   command (clock, interval, information, EEPROM read and write) and a LEQ
//   run hold the guard for the whole operation. Acquire it first, before
//   waiting for gUsbBusy and switching MainTimer off (TLinkOperation in
//   meter/link.h does all three and undoes them in reverse order), and
//   release it only after the operation's last exchange and after MainTimer
//   is enabled again. A LEQ run acquires at Start and releases at every end
//   of the run (count-down over, too many failures, Stop, window closed).
// - A command whose checks refuse it before it touches the link (not
//   connected, meter recording, password wrong) does not need the guard.
// - Acquiring fails while the guard is held: the second command must then do
//   nothing at all (no message is needed; the first operation is visibly
//   running). It must not wait: waiting inside a message handler would never
//   end, because the holder can only finish after the handler returns.
// - Register every window the operation writes into with Protect() (the
//   "DataLogger" graph window, the LEQ list window, the LEQ window, the
//   set-up window, the progress window). Such a window's close request asks
//   CanClose(this) and ignores the close while it is false. The main window
//   refuses its own close while Held().
//
// What it refuses while held:
// - a second guarded operation (TryAcquire returns false);
// - panel keys: TMeterLink::PressKey ignores them without touching the link;
// - the MainTimer tick: TMainTimerLogic::MainTimerTimer returns at once;
// - closing a protected window, and closing the main window.
#pragma once

#include <string>
#include <vector>

namespace meter {

class TLinkGuard {
public:
    // The program's guard.
    static TLinkGuard &Instance();

    TLinkGuard() = default;
    TLinkGuard(const TLinkGuard &) = delete;
    TLinkGuard &operator=(const TLinkGuard &) = delete;

    // True while an operation holds the link.
    bool Held() const { return FHeld; }
    // The name the holder gave ("" when free), for diagnostics.
    const std::string &Holder() const { return FHolder; }

    // Takes the guard for holder; false, changing nothing, when it is held.
    bool TryAcquire(const std::string &holder);
    // Gives the guard back and forgets the protected windows. Harmless when free.
    void Release();

    // Marks a window the current operation writes into; ignored when free.
    void Protect(const void *window);
    bool Protects(const void *window) const;
    // A window may close unless the running operation writes into it.
    bool CanClose(const void *window) const { return !Protects(window); }

private:
    bool FHeld = false;
    std::string FHolder;
    std::vector<const void *> FProtected;
};

// Holds the guard for a scope. Check Acquired() right after construction and
// do nothing when it is false.
class TLinkHold {
public:
    explicit TLinkHold(const std::string &holder, TLinkGuard &guard = TLinkGuard::Instance());
    ~TLinkHold();
    TLinkHold(const TLinkHold &) = delete;
    TLinkHold &operator=(const TLinkHold &) = delete;

    bool Acquired() const { return FAcquired; }
    explicit operator bool() const { return FAcquired; }
    void Protect(const void *window);
    // Gives the guard back before the scope ends.
    void Release();

private:
    TLinkGuard &FGuard;
    bool FAcquired;
};

} // namespace meter
