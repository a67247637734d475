// LEQ memory of any content: every record's cells decode without a read
// outside the buffer.
#include "meter/leq_record.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte plays the record count the meter reports.
    const std::span<const uint8_t> buffer(data + 1, size - 1);
    const auto rows = DecodeLeqRecords(buffer, data[0]);
    for (const TLeqRecordCells &cells : rows)
        if (cells.Value.empty())
            std::abort();
    // A record cut short anywhere.
    for (size_t n = 0; n <= std::min<size_t>(buffer.size(), LeqRecordSize); ++n)
        DecodeLeqRecord(buffer.first(n), data[0] % 8);
    return 0;
}
