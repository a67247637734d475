// Opening the largest text file the program writes itself, a real-time run of 99,999 points
// saved as text, into a list window (the main window's Open road for ".txt" files, progress
// window included), offscreen with the simulated meter. Per open: milliseconds, and the
// memory the open list holds per line (heap in use with the window open, above what was in
// use before). Goals: at most 1 s and at most 300 bytes per line.
#include "app/main_form.h"
#include "app/text_data.h"
#include "bench/bench_main.h"
#include "platform/rtl/registry.h"
#include "platform/ui/app_application.h"
#include "platform/ui/string_grid.h"
#include "platform/usb/sim/simulated_meter.h"
#include "tests/support/temp_folders.h"
#include "views/list_form.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>

namespace {

constexpr int kLines = 99999;

std::size_t HeapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

void BM_OpenRealTimeText(benchmark::State &state)
{
    rtl::TRegistryBackendScope registry; // no settings of the user are read or written
    testsupport::TTempFolders dir;       // the program's folders in a temporary one
    const QString file = dir.path() + "/run.txt";
    {
        std::ofstream out(file.toStdString(), std::ios::binary);
        for (int i = 0; i < kLines; ++i)
            out << app::GraphTextLine(46000.5 + i / 86400.0, 50.0 + (i % 500) / 10.0, app::kTab);
    }
    usb::SimulatedMeter meter;
    app::TfrmMain main(meter);
    main.show();
    QApplication::processEvents();
    double bytesPerLine = 0;
    int rows = 0;
    for (auto _ : state) {
        const std::size_t before = HeapInUse();
        views::TfrmList *list = main.OpenTextFile(file);
        state.PauseTiming();
        bytesPerLine = (double(HeapInUse()) - double(before)) / kLines;
        rows = list ? list->Grid1->RowCount() - 1 : 0;
        delete list;
        QApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["bytes_per_line"] = bytesPerLine;
    state.counters["lines"] = rows;
}

BENCHMARK(BM_OpenRealTimeText)->Unit(benchmark::kMillisecond)->Iterations(3);

const bench::TMainHooks hooks{{.Application = [](int &argc, char **argv) {
    return std::unique_ptr<QCoreApplication>(std::make_unique<ui::TApplication>(argc, argv));
}}};

} // namespace
