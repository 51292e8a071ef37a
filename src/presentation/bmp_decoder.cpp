#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <vector>

#include "base/file_io.h"
#include "presentation/picture.h"
#include "presentation/picture_decoders.h"

namespace picture_codec {
namespace {

using fileio::U16;
using fileio::U32;

constexpr uint32_t kRgb = 0;
constexpr uint32_t kRle8 = 1;
constexpr uint32_t kRle4 = 2;
constexpr uint32_t kBitFields = 3;
constexpr uint32_t kAlphaBitFields = 6;

// One colour channel of a bit-field pixel: where it sits and how to widen it to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  static Channel From(uint32_t mask) {
    Channel c;
    c.mask = mask;
    if (mask == 0) return c;
    c.shift = std::countr_zero(mask);
    c.bits = std::popcount(mask >> c.shift);
    return c;
  }
  // Expands the channel's value to 0..255 (a 5-bit 31 becomes 255, not 248).
  uint32_t Extract(uint32_t pixel) const {
    if (bits == 0) return 0;
    uint32_t v = (pixel & mask) >> shift;
    if (bits >= 8) return v >> (bits - 8);
    const uint32_t max = (1u << bits) - 1;
    return (v * 255 + max / 2) / max;
  }
};

bool ContiguousMask(uint32_t mask) {
  if (mask == 0) return true;
  const uint32_t m = mask >> std::countr_zero(mask);
  return (m & (m + 1)) == 0;
}

struct Header {
  int32_t width = 0;
  int32_t height = 0;  // rows, always positive here
  bool topDown = false;
  int bpp = 0;
  uint32_t compression = kRgb;
  uint32_t paletteOffset = 0;
  uint32_t paletteCount = 0;
  uint32_t paletteEntryBytes = 4;
  Channel red, green, blue;
};

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) {
  return (r << 16) | (g << 8) | b;
}

bool ReadHeader(const uint8_t* p, size_t n, Header& h) {
  if (n < 14 + 12 || p[0] != 'B' || p[1] != 'M') return false;
  const uint32_t headerSize = U32(p + 14);
  if (headerSize > n - 14) return false;
  const uint8_t* ih = p + 14;
  if (headerSize == 12) {  // the old core header: 16-bit sides, 3-byte palette entries
    h.width = U16(ih + 4);
    h.height = U16(ih + 6);
    h.bpp = U16(ih + 10);
    h.paletteEntryBytes = 3;
    h.paletteOffset = 14 + 12;
    if (h.bpp > 8 && h.bpp != 24) return false;
  } else if (headerSize >= 40) {
    const int32_t w = fileio::I32(ih + 4);
    const int32_t ht = fileio::I32(ih + 8);
    h.bpp = U16(ih + 14);
    h.compression = U32(ih + 16);
    uint32_t used = U32(ih + 32);
    if (w <= 0 || ht == 0 || ht < -kMaxSide || ht > kMaxSide) return false;
    h.width = w;
    h.topDown = ht < 0;
    h.height = ht < 0 ? -ht : ht;
    h.paletteOffset = 14 + headerSize;
    h.paletteCount = used;
    if (h.compression == kBitFields || h.compression == kAlphaBitFields) {
      if (h.bpp != 16 && h.bpp != 32) return false;
      // A plain 40-byte header is followed by the masks; longer headers hold them.
      const uint32_t maskBytes = h.compression == kAlphaBitFields ? 16 : 12;
      const uint8_t* masks = ih + 40;
      if (headerSize != 40 && headerSize < 52) return false;  // no header of that size
      if (headerSize == 40) {
        if (n - 14 - 40 < maskBytes) return false;
        h.paletteOffset += maskBytes;
      }
      const uint32_t r = U32(masks), g = U32(masks + 4), b = U32(masks + 8);
      if (!ContiguousMask(r) || !ContiguousMask(g) || !ContiguousMask(b)) return false;
      h.red = Channel::From(r);
      h.green = Channel::From(g);
      h.blue = Channel::From(b);
    } else if (h.bpp == 16) {
      h.red = Channel::From(0x7C00);
      h.green = Channel::From(0x03E0);
      h.blue = Channel::From(0x001F);
    } else if (h.bpp == 32) {
      h.red = Channel::From(0x00FF0000);
      h.green = Channel::From(0x0000FF00);
      h.blue = Channel::From(0x000000FF);
    }
    if (h.compression == kRle8 && h.bpp != 8) return false;
    if (h.compression == kRle4 && h.bpp != 4) return false;
    if (h.compression != kRgb && h.compression != kRle8 && h.compression != kRle4 &&
        h.compression != kBitFields && h.compression != kAlphaBitFields) {
      return false;
    }
    // Run-length pictures are always stored bottom-up.
    if ((h.compression == kRle8 || h.compression == kRle4) && h.topDown) return false;
  } else {
    return false;
  }
  if (h.bpp != 1 && h.bpp != 4 && h.bpp != 8 && h.bpp != 16 && h.bpp != 24 && h.bpp != 32) {
    return false;
  }
  if (h.width <= 0 || h.height <= 0 || h.width > kMaxSide || h.height > kMaxSide) return false;
  if (int64_t{h.width} * h.height > kMaxPixels) return false;
  if (h.bpp <= 8) {
    const uint32_t most = 1u << h.bpp;
    if (h.paletteCount == 0 || h.paletteCount > most) h.paletteCount = most;
  } else {
    h.paletteCount = 0;
  }
  return true;
}

// Reads the colour table; entries the file does not hold stay black.
bool ReadPalette(const uint8_t* p, size_t n, const Header& h, std::array<uint32_t, 256>& pal) {
  pal.fill(0);
  if (h.paletteCount == 0) return true;
  const uint64_t bytes = uint64_t{h.paletteCount} * h.paletteEntryBytes;
  if (h.paletteOffset > n || bytes > n - h.paletteOffset) return false;
  const uint8_t* e = p + h.paletteOffset;
  for (uint32_t i = 0; i < h.paletteCount; ++i, e += h.paletteEntryBytes) {
    pal[i] = Rgb(e[2], e[1], e[0]);
  }
  return true;
}

uint64_t Stride(const Header& h) {
  return ((uint64_t{static_cast<uint32_t>(h.width)} * static_cast<uint32_t>(h.bpp) + 31) / 32) * 4;
}

bool DecodeUncompressed(const uint8_t* bits, size_t available, const Header& h,
                        const std::array<uint32_t, 256>& pal, std::vector<uint32_t>& px) {
  const uint64_t stride = Stride(h);
  if (stride * static_cast<uint64_t>(h.height) > available) return false;
  const auto w = static_cast<size_t>(h.width);
  for (int32_t row = 0; row < h.height; ++row) {
    const uint8_t* s = bits + stride * static_cast<uint64_t>(row);
    const int32_t y = h.topDown ? row : h.height - 1 - row;
    uint32_t* d = px.data() + static_cast<size_t>(y) * w;
    switch (h.bpp) {
      case 1:
        for (size_t x = 0; x < w; ++x) d[x] = pal[(s[x >> 3] >> (7 - (x & 7))) & 1];
        break;
      case 4:
        for (size_t x = 0; x < w; ++x) d[x] = pal[(s[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
        break;
      case 8:
        for (size_t x = 0; x < w; ++x) d[x] = pal[s[x]];
        break;
      case 16:
        for (size_t x = 0; x < w; ++x) {
          const uint32_t v = U16(s + 2 * x);
          d[x] = Rgb(h.red.Extract(v), h.green.Extract(v), h.blue.Extract(v));
        }
        break;
      case 24:
        for (size_t x = 0; x < w; ++x) d[x] = Rgb(s[3 * x + 2], s[3 * x + 1], s[3 * x]);
        break;
      case 32:
        for (size_t x = 0; x < w; ++x) {
          const uint32_t v = U32(s + 4 * x);
          d[x] = Rgb(h.red.Extract(v), h.green.Extract(v), h.blue.Extract(v));
        }
        break;
      default:
        return false;
    }
  }
  return true;
}

// A stretch of one row that a run or a literal sets: count pixels from start (an index into
// the finished picture, top row first), either all from one byte of the coded data (a run;
// for 4 bits its two nibbles alternate) or from the bytes that follow it (a literal).
struct Stretch {
  uint32_t start;
  uint32_t source;  // offset of the run's value or of the literal's first byte
  uint16_t count;
  bool literal;
};

// Run-length coded 8- or 4-bit rows, read into the stretches they set, each handed to emit
// clipped to the picture. The loop consumes input on every pass, so it ends within the
// file's length.
template <class Emit>
bool ReadRle(const uint8_t* s, size_t n, const Header& h, Emit&& emit) {
  const bool four = h.compression == kRle4;
  int64_t x = 0;
  int64_t row = 0;  // counted from the bottom
  size_t i = 0;
  auto set = [&](size_t source, uint32_t count, bool literal) {
    if (x < h.width && row < h.height) {
      const auto y = static_cast<uint32_t>(h.height - 1 - row);
      const auto clipped = static_cast<uint16_t>(std::min<int64_t>(count, h.width - x));
      emit(Stretch{y * static_cast<uint32_t>(h.width) + static_cast<uint32_t>(x),
                   static_cast<uint32_t>(source), clipped, literal});
    }
    x += count;
  };
  while (i + 1 < n) {
    const uint8_t count = s[i];
    const uint8_t value = s[i + 1];
    i += 2;
    if (count > 0) {  // a run of one value (two alternating nibbles for 4 bits)
      set(i - 1, count, false);
      continue;
    }
    if (value == 0) {  // end of row
      x = 0;
      ++row;
    } else if (value == 1) {  // end of picture
      return true;
    } else if (value == 2) {  // move right and up
      if (i + 1 >= n) return false;
      x += s[i];
      row += s[i + 1];
      i += 2;
    } else {  // literal pixels, padded to a 16-bit boundary
      const size_t bytes = four ? (value + 1u) / 2u : value;
      const size_t padded = (bytes + 1) & ~size_t{1};
      if (padded > n - i) return false;
      set(i, value, true);
      i += padded;
    }
    if (row > h.height) return false;  // runs past the picture: the file is damaged
  }
  // A picture without its end marker is accepted if the rows ran out; otherwise damaged.
  return row >= h.height;
}

void Paint(const uint8_t* s, bool four, const std::array<uint32_t, 256>& pal, const Stretch& st,
           std::vector<uint32_t>& px) {
  uint32_t* d = px.data() + st.start;
  const uint8_t* b = s + st.source;
  for (uint32_t k = 0; k < st.count; ++k) {
    uint32_t index;
    if (!four) {
      index = st.literal ? b[k] : b[0];
    } else {
      const uint8_t byte = st.literal ? b[k / 2] : b[0];
      index = (k & 1) ? (byte & 0xF) : (byte >> 4);
    }
    d[k] = pal[index];
  }
}

// Pixels no stretch sets are palette colour 0. A picture far larger than its coded bytes
// (a few dozen bytes can claim 2^25 pixels) is made only once all its rows have been read,
// so a damaged one costs no more than its bytes; the stretches kept meanwhile are fewer
// than the bytes. A picture no larger than its bytes is painted as they are read.
bool DecodeRle(const uint8_t* s, size_t n, const Header& h, const std::array<uint32_t, 256>& pal,
               std::vector<uint32_t>& px) {
  const bool four = h.compression == kRle4;
  const uint64_t pixels = static_cast<uint64_t>(h.width) * static_cast<uint64_t>(h.height);
  if (pixels <= 2 * uint64_t{n}) {
    px.assign(pixels, pal[0]);
    return ReadRle(s, n, h, [&](const Stretch& st) { Paint(s, four, pal, st, px); });
  }
  std::vector<Stretch> stretches;
  if (!ReadRle(s, n, h, [&](const Stretch& st) { stretches.push_back(st); })) return false;
  px.assign(pixels, pal[0]);
  for (const Stretch& st : stretches) Paint(s, four, pal, st, px);
  return true;
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, TPicture& out) {
  Header h;
  if (data == nullptr || !ReadHeader(data, size, h)) return false;
  std::array<uint32_t, 256> pal{};
  if (!ReadPalette(data, size, h, pal)) return false;
  const uint32_t offBits = U32(data + 10);
  if (offBits >= size) return false;
  const uint8_t* bits = data + offBits;
  const size_t available = size - offBits;
  const bool rle = h.compression == kRle8 || h.compression == kRle4;
  // Uncompressed rows must all be in the file before the picture is allocated.
  if (!rle && Stride(h) * static_cast<uint64_t>(h.height) > available) return false;
  std::vector<uint32_t> px;
  if (rle) {
    if (!DecodeRle(bits, available, h, pal, px)) return false;
  } else {
    px.resize(static_cast<size_t>(h.width) * static_cast<size_t>(h.height));
    if (!DecodeUncompressed(bits, available, h, pal, px)) return false;
  }
  out.Width = h.width;
  out.Height = h.height;
  out.Pixels = std::move(px);
  return true;
}

}  // namespace picture_codec
