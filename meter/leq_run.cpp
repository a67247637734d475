#include "meter/leq_run.h"

#include "meter/status.h"
#include "platform/rtl/datetime.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/numbers.h"
#include "platform/rtl/streams.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <system_error>
#include <utility>

namespace meter {

namespace {

constexpr const char *kGuardHolder = "LEQ run";
constexpr int kTimeoutMs = 100;

// The meter's date-time in a status reply: hours, minutes, seconds in bytes
// 17, 16, 15, day and month in 18 and 19, the year within 2000..2099 in 21.
bool MeterDateTime(const TReplyBlock &r, rtl::TDateTime &date, rtl::TDateTime &time)
{
    const int h = BcdToInt(r[17]), n = BcdToInt(r[16]), s = BcdToInt(r[15]);
    const int d = BcdToInt(r[18]), m = BcdToInt(r[19]), y = BcdToInt(r[21]);
    if (h < 0 || n < 0 || s < 0 || d < 0 || m < 0 || y < 0)
        return false;
    return rtl::TryEncodeDate(2000 + y, m, d, date) && rtl::TryEncodeTime(h, n, s, 0, time);
}

// The system's reason in a stream's create error "Cannot create file
// \"<name>\". <reason>"; the whole message when it reads otherwise.
std::string CreateFailureReason(const std::string &message, const std::string &fileName)
{
    const std::string prefix = "Cannot create file \"" + fileName + "\". ";
    if (message.size() > prefix.size() && message.compare(0, prefix.size(), prefix) == 0)
        return message.substr(prefix.size());
    return message;
}

} // namespace

std::string LeqTimeLeftText(int seconds)
{
    seconds = std::max(seconds, 0);
    return std::to_string(seconds / 3600) + ":" + std::to_string(seconds / 60 % 60) + ":" +
           std::to_string(seconds % 60);
}

float NextLeq(float previous, float mean, int n)
{
    if (n <= 1)
        return mean;
    const double x = previous, y = mean;
    const double a = (n - 1.0) / n, b = 1.0 / n;
    const double m = std::max(x, y);
    const double leq = m + 10.0 * std::log10(a * std::pow(10.0, 0.1 * (x - m)) +
                                             b * std::pow(10.0, 0.1 * (y - m)));
    const float result = static_cast<float>(leq);
    return std::isfinite(result) ? result : previous;
}

TLeqRun::TLeqRun(TMeterLink &link, TLeqSink &sink, TMainTimerLogic *readings)
    : FLink(link), FSink(sink), FReadings(readings)
{
}

TLeqRun::~TLeqRun()
{
    // The guard must not outlive the run that took it.
    if (FRunning)
        FLink.Guard().Release();
}

bool TLeqRun::Start(int periodSeconds, const std::string &logFile)
{
    if (!FRunning && !FLink.Guard().TryAcquire(kGuardHolder))
        return false;
    FRunning = true;

    // A restart begins a new log: the old stream is closed first so that the
    // file is truncated and reopened, never left open behind the new run.
    CloseLog();
    FLogName = logFile;
    FLogFailure.clear();
    std::string notCreated; // why there is no log for this run
    if (!logFile.empty()) {
        try {
            FLog = std::make_unique<rtl::TFileStream>(logFile, rtl::fmCreate);
        } catch (const rtl::Exception &e) {
            FLog.reset();
            notCreated = CreateFailureReason(e.Message(), logFile);
        }
    }
    gLeqSecondsLeft = periodSeconds;

    FLink.WaitLinkIdle();
    usb::UsbDevice &device = FLink.Device();
    device.UsbClose();
    device.UsbOpen(FLink.gUsbVendorId, FLink.gUsbProductId);
    device.UsbSetTimeouts(kTimeoutMs, kTimeoutMs);

    gLeqRow = 1;
    if (FSink.LeqWindowExists())
        FSink.SetLeqRowCount(1);
    gLeqSamples = 0;
    gLeqFailures = 0;
    gLeqStarted = false;
    gLeqSeconds = 0;
    if (FReadings)
        FReadings->BeginFedReadings();
    FSink.SetLeqTimerEnabled(true);
    // Told once, with the run going.
    if (!notCreated.empty())
        FSink.LeqLogNotCreated(logFile, notCreated);
    return true;
}

void TLeqRun::Stop()
{
    if (FRunning)
        End();
}

void TLeqRun::End()
{
    FRunning = false;
    if (FReadings)
        FReadings->EndFedReadings();
    FSink.SetLeqTimerEnabled(false);
    FLink.EnableMainTimer();
    CloseLog();
    FLink.Guard().Release();
}

void TLeqRun::CloseLog()
{
    FLog.reset();
}

void TLeqRun::WriteLog(const std::string &line)
{
    if (!FLog)
        return;
    // A log that cannot be written to (a full disk) is given up for the rest
    // of the run; the run goes on and the user is told at the end of the tick.
    errno = 0;
    if (FLog->Write(line.data(), static_cast<int64_t>(line.size())) !=
        static_cast<int64_t>(line.size())) {
        const int err = errno != 0 ? errno : EIO;
        CloseLog();
        FLogFailure = std::generic_category().message(err);
    }
}

void TLeqRun::CountFailure()
{
    if (++gLeqFailures > MaxFailures) {
        End();
        FSink.LeqMessage("IDS_123");
    }
}

void TLeqRun::LEQTimerTimer()
{
    Tick();
    // Told once the tick is done: the message may run a message loop, in
    // which further ticks come.
    if (!FLogFailure.empty()) {
        const std::string reason = std::exchange(FLogFailure, std::string());
        FSink.LeqLogStopped(FLogName, reason);
    }
}

void TLeqRun::Tick()
{
    if (!FRunning)
        return;
    if (!FSink.LeqWindowExists()) {
        End();
        return;
    }

    usb::UsbDevice &device = FLink.Device();
    TCommandPacket &packet = FLink.gCommand;
    packet[0] = 0x02;
    packet[1] = 'A';
    packet[6] = 0x03; // bytes 2..5 as left: no new sequence byte
    device.UsbWrite(usb::PacketSize, packet.data());
    device.UsbEndWrite();
    TReplyBlock &reply = FLink.gReply;
    // Whatever the meter sent that is not a status block carries no level:
    // it is a failed read like no reply at all.
    if (device.UsbRead(usb::ReplySize, reply.data()) != usb::UsbOk || !StatusMarkersValid(reply)) {
        CountFailure();
        return;
    }
    if (FReadings)
        FReadings->FeedReading(reply);

    std::string dateText, timeText;
    rtl::TDateTime date = 0, time = 0;
    if (MeterDateTime(reply, date, time)) {
        dateText = rtl::DateToStr(date);
        timeText = rtl::TimeToStr(time);
    } else {
        const rtl::TDateTime now = rtl::GetClock().Now();
        dateText = rtl::DateToStr(now);
        timeText = rtl::TimeToStr(now);
    }
    const uint8_t second = reply[15];
    const int word = reply[5] * 256 + reply[6];
    WriteLog(timeText + "\t" + rtl::LevelText(word / 10.0) + "\r\n");

    if (!gLeqStarted) {
        gLeqStarted = true;
        gLeqLastSecond = second;
        gLeqLastTime = timeText;
        gLeqLastDate = dateText;
        gLeqSamples = 0;
        gLeqSum = 0;
        gLeqValue = static_cast<float>(word / 10.0);
        return; // the first reading opens the first second and is not averaged
    }
    if (second == gLeqLastSecond) {
        ++gLeqSamples;
        gLeqSum += word;
        FSink.ShowLeqLastRow();
        return;
    }
    CloseSecond(second, dateText, timeText);
}

void TLeqRun::CloseSecond(uint8_t second, const std::string &date, const std::string &time)
{
    ++gLeqSeconds;
    const bool window = FSink.LeqWindowExists();
    if (window) {
        FSink.SetLeqRowCount(gLeqRow + 1);
        FSink.SetLeqCell(0, gLeqRow, std::to_string(gLeqRow));
        FSink.SetLeqCell(1, gLeqRow, gLeqLastDate);
        FSink.SetLeqCell(2, gLeqRow, gLeqLastTime);
    }
    if (gLeqSamples > 0) {
        const float mean = static_cast<float>(gLeqSum) / (static_cast<float>(gLeqSamples) * 10.0f);
        const float leq = NextLeq(gLeqValue, mean, gLeqSeconds);
        if (window) {
            FSink.SetLeqCell(3, gLeqRow, rtl::LevelText(mean));
            FSink.SetLeqText(TLeqField::edtLEQrate, std::to_string(gLeqSamples) + "/sec");
            FSink.SetLeqCell(4, gLeqRow, rtl::LevelText(leq));
            FSink.SetLeqText(TLeqField::edtLEQValue, rtl::LevelText(leq));
        }
        gLeqValue = leq;
        gLeqSamples = 0;
        gLeqSum = 0;
    }
    ++gLeqRow;

    if (--gLeqSecondsLeft <= 0)
        End();
    gLeqLastSecond = second;
    gLeqLastTime = time;
    gLeqLastDate = date;
    if (window)
        FSink.SetLeqText(TLeqField::edtTimeLeft, LeqTimeLeftText(gLeqSecondsLeft));
}

} // namespace meter
