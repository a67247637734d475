// Real-time sampling: the program's current reading, kept up to date by the
// status poll, becomes a time series in subset 0 of the "Real-Time Graph"
// window's chart (X = the sample's date-time in XDataII, Y = the level in dB
// in YData, Points = the capacity of the run).
//
// The main window owns one TRealTimeLogic next to its TMainTimerLogic, runs
// btnRunClick and btnStopClick from Run and Stop, RealTime_TimerTimer from
// its 1-second RealTime_Timer, and implements TRealTimeSink to reach the set-up
// dialog, the graph window and its chart. Sampling never talks to the meter.
//
// A run:  Run -> (save question) -> set-up dialog -> chart emptied -> wait for
//         the start of a second -> first sample -> one sample every
//         "rate" ticks (at least one tick) -> Stop, or stop by itself when
//         the chart is full.
// Each sample passes the glitch filter (a reading outside 20..140 dB is
// replaced by the last good one when that is above 30 dB, else skipped),
// updates the maximum and minimum with their times and is appended.
// While a LEQ run reads the meter in place of the status poll, its readings
// are the current reading, and a sample for which no new reading came since
// the last sample is not taken: the graph holds only levels the meter gave.
#pragma once

#include "meter/main_timer.h"
#include "platform/rtl/datetime.h"

#include <string>

namespace meter {

// The highest sampling rate (seconds per sample) a run takes: one day.
constexpr double MaxRealTimeRate = 86400.0;
// The rate used when a stored or typed one is out of range.
constexpr double DefaultRealTimeRate = 1.0;

// A rate a run can use: finite, above 0 and at most one day.
bool ValidRealTimeRate(double rate);
// The stored "RealTimeRate" as the program uses it: out of range reads as 1.0.
double UsableRealTimeRate(double stored);

// The date-time text of a sample time, one second later when its millisecond
// part is above 500.
std::string FormatSampleTime(rtl::TDateTime t);

// The recording period the set-up dialog shows while it is edited:
// count x rate seconds rounded to the nearest second, as hours (no leading
// zeros, no limit), minutes and seconds (two digits each): "833:19:30".
// The count text is trimmed and read as a decimal integer (0 when it does not
// read); the rate is read in single precision with the settings' decimal
// separator. A rate that does not read gives "0:00:00".
std::string RecordingPeriodText(const std::string &countText, const std::string &rateText);
// The period the dialog opens with: 2000 readings at the rate, as hours,
// minutes and seconds without leading zeros ("1:0:0" for 1.8 s).
std::string InitialPeriodText(double rate);

// The answer of a confirmation box.
enum class TAnswer { Yes, No, Cancel };

// The set-up dialog's fields: filled by the logic before it is shown,
// read back when it closes with Start.
struct TRealTimeSetup {
    std::string rateText;   // txtRate
    std::string periodText; // edtPeriod
    std::string countText;  // edtRealTimeNo, as the user left it
};

// The statistics texts of the graph window that sampling writes.
enum class TRealTimeText {
    txtStartTime,
    txtDataNo,
    txtMax,
    txtMaxTime,
    txtMin,
    txtMinTime,
    txtAvgAll
};

// The chart of the real-time graph window, by the chart's property names.
// Data arrays take (subset, point); -1 as the point addresses every point.
class TRealTimeChart {
public:
    virtual ~TRealTimeChart() = default;
    virtual int GetPoints() = 0;
    virtual void SetPoints(int points) = 0;
    virtual int GetSubsets() = 0;
    virtual double GetXDataII(int subset, int point) = 0;
    virtual void SetXDataII(int subset, int point, double value) = 0;
    virtual void SetYDataII(int subset, int point, double value) = 0;
    virtual float GetYData(int subset, int point) = 0;
    virtual void SetYData(int subset, int point, float value) = 0;
    virtual double GetManualMaxX() = 0;
    virtual void SetManualMinX(double value) = 0;
    virtual void SetManualMaxX(double value) = 0;
    // The redraw after a change: GXnarg1 := 0, GXnarg2 := 0, then the actions
    // sgResetImage and sgInvalidateImage.
    virtual void Repaint() = 0;
};

// What sampling needs of the main window and of the "Real-Time Graph" window.
// The other graph calls come only while RealTimeGraphExists() is true.
class TRealTimeSink {
public:
    virtual ~TRealTimeSink() = default;

    // ---- the main window
    // The text of one of the main window's string ids in the active language.
    virtual std::string StringById(const std::string &id) = 0;
    // Run, Stop and the graph's Clear button (btnRun, Run1, btnStop, Stop1, tbntClr).
    virtual void SetCommandEnabled(TMeterCommand command, bool enabled) = 0;
    virtual void SetRealTimeTimerEnabled(bool enabled) = 0;
    // A confirmation box with Yes, No and Cancel.
    virtual TAnswer Confirm(const std::string &text) = 0;
    virtual void ShowMessage(const std::string &text) = 0;
    // Shows the set-up dialog filled from setup, modally; true when it closed
    // with Start, and then setup holds what the user left in it.
    virtual bool RunSetupDialog(TRealTimeSetup &setup) = 0;

    // ---- the real-time graph window
    virtual bool RealTimeGraphExists() = 0;
    // Creates the window (CreateRealTimeGraph: its chart set up for 2000 samples).
    virtual void OpenRealTimeGraph() = 0;
    // Window state normal; the window gets the focus.
    virtual void RestoreRealTimeGraph() = 0;
    virtual void FocusRealTimeGraph() = 0;
    // The save dialog for the graph's chart; true when the chart was saved.
    virtual bool SaveRealTimeGraph() = 0;
    // The window's chart; nullptr without the window.
    virtual TRealTimeChart *RealTimeChart() = 0;
    // The graph's sampling-rate box: its text, and the choice of the entry
    // nearest a rate (1.0, 2.0, 5.0, 10.0, 20.0, 30.0 s; none from 30.5 s on).
    // A choice made here is not the user's and sets no rate.
    virtual std::string SamplingRateText() = 0;
    virtual void SelectSamplingRate(double rate) = 0;
    virtual void SetStatisticText(TRealTimeText text, const std::string &value) = 0;
    // Empties every statistics text of the window (the whole set's and the cursors').
    virtual void ClearStatistics() = 0;
    // The slider under the chart: range and both thumbs.
    virtual void SetSlider(int minimum, int maximum, int value1, int value2) = 0;
};

class TRealTimeLogic {
public:
    // The date-time of one second, and the spans the time axis starts with
    // and widens by.
    static constexpr double OneSecond = 1.0 / 86400.0;
    static constexpr double StartSpan = 100.0 / 86400.0;
    static constexpr double WidenSpan = 30.0 / 86400.0;
    static constexpr float GlitchHigh = 140.0F;
    static constexpr float GlitchLow = 20.0F;
    static constexpr float ReplaceAbove = 30.0F; // a glitch takes the last good level above this
    static constexpr int InitialPoints = 2000;   // the period the dialog opens with

    // poll is the status poll whose reading (gCurrentLevel) and connection
    // state the run follows.
    TRealTimeLogic(TMainTimerLogic &poll, TRealTimeSink &sink);

    // Run: the save question, the set-up dialog, then the start of a run.
    void btnRunClick();
    // Stop (also when the chart is full or the meter is gone): the run ends,
    // the chart keeps the samples taken, the mean and the slider follow them.
    void btnStopClick();
    // One RealTime_Timer tick.
    void RealTime_TimerTimer();
    // Takes one sample of the current reading.
    void PlotReading();
    // The meter stopped answering: a running sampling stops, its samples stay.
    void MeterDisconnected();

    bool gRealTimeRunning = false;
    double gRealTimeRate = DefaultRealTimeRate; // seconds (timer ticks) per sample
    int gRateTicks = 0;                         // ticks since the last sample
    int gRealTimeCount = 0;                     // samples since the start
    float gLastGoodLevel = 0;                   // the last reading that passed the filter
    int gGlitchCount = 0;                       // readings outside 20..140 dB since the start
    float gRealTimeMax = -9999.0F;
    float gRealTimeMin = 9999.0F;
    rtl::TDateTime gRealTimeMaxTime = 0;
    rtl::TDateTime gRealTimeMinTime = 0;
    bool gRealTimeUnsaved = false; // set by every sample; cleared by closing the window

private:
    // Empties the chart for a run of points samples and starts it.
    void StartRun(int points);
    // Waits, without processing messages, for the start of a second.
    static void WaitForSecondStart();
    void SetRunCommands(bool running);
    // The graph window's chart; nullptr without the window.
    TRealTimeChart *Chart();

    TMainTimerLogic &FPoll;
    TRealTimeSink &FSink;
    unsigned FSampledReading = 0; // the poll's reading number at the last sample
};

} // namespace meter
