#include "platform/text.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>

namespace platform {
namespace {

constexpr unsigned kDpi = 96;

// Liberation Sans where the distributions put it, then Arimo: with light hinting both give the
// same advances, which the form's control sizes were checked against.
constexpr std::array<const char*, 7> kIntended = {
    "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/liberation-sans-fonts/LiberationSans-Regular.ttf",
    "/usr/share/fonts/liberation-sans/LiberationSans-Regular.ttf",
    "/usr/share/fonts/liberation/LiberationSans-Regular.ttf",
    "/usr/share/fonts/TTF/LiberationSans-Regular.ttf",
    "/usr/share/fonts/truetype/croscore/Arimo-Regular.ttf",
};
// Faces that still show every Czech letter, the narrower first.
constexpr std::array<const char*, 6> kFallbacks = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf",
    "/usr/share/fonts/TTF/DejaVuSansCondensed.ttf",
    "/usr/share/fonts/dejavu/DejaVuSansCondensed.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/TTF/DejaVuSans.ttf",
    "/usr/share/fonts/dejavu/DejaVuSans.ttf",
};

bool IsFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

FontChoice ChooseInterfaceFont(const std::function<bool(const std::string&)>& exists) {
  for (const char* p : kIntended) {
    if (exists(p)) return {p, true};
  }
  for (const char* p : kFallbacks) {
    if (exists(p)) return {p, false};
  }
  return {};
}

std::string FontWarning(const FontChoice& choice) {
  if (choice.Intended) return "";
  std::string text = choice.Path.empty()
                         ? "no interface font found, texts will not show. Looked for:"
                         : "Liberation Sans not found, using " + choice.Path +
                               "; some captions may not fit. Looked for:";
  for (const char* p : kIntended) text += std::string("\n  ") + p;
  text += "\nInstall the package fonts-liberation2 (or fonts-liberation).";
  return text;
}

TextRasterizer& TextRasterizer::Shared() {
  static TextRasterizer instance;
  return instance;
}

TextRasterizer::TextRasterizer() {
  font_ = ChooseInterfaceFont(IsFile);
  if (!font_.Intended) std::fprintf(stderr, "starvelkhorn: %s\n", FontWarning(font_).c_str());
  initialized_ = !font_.Path.empty() && TTF_Init() == 0;
}

TextRasterizer::~TextRasterizer() {
  for (auto& [size, font] : fonts_) {
    if (font) TTF_CloseFont(static_cast<TTF_Font*>(font));
  }
  if (initialized_) TTF_Quit();
}

bool TextRasterizer::Available() {
  return initialized_ && FontFor(8) != nullptr;
}

void* TextRasterizer::FontFor(int32_t points) {
  if (!initialized_) return nullptr;
  points = std::clamp(points, 1, 500);
  auto it = fonts_.find(points);
  if (it != fonts_.end()) return it->second;
  TTF_Font* font = TTF_OpenFontDPI(font_.Path.c_str(), points, kDpi, kDpi);
  // Light hinting, as desktops render by default: crisp rows, and advances that stay close to
  // the design's, so the widths the controls were checked with hold.
  if (font) TTF_SetFontHinting(font, TTF_HINTING_LIGHT);
  fonts_[points] = font;
  return font;
}

int32_t TextRasterizer::LineHeight(int32_t points) {
  auto* font = static_cast<TTF_Font*>(FontFor(points));
  return font ? TTF_FontHeight(font) : 0;
}

void TextRasterizer::Measure(const std::string& utf8, int32_t points, int32_t& width,
                             int32_t& height) {
  width = 0;
  height = 0;
  auto* font = static_cast<TTF_Font*>(FontFor(points));
  if (!font) return;
  height = TTF_FontHeight(font);
  int w = 0, h = 0;
  if (!utf8.empty() && TTF_SizeUTF8(font, utf8.c_str(), &w, &h) == 0) width = w;
}

TextBitmap TextRasterizer::Render(const std::string& utf8, int32_t points) {
  TextBitmap out;
  auto* font = static_cast<TTF_Font*>(FontFor(points));
  if (!font || utf8.empty()) return out;
  SDL_Surface* s = TTF_RenderUTF8_Blended(font, utf8.c_str(), SDL_Color{255, 255, 255, 255});
  if (!s) return out;
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(s);
  if (!argb) return out;
  out.Width = argb->w;
  out.Height = std::max(argb->h, TTF_FontHeight(font));
  out.Coverage.assign(static_cast<size_t>(out.Width) * static_cast<size_t>(out.Height), 0);
  for (int y = 0; y < argb->h; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(argb->pixels) +
                                                        static_cast<ptrdiff_t>(y) * argb->pitch);
    for (int x = 0; x < argb->w; ++x) {
      out.Coverage[static_cast<size_t>(y) * static_cast<size_t>(out.Width) +
                   static_cast<size_t>(x)] = static_cast<uint8_t>(row[x] >> 24);
    }
  }
  SDL_FreeSurface(argb);
  return out;
}

}  // namespace platform
