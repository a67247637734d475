// The timed LEQ measurement: the run state, its start and stop, and the
// 40 ms LEQTimer tick.
//
// A run opens the link once and keeps it open; every tick sends the status
// command 'A' on it and reads one reply. Readings in the same second of the
// meter's clock are averaged; each completed second becomes one row of the
// LEQ window's table (number, date, time, mean level, running Leq) and
// counts the period down. Every reading is written to the log "LEQ.txt" as
// "<time>\t<level>\r\n"; a log that cannot be made, or a write that fails,
// ends the log (the user is told), not the run. The run ends when the period is over, after more
// than 50 failed reads (a reply without the status markers is one), on Stop, or when the LEQ window
// closes.
//
// The main window owns one TLeqRun, calls LEQTimerTimer from its LEQTimer
// and implements TLeqSink to show the results in the LEQ window. A run holds
// the link guard from Start to its end, so no other link command, no status
// poll and no panel key touches the link meanwhile. With the poll off, the
// run's own readings become the program's current reading (the status poll's
// FeedReading), which real-time sampling takes.
//
// The running Leq over n completed seconds:
//   Leq(1) = M(1)
//   Leq(n) = 10 log10((n-1)/n 10^(Leq(n-1)/10) + 1/n 10^(M(n)/10))
// computed as m + 10 log10(a 10^((x-m)/10) + b 10^((y-m)/10)), m = max(x, y),
// so that large level words do not overflow. A second whose only reading
// is the one that opened it still counts in n but leaves Leq as it was.
#pragma once

#include "meter/link.h"
#include "meter/main_timer.h"

#include <memory>
#include <string>

namespace rtl {
class TStream;
}

namespace meter {

// The edit boxes of the LEQ window the tick writes.
enum class TLeqField {
    edtLEQrate,  // readings per second, "25/sec"
    edtLEQValue, // the running Leq
    edtTimeLeft, // the count-down, "h:m:s"
};

class TLeqSink {
public:
    virtual ~TLeqSink() = default;
    // Whether the LEQ window exists; the table and edit box calls come only
    // while it does.
    virtual bool LeqWindowExists() = 0;
    // The table: row 0 is the header row, columns 0..4.
    virtual void SetLeqRowCount(int count) = 0;
    virtual void SetLeqCell(int col, int row, const std::string &text) = 0;
    // Scrolls the table so that its last row is in view at the bottom.
    virtual void ShowLeqLastRow() = 0;
    virtual void SetLeqText(TLeqField field, const std::string &text) = 0;
    // The main window's LEQTimer.
    virtual void SetLeqTimerEnabled(bool enabled) = 0;
    // Shows the text of one of the main window's string ids.
    virtual void LeqMessage(const std::string &id) = 0;
    // The log could not be written to: it stopped, the run goes on. Told
    // once a run, with the log's name and the system's reason.
    virtual void LeqLogStopped(const std::string &fileName, const std::string &reason) = 0;
    // The log could not be made at the start: the run goes on without it.
    // Told once, with the log's name and the system's reason.
    virtual void LeqLogNotCreated(const std::string &fileName, const std::string &reason) = 0;
};

// "h:m:s" without leading zeros (299 -> "0:4:59").
std::string LeqTimeLeftText(int seconds);

// The running Leq after one more second of mean level M, n seconds counted
// with it; the previous Leq when the result is not a finite number.
float NextLeq(float previous, float mean, int n);

class TLeqRun {
public:
    static constexpr int MaxFailures = 50; // the 51st failed read ends the run

    // readings: the status poll whose current reading the run's readings
    // keep up to date while it holds the link (none: they go nowhere else).
    TLeqRun(TMeterLink &link, TLeqSink &sink, TMainTimerLogic *readings = nullptr);
    ~TLeqRun();
    TLeqRun(const TLeqRun &) = delete;
    TLeqRun &operator=(const TLeqRun &) = delete;

    // Starts a run of periodSeconds meter seconds (a restart when one runs):
    // truncates the log logFile (no log when it cannot be made, which is
    // told), opens the link, empties the table and switches LEQTimer on. False, and nothing
    // touched, while another link operation holds the guard.
    bool Start(int periodSeconds, const std::string &logFile);
    // Ends a run: LEQTimer off, MainTimer on, log closed, guard released.
    // Does nothing when no run is going.
    void Stop();
    // One LEQTimer tick; nothing when no run is going.
    void LEQTimerTimer();

    bool Running() const { return FRunning; }
    bool LogOpen() const { return FLog != nullptr; }

    // The run state.
    int gLeqSecondsLeft = 0; // count-down, one per completed meter second
    int gLeqRow = 1;         // the table row the next completed second fills
    int gLeqSeconds = 0;     // completed seconds (n of the energy average)
    int gLeqSamples = 0;     // readings summed for the current second
    int gLeqSum = 0;         // their level words (0.1 dB)
    float gLeqValue = 0;     // running Leq, dB
    bool gLeqStarted = false;
    int gLeqFailures = 0; // failed reads in this run (a good read does not reset it)
    uint8_t gLeqLastSecond = 0;
    std::string gLeqLastDate, gLeqLastTime;

private:
    void Tick();
    void CloseLog();
    void WriteLog(const std::string &line);
    void CountFailure();
    void End();
    void CloseSecond(uint8_t second, const std::string &date, const std::string &time);

    TMeterLink &FLink;
    TLeqSink &FSink;
    TMainTimerLogic *FReadings;
    bool FRunning = false;
    std::unique_ptr<rtl::TStream> FLog; // gLeqLog
    std::string FLogName;
    std::string FLogFailure; // why the log stopped, until the user is told
};

} // namespace meter
