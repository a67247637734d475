#include "platform/chartlib/state_block.h"

#include <zlib.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace chartlib {

namespace {

constexpr std::uint8_t kMagic[4] = {'N', 'V', 'C', 'S'};
constexpr std::uint16_t kVersion = 1;
constexpr std::size_t kHeaderSize = 16;

enum Tag : std::uint8_t {
    TagData = 1,
    TagInt = 2,
    TagDouble = 3,
    TagSingle = 4,
    TagText = 5,
    TagBlock = 6,
    TagArray = 7
};

class Writer {
public:
    void U8(std::uint8_t v) { FBytes.push_back(v); }
    void U16(std::uint16_t v)
    {
        U8(std::uint8_t(v));
        U8(std::uint8_t(v >> 8));
    }
    void U32(std::uint32_t v)
    {
        for (int s = 0; s < 32; s += 8)
            U8(std::uint8_t(v >> s));
    }
    void I32(std::int32_t v) { U32(std::uint32_t(v)); }
    void U64(std::uint64_t v)
    {
        for (int s = 0; s < 64; s += 8)
            U8(std::uint8_t(v >> s));
    }
    void F64(double v) { U64(std::bit_cast<std::uint64_t>(v)); }
    void F32(float v) { U32(std::bit_cast<std::uint32_t>(v)); }
    void Text(const std::u16string &t)
    {
        U32(std::uint32_t(t.size()));
        for (char16_t c : t)
            U16(std::uint16_t(c));
    }
    std::size_t Size() const { return FBytes.size(); }
    void PatchU32(std::size_t at, std::uint32_t v)
    {
        for (int k = 0; k < 4; ++k)
            FBytes[at + std::size_t(k)] = std::uint8_t(v >> (8 * k));
    }
    std::vector<std::uint8_t> &Bytes() { return FBytes; }

    // Starts a record; returns the offset of its length field.
    std::size_t Begin(std::uint8_t tag, std::int32_t id)
    {
        U8(tag);
        U8(0);
        U16(0);
        I32(id);
        std::size_t at = Size();
        U32(0);
        return at;
    }
    void End(std::size_t lengthAt) { PatchU32(lengthAt, std::uint32_t(Size() - lengthAt - 4)); }

private:
    std::vector<std::uint8_t> FBytes;
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> b) : FBytes(b) {}
    bool Need(std::size_t n) const { return FBytes.size() - FPos >= n; }
    std::size_t Left() const { return FBytes.size() - FPos; }
    bool U8(std::uint8_t &v)
    {
        if (!Need(1))
            return false;
        v = FBytes[FPos++];
        return true;
    }
    bool U16(std::uint16_t &v)
    {
        if (!Need(2))
            return false;
        v = std::uint16_t(FBytes[FPos] | (FBytes[FPos + 1] << 8));
        FPos += 2;
        return true;
    }
    bool U32(std::uint32_t &v)
    {
        if (!Need(4))
            return false;
        v = 0;
        for (int k = 0; k < 4; ++k)
            v |= std::uint32_t(FBytes[FPos + std::size_t(k)]) << (8 * k);
        FPos += 4;
        return true;
    }
    bool I32(std::int32_t &v)
    {
        std::uint32_t u;
        if (!U32(u))
            return false;
        v = std::int32_t(u);
        return true;
    }
    bool F64(double &v)
    {
        if (!Need(8))
            return false;
        std::uint64_t u = 0;
        for (int k = 0; k < 8; ++k)
            u |= std::uint64_t(FBytes[FPos + std::size_t(k)]) << (8 * k);
        FPos += 8;
        v = std::bit_cast<double>(u);
        return true;
    }
    bool F32(float &v)
    {
        std::uint32_t u;
        if (!U32(u))
            return false;
        v = std::bit_cast<float>(u);
        return true;
    }
    // A text as the engine keeps it: at most kMaxTextUnits units, no NUL.
    bool Text(std::u16string &t)
    {
        std::uint32_t n;
        if (!U32(n) || n > kMaxTextUnits || !Need(std::size_t(n) * 2))
            return false;
        t.resize(n);
        for (std::uint32_t k = 0; k < n; ++k) {
            std::uint16_t c = 0;
            U16(c);
            if (c == 0)
                return false;
            t[k] = char16_t(c);
        }
        return true;
    }
    bool Bytes(std::size_t n, std::vector<std::uint8_t> &out)
    {
        if (!Need(n))
            return false;
        out.assign(FBytes.begin() + std::ptrdiff_t(FPos),
                   FBytes.begin() + std::ptrdiff_t(FPos + n));
        FPos += n;
        return true;
    }
    bool AtEnd() const { return FPos == FBytes.size(); }

private:
    std::span<const std::uint8_t> FBytes;
    std::size_t FPos = 0;
};

void WriteRows(Writer &w, const std::vector<std::vector<double>> &rows, ElemKind kind)
{
    w.U32(std::uint32_t(rows.size()));
    for (const auto &row : rows) {
        w.U32(std::uint32_t(row.size()));
        for (double v : row) {
            if (kind == ElemKind::Int)
                w.I32(std::int32_t(v));
            else if (kind == ElemKind::Single)
                w.F32(float(v));
            else
                w.F64(v);
        }
    }
}

// Reads rows of numbers, at most maxRows rows of at most maxCols elements each.
bool ReadRows(Reader &r, std::vector<std::vector<double>> &rows, ElemKind kind, std::size_t maxRows,
              std::size_t maxCols)
{
    std::uint32_t nrows;
    if (!r.U32(nrows) || nrows > maxRows || !r.Need(std::size_t(nrows) * 4))
        return false;
    std::size_t width = kind == ElemKind::Double ? 8 : 4;
    rows.resize(nrows);
    for (auto &row : rows) {
        std::uint32_t len;
        if (!r.U32(len) || len > maxCols || !r.Need(std::size_t(len) * width))
            return false;
        row.resize(len);
        for (double &v : row) {
            if (kind == ElemKind::Int) {
                std::int32_t i = 0;
                r.I32(i);
                v = i;
            } else if (kind == ElemKind::Single) {
                float f = 0;
                r.F32(f);
                v = f;
            } else {
                r.F64(v);
            }
        }
    }
    return true;
}

template <class Rows> std::size_t MaxLen(const Rows &rows)
{
    std::size_t n = 0;
    for (const auto &r : rows)
        n = std::max(n, r.size());
    return n;
}

bool ReadArray(Reader &r, std::int32_t id, const ChartData &data, ArrayValue &a)
{
    std::uint8_t kind, two;
    std::uint16_t reserved;
    if (!r.U8(kind) || !r.U8(two) || !r.U16(reserved) || reserved != 0 || two > 1 || kind < 1 ||
        kind > 4)
        return false;
    a.kind = ElemKind(kind);
    a.twoIndex = two == 1;
    std::size_t maxRows, maxCols;
    if (IsDataShaped(id)) {
        if (!a.twoIndex)
            return false;
        maxRows = std::size_t(data.subsets);
        maxCols = std::size_t(data.points);
    } else if (a.twoIndex) {
        maxRows = std::size_t(kMaxGridRows);
        maxCols = std::size_t(kMaxGridColumns);
    } else {
        maxRows = 1;
        maxCols = std::size_t(kMaxArrayLength);
    }
    if (a.kind == ElemKind::Text) {
        std::uint32_t nrows;
        if (!r.U32(nrows) || nrows > maxRows || !r.Need(std::size_t(nrows) * 4))
            return false;
        a.text.resize(nrows);
        for (auto &row : a.text) {
            std::uint32_t len;
            if (!r.U32(len) || len > maxCols || !r.Need(std::size_t(len) * 4))
                return false;
            row.resize(len);
            for (auto &t : row)
                if (!r.Text(t))
                    return false;
        }
    } else if (!ReadRows(r, a.num, a.kind, maxRows, maxCols)) {
        return false;
    }
    if (a.twoIndex && !IsDataShaped(id)) {
        std::size_t rows = a.kind == ElemKind::Text ? a.text.size() : a.num.size();
        std::size_t cols = a.kind == ElemKind::Text ? MaxLen(a.text) : MaxLen(a.num);
        if (std::int64_t(rows) * std::int64_t(cols) > kMaxGridElements)
            return false;
    }
    return true;
}

bool ReadData(Reader &r, ChartData &d)
{
    if (!r.I32(d.subsets) || !r.I32(d.points))
        return false;
    if (d.subsets < 0 || d.subsets > kMaxSubsets || d.points < 0 || d.points > kMaxPoints ||
        std::int64_t(d.subsets) * d.points > kMaxDataElements)
        return false;
    for (auto &axis : d.values)
        if (!ReadRows(r, axis, ElemKind::Double, std::size_t(d.subsets), std::size_t(d.points)))
            return false;
    return true;
}

} // namespace

std::vector<std::uint8_t> EncodeState(const ChartState &state)
{
    Writer w;
    for (std::uint8_t m : kMagic)
        w.U8(m);
    w.U16(kVersion);
    w.U16(0);
    w.U32(0); // length, patched below
    w.U32(0); // checksum, patched below

    std::size_t at = w.Begin(TagData, 0);
    w.I32(state.data.subsets);
    w.I32(state.data.points);
    for (const auto &axis : state.data.values)
        WriteRows(w, axis, ElemKind::Double);
    w.End(at);

    for (const auto &[id, v] : state.scalars) {
        if (IsTransientProperty(id))
            continue;
        if (auto p = std::get_if<std::int32_t>(&v)) {
            at = w.Begin(TagInt, id);
            w.I32(*p);
        } else if (auto p = std::get_if<double>(&v)) {
            at = w.Begin(TagDouble, id);
            w.F64(*p);
        } else if (auto p = std::get_if<float>(&v)) {
            at = w.Begin(TagSingle, id);
            w.F32(*p);
        } else if (auto p = std::get_if<std::u16string>(&v)) {
            at = w.Begin(TagText, id);
            w.Text(*p);
        } else {
            at = w.Begin(TagBlock, id);
            for (std::uint8_t b : std::get<std::vector<std::uint8_t>>(v))
                w.U8(b);
        }
        w.End(at);
    }

    for (const auto &[id, a] : state.arrays) {
        at = w.Begin(TagArray, id);
        w.U8(std::uint8_t(a.kind));
        w.U8(a.twoIndex ? 1 : 0);
        w.U16(0);
        if (a.kind == ElemKind::Text) {
            w.U32(std::uint32_t(a.text.size()));
            for (const auto &row : a.text) {
                w.U32(std::uint32_t(row.size()));
                for (const auto &t : row)
                    w.Text(t);
            }
        } else {
            WriteRows(w, a.num, a.kind);
        }
        w.End(at);
    }

    auto &bytes = w.Bytes();
    w.PatchU32(8, std::uint32_t(bytes.size()));
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, bytes.data() + kHeaderSize, uInt(bytes.size() - kHeaderSize));
    w.PatchU32(12, std::uint32_t(crc));
    return std::move(bytes);
}

std::optional<ChartState> DecodeState(std::span<const std::uint8_t> block)
{
    if (block.size() < kHeaderSize || !std::equal(kMagic, kMagic + 4, block.begin()))
        return std::nullopt;
    Reader h(block.subspan(4, kHeaderSize - 4));
    std::uint16_t version, flags;
    std::uint32_t length, checksum;
    h.U16(version);
    h.U16(flags);
    h.U32(length);
    h.U32(checksum);
    if (version != kVersion || flags != 0 || length < kHeaderSize || length > block.size())
        return std::nullopt;
    auto body = block.subspan(kHeaderSize, length - kHeaderSize);
#ifndef NIVORA_FUZZ_NO_CHECKSUM // fuzz builds skip the checksum to reach the records
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, body.data(), uInt(body.size()));
    if (std::uint32_t(crc) != checksum)
        return std::nullopt;
#endif

    ChartState state;
    bool haveData = false;
    Reader r(body);
    while (!r.AtEnd()) {
        std::uint8_t tag, res8;
        std::uint16_t res16;
        std::int32_t id;
        std::uint32_t len;
        if (!r.U8(tag) || !r.U8(res8) || !r.U16(res16) || !r.I32(id) || !r.U32(len) || res8 != 0 ||
            res16 != 0 || !r.Need(len))
            return std::nullopt;
        std::vector<std::uint8_t> payloadBytes;
        r.Bytes(len, payloadBytes);
        Reader p(payloadBytes);
        if (tag == TagData) {
            if (id != 0 || haveData || !ReadData(p, state.data))
                return std::nullopt;
            haveData = true;
        } else if (tag >= TagInt && tag <= TagBlock) {
            if (id < kMinPropertyId || id > kMaxPropertyId || IsTransientProperty(id) ||
                DataAxisOf(id) >= 0 || id == prop::Subsets || id == prop::Points ||
                id == prop::ObjectType || state.scalars.count(id))
                return std::nullopt;
            ScalarValue v;
            if (tag == TagInt) {
                std::int32_t x;
                if (!p.I32(x))
                    return std::nullopt;
                v = x;
            } else if (tag == TagDouble) {
                double x;
                if (!p.F64(x))
                    return std::nullopt;
                v = x;
            } else if (tag == TagSingle) {
                float x;
                if (!p.F32(x))
                    return std::nullopt;
                v = x;
            } else if (tag == TagText) {
                std::u16string t;
                if (!p.Text(t))
                    return std::nullopt;
                v = std::move(t);
            } else {
                std::vector<std::uint8_t> b;
                if (len > kMaxBlockBytes || !p.Bytes(len, b))
                    return std::nullopt;
                v = std::move(b);
            }
            state.scalars.emplace(id, std::move(v));
        } else if (tag == TagArray) {
            // Data-shaped arrays are bounded by the data, which comes first.
            if (!haveData || id < kMinPropertyId || id > kMaxPropertyId || DataAxisOf(id) >= 0 ||
                state.arrays.count(id))
                return std::nullopt;
            ArrayValue a;
            if (!ReadArray(p, id, state.data, a))
                return std::nullopt;
            state.arrays.emplace(id, std::move(a));
        } else {
            return std::nullopt;
        }
        if (!p.AtEnd())
            return std::nullopt;
    }
    if (!haveData)
        return std::nullopt;
    return state;
}

} // namespace chartlib
