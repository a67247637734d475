// Golden vectors: files under tests/data/golden/<family>/ and, in <family>.txt beside that
// folder, what each file reads as. Qt-free.
//
// An expectation file holds one entry per vector:
//
//     # comment lines
//     [file name]
//     given count: 4          what the reader is given besides the file (none, one or more)
//     row 1: 65.3 | ...       what it reads, one field a line, in order
//
// Field values are escaped (Escaped) so that every byte shows and a field stays on one line.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace golden {

// What a reader makes of a file, as named texts in order.
using TFields = std::vector<std::pair<std::string, std::string>>;
// What the reader is given besides the file, by name.
using TGiven = std::map<std::string, std::string>;

struct TEntry {
    std::string File; // name inside the family's folder
    TGiven Given;
    TFields Fields;
};

// Printable ASCII as it is (a backslash doubled), every other byte as \xNN.
std::string Escaped(std::string_view bytes);

std::string ReadBytes(const std::filesystem::path &file);
// Writes the file whole; false when it cannot.
bool WriteBytes(const std::filesystem::path &file, std::string_view bytes);

// The entries of an expectation file (none when it cannot be read).
std::vector<TEntry> ReadExpectations(const std::filesystem::path &file);
// The text of an expectation file: the comment lines first, then every entry.
std::string ExpectationText(const std::string &comment, const std::vector<TEntry> &entries);

// The fields as the lines of an expectation file's entry, for comparing.
std::string FieldLines(const TFields &fields);

// A given value, or fallback when the entry gives none.
std::string GivenOr(const TGiven &given, const std::string &name, const std::string &fallback);

// v with this many decimals; v as "0x" and two hexadecimal digits; the parts escaped, with the
// separator between them.
std::string Number(double v, int decimals);
std::string Hex(unsigned v);
std::string Joined(const std::vector<std::string> &parts, const char *separator = " | ");

} // namespace golden
