// The data-set store and the decoder that fills it from a logger image.
//
// The store holds every sample of every data set of one image in eleven
// parallel vectors; the main window owns the one store of the program. The
// decoder also produces the rows of the "DataLogger" window's data-set grid
// as text, one row per set, for the window to show.
#pragma once

#include "meter/logger_image.h"
#include "platform/rtl/datetime.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Results of DecodeLoggerData.
enum TLoggerDecodeResult : int {
    ldOk = 0,
    ldNoDataSets = 31,        // bytes 9..10 are 0; store and rows untouched
    ldTooManySets = 32,       // more than 4000 sets declared; store and rows untouched
    ldBadMarkers = 33,        // a set lacks its start or end markers; decoded as found
    ldBeyondLastAddress = 34, // a set ends beyond the last used address; decoded as found
    ldStoreFailed = 35,       // memory ran out while recording the sets
};

// True for the results after which the store and the rows were replaced
// (the callers then write the working file and show set 0).
inline bool LoggerDecodeReplacedStore(int result)
{
    return result == ldOk || result == ldBadMarkers || result == ldBeyondLastAddress ||
           result == ldStoreFailed;
}

// The per-set fields of one data set, as the store appends them.
struct TDataSetFields {
    rtl::TDateTime Start = 0;
    int Interval = 0;
    int Count = 0;
    unsigned char Flags = 0;
    int64_t Begin = 0;
    int64_t End = 0;
    int MaxIndex = 0;
    int MinIndex = 0;
    double Mean = 0;
};

// The vectors may be read and their elements written from outside; their
// sizes change only through AppendSet, ReserveSets, KeepSets, ResizeSamples
// and Clear, which keep the per-set vectors of one length.
class TDataSetStore {
public:
    // Per sample, all sets one after another.
    std::vector<float> FDataLevels; // dB; 0 for a level below 20 or above 140
    std::vector<double> FDataTimes; // date-time of each sample
    // Per set.
    std::vector<rtl::TDateTime> FSetStart;
    std::vector<int> FSetInterval; // seconds
    std::vector<int> FSetCount;    // samples of the set held in FDataLevels
    std::vector<unsigned char> FSetFlags;
    std::vector<int64_t> FSetBegin; // image offset of the set's first byte
    std::vector<int64_t> FSetEnd;   // image offset of the set's last byte
    std::vector<int> FSetMaxIndex;  // first sample holding the maximum
    std::vector<int> FSetMinIndex;  // first sample holding the minimum
    std::vector<double> FSetMean;   // arithmetic mean of the stored levels, dB

    int SetCount() const { return static_cast<int>(FSetStart.size()); }
    // Index in FDataLevels / FDataTimes of the first sample of set n.
    int SampleOffset(int n) const;
    void Clear();

    // Appends one set's fields to every per-set vector; when memory runs out
    // the store is left as it was and std::bad_alloc raised.
    void AppendSet(const TDataSetFields &set);
    void ReserveSets(size_t sets);
    // Keeps the first n sets (no more than the store holds) and their
    // samples. Shrinking never allocates.
    void KeepSets(size_t n);
    // Gives both per-sample vectors total elements; when memory runs out
    // both keep their sizes and std::bad_alloc is raised.
    void ResizeSamples(size_t total);

private:
    template <class F> void ForEachSetVector(F &&f)
    {
        f(FSetStart);
        f(FSetInterval);
        f(FSetCount);
        f(FSetFlags);
        f(FSetBegin);
        f(FSetEnd);
        f(FSetMaxIndex);
        f(FSetMinIndex);
        f(FSetMean);
    }
};

constexpr int DataSetGridColumns = 8;
// One row of the data-set grid: "Set", "DATE", "TIME", "Rate", "Nums",
// "A/C", "Fa/Sl", "LEVEL".
using TDataSetGridRow = std::array<std::string, DataSetGridColumns>;

// Decodes image (with lastAddress bounding every search) into store and
// rows, rows[n] being grid row n + 1 for set n. Returns a TLoggerDecodeResult;
// on ldNoDataSets and ldTooManySets neither store nor rows is touched,
// otherwise both are replaced whole. damaged, when given, gets the indexes
// of the sets that failed their checks (markers, bound), in image order.
// Raises nothing.
int DecodeLoggerData(const TLoggerImage &image, int lastAddress, TDataSetStore &store,
                     std::vector<TDataSetGridRow> &rows, std::vector<int> *damaged = nullptr);

// Cell texts of the data-set grid, also used when a set's start is corrected.
std::string DataSetDateText(rtl::TDateTime start); // short date format
std::string DataSetTimeText(rtl::TDateTime start); // "hh:nn:ss"
std::string IntervalText(int seconds);             // "mm:ss": 60 -> "01:00", 2 -> "00:02"
TDataSetGridRow DataSetGridRow(const TDataSetStore &store, int n);

// Makes the grid rows of many sets, sharing the date text of sets of one day.
class TGridRowTexts {
public:
    TDataSetGridRow Row(const TDataSetStore &store, int n);

private:
    bool FHaveDay = false;
    double FDay = 0;
    std::string FDateText;
};
