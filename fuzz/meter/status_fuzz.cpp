// Status replies as the meter (or a damaged link) may send them: the decoder
// must give valid glyph indexes and a bar width for any 32 bytes. A byte after
// the reply plays the remembered second (0 without one), so that a reply as
// the meter sends it is an input of its own.
#include "meter/status.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 32)
        return 0;
    meter::TReplyBlock reply{};
    for (size_t i = 0; i < reply.size(); ++i)
        reply[i] = data[i];
    const meter::TStatusDisplay d = meter::DecodeStatus(reply, size > 32 ? data[32] : 0);
    for (int g : d.MainD)
        if (g < 0 || g > meter::BlankGlyph)
            std::abort();
    for (int f = 0; f < d.clockFieldsDrawn; ++f)
        if (d.clock[f].tens < 0 || d.clock[f].tens > 9 || d.clock[f].units < 0 ||
            d.clock[f].units > 9)
            std::abort();
    if (d.imgColorBarWidth < 4 || d.clockFieldsDrawn < 0 || d.clockFieldsDrawn > 6)
        std::abort();
    return 0;
}
