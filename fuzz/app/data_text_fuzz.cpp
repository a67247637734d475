// Text files of any content: every line the reader gives holds the
// separator and at most the line limit of characters, and splits into at
// most the list's data columns.
#include "app/text_data.h"

#include <cstdlib>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const char separator = (data[0] & 1) ? ',' : '\t';
    std::istringstream in(std::string(reinterpret_cast<const char *>(data + 1), size - 1));
    app::TDataTextReader reader(in, separator);
    for (std::string line; reader.Next(line);) {
        if (line.find(separator) == std::string::npos)
            std::abort();
        std::size_t characters = 0;
        for (char c : line)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (characters > app::kDataLineLimit)
            std::abort();
        if (app::SplitDataLine(line, separator, 7).size() > 6)
            std::abort();
        app::ListTitlesFor(line);
    }
    return 0;
}
