// The chart state block: what ChartStoreState writes and ChartLoadState reads.
//
// Layout (little-endian):
//   header, 16 bytes: "NVCS", version u16 (1), flags u16 (0), length u32 (the whole block,
//   header included), CRC-32 u32 of the bytes from offset 16 up to length.
//   records, each: tag u8, reserved u8 and u16 (0), id i32, payload length u32, payload.
//     tag 1 data (id 0): subsets i32, points i32, then X, Y and Z: row count u32 and per row
//                        its length u32 and the values as f64.
//     tag 2 int: i32.  tag 3 double: f64.  tag 4 single: f32.
//     tag 5 text: unit count u32, UTF-16 units.  tag 6 block: the bytes.
//     tag 7 array: element kind u8 (1 int, 2 double, 3 single, 4 text), two indexes u8,
//                  reserved u16, row count u32, per row its length u32 and the elements
//                  (i32, f64, f32, or texts as unit count u32 plus units).
// Records come in a fixed order (data, scalars by id, arrays by id), so storing the same state
// gives the same bytes. Transient values (handles, hot-spot records, the dialog result) are not
// stored.
#pragma once

#include "platform/chartlib/chart_object.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace chartlib {

std::vector<std::uint8_t> EncodeState(const ChartState &state);
// Validates the whole block; nullopt when anything is wrong. Bytes after the block's length
// are not looked at.
std::optional<ChartState> DecodeState(std::span<const std::uint8_t> block);

} // namespace chartlib
