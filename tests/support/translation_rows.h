// Stored translation data written in a test: a table row is every field
// followed by the delimiter, the data every line followed by CR LF.
//
//     Data({"stCaptions", Row({"Label1", "Hello", "Bonjour"})})
#pragma once

#include <initializer_list>
#include <string>

namespace testsupport {

inline std::string Row(std::initializer_list<std::string> fields, char delimiter = '\x01')
{
    std::string r;
    for (const auto &f : fields)
        r += f + delimiter;
    return r;
}

inline std::string Data(std::initializer_list<std::string> lines)
{
    std::string s;
    for (const auto &l : lines)
        s += l + "\r\n";
    return s;
}

} // namespace testsupport
