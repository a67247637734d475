#include "tests/golden/golden.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace golden {

namespace {

// Without the blanks at its end, which an editor may take away.
std::string Trimmed(std::string text)
{
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

} // namespace

std::string Escaped(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\\') {
            out += "\\\\";
        } else if (b >= 0x20 && b < 0x7F) {
            out += c;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    return out;
}

std::string ReadBytes(const std::filesystem::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::filesystem::path &file, std::string_view bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

std::vector<TEntry> ReadExpectations(const std::filesystem::path &file)
{
    std::vector<TEntry> entries;
    std::istringstream in(ReadBytes(file));
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            entries.push_back({line.substr(1, line.size() - 2), {}, {}});
            continue;
        }
        size_t colon = line.find(": ");
        if (colon == std::string::npos && line.back() == ':')
            colon = line.size() - 1; // an empty value
        if (entries.empty() || colon == std::string::npos)
            continue; // not an entry's line: the comparison then fails on what is missing
        std::string name = line.substr(0, colon);
        std::string value = Trimmed(line.substr(std::min(colon + 2, line.size())));
        if (name.rfind("given ", 0) == 0)
            entries.back().Given[name.substr(6)] = value;
        else
            entries.back().Fields.emplace_back(std::move(name), std::move(value));
    }
    return entries;
}

std::string FieldLines(const TFields &fields)
{
    std::string out;
    for (const auto &[name, value] : fields) {
        const std::string text = Trimmed(value);
        out += name + (text.empty() ? ":" : ": " + text) + "\n";
    }
    return out;
}

std::string ExpectationText(const std::string &comment, const std::vector<TEntry> &entries)
{
    std::string out;
    std::istringstream in(comment);
    for (std::string line; std::getline(in, line);)
        out += line.empty() ? "#\n" : "# " + line + "\n";
    for (const TEntry &e : entries) {
        out += "\n[" + e.File + "]\n";
        for (const auto &[name, value] : e.Given)
            out += "given " + name + ": " + value + "\n";
        out += FieldLines(e.Fields);
    }
    return out;
}

std::string GivenOr(const TGiven &given, const std::string &name, const std::string &fallback)
{
    const auto it = given.find(name);
    return it == given.end() ? fallback : it->second;
}

std::string Number(double v, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

std::string Hex(unsigned v)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", v);
    return text;
}

std::string Joined(const std::vector<std::string> &parts, const char *separator)
{
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i)
        out += (i ? separator : "") + Escaped(parts[i]);
    return out;
}

} // namespace golden
