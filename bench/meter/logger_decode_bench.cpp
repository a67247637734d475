// Decoding a full logger image (131,072 bytes) into the data-set store and
// the grid rows. Goal: under 1 ms per full image.
#include "meter/logger_data.h"
#include "platform/usb/sim/logger_image_builder.h"

#include <benchmark/benchmark.h>

namespace {

constexpr size_t FullImage = 131072;

// `small` sets of 4 samples, one every three hours, then `large` sets
// sharing the rest of the memory.
TLoggerImage FullImageOf(int small, int large)
{
    usb::TLoggerImageBuilder b;
    const rtl::TDateTime first = rtl::EncodeDate(2024, 1, 1) + rtl::EncodeTime(6, 0, 0, 0);
    for (int i = 0; i < small; ++i) {
        usb::TLoggerSetSpec s;
        s.DateBytes = usb::BcdDateTimeBytes(first + i / 8.0);
        s.Samples.assign(4, static_cast<uint16_t>(300 + i % 900));
        b.AddSet(s);
    }
    const size_t rest = FullImage - b.NextOffset() - 18 * static_cast<size_t>(large);
    for (int i = 0; i < large; ++i) {
        usb::TLoggerSetSpec s;
        const size_t samples = rest / 2 / static_cast<size_t>(large);
        for (size_t k = 0; k < samples; ++k)
            s.Samples.push_back(static_cast<uint16_t>(200 + (k * 7) % 1200));
        b.AddSet(s);
    }
    return b.Build(FullImage);
}

void Decode(benchmark::State &state, int small, int large)
{
    const TLoggerImage image = FullImageOf(small, large);
    const int last = static_cast<int>(image.size()) - 1;
    TDataSetStore store;
    std::vector<TDataSetGridRow> rows;
    for (auto _ : state) {
        const int result = DecodeLoggerData(image, last, store, rows);
        benchmark::DoNotOptimize(result);
        benchmark::DoNotOptimize(store.FDataLevels.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(image.size()));
    state.counters["sets"] = static_cast<double>(store.SetCount());
    state.counters["samples"] = static_cast<double>(store.FDataLevels.size());
}

// Worst case for the end search: 4000 sets declared in a memory of zeros, so
// no count lands on an end marker and every set needs a search that finds
// nothing up to the last address (the decoder remembers where such a search
// failed, so this costs one pass over the image, not 4000).
void BM_DecodeFullImage_Damaged(benchmark::State &state)
{
    usb::TLoggerImageBuilder b;
    b.SetDeclaredSetCount(4000);
    b.SetLastAddress(FullImage - 1);
    const TLoggerImage image = b.Build(FullImage);
    TDataSetStore store;
    std::vector<TDataSetGridRow> rows;
    for (auto _ : state)
        benchmark::DoNotOptimize(DecodeLoggerData(image, FullImage - 1, store, rows));
    state.counters["sets"] = static_cast<double>(store.SetCount());
}

void BM_DecodeFullImage_4000Sets(benchmark::State &state)
{
    Decode(state, 3997, 3);
}
void BM_DecodeFullImage_3LargeSets(benchmark::State &state)
{
    Decode(state, 0, 3);
}

BENCHMARK(BM_DecodeFullImage_4000Sets)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeFullImage_3LargeSets)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeFullImage_Damaged)->Unit(benchmark::kMicrosecond);

} // namespace
