// The logic of the main window's two 500 ms timers: MainTimer, which looks
// for the meter (identify 'K') until it answers with its model number and
// then polls its status ('A') and decodes each reply, and MaxMinTimer, which
// blinks the panel's MAX and MIN labels while the meter alternates between
// maximum and minimum.
//
// The main window owns one TMainTimerLogic, calls MainTimerTimer and
// MaxMinTimerTimer from its QTimers' ticks, and implements TMainTimerSink
// to show the results: status bar texts, the enabled state of the
// acquisition commands, and the front panel when one exists.
//
// Connection states, one step per tick:
//   not connected, 'K' answered with "4820"   -> connect actions, connected
//   not connected, 'K' fails or other digits  -> nothing
//   connected, status read succeeds            -> failures = 0; decode if the
//                                                 markers are 0x02/0x03
//   connected, read fails (1st..4th in a row)  -> nothing
//   connected, read fails the 5th time in a row -> disconnect actions (a
//                                                 running sampling stops first)
//
// The current reading (gCurrentLevel) is the level of the last status reply
// decoded. While another link user reads the status in place of the poll (a
// LEQ run holds the link), that user feeds each reply it reads through
// FeedReading; gReadingNumber counts the readings, so that a sample taken
// meanwhile can tell a new reading from one it has already taken.
#pragma once

#include "meter/link.h"
#include "meter/status.h"

#include <string>

namespace meter {

// Commands the tick enables, disables or shows, by component name.
enum class TMeterCommand {
    btnRun,
    Run1,
    btnStop,
    Stop1,
    btnDataLogger,
    DataLogger1,
    tbntClr, // the clear button of the real-time graph window, when it exists
};

// Labels of the front panel the tick shows or hides.
enum class TPanelLabel { lblNoConnection, lblTime, lblMAX, lblMIN };

class TMainTimerSink {
public:
    virtual ~TMainTimerSink() = default;
    // Status bar panel 0 or 1.
    virtual void SetStatusText(int panel, const std::string &text) = 0;
    // The text of a string id ("IDS_115") in the active language.
    virtual std::string StringById(const std::string &id) = 0;
    virtual void SetCommandVisible(TMeterCommand command, bool visible) = 0;
    virtual void SetCommandEnabled(TMeterCommand command, bool enabled) = 0;
    // Real-time sampling runs (gRealTimeRunning).
    virtual bool RealTimeRunning() = 0;
    // The meter stopped answering while sampling runs: the run stops (its
    // samples stay), before the tick disables Run and Stop.
    virtual void StopRealTimeSampling() = 0;
    // Whether the front panel window exists; the panel calls below come
    // only while it does.
    virtual bool PanelExists() = 0;
    virtual void SetPanelLabelVisible(TPanelLabel label, bool visible) = 0;
    // Indicators, recording and mode symbols, main digits, the clock fields
    // that changed, the range labels "30" and "130" and the level bar width.
    // An error it raises is absorbed by the decoding, which then blanks the
    // main digits (DrawBlankDigits) and goes on with the MAX/MIN step.
    virtual void DrawReading(const TStatusDisplay &display) = 0;
    // All four main digits show the blank glyph.
    virtual void DrawBlankDigits() = 0;
    virtual void SetMaxMinTimerEnabled(bool enabled) = 0;
};

class TMainTimerLogic {
public:
    static constexpr int MaxPollFailures = 5;

    TMainTimerLogic(TMeterLink &link, TMainTimerSink &sink);

    // One MainTimer tick. Does nothing while a link operation holds the
    // guard; otherwise sets gUsbBusy for its whole length.
    void MainTimerTimer();
    // Decodes gReply as a status reply (called by the tick).
    void DecodeReading();
    // One MaxMinTimer tick.
    void MaxMinTimerTimer();

    // Another link user (a LEQ run) reads the status while the poll is off:
    // BeginFedReadings when it takes the link, FeedReading with each status
    // reply it reads (its level becomes the current reading, decoded as the
    // poll decodes it; the panel stays as it is), EndFedReadings when it
    // gives the link back.
    void BeginFedReadings() { FFedReadings = true; }
    void FeedReading(const TReplyBlock &reply);
    void EndFedReadings() { FFedReadings = false; }
    bool ReadingsFed() const { return FFedReadings; }

    bool gConnected = false;
    int gPollFailures = 0;
    bool gMeterRecording = false; // the download, erase and LEQ commands refuse while set
    bool gMeterLeqMode = false;
    float gCurrentLevel = 0;     // dB
    unsigned gReadingNumber = 0; // readings decoded into gCurrentLevel so far (wraps)
    uint8_t gClockLastSecond = 0;
    bool gMaxMinBlink = false;
    bool gPanelUpdating = false; // true while a MaxMinTimer tick updates the panel

    bool MaxMinTimerEnabled() const { return FMaxMinTimerEnabled; }

private:
    void Connect();
    void Disconnect();
    void SetMaxMinTimer(bool enabled);

    TMeterLink &FLink;
    TMainTimerSink &FSink;
    bool FMaxMinTimerEnabled = false;
    bool FFedReadings = false;
};

} // namespace meter
