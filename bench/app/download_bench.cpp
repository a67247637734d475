// The program's own cost per downloaded logger block, against the simulated
// meter answering at once (no USB latency), on the offscreen platform:
//   BM_MeterAlone            the simulated meter answering 'p' and handing
//                            over its block, nothing else: the part of the
//                            figures below that is not the program's
//   BM_Download/window:0     the transfer with a view that shows nothing
//   BM_Download/window:1     the transfer with the progress window, its
//                            label and bar updated and window messages let
//                            through once per block, as the program runs it
// Each reports us_per_block; the program's own cost per block is a
// Download figure minus MeterAlone. A full memory is 4,095 blocks.
// Goal: the program's own cost stays below 0.1 ms per block, under 5 % of
// a USB full-speed round trip (a request and a 32-byte reply take about
// 2 ms at the meter's 1 ms polling interval).
#include "bench/bench_main.h"
#include "meter/logger_download.h"
#include "platform/rtl/datetime.h"
#include "platform/ui/app_application.h"
#include "platform/usb/sim/simulated_meter.h"
#include "views/scope_form.h"

#include <QLabel>
#include <QProgressBar>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

constexpr int kBlocks = 4095; // the blocks after the handshake of a full memory

struct QuietView : meter::TDownloadView {
    void SetHourglass(bool) override {}
    void ShowDownloadProgress(int) override {}
    void DownloadProgressed(int) override {}
    void CloseDownloadProgress() override {}
};

// The progress window as the main window drives it.
struct WindowView : meter::TDownloadView {
    void SetHourglass(bool) override {}
    void ShowDownloadProgress(int total) override
    {
        scope = std::make_unique<views::TfrmScope>(nullptr);
        for (QWidget *w :
             {static_cast<QWidget *>(scope->Progress1),
              static_cast<QWidget *>(scope->lblTotalBytes),
              static_cast<QWidget *>(scope->lblBytesReceived),
              static_cast<QWidget *>(scope->SText1), static_cast<QWidget *>(scope->SText2)})
            w->show();
        scope->Progress1->setRange(0, total);
        scope->lblTotalBytes->setText(QString::number(total));
        scope->lblBytesReceived->setText(QStringLiteral("0"));
        scope->FitToParts();
        scope->show();
    }
    void DownloadProgressed(int received) override
    {
        scope->lblBytesReceived->setText(QString::number(received));
        scope->Progress1->setValue(received);
        ui::ProcessMessages();
    }
    void CloseDownloadProgress() override { scope.reset(); }
    std::unique_ptr<views::TfrmScope> scope;
};

std::vector<uint8_t> FullMemory()
{
    std::vector<uint8_t> image(usb::SimulatedMeter::LoggerSize, 0x42);
    image[10] = 1;
    image[11] = 0x01; // last used address 0x01FFFF: 131,072 bytes
    image[12] = 0xFF;
    image[13] = 0xFF;
    return image;
}

// Microseconds per block over the timed parts of all iterations.
class TBlockTimer {
public:
    void Start() { FStart = std::chrono::steady_clock::now(); }
    void Stop() { FTotal += std::chrono::steady_clock::now() - FStart; }
    void Report(benchmark::State &state) const
    {
        const double us = std::chrono::duration<double, std::micro>(FTotal).count();
        state.counters["us_per_block"] = us / (double(state.iterations()) * kBlocks);
    }

private:
    std::chrono::steady_clock::time_point FStart;
    std::chrono::steady_clock::duration FTotal{};
};

void BM_MeterAlone(benchmark::State &state)
{
    rtl::FakeClock clock;
    rtl::ScopedClock scope(clock);
    usb::SimulatedMeter meter;
    meter.SetLoggerImage(FullMemory());
    const uint8_t handshake[7] = {0x02, 'P', 0, 0, 0, 0, 0x03};
    const uint8_t request[7] = {0x02, 'p', 0, 0, 0, 0, 0x03};
    uint8_t reply[32];
    std::vector<uint8_t> image;
    TBlockTimer timer;
    for (auto _ : state) {
        state.PauseTiming();
        meter.ClearLog();
        meter.UsbOpen(0x04D9, 0xE000);
        meter.UsbWrite(7, handshake);
        meter.UsbRead(32, reply);
        image.clear();
        state.ResumeTiming();
        timer.Start();
        for (int i = 0; i < kBlocks; ++i) {
            meter.UsbWrite(7, request);
            meter.UsbRead(32, reply);
            image.insert(image.end(), reply, reply + 32);
        }
        timer.Stop();
        benchmark::DoNotOptimize(image.data());
    }
    timer.Report(state);
}
BENCHMARK(BM_MeterAlone)->Unit(benchmark::kMillisecond);

void BM_Download(benchmark::State &state)
{
    rtl::FakeClock clock;
    rtl::ScopedClock scope(clock);
    usb::SimulatedMeter meter;
    meter.SetLoggerImage(FullMemory());
    meter::TLinkGuard guard;
    meter::TMeterLink link(meter, nullptr, guard);
    QuietView quiet;
    WindowView window;
    meter::TDownloadView &view = state.range(0) ? static_cast<meter::TDownloadView &>(window)
                                                : static_cast<meter::TDownloadView &>(quiet);
    TLoggerImage image;
    int last = 0;
    TBlockTimer timer;
    for (auto _ : state) {
        state.PauseTiming();
        meter.ClearLog();
        image.clear();
        state.ResumeTiming();
        timer.Start();
        const int code = meter::DownloadLogger(link, image, last, view);
        timer.Stop();
        if (code != 0)
            state.SkipWithError("download failed");
    }
    timer.Report(state);
}
BENCHMARK(BM_Download)->ArgName("window")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

const bench::TMainHooks hooks{{.Application = [](int &argc, char **argv) {
    return std::unique_ptr<QCoreApplication>(std::make_unique<ui::TApplication>(argc, argv));
}}};
