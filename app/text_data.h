// Data text files: the tab- or comma-separated text into which graphs and
// grids are saved, and the reader that opens such files into a list window.
// Qt-free (texts are UTF-8), so the reader runs under a fuzzer.
//
// Graph text: one line per point, no header: date text, separator, time
// text, separator, the level with one decimal, CR LF. The date-time is the
// one shown to the user (one second later when its milliseconds exceed
// 500); the date, time and level texts follow the locale's settings.
//
// Grid text: one line per row: the cells of columns 1 .. ColCount - 1, each
// followed by the separator, CR LF. Column 0 (the row numbers) is left out.
//
// Reading: lines end with LF (a CR before it belongs to the line end); a
// line holds at most 179 characters. Reading stops at the first line that
// holds no separator, and after a line that had to be cut. UTF-8 lines are
// taken as they are, any other line as Windows-1252.
#pragma once

#include "platform/rtl/datetime.h"
#include "platform/rtl/format_settings.h"

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace app {

inline constexpr char kTab = '\t';
// The longest line the reader takes, in characters.
inline constexpr std::size_t kDataLineLimit = 179;

// The separator of a grid file: ',' when the name's last three characters
// are "csv" in any letter case ("out.CSV", "outcsv"), else TAB.
char GridFileSeparator(const std::string &fileName);
// The separator of a graph file and of a file being read: ',' for the
// extension ".csv" in any letter case, else TAB.
char DataFileSeparator(const std::string &fileName);
// The extension of a name in lower case without its dot ("" when none).
std::string LowerExtension(const std::string &fileName);

// A bound of the range question: a whole integer (blanks around it and a
// sign allowed), in 64 bits. Its absolute value; false for anything else.
bool ParseRangeBound(const std::string &text, std::uint64_t &magnitude);

// The range of points or rows to save, both ends included and counted from
// 1; First > Last means nothing is written.
struct TExportRange {
    std::int64_t First = 1;
    std::int64_t Last = 0;
};
// The range from the question's two texts for an upper bound U: absolute
// values, swapped when the last lies before the first, the last at most U,
// a first of 0 taken as 1. False (and the range untouched) when a text is
// not a whole integer.
bool SelectRange(const std::string &fromText, const std::string &toText, int upper,
                 TExportRange &range);

// One line of a graph text file (UTF-8, ending in CR LF).
std::string GraphTextLine(rtl::TDateTime x, double level, char separator,
                          const rtl::TFormatSettings &settings = rtl::FormatSettings());
// One line of a grid text file from the cells of columns 1.. (UTF-8).
std::string GridTextLine(const std::vector<std::string> &cells, char separator);

// Reads a data text file line by line (see above).
class TDataTextReader {
public:
    TDataTextReader(std::istream &in, char separator) : FIn(in), FSeparator(separator) {}

    // The next line (UTF-8, without its line end). False at the end of the
    // file, at a line without the separator, and after a cut line.
    bool Next(std::string &line);
    // True when the last line given was cut at kDataLineLimit characters.
    bool Cut() const { return FCut; }
    char Separator() const { return FSeparator; }

private:
    std::istream &FIn;
    char FSeparator;
    bool FFirst = true;
    bool FCut = false;
    bool FDone = false;
};

// The cells of columns 1 .. columns - 1 that one line fills, in order: each
// field up to the next separator; an empty field between two separators is
// an empty cell, a separator at the end of the line adds nothing, and the
// last column takes one more field, the rest of the line being dropped.
std::vector<std::string> SplitDataLine(const std::string &line, char separator, int columns);

// What cell (4, 1) of a read file says about its columns.
enum class TListTitles {
    Own,        // empty: a graph's points (date, time, level)
    LeqRecords, // "dBA" or "dBC": a list of LEQ records
    LeqTable,   // any other text: a LEQ table ("SPL", "Leq" over columns 3, 4)
};
TListTitles ListTitlesFor(const std::string &cell41);

} // namespace app
