// Small picture and sound files made in code, for the readers' tests and the fuzz seeds.
#pragma once

#include <jpeglib.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace samples {

inline void Put16(std::vector<uint8_t>& b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
inline void Set32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  if (at + 4 > b.size()) std::abort();
  const uint8_t bytes[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8),
                            static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 24)};
  std::copy(bytes, bytes + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

// A Windows bitmap with a 40-byte header. pixels: XRGB (0x00RRGGBB), top row first. For 8
// bits and less they are palette indexes. For 32 bits the X byte is written as given.
inline std::vector<uint8_t> Bmp(int32_t w, int32_t h, int bpp, const std::vector<uint32_t>& pixels,
                                bool topDown = false, const std::vector<uint32_t>& palette = {}) {
  std::vector<uint8_t> b;
  const uint32_t stride = ((static_cast<uint32_t>(w) * bpp + 31) / 32) * 4;
  const uint32_t palBytes = static_cast<uint32_t>(palette.size()) * 4;
  const uint32_t offBits = 14 + 40 + palBytes;
  b.push_back('B');
  b.push_back('M');
  Put32(b, offBits + stride * static_cast<uint32_t>(h));
  Put32(b, 0);
  Put32(b, offBits);
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(w));
  Put32(b, static_cast<uint32_t>(topDown ? -h : h));
  Put16(b, 1);
  Put16(b, static_cast<uint32_t>(bpp));
  Put32(b, 0);
  Put32(b, stride * static_cast<uint32_t>(h));
  Put32(b, 2835);
  Put32(b, 2835);
  Put32(b, static_cast<uint32_t>(palette.size()));
  Put32(b, 0);
  for (uint32_t c : palette) Put32(b, c & 0xFFFFFF);
  for (int32_t row = 0; row < h; ++row) {
    const int32_t y = topDown ? row : h - 1 - row;
    std::vector<uint8_t> line(stride, 0);
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(y * w + x)];
      switch (bpp) {
        case 1:
          line[x / 8] |= static_cast<uint8_t>((p & 1) << (7 - x % 8));
          break;
        case 4:
          line[x / 2] |= static_cast<uint8_t>((p & 15) << (x % 2 ? 0 : 4));
          break;
        case 8:
          line[x] = static_cast<uint8_t>(p);
          break;
        case 24:
          line[3 * x] = static_cast<uint8_t>(p);
          line[3 * x + 1] = static_cast<uint8_t>(p >> 8);
          line[3 * x + 2] = static_cast<uint8_t>(p >> 16);
          break;
        case 32:
          for (int i = 0; i < 4; ++i) line[4 * x + i] = static_cast<uint8_t>(p >> (8 * i));
          break;
        default:
          std::abort();
      }
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  return b;
}

// A JPEG of an XRGB picture (top row first), baseline unless progressive is asked for.
inline std::vector<uint8_t> Jpeg(int32_t w, int32_t h, const std::vector<uint32_t>& pixels,
                                 int quality = 95, bool gray = false, bool progressive = false) {
  jpeg_compress_struct c;
  jpeg_error_mgr err;
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* mem = nullptr;
  unsigned long memSize = 0;
  jpeg_mem_dest(&c, &mem, &memSize);
  c.image_width = static_cast<JDIMENSION>(w);
  c.image_height = static_cast<JDIMENSION>(h);
  c.input_components = gray ? 1 : 3;
  c.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  if (progressive) jpeg_simple_progression(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(w) * 3);
  while (c.next_scanline < c.image_height) {
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t p = pixels[static_cast<size_t>(c.next_scanline) * w + x];
      if (gray) {
        row[x] = static_cast<uint8_t>(p);
      } else {
        row[3 * x] = static_cast<uint8_t>(p >> 16);
        row[3 * x + 1] = static_cast<uint8_t>(p >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(p);
      }
    }
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&c, &r, 1);
  }
  jpeg_finish_compress(&c);
  std::vector<uint8_t> out(mem, mem + memSize);
  jpeg_destroy_compress(&c);
  std::free(mem);
  return out;
}

// A RIFF WAVE file of plain PCM with any extra chunks before the samples.
inline std::vector<uint8_t> Wav(
    uint16_t channels, uint32_t rate, uint16_t bits, const std::vector<uint8_t>& data,
    const std::vector<std::pair<std::string, std::vector<uint8_t>>>& extra = {}, uint16_t tag = 1) {
  std::vector<uint8_t> b = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  auto chunk = [&](const std::string& id, const std::vector<uint8_t>& body) {
    b.insert(b.end(), id.begin(), id.end());
    Put32(b, static_cast<uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (body.size() % 2) b.push_back(0);
  };
  std::vector<uint8_t> fmt;
  Put16(fmt, tag);
  Put16(fmt, channels);
  Put32(fmt, rate);
  Put32(fmt, rate * channels * bits / 8);
  Put16(fmt, static_cast<uint32_t>(channels * bits / 8));
  Put16(fmt, bits);
  chunk("fmt ", fmt);
  for (const auto& [id, body] : extra) chunk(id, body);
  chunk("data", data);
  Set32(b, 4, static_cast<uint32_t>(b.size() - 8));
  return b;
}

// Little-endian 16-bit samples.
inline std::vector<uint8_t> Pcm16(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> b;
  for (int16_t s : samples) Put16(b, static_cast<uint16_t>(s));
  return b;
}

}  // namespace samples
