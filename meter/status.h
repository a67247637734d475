// Decoding the meter's 32-byte status reply into what the front panel shows
// and the program keeps as its current reading.
//
// Status reply (words high byte first, in 0.1 dB):
//   0      0x02 marker
//   1      flags A: bit 0 REC, bit 2 MAX/MIN mode, bit 3 dBA (clear dBC),
//          bit 4 FAST (clear SLOW), bit 6 UNDER, bit 7 OVER
//   2      flags B: bit 4 FULL; bit 6 set = recording started (bit 5 set) or
//          paused (bit 5 clear), bit 6 clear = stopped; bit 7 LEQ mode
//   4      MAX/MIN state: 0x00 none, 0x11 MAX, 0x22 MIN, 0x44 alternating
//   5..6   level word (MAX/MIN mode unless the state is 0x11 or 0x22)
//   7..10  current level as four decimal digits
//   11..12 maximum word, 13..14 minimum word
//   15, 16, 17 seconds, minutes, hours; 18 day; 19 month; 21 year (packed BCD)
//   26..27 LEQ word
//   30     echo of the request's sequence byte
//   31     0x03 marker
#pragma once

#include "meter/link.h"

#include <array>
#include <cstdint>

namespace meter {

// Glyph index of the blank digit (0..9 are the digits, 10..17 are blank).
constexpr int BlankGlyph = 10;

// What the MAX and MIN labels and MaxMinTimer do for one reply.
enum class TMaxMinAction {
    HideLabels, // not in MAX/MIN mode: timer off, both labels hidden
    StopTimer,  // state 0x00: timer off, labels as they are
    ShowMax,    // state 0x11: MAX shown, MIN hidden, timer off
    ShowMin,    // state 0x22: MIN shown, MAX hidden, timer off
    Blink,      // state 0x44: timer on when it is not running
    NoChange,   // any other state
};

// One clock field: small glyphs of its tens and units.
struct TClockDigits {
    int tens = 0;
    int units = 0;
};

// Clock fields in drawing order and the panel images that show them.
enum TClockField {
    ClockHours,   // LCDT3, LCDT4 (byte 17)
    ClockMinutes, // LCDT5, LCDT6 (byte 16)
    ClockSeconds, // LCDT7, LCDT8 (byte 15)
    ClockYear,    // LCDA, LCDB (byte 21)
    ClockMonth,   // LCDC, LCDD (byte 19)
    ClockDay,     // LCDE, LCDF (byte 18)
    ClockFieldCount
};

// The decoded reply. Indicator fields carry the names of the panel controls
// they set visible.
struct TStatusDisplay {
    bool lblREC = false;
    bool lbldBA = false, lbldBC = false;
    bool lblFAST = false, lblSLOW = false;
    bool imgUNDER = false, imgOVER = false;
    bool lblFULL = false;
    bool imgStart = false, imgPause = false, imgStop = false;
    bool imgLEQ = false, imgSPL = false;

    // Large glyphs of MainD1..MainD4; MainD1 is blank unless 1..9.
    std::array<int, 4> MainD{};

    // Clock: the panel redraws only when the seconds byte changed. With a
    // 0x5A in bytes 15..17 nothing is drawn and the tick writes 1 into those
    // three reply bytes. Otherwise the first clockFieldsDrawn fields are drawn
    // (all six unless a byte with a nibble above 9 stops the drawing).
    bool clockChanged = false;
    bool clockReset = false;
    int clockFieldsDrawn = 0;
    std::array<TClockDigits, ClockFieldCount> clock{};
    uint8_t clockLastSecond = 0; // the remembered second after this reply

    TMaxMinAction maxMin = TMaxMinAction::HideLabels;
    int imgColorBarWidth = 4; // pixels

    int value = 0;          // the shown value, 0.1 dB
    float currentLevel = 0; // value x 0.1 dB
    bool meterRecording = false;
    bool meterLeqMode = false;
};

// Byte 0 is 0x02 and byte 31 is 0x03.
bool StatusMarkersValid(const TReplyBlock &reply);

// Bytes 23..26 of an identify reply are the model digits "4820".
bool IsMeterIdentity(const TReplyBlock &reply);

// The value the meter shows, in 0.1 dB: the LEQ word in LEQ mode; in
// MAX/MIN mode the maximum (0x11), minimum (0x22) or level word; else the
// four digits.
int StatusValue(const TReplyBlock &reply);

// Width of the level bar: 4 pixels up to 30.0 dB, then 3 pixels per 2 dB.
int LevelBarWidth(int value);

// A packed BCD byte as a decimal number (0x23 -> 23); -1 when a nibble is above 9.
int BcdToInt(uint8_t b);

// Decodes a status reply; clockLastSecond is the seconds byte remembered from
// the last drawn clock. Never fails: every index it returns is a valid glyph.
TStatusDisplay DecodeStatus(const TReplyBlock &reply, uint8_t clockLastSecond);

} // namespace meter
