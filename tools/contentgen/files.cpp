#include "files.h"

#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>

namespace gen {

namespace {

void Put16(Bytes& b, uint32_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
uint32_t Get32(const Bytes& b, size_t at) {
  if (at + 4 > b.size()) throw std::runtime_error("truncated");
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}
uint32_t Get16(const Bytes& b, size_t at) {
  if (at + 2 > b.size()) throw std::runtime_error("truncated");
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8;
}

struct JpegError {
  jpeg_error_mgr mgr;
  jmp_buf jump;
};
void OnJpegError(j_common_ptr info) {
  longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

}  // namespace

Bytes EncodeBmp(const Image& img) {
  const uint32_t stride = (uint32_t(img.w) * 3 + 3) & ~3u;
  const uint32_t dataSize = stride * uint32_t(img.h);
  Bytes b;
  b.reserve(54 + dataSize);
  b.push_back('B');
  b.push_back('M');
  Put32(b, 54 + dataSize);
  Put32(b, 0);
  Put32(b, 54);
  Put32(b, 40);  // BITMAPINFOHEADER
  Put32(b, uint32_t(img.w));
  Put32(b, uint32_t(img.h));  // positive: bottom row first
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);  // BI_RGB
  Put32(b, dataSize);
  Put32(b, 2835);  // 72 dpi
  Put32(b, 2835);
  Put32(b, 0);
  Put32(b, 0);
  for (int y = img.h - 1; y >= 0; --y) {
    for (int x = 0; x < img.w; ++x) {
      Rgb c = img.At(x, y);
      b.push_back(c.b);
      b.push_back(c.g);
      b.push_back(c.r);
    }
    for (uint32_t p = uint32_t(img.w) * 3; p < stride; ++p) b.push_back(0);
  }
  return b;
}

Image DecodeBmp(const Bytes& d) {
  if (d.size() < 54 || d[0] != 'B' || d[1] != 'M') throw std::runtime_error("not a bitmap");
  uint32_t offset = Get32(d, 10);
  int32_t w = int32_t(Get32(d, 18)), h = int32_t(Get32(d, 22));
  uint32_t bpp = Get16(d, 28), compression = Get32(d, 30);
  if (bpp != 24 || compression != 0 || w <= 0 || h == 0 || w > 16384 || std::abs(h) > 16384)
    throw std::runtime_error("unsupported bitmap");
  bool bottomUp = h > 0;
  int height = std::abs(h);
  size_t stride = (size_t(w) * 3 + 3) & ~size_t(3);
  if (offset + stride * size_t(height) > d.size()) throw std::runtime_error("truncated bitmap");
  Image img(w, height);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = &d[offset + stride * size_t(bottomUp ? height - 1 - y : y)];
    for (int x = 0; x < w; ++x) img.Set(x, y, {row[x * 3 + 2], row[x * 3 + 1], row[x * 3]});
  }
  return img;
}

Bytes EncodeJpeg(const Image& img, int quality) {
  jpeg_compress_struct c;
  JpegError err;
  c.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&c);
    std::free(out);
    throw std::runtime_error("JPEG encoding failed");
  }
  jpeg_create_compress(&c);
  jpeg_mem_dest(&c, &out, &outSize);
  c.image_width = JDIMENSION(img.w);
  c.image_height = JDIMENSION(img.h);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, quality, TRUE);
  // Full-resolution colour: no chroma bleeding across block edges, so keyed blocks stay black.
  for (int i = 0; i < c.num_components; ++i)
    c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
  c.dct_method = JDCT_ISLOW;
  c.optimize_coding = TRUE;
  c.write_JFIF_header = TRUE;
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&img.px[size_t(c.next_scanline) * size_t(img.w) * 3]);
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);
  Bytes b(out, out + outSize);
  std::free(out);
  return b;
}

Image DecodeJpeg(const Bytes& data) {
  jpeg_decompress_struct d;
  JpegError err;
  d.err = jpeg_std_error(&err.mgr);
  err.mgr.error_exit = OnJpegError;
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&d);
    throw std::runtime_error("JPEG decoding failed");
  }
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_read_header(&d, TRUE);
  d.out_color_space = JCS_RGB;
  d.dct_method = JDCT_ISLOW;
  jpeg_start_decompress(&d);
  Image img(int(d.output_width), int(d.output_height));
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = &img.px[size_t(d.output_scanline) * size_t(img.w) * 3];
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  return img;
}

Bytes EncodeWav(const std::vector<int16_t>& samples, int rate) {
  Bytes b;
  const uint32_t dataSize = uint32_t(samples.size() * 2);
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  Put32(b, 36 + dataSize);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(b, 16);
  Put16(b, 1);  // PCM
  Put16(b, 1);  // mono
  Put32(b, uint32_t(rate));
  Put32(b, uint32_t(rate) * 2);
  Put16(b, 2);
  Put16(b, 16);
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  Put32(b, dataSize);
  for (int16_t s : samples) Put16(b, uint16_t(s));
  return b;
}

Bytes ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path.string());
  return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::filesystem::path& path, const Bytes& data) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

Image LoadPicture(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  for (char& ch : ext) ch = char(std::tolower(static_cast<unsigned char>(ch)));
  if (ext == ".bmp") return DecodeBmp(ReadFile(path));
  if (ext == ".jpg") return DecodeJpeg(ReadFile(path));
  throw std::runtime_error("unknown picture extension " + path.string());
}

}  // namespace gen
