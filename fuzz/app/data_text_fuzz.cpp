// Text files of any content, read with either separator (as a ".csv" and as
// any other file): every line the reader gives holds the separator and at
// most the line limit of characters, and splits into at most the list's data
// columns.
#include "app/text_data.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace {

void Read(const std::string &text, char separator)
{
    std::istringstream in(text);
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
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    Read(text, app::kTab);
    Read(text, ',');
    return 0;
}
