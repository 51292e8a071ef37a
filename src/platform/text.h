// Text rasterising for the canvas, the window's controls and the message box: DejaVu Sans
// (it covers every Czech letter), sized in points at 96 dpi, UTF-8 text, anti-aliased
// coverage that the caller colours. Shared by both backends: it needs no window.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace platform {

struct TextBitmap {
  int32_t Width = 0;              // the text's advance
  int32_t Height = 0;             // the font's cell: ascent + descent
  std::vector<uint8_t> Coverage;  // Width x Height, 0 (nothing) .. 255 (solid)
};

class TextRasterizer {
 public:
  // The process's rasteriser; fonts are opened once per size and kept.
  static TextRasterizer& Shared();

  ~TextRasterizer();
  TextRasterizer(const TextRasterizer&) = delete;
  TextRasterizer& operator=(const TextRasterizer&) = delete;

  // False when no font file could be found or opened; text then draws nothing.
  bool Available();
  // The cell the text takes: its advance and the font's height.
  void Measure(const std::string& utf8, int32_t points, int32_t& width, int32_t& height);
  int32_t LineHeight(int32_t points);
  TextBitmap Render(const std::string& utf8, int32_t points);

 private:
  TextRasterizer();
  void* FontFor(int32_t points);  // a TTF_Font, or null

  bool initialized_ = false;
  std::string path_;
  std::map<int32_t, void*> fonts_;
};

}  // namespace platform
