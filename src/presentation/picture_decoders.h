// Decoders for the two picture formats the game reads. They take the whole file in memory and
// treat it as hostile: every length and offset is checked before use, the pixel count is
// bounded before anything is allocated, and a damaged file is reported, never crashed on.
#pragma once

#include <cstddef>
#include <cstdint>

struct TPicture;

namespace picture_codec {

// The largest picture accepted, in pixels (and on either side). The game's largest picture is
// 1024 x 768; the bounds only keep a lying header from asking for gigabytes.
inline constexpr int64_t kMaxPixels = int64_t{1} << 25;
inline constexpr int32_t kMaxSide = 32768;
// The largest picture file read at all.
inline constexpr uint64_t kMaxFileBytes = uint64_t{64} << 20;

// Windows bitmap: 1, 4, 8, 16, 24 and 32 bits per pixel, uncompressed, bit fields or RLE,
// bottom-up or top-down. Fills out (XRGB8888, top row first) and returns true, or returns
// false with out untouched.
bool DecodeBmp(const uint8_t* data, size_t size, TPicture& out);

// JPEG through libjpeg. Returns 0 and fills out, or returns libjpeg's message code of the
// first error or warning (a warning such as a premature end is an error here) with out
// untouched. Never returns 0 on failure: a failure without a code reports -1.
int DecodeJpeg(const uint8_t* data, size_t size, TPicture& out);
// The code reported for a JPEG file or picture larger than the bounds above.
int JpegTooBigCode();

}  // namespace picture_codec
