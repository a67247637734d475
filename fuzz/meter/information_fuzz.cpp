// The meter's information reply and the numbers typed into the set-up
// window: any 32 bytes give the information texts in their fixed shapes, and
// any text either reads as a whole number that prints back the same or is
// refused.
#include "meter/meter_commands.h"
#include "meter/setup_commands.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size >= 32) {
        meter::TReplyBlock reply{};
        for (size_t i = 0; i < reply.size(); ++i)
            reply[i] = data[i];
        const meter::TLoggerInformation info = meter::FormatLoggerInformation(reply);
        if (info.MeterTime.size() != 21 || info.Cal70.find("  (") == std::string::npos ||
            info.Version.empty() || info.Cal94.empty())
            std::abort();
    }
    const std::string text(reinterpret_cast<const char *>(data), size);
    long long value = 0;
    if (meter::ParseDecimal(text, value)) {
        // Every digit of the text is in the value: no wrap, no cut.
        std::string digits;
        for (char c : text)
            if (c >= '0' && c <= '9')
                digits += c;
        const size_t first = digits.find_first_not_of('0');
        const std::string significant = first == std::string::npos ? "0" : digits.substr(first);
        if (significant != std::to_string(value < 0 ? -value : value))
            std::abort();
    }
    return 0;
}
