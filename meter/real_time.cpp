#include "meter/real_time.h"

#include "platform/rtl/numbers.h"
#include "platform/rtl/sysutils.h"

#include <cmath>
#include <cstdint>

namespace meter {

namespace {

// Longest wait for the start of a second; a clock that does not move must
// not hang the program.
constexpr int64_t kSecondWaitLimitMs = 2000;
constexpr int kStartMillisecond = 20; // the wait ends at this millisecond part or earlier
// Periods above this many seconds come only from rates no run takes.
constexpr double kLongestPeriod = 99999.0 * MaxRealTimeRate + 1.0;

// A count as the dialog's mask edit holds it: decimal digits only, blanks
// around them allowed; false for anything else and for values beyond int.
bool ReadCount(const std::string &text, int &count)
{
    const std::string digits = rtl::Trim(text);
    if (digits.empty() || digits.size() > 9)
        return false;
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    count = value;
    return true;
}

// The last two characters of "00" followed by the number.
std::string TwoDigits(int64_t n)
{
    const std::string s = "00" + rtl::IntToStr(n);
    return s.substr(s.size() - 2);
}

// count x rate + 0.5 seconds, truncated; -1 when the product is no period.
int64_t PeriodSeconds(double count, double rate)
{
    const double seconds = count * rate + 0.5;
    if (!std::isfinite(seconds) || seconds < 0 || seconds > kLongestPeriod)
        return -1;
    return static_cast<int64_t>(seconds);
}

std::string LevelOf(float level)
{
    return rtl::LevelText(level);
}

} // namespace

bool ValidRealTimeRate(double rate)
{
    return std::isfinite(rate) && rate > 0 && rate <= MaxRealTimeRate;
}

double UsableRealTimeRate(double stored)
{
    return ValidRealTimeRate(stored) ? stored : DefaultRealTimeRate;
}

std::string FormatSampleTime(rtl::TDateTime t)
{
    return rtl::DateTimeToStr(rtl::RoundDisplaySeconds(t));
}

std::string RecordingPeriodText(const std::string &countText, const std::string &rateText)
{
    double typed = 0;
    if (!rtl::TryStrToFloat(rateText, typed))
        return "0:00:00";
    const float rate = static_cast<float>(typed);
    int count = 0;
    if (!ReadCount(countText, count))
        count = 0;
    const int64_t seconds = ValidRealTimeRate(rate) ? PeriodSeconds(count, rate) : -1;
    if (seconds < 0)
        return "0:00:00";
    return rtl::IntToStr(seconds / 3600) + ":" + TwoDigits(seconds % 3600 / 60) + ":" +
           TwoDigits(seconds % 60);
}

std::string InitialPeriodText(double rate)
{
    int64_t seconds = PeriodSeconds(TRealTimeLogic::InitialPoints, rate);
    if (seconds < 0)
        seconds = 0;
    return rtl::IntToStr(seconds / 3600) + ":" + rtl::IntToStr(seconds % 3600 / 60) + ":" +
           rtl::IntToStr(seconds % 60);
}

// ---------------------------------------------------------------------------

TRealTimeLogic::TRealTimeLogic(TMainTimerLogic &poll, TRealTimeSink &sink)
    : FPoll(poll), FSink(sink)
{
}

TRealTimeChart *TRealTimeLogic::Chart()
{
    return FSink.RealTimeGraphExists() ? FSink.RealTimeChart() : nullptr;
}

void TRealTimeLogic::SetRunCommands(bool running)
{
    FSink.SetCommandEnabled(TMeterCommand::btnRun, !running);
    FSink.SetCommandEnabled(TMeterCommand::Run1, !running);
    FSink.SetCommandEnabled(TMeterCommand::btnStop, running);
    FSink.SetCommandEnabled(TMeterCommand::Stop1, running);
}

void TRealTimeLogic::btnRunClick()
{
    if (!FPoll.gConnected)
        return;
    if (FSink.RealTimeGraphExists()) {
        FSink.RestoreRealTimeGraph();
        if (gRealTimeRunning || gRealTimeCount != 0) {
            const TAnswer answer =
                FSink.Confirm(FSink.StringById("IDS_32") + FSink.StringById("IDS_33"));
            FSink.FocusRealTimeGraph();
            if (answer == TAnswer::Cancel)
                return;
            // The samples are emptied below: a save that was cancelled or
            // failed keeps them, and the run does not start.
            if (answer == TAnswer::Yes && !FSink.SaveRealTimeGraph())
                return;
        }
    } else {
        FSink.OpenRealTimeGraph();
    }
    if (!Chart())
        return;

    TRealTimeSetup setup;
    setup.rateText = FSink.SamplingRateText();
    setup.periodText = InitialPeriodText(gRealTimeRate);
    if (!FSink.RunSetupDialog(setup))
        return;

    // The dialog takes only rates a run can use; one that slips through
    // is refused like a bad count.
    double rate = 0;
    if (!rtl::TryStrToFloat(setup.rateText, rate) || !ValidRealTimeRate(rate)) {
        FSink.ShowMessage(setup.rateText + FSink.StringById("IDS_34"));
        return;
    }
    int points = 0;
    if (!ReadCount(setup.countText, points) || points < 1) {
        FSink.ShowMessage(setup.countText + FSink.StringById("IDS_34"));
        return;
    }
    // The dialog may have let the graph go (it is not modal to it).
    if (!Chart())
        return;

    gRealTimeRate = rate;
    FSink.SelectSamplingRate(rate);
    StartRun(points);
}

void TRealTimeLogic::StartRun(int points)
{
    TRealTimeChart &chart = *Chart();
    chart.SetPoints(points);
    const int subsets = chart.GetSubsets();
    for (int s = 0; s < subsets; ++s) {
        chart.SetXDataII(0, -1, 0.0);
        chart.SetYDataII(0, -1, 0.0);
    }
    gRealTimeCount = 0;
    gRealTimeMax = -9999.0F;
    gRealTimeMin = 9999.0F;
    FSink.ClearStatistics();

    const rtl::TDateTime t = rtl::GetClock().Now();
    FSink.SetStatisticText(TRealTimeText::txtStartTime, rtl::DateTimeToStr(t));
    chart.SetManualMinX(t);
    chart.SetManualMaxX(t + StartSpan);

    WaitForSecondStart();
    FSink.SetStatisticText(TRealTimeText::txtStartTime, FormatSampleTime(rtl::GetClock().Now()));

    PlotReading();
    gRateTicks = 0;
    FSink.SetRealTimeTimerEnabled(true);
    FSink.SetCommandEnabled(TMeterCommand::tbntClr, false);
    gRealTimeRunning = true;
    SetRunCommands(true);
    gLastGoodLevel = 0;
    gGlitchCount = 0;
}

void TRealTimeLogic::WaitForSecondStart()
{
    rtl::Clock &clock = rtl::GetClock();
    const int64_t start = clock.MonotonicMs();
    for (;;) {
        int h = 0, m = 0, s = 0, ms = 0;
        rtl::DecodeTime(clock.Now(), h, m, s, ms);
        if (ms <= kStartMillisecond || clock.MonotonicMs() - start > kSecondWaitLimitMs)
            return;
        clock.SleepMs(1000 - ms);
    }
}

void TRealTimeLogic::RealTime_TimerTimer()
{
    if (!FSink.RealTimeGraphExists())
        return;
    ++gRateTicks;
    if (gRateTicks < gRealTimeRate)
        return;
    gRateTicks = 0;
    PlotReading();
    TRealTimeChart *chart = Chart();
    if (gRealTimeRunning && chart && gRealTimeCount > chart->GetPoints() - 1)
        btnStopClick();
}

void TRealTimeLogic::PlotReading()
{
    TRealTimeChart *found = Chart();
    if (!found)
        return;
    TRealTimeChart &chart = *found;
    // A full chart takes no more samples: the run ends instead.
    if (gRealTimeCount >= chart.GetPoints()) {
        btnStopClick();
        return;
    }
    // Fed by a LEQ run, the current reading is only as new as the run's last
    // read: without a reading since the last sample there is nothing to take.
    if (FPoll.ReadingsFed() && FPoll.gReadingNumber == FSampledReading)
        return;
    FSampledReading = FPoll.gReadingNumber;
    const rtl::TDateTime t = rtl::GetClock().Now();

    float level = FPoll.gCurrentLevel;
    if (level > GlitchHigh || !(level >= GlitchLow)) {
        ++gGlitchCount;
        if (!(gLastGoodLevel > ReplaceAbove))
            return;
        level = gLastGoodLevel;
        FPoll.gCurrentLevel = gLastGoodLevel;
    } else {
        gLastGoodLevel = level;
    }

    gRealTimeUnsaved = true;
    if (level > gRealTimeMax) {
        gRealTimeMax = level;
        gRealTimeMaxTime = t;
        FSink.SetStatisticText(TRealTimeText::txtMax, LevelOf(level));
        FSink.SetStatisticText(TRealTimeText::txtMaxTime, FormatSampleTime(t));
    }
    if (!(level >= gRealTimeMin)) {
        gRealTimeMin = level;
        gRealTimeMinTime = t;
        FSink.SetStatisticText(TRealTimeText::txtMin, LevelOf(level));
        FSink.SetStatisticText(TRealTimeText::txtMinTime, FormatSampleTime(t));
    }

    chart.SetXDataII(0, gRealTimeCount, t);
    chart.SetYData(0, gRealTimeCount, level);
    ++gRealTimeCount;
    FSink.SetStatisticText(TRealTimeText::txtDataNo, rtl::IntToStr(gRealTimeCount));

    // The right end of the time axis moves on when a sample reaches it;
    // the left end stays at the start.
    if (!(chart.GetManualMaxX() >= t))
        chart.SetManualMaxX(t + WidenSpan);
    chart.Repaint();
}

void TRealTimeLogic::btnStopClick()
{
    FSink.SetRealTimeTimerEnabled(false);
    gRealTimeRunning = false;
    SetRunCommands(false);
    if (!Chart())
        return;
    FSink.RestoreRealTimeGraph();
    FSink.SetCommandEnabled(TMeterCommand::tbntClr, true);

    TRealTimeChart &chart = *Chart();
    const int count = gRealTimeCount;
    // The chart keeps exactly the samples taken. Without a sample there is
    // nothing to keep: the capacity stays as the run set it.
    if (count > 0 && chart.GetPoints() > count) {
        const double x = chart.GetXDataII(0, count - 1);
        const float y = chart.GetYData(0, count - 1);
        chart.SetPoints(count);
        chart.SetXDataII(0, count - 1, x);
        chart.SetYData(0, count - 1, y);
        chart.Repaint();
    }
    chart.SetManualMaxX(rtl::GetClock().Now());

    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += chart.GetYData(0, i);
    FSink.SetStatisticText(TRealTimeText::txtAvgAll, rtl::LevelText(count > 0 ? sum / count : 0.0));

    if (count == 2)
        FSink.SetSlider(0, 1, 0, 1);
    else if (count > 2)
        FSink.SetSlider(0, count - 1, count / 3, 2 * count / 3);
    chart.Repaint();
}

void TRealTimeLogic::MeterDisconnected()
{
    if (gRealTimeRunning)
        btnStopClick();
}

} // namespace meter
