#include "meter/main_timer.h"

#include <exception>

namespace meter {

namespace {

// Sets a flag for a scope and clears it on every way out, so that a failing
// sink cannot leave the link marked busy for good.
class TBusyScope {
public:
    explicit TBusyScope(bool &flag) : FFlag(flag) { FFlag = true; }
    ~TBusyScope() { FFlag = false; }
    TBusyScope(const TBusyScope &) = delete;
    TBusyScope &operator=(const TBusyScope &) = delete;

private:
    bool &FFlag;
};

} // namespace

TMainTimerLogic::TMainTimerLogic(TMeterLink &link, TMainTimerSink &sink) : FLink(link), FSink(sink)
{
}

void TMainTimerLogic::MainTimerTimer()
{
    if (FLink.Guard().Held())
        return; // an operation owns the link; its end switches the timer back on
    TBusyScope busy(FLink.gUsbBusy);
    if (!gConnected) {
        if (FLink.QueryCommand('K') && IsMeterIdentity(FLink.gReply))
            Connect();
        return;
    }
    if (FLink.ReadStatus()) {
        gPollFailures = 0;
        if (StatusMarkersValid(FLink.gReply))
            DecodeReading();
    } else if (++gPollFailures >= MaxPollFailures) {
        Disconnect();
    }
}

void TMainTimerLogic::Connect()
{
    FSink.SetStatusText(0, "");
    FSink.SetStatusText(1, "On Connection");
    gConnected = true;
    gPollFailures = 0;
    if (FSink.PanelExists()) {
        FSink.SetPanelLabelVisible(TPanelLabel::lblNoConnection, false);
        FSink.SetPanelLabelVisible(TPanelLabel::lblTime, true);
    }
    FSink.SetCommandVisible(TMeterCommand::DataLogger1, true);
    FSink.SetCommandEnabled(TMeterCommand::DataLogger1, true);
    FSink.SetCommandVisible(TMeterCommand::btnDataLogger, true);
    FSink.SetCommandEnabled(TMeterCommand::btnDataLogger, true);
    const bool running = FSink.RealTimeRunning();
    FSink.SetCommandEnabled(TMeterCommand::btnRun, !running);
    FSink.SetCommandEnabled(TMeterCommand::Run1, !running);
    FSink.SetCommandEnabled(TMeterCommand::btnStop, running);
    FSink.SetCommandEnabled(TMeterCommand::Stop1, running);
    FSink.SetCommandEnabled(TMeterCommand::tbntClr, !running);
}

void TMainTimerLogic::Disconnect()
{
    // Sampling would go on plotting the last reading with Stop disabled.
    if (FSink.RealTimeRunning())
        FSink.StopRealTimeSampling();
    for (TMeterCommand c :
         {TMeterCommand::btnRun, TMeterCommand::Run1, TMeterCommand::btnStop, TMeterCommand::Stop1,
          TMeterCommand::btnDataLogger, TMeterCommand::DataLogger1})
        FSink.SetCommandEnabled(c, false);
    FSink.SetStatusText(0, "");
    if (FSink.PanelExists())
        FSink.SetPanelLabelVisible(TPanelLabel::lblNoConnection, true);
    gConnected = false;
    gPollFailures = 0;
    FSink.SetStatusText(1, FSink.StringById("IDS_115"));
}

void TMainTimerLogic::DecodeReading()
{
    const TStatusDisplay d = DecodeStatus(FLink.gReply, gClockLastSecond);
    gMeterRecording = d.meterRecording;
    gMeterLeqMode = d.meterLeqMode;
    if (d.clockReset)
        FLink.gReply[15] = FLink.gReply[16] = FLink.gReply[17] = 1;
    gClockLastSecond = d.clockLastSecond;
    // The reading is kept whatever becomes of the drawing below.
    gCurrentLevel = d.currentLevel;
    ++gReadingNumber;

    if (FSink.PanelExists()) {
        try {
            FSink.DrawReading(d);
        } catch (const std::exception &) {
            try {
                FSink.DrawBlankDigits();
            } catch (const std::exception &) {
                // Nothing more to draw with; the MAX/MIN step still runs.
            }
        }
        switch (d.maxMin) {
        case TMaxMinAction::HideLabels:
            SetMaxMinTimer(false);
            FSink.SetPanelLabelVisible(TPanelLabel::lblMAX, false);
            FSink.SetPanelLabelVisible(TPanelLabel::lblMIN, false);
            break;
        case TMaxMinAction::StopTimer:
            SetMaxMinTimer(false);
            break;
        case TMaxMinAction::ShowMax:
            FSink.SetPanelLabelVisible(TPanelLabel::lblMAX, true);
            FSink.SetPanelLabelVisible(TPanelLabel::lblMIN, false);
            SetMaxMinTimer(false);
            break;
        case TMaxMinAction::ShowMin:
            FSink.SetPanelLabelVisible(TPanelLabel::lblMAX, false);
            FSink.SetPanelLabelVisible(TPanelLabel::lblMIN, true);
            SetMaxMinTimer(false);
            break;
        case TMaxMinAction::Blink:
            if (!FMaxMinTimerEnabled)
                SetMaxMinTimer(true);
            break;
        case TMaxMinAction::NoChange:
            break;
        }
    }
}

void TMainTimerLogic::FeedReading(const TReplyBlock &reply)
{
    gCurrentLevel = DecodeStatus(reply, gClockLastSecond).currentLevel;
    ++gReadingNumber;
}

void TMainTimerLogic::MaxMinTimerTimer()
{
    TBusyScope updating(gPanelUpdating);
    gMaxMinBlink = !gMaxMinBlink;
    if (FSink.PanelExists()) {
        FSink.SetPanelLabelVisible(TPanelLabel::lblMAX, gMaxMinBlink);
        FSink.SetPanelLabelVisible(TPanelLabel::lblMIN, gMaxMinBlink);
    }
}

void TMainTimerLogic::SetMaxMinTimer(bool enabled)
{
    FMaxMinTimerEnabled = enabled;
    FSink.SetMaxMinTimerEnabled(enabled);
}

} // namespace meter
