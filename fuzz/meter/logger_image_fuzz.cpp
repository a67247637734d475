// Logger images from a download or a collection file of any content: the
// decoder must read nothing outside the image and leave a consistent store.
#include "meter/logger_data.h"

#include <cstdlib>
#include <numeric>

namespace {

void Check(const TLoggerImage &image, int lastAddress)
{
    TDataSetStore store;
    std::vector<TDataSetGridRow> rows;
    const int result = DecodeLoggerData(image, lastAddress, store, rows);
    if (!LoggerDecodeReplacedStore(result)) {
        if (result != ldNoDataSets && result != ldTooManySets)
            std::abort();
        return;
    }
    const size_t sets = static_cast<size_t>(store.SetCount());
    const size_t samples =
        std::accumulate(store.FSetCount.begin(), store.FSetCount.end(), size_t{0});
    if (rows.size() != sets || store.FSetMean.size() != sets || store.FSetEnd.size() != sets ||
        store.FDataLevels.size() != samples || store.FDataTimes.size() != samples ||
        samples > image.size() / 2)
        std::abort();
    for (size_t n = 1; n < sets; ++n)
        if (store.FSetBegin[n] != store.FSetEnd[n - 1] + 1)
            std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const TLoggerImage image(data, data + size);
    Check(image, logger::ImageLastAddress(image)); // as a collection file is opened
    Check(image, static_cast<int>(size) - 1);      // as a download ends
    return 0;
}
