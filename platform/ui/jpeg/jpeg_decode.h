// JPEG decoding through libjpeg with its default settings. Damaged data is a
// failure with libjpeg's own message, never a crash: every error and every
// corrupt-data warning ends the decoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace ui {

// An RGB bitmap: 3 bytes per pixel (red, green, blue), rows top down, no
// padding between rows.
struct TJpegBitmap {
    int Width = 0;
    int Height = 0;
    std::vector<uint8_t> Rgb;
};

// Pictures larger than this many pixels are refused before decoding.
inline constexpr uint64_t kJpegMaxPixels = 64ull * 1024 * 1024;

// Decodes a whole JPEG. False with error set (out emptied) when the data is
// no JPEG, is damaged or truncated, uses a colour space that does not convert
// to RGB, or is too large.
bool DecodeJpeg(const uint8_t *data, size_t size, TJpegBitmap &out, std::string &error);

} // namespace ui
