// One record of the meter's LEQ memory and its cell texts in the LEQ record
// list ("Value", "Time", "LEQ period(hh:mm:ss)", "dBA/dBC", "FAST/SLOW").
//
// A record is 20 bytes: the 1-based record number, the level in 0.1 dB
// (big-endian), six packed BCD date-time bytes (year - 2000 .. second), the
// measuring period code, and a flags byte (bit 7 FAST, bit 6 A weighting).
// These flag bits differ from those of a logger data set.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

constexpr int LeqRecordSize = 20;
constexpr int LeqMaxRecords = 100;  // records listed at most
constexpr int LeqMemorySize = 2560; // bytes read from the LEQ memory

using TLeqRecord = std::array<uint8_t, LeqRecordSize>;

// Column titles (fixed English) and widths of a list of LEQ records, for the
// LEQ record list and for a text file of records opened into a list. A width
// of 0 leaves the grid's default width.
constexpr int LeqRecordColumns = 6;
inline constexpr const char *LeqRecordTitles[LeqRecordColumns] = {
    "No", "Value", "Time", "LEQ period(hh:mm:ss)", "dBA/dBC", "FAST/SLOW"};
inline constexpr int LeqRecordWidths[LeqRecordColumns] = {0, 0, 160, 180, 100, 100};

// Grid columns 1..5 of one record's row. An empty text leaves the cell as
// it is (the list is cleared before the records are written).
struct TLeqRecordCells {
    std::string Value;     // level with one decimal, or "----"
    std::string Time;      // date-time text: short date, blank, long time
    std::string Period;    // "00:00:10" .. "24:00:00"; empty for codes above 11
    std::string Weighting; // "dBA" / "dBC"
    std::string Response;  // "FAST" / "SLOW"
};

// The period text of a period code, or an empty text for an unknown code.
std::string LeqPeriodText(int code);

// Cells of the record at 0-based position r. A record whose number is not
// r + 1, or whose level is 130.1 dB or more, shows "----" as its value and
// nothing else. Bytes missing from a short record read as absent: an absent
// number fails the check, an absent date byte falls back to the clock.
TLeqRecordCells DecodeLeqRecord(std::span<const uint8_t> record, int r);

// Rows for the first count records of the LEQ memory (count limited to 100
// and to the records the buffer holds whole).
std::vector<TLeqRecordCells> DecodeLeqRecords(std::span<const uint8_t> buffer, int count);
