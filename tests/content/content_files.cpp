#include "content_files.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace content_test {

std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  if (at + 4 > b.size()) throw std::runtime_error("truncated");
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
  if (at + 2 > b.size()) throw std::runtime_error("truncated");
  return uint16_t(b[at] | b[at + 1] << 8);
}

Picture Bitmap(const std::vector<uint8_t>& d) {
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') throw std::runtime_error("not a bitmap");
  int32_t w = int32_t(U32(d, 18)), h = int32_t(U32(d, 22));
  if (U16(d, 28) != 24 || U32(d, 30) != 0 || w <= 0 || h == 0)
    throw std::runtime_error("not a plain 24-bit bitmap");
  int height = std::abs(h);
  size_t stride = (size_t(w) * 3 + 3) & ~size_t(3), offset = U32(d, 10);
  if (offset + stride * size_t(height) > d.size()) throw std::runtime_error("truncated bitmap");
  Picture p{w, height, std::vector<Pixel>(size_t(w) * size_t(height))};
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = &d[offset + stride * size_t(h > 0 ? height - 1 - y : y)];
    for (int x = 0; x < w; ++x)
      p.px[size_t(y) * size_t(w) + size_t(x)] = {row[3 * x + 2], row[3 * x + 1], row[3 * x]};
  }
  return p;
}

struct JpegError {
  jpeg_error_mgr mgr;
  jmp_buf jump;
};
void OnError(j_common_ptr info) {
  longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

Picture Jpeg(const std::vector<uint8_t>& data) {
  jpeg_decompress_struct d;
  JpegError err;
  d.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnError;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&d);
    throw std::runtime_error("bad JPEG");
  }
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_RGB;
  jpeg_start_decompress(&d);
  Picture p{int(d.output_width), int(d.output_height), {}};
  p.px.resize(size_t(p.w) * size_t(p.h));
  std::vector<uint8_t> row(size_t(p.w) * 3);
  while (d.output_scanline < d.output_height) {
    size_t y = d.output_scanline;
    JSAMPROW r = row.data();
    jpeg_read_scanlines(&d, &r, 1);
    for (int x = 0; x < p.w; ++x)
      p.px[y * size_t(p.w) + size_t(x)] = {row[size_t(3 * x)], row[size_t(3 * x + 1)],
                                           row[size_t(3 * x + 2)]};
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return p;
}

}  // namespace

Picture LoadPicture(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  if (ext == ".bmp") return Bitmap(ReadBytes(path));
  if (ext == ".jpg") return Jpeg(ReadBytes(path));
  throw std::runtime_error("unknown picture extension: " + path.string());
}

Wave LoadWave(const std::filesystem::path& path) {
  auto d = ReadBytes(path);
  if (d.size() < 12 || std::string(d.begin(), d.begin() + 4) != "RIFF" ||
      std::string(d.begin() + 8, d.begin() + 12) != "WAVE")
    throw std::runtime_error("not RIFF WAVE: " + path.string());
  Wave w;
  size_t at = 12;
  bool haveData = false;
  while (at + 8 <= d.size()) {
    std::string id(d.begin() + long(at), d.begin() + long(at) + 4);
    uint32_t len = U32(d, at + 4);
    if (at + 8 + len > d.size()) throw std::runtime_error("chunk past the end");
    if (id == "fmt ") {
      w.format = U16(d, at + 8);
      w.channels = U16(d, at + 10);
      w.rate = U32(d, at + 12);
      w.bits = U16(d, at + 22);
    } else if (id == "data") {
      for (size_t i = 0; i + 1 < len; i += 2) w.samples.push_back(int16_t(U16(d, at + 8 + i)));
      haveData = true;
    }
    at += 8 + len + (len & 1);
  }
  if (!haveData) throw std::runtime_error("no data chunk");
  return w;
}

}  // namespace content_test
