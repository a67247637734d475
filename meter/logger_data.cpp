#include "meter/logger_data.h"

#include <algorithm>
#include <cmath>
#include <new>

using namespace logger;

int TDataSetStore::SampleOffset(int n) const
{
    int offset = 0;
    for (int i = 0; i < n && i < static_cast<int>(FSetCount.size()); ++i)
        offset += FSetCount[static_cast<size_t>(i)];
    return offset;
}

void TDataSetStore::Clear()
{
    *this = TDataSetStore();
}

void TDataSetStore::AppendSet(const TDataSetFields &set)
{
    const size_t held = static_cast<size_t>(SetCount());
    try {
        FSetStart.push_back(set.Start);
        FSetInterval.push_back(set.Interval);
        FSetCount.push_back(set.Count);
        FSetFlags.push_back(set.Flags);
        FSetBegin.push_back(set.Begin);
        FSetEnd.push_back(set.End);
        FSetMaxIndex.push_back(set.MaxIndex);
        FSetMinIndex.push_back(set.MinIndex);
        FSetMean.push_back(set.Mean);
    } catch (...) {
        ForEachSetVector([held](auto &v) { v.resize(std::min(held, v.size())); });
        throw;
    }
}

void TDataSetStore::ReserveSets(size_t sets)
{
    ForEachSetVector([sets](auto &v) { v.reserve(sets); });
}

void TDataSetStore::KeepSets(size_t n)
{
    ForEachSetVector([n](auto &v) { v.resize(std::min(n, v.size())); });
    const size_t samples = static_cast<size_t>(SampleOffset(static_cast<int>(n)));
    FDataLevels.resize(std::min(samples, FDataLevels.size()));
    FDataTimes.resize(std::min(samples, FDataTimes.size()));
}

void TDataSetStore::ResizeSamples(size_t total)
{
    const size_t held = FDataLevels.size();
    FDataLevels.resize(total);
    try {
        FDataTimes.resize(total);
    } catch (...) {
        FDataLevels.resize(held);
        throw;
    }
}

namespace {

class TDecoder {
public:
    TDecoder(const TLoggerImage &image, int lastAddress)
        : FImage(image), FSize(static_cast<int64_t>(image.size())), FLast(lastAddress),
          FSearchLimit(std::min<int64_t>(lastAddress, FSize - 2))
    {
    }

    // Finds a set's end marker 0x5A 0xA5 at an even distance from the set's
    // first sample, up to the last used address. Returns the offset of the
    // marker's last byte, or -1. Pairs that do not lie wholly in the image
    // cannot match, so the search stops at the image's end.
    int64_t FindEnd(int64_t b)
    {
        const int64_t from = b + SetSamplesOffset;
        // A search that found nothing from some offset finds nothing from any
        // later offset of the same parity: remember it, so that a damaged
        // image costs one pass, not one pass per set.
        int64_t &noEndFrom = FNoEndFrom[from & 1];
        if (from >= noEndFrom)
            return -1;
        for (int64_t p = from; p <= FSearchLimit; p += gSampleWidth) {
            if (FImage[static_cast<size_t>(p)] == EndMarker0 &&
                FImage[static_cast<size_t>(p + 1)] == EndMarker1)
                return p + 1;
        }
        noEndFrom = from;
        return -1;
    }

    // Sample count n and last byte e of the set at b.
    void SizeSet(int64_t b, int64_t &n, int64_t &e)
    {
        if ((b + SetCountFieldOffset) % 256 == 255) {
            // The count field would begin on a page's last byte, where the
            // meter does not keep it reliably: the end marker decides.
            e = FindEnd(b);
            if (e < 0)
                e = b + SetSamplesOffset;
            n = std::max<int64_t>(0, (e - b - 17) / 2);
            return;
        }
        n = ImageNumber(FImage, b + SetCountFieldOffset, 3);
        e = b + 17 + 2 * n;
        if (e <= FLast && ImageByteIs(FImage, e - 1, EndMarker0) &&
            ImageByteIs(FImage, e, EndMarker1))
            return;
        const int64_t found = FindEnd(b);
        if (found >= 0) {
            e = found;
            n = (e - b - 17) / 2;
        }
    }

    // Number of samples of a set at b with n samples whose two bytes lie
    // inside the image.
    int SamplesInImage(int64_t b, int64_t n) const
    {
        const int64_t room = std::max<int64_t>(0, (FSize - b - SetSamplesOffset) / gSampleWidth);
        return static_cast<int>(std::min(n, room));
    }

    int Run(int setCount, TDataSetStore &s, std::vector<TDataSetGridRow> &rows,
            std::vector<int> &damaged)
    {
        int result = ldOk;
        const size_t sets = static_cast<size_t>(setCount);
        s.ReserveSets(sets);
        int64_t b = HeaderSize;
        for (int i = 0; i < setCount; ++i) {
            TDataSetFields set;
            int64_t n = 0, e = 0;
            SizeSet(b, n, e);
            set.Count = SamplesInImage(b, n);
            set.Begin = b;
            set.End = e;

            const bool badMarkers = !ImageByteIs(FImage, b, StartMarker0) ||
                                    !ImageByteIs(FImage, b + 1, StartMarker1) ||
                                    !ImageByteIs(FImage, e - 1, EndMarker0) ||
                                    !ImageByteIs(FImage, e, EndMarker1);
            if (badMarkers)
                result = ldBadMarkers;
            if (e > FLast)
                result = ldBeyondLastAddress;
            if (badMarkers || e > FLast)
                damaged.push_back(i);

            set.Flags = ImageByteOr0(FImage, b + SetFlagsOffset);

            std::optional<uint8_t> fields[6];
            for (int f = 0; f < 6; ++f)
                fields[f] = ImageByte(FImage, b + SetDateOffset + f);
            set.Start = BcdDateTime(fields);

            const int interval = ImageByteOr0(FImage, b + SetIntervalOffset);
            set.Interval = interval > 60 ? 2 : interval;

            s.AppendSet(set);
            b = e + 1;
        }

        size_t total = 0;
        for (int count : s.FSetCount)
            total += static_cast<size_t>(count);
        s.ResizeSamples(total);
        size_t offset = 0;
        for (size_t set = 0; set < sets; ++set) {
            DecodeSamples(s, set, offset);
            offset += static_cast<size_t>(s.FSetCount[set]);
        }

        TGridRowTexts texts;
        rows.reserve(sets);
        for (int set = 0; set < setCount; ++set)
            rows.push_back(texts.Row(s, set));
        return result;
    }

private:
    // Fills the samples of one set from index offset of the per-sample vectors,
    // and the set's extremes and mean.
    void DecodeSamples(TDataSetStore &s, size_t set, size_t offset) const
    {
        const double step = s.FSetInterval[set] / rtl::SecsPerDay;
        const rtl::TDateTime start = s.FSetStart[set];
        const int count = s.FSetCount[set];
        float max = -99999.0f, min = 99999.0f;
        int maxIndex = 0, minIndex = 0;
        double sum = 0;
        // count only covers samples inside the image (SamplesInImage).
        const uint8_t *sample =
            count > 0 ? FImage.data() + (s.FSetBegin[set] + SetSamplesOffset) : nullptr;
        float *levels = s.FDataLevels.data() + offset;
        double *times = s.FDataTimes.data() + offset;
        for (int k = 0; k < count; ++k, sample += gSampleWidth) {
            const float level = SampleLevel(sample[0], sample[1]);
            levels[k] = level;
            times[k] = start + k * step;
            sum += level;
            if (level > max) {
                max = level;
                maxIndex = k;
            }
            if (level < min) {
                min = level;
                minIndex = k;
            }
        }
        s.FSetMaxIndex[set] = maxIndex;
        s.FSetMinIndex[set] = minIndex;
        s.FSetMean[set] = count > 0 ? sum / count : sum;
    }

    const TLoggerImage &FImage;
    int64_t FNoEndFrom[2] = {INT64_MAX, INT64_MAX}; // by parity of the start
    const int64_t FSize;
    const int64_t FLast;
    const int64_t FSearchLimit;
};

} // namespace

int DecodeLoggerData(const TLoggerImage &image, int lastAddress, TDataSetStore &store,
                     std::vector<TDataSetGridRow> &rows, std::vector<int> *damaged)
{
    const int setCount = ImageSetCount(image);
    if (setCount == 0)
        return ldNoDataSets;
    if (setCount > MaxDataSets)
        return ldTooManySets;

    TDataSetStore fresh;
    std::vector<TDataSetGridRow> freshRows;
    std::vector<int> freshDamaged;
    int result = ldOk;
    try {
        result = TDecoder(image, lastAddress).Run(setCount, fresh, freshRows, freshDamaged);
    } catch (const std::bad_alloc &) {
        // Keep the sets that were decoded whole, with their rows; rows are
        // made last, so every set with a row has its samples too.
        fresh.KeepSets(freshRows.size());
        std::erase_if(freshDamaged, [&](int set) { return set >= fresh.SetCount(); });
        result = ldStoreFailed;
    }
    store = std::move(fresh);
    rows = std::move(freshRows);
    if (damaged)
        *damaged = std::move(freshDamaged);
    return result;
}

std::string DataSetDateText(rtl::TDateTime start)
{
    return rtl::DateToStr(rtl::RoundDisplaySeconds(start));
}

namespace {

// "hh:nn:ss" of a date-time already rounded for showing, written directly:
// the grid of a full image has thousands of rows.
std::string ClockText(rtl::TDateTime shown)
{
    int hour = 0, minute = 0, second = 0, msec = 0;
    rtl::DecodeTime(shown, hour, minute, second, msec);
    const char sep = rtl::FormatSettings().TimeSeparator;
    const char text[8] = {
        static_cast<char>('0' + hour / 10),   static_cast<char>('0' + hour % 10),   sep,
        static_cast<char>('0' + minute / 10), static_cast<char>('0' + minute % 10), sep,
        static_cast<char>('0' + second / 10), static_cast<char>('0' + second % 10)};
    return std::string(text, sizeof text);
}

} // namespace

std::string DataSetTimeText(rtl::TDateTime start)
{
    return ClockText(rtl::RoundDisplaySeconds(start));
}

std::string IntervalText(int seconds)
{
    auto two = [](int v) {
        std::string t = std::to_string(v);
        return t.size() == 1 ? "0" + t : t;
    };
    return two(seconds / 60) + ":" + two(seconds % 60);
}

TDataSetGridRow TGridRowTexts::Row(const TDataSetStore &store, int n)
{
    const size_t i = static_cast<size_t>(n);
    const rtl::TDateTime shown = rtl::RoundDisplaySeconds(store.FSetStart[i]);
    // Sets of one day share their date text.
    const double day = std::floor(shown);
    if (!FHaveDay || day != FDay) {
        FDateText = rtl::DateToStr(shown);
        FDay = day;
        FHaveDay = true;
    }
    const unsigned char flags = store.FSetFlags[i];
    return {std::to_string(n + 1),
            FDateText,
            ClockText(shown),
            IntervalText(store.FSetInterval[i]),
            std::to_string(store.FSetCount[i]),
            (flags & FlagAWeighted) ? "dBA" : "dBC",
            (flags & FlagFast) ? "FAST" : "SLOW",
            "30-130"};
}

TDataSetGridRow DataSetGridRow(const TDataSetStore &store, int n)
{
    return TGridRowTexts().Row(store, n);
}
