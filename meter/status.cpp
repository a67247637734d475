#include "meter/status.h"

namespace meter {

namespace {

int Word(const TReplyBlock &r, int at)
{
    return r[at] * 256 + r[at + 1];
}

bool Bit(uint8_t b, int n)
{
    return (b >> n) & 1;
}

} // namespace

bool StatusMarkersValid(const TReplyBlock &reply)
{
    return reply[0] == 0x02 && reply[31] == 0x03;
}

bool IsMeterIdentity(const TReplyBlock &reply)
{
    return reply[23] == '4' && reply[24] == '8' && reply[25] == '2' && reply[26] == '0';
}

int BcdToInt(uint8_t b)
{
    if ((b >> 4) > 9 || (b & 0x0F) > 9)
        return -1;
    return (b >> 4) * 10 + (b & 0x0F);
}

int StatusValue(const TReplyBlock &reply)
{
    const uint8_t a = reply[1], b = reply[2], state = reply[4];
    if (Bit(b, 7))
        return Word(reply, 26);
    if (Bit(a, 2)) {
        if (state == 0x11)
            return Word(reply, 11);
        if (state == 0x22)
            return Word(reply, 13);
        return Word(reply, 5);
    }
    return reply[7] * 1000 + reply[8] * 100 + reply[9] * 10 + reply[10];
}

int LevelBarWidth(int value)
{
    if (value <= 300)
        return 4;
    return (3 * (value - 300)) / 20 + 4;
}

TStatusDisplay DecodeStatus(const TReplyBlock &reply, uint8_t clockLastSecond)
{
    TStatusDisplay d;
    const uint8_t a = reply[1], b = reply[2], state = reply[4];

    d.meterRecording = Bit(a, 0);
    d.lblREC = Bit(a, 0);
    d.lbldBA = Bit(a, 3);
    d.lbldBC = !Bit(a, 3);
    d.lblFAST = Bit(a, 4);
    d.lblSLOW = !Bit(a, 4);
    d.imgUNDER = Bit(a, 6);
    d.imgOVER = Bit(a, 7);
    d.lblFULL = Bit(b, 4);
    if (Bit(b, 6)) {
        d.imgStart = Bit(b, 5);
        d.imgPause = !Bit(b, 5);
    } else {
        d.imgStop = true;
    }
    d.imgLEQ = Bit(b, 7);
    d.imgSPL = !Bit(b, 7);
    d.meterLeqMode = Bit(b, 7);

    // Clock, redrawn only when the seconds byte changed.
    d.clockLastSecond = clockLastSecond;
    if (reply[15] != clockLastSecond) {
        d.clockChanged = true;
        if (reply[15] == 0x5A || reply[16] == 0x5A || reply[17] == 0x5A) {
            d.clockReset = true;
            d.clockLastSecond = 2;
        } else {
            static constexpr int bytes[ClockFieldCount] = {17, 16, 15, 21, 19, 18};
            for (int f = 0; f < ClockFieldCount; ++f) {
                const int n = BcdToInt(reply[bytes[f]]);
                if (n < 0)
                    break;
                d.clock[f] = {n / 10, n % 10};
                d.clockFieldsDrawn = f + 1;
            }
            d.clockLastSecond = reply[15];
        }
    }

    const int v = StatusValue(reply);
    d.value = v;
    const int thousands = v / 1000;
    d.MainD[0] = thousands >= 1 && thousands <= 9 ? thousands : BlankGlyph;
    d.MainD[1] = (v % 1000) / 100;
    d.MainD[2] = (v % 100) / 10;
    d.MainD[3] = v % 10;

    if (!Bit(a, 2)) {
        d.maxMin = TMaxMinAction::HideLabels;
    } else {
        switch (state) {
        case 0x00:
            d.maxMin = TMaxMinAction::StopTimer;
            break;
        case 0x11:
            d.maxMin = TMaxMinAction::ShowMax;
            break;
        case 0x22:
            d.maxMin = TMaxMinAction::ShowMin;
            break;
        case 0x44:
            d.maxMin = TMaxMinAction::Blink;
            break;
        default:
            d.maxMin = TMaxMinAction::NoChange;
            break;
        }
    }
    d.imgColorBarWidth = LevelBarWidth(v);
    d.currentLevel = static_cast<float>(v * 0.1);
    return d;
}

} // namespace meter
