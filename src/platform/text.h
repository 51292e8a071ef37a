// Text rasterising for the canvas, the window's controls and the message box: Liberation Sans
// (it covers every Czech letter, and at the form's sizes every caption and fixed text of the
// game fits the control the form gives it), sized in points at 96 dpi, UTF-8 text,
// anti-aliased coverage that the caller colours. Shared by both backends: it needs no window.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace platform {

struct TextBitmap {
  int32_t Width = 0;              // the text's advance
  int32_t Height = 0;             // the font's cell: ascent + descent
  std::vector<uint8_t> Coverage;  // Width x Height, 0 (nothing) .. 255 (solid)
};

// Where the interface font was found. Intended is false for a fallback face: it shows every
// letter, but its wider glyphs can clip captions and wrap the shop's texts.
struct FontChoice {
  std::string Path;  // empty when no font was found
  bool Intended = false;
};
// The interface font among the files that exist: Liberation Sans in the places distributions
// install it (or Arimo, the same design with the same advances), else DejaVu Sans Condensed or
// DejaVu Sans.
FontChoice ChooseInterfaceFont(const std::function<bool(const std::string&)>& exists);
// What the game says on its error stream about a choice that is not the intended font.
std::string FontWarning(const FontChoice& choice);

class TextRasterizer {
 public:
  // The process's rasteriser; fonts are opened once per size and kept.
  static TextRasterizer& Shared();

  ~TextRasterizer();
  TextRasterizer(const TextRasterizer&) = delete;
  TextRasterizer& operator=(const TextRasterizer&) = delete;

  // False when no font file could be found or opened; text then draws nothing.
  bool Available();
  const FontChoice& Font() const { return font_; }
  // The cell the text takes: its advance and the font's height.
  void Measure(const std::string& utf8, int32_t points, int32_t& width, int32_t& height);
  int32_t LineHeight(int32_t points);
  TextBitmap Render(const std::string& utf8, int32_t points);

 private:
  TextRasterizer();
  void* FontFor(int32_t points);  // a TTF_Font, or null

  bool initialized_ = false;
  FontChoice font_;
  std::map<int32_t, void*> fonts_;
};

}  // namespace platform
