// LEQ memory of any content: every record's cells decode without a read
// outside the buffer. The input is the memory as the meter sends it; the
// record count the meter reports is taken as the records the input holds
// whole, as its first byte, and as more than the list shows.
#include "meter/leq_record.h"

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const std::span<const uint8_t> buffer(data, size);
    const int whole = static_cast<int>(size / LeqRecordSize);
    for (int count : {whole, int(data[0]), LeqMaxRecords + 1}) {
        const auto rows = DecodeLeqRecords(buffer, count);
        if (rows.size() > static_cast<size_t>(std::min({count, whole, LeqMaxRecords})))
            std::abort();
        for (const TLeqRecordCells &cells : rows)
            if (cells.Value.empty())
                std::abort();
    }
    // A record cut short anywhere.
    for (size_t n = 0; n <= std::min<size_t>(buffer.size(), LeqRecordSize); ++n)
        DecodeLeqRecord(buffer.first(n), data[0] % 8);
    return 0;
}
