// Small content files that tests write for themselves: 24-bit bitmaps, baseline JPEGs, PCM
// wave files, level maps and schedules, and a complete minimal tree of every file the asset
// catalog names. Pictures are plain blocks of colour in the sizes and pattern grids the game
// cuts them into, so a test can tell on the back buffer which pattern was drawn.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "base/asset_catalog.h"
#include "base/file_io.h"
#include "support/sample_files.h"

namespace testcontent {

// A picture in the game's colour notation, 0x00BBGGRR.
struct Image {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint32_t> Pixels;

  Image(int32_t w, int32_t h, uint32_t fill = 0)
      : Width(w), Height(h), Pixels(static_cast<size_t>(w) * h, fill) {}
  uint32_t& At(int32_t x, int32_t y) { return Pixels[static_cast<size_t>(y) * Width + x]; }
  void FillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t c) {
    for (int32_t j = y; j < y + h; ++j)
      for (int32_t i = x; i < x + w; ++i)
        if (i >= 0 && j >= 0 && i < Width && j < Height) At(i, j) = c;
  }
};

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  auto parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) std::filesystem::create_directories(parent);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// The picture's pixels in the files' byte order (XRGB), for the sample writers.
inline std::vector<uint32_t> Xrgb(const Image& img) {
  std::vector<uint32_t> px(img.Pixels.size());
  for (size_t i = 0; i < px.size(); ++i) {
    const uint32_t c = img.Pixels[i];  // 0x00BBGGRR
    px[i] = ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
  }
  return px;
}

// A bottom-up 24-bit Windows bitmap.
inline void WriteBmp(const std::string& path, const Image& img) {
  WriteBytes(path, samples::Bmp(img.Width, img.Height, 24, Xrgb(img)));
}

// A baseline JPEG at high quality (colours come back within a few steps).
inline void WriteJpeg(const std::string& path, const Image& img) {
  WriteBytes(path, samples::Jpeg(img.Width, img.Height, Xrgb(img), 98));
}

// Chooses the format by the name's extension, as the game reads it.
inline void WritePicture(const std::string& path, const Image& img) {
  const auto ext = std::filesystem::path(path).extension().string();
  if (ext == ".jpg") {
    WriteJpeg(path, img);
  } else {
    WriteBmp(path, img);
  }
}

// A mono 8-bit PCM wave of the given number of samples at 22050 Hz: a quiet square wave.
inline void WriteWav(const std::string& path, uint32_t count = 2205) {
  std::vector<uint8_t> data(count);
  for (uint32_t i = 0; i < count; ++i)
    data[i] = static_cast<uint8_t>(0x80 + ((i / 20) % 2 ? 30 : -30));
  WriteBytes(path, samples::Wav(1, 22050, 8, data));
}

struct Row {
  int32_t X = 0;
  int32_t Y = 0;
  int32_t EnemyKind = 0;
  uint8_t Variant = 0;
  int64_t Time = 0;
};

inline std::vector<uint8_t> ScheduleBytes(const std::vector<Row>& rows) {
  std::vector<uint8_t> b;
  for (const Row& r : rows) {
    uint8_t rec[24] = {};
    fileio::PutU32(rec, static_cast<uint32_t>(r.X));
    fileio::PutU32(rec + 4, static_cast<uint32_t>(r.Y));
    fileio::PutU32(rec + 8, static_cast<uint32_t>(r.EnemyKind));
    rec[12] = r.Variant;
    fileio::PutU64(rec + 16, static_cast<uint64_t>(r.Time));
    b.insert(b.end(), rec, rec + 24);
  }
  return b;
}

// Writes levels/level0M.mat (tile (column, row) from the function) and .ene.
inline void WriteLevel(int mission, const std::function<uint8_t(int32_t, int32_t)>& tile,
                       const std::vector<Row>& rows) {
  std::vector<uint8_t> map(262144);
  for (int32_t c = 0; c < 32; ++c)
    for (int32_t r = 0; r < 8192; ++r) map[static_cast<size_t>(c) * 8192 + r] = tile(c, r);
  WriteBytes(catalog::LevelMapPath(mission), map);
  WriteBytes(catalog::LevelSchedulePath(mission), ScheduleBytes(rows));
}

// A picture cut into `patterns` cells of w x h, cell i filled with colour base + i (never a
// key colour), on a key-coloured one-pixel border so colour keys are exercised.
inline Image Cells(int32_t w, int32_t h, int32_t patterns, uint32_t base, uint32_t key,
                   int32_t columns = 0) {
  if (columns <= 0) columns = patterns;
  const int32_t rows = (patterns + columns - 1) / columns;
  Image img(w * columns, h * rows, key);
  for (int32_t i = 0; i < patterns; ++i) {
    const int32_t cx = (i % columns) * w, cy = (i / columns) * h;
    img.FillRect(cx + (w > 2 ? 1 : 0), cy + (h > 2 ? 1 : 0), w > 2 ? w - 2 : w, h > 2 ? h - 2 : h,
                 base + static_cast<uint32_t>(i));
  }
  return img;
}

// Every file of the start-up catalog, the four aircraft, the six bosses, the three terrain
// sheets, an empty level 0 (tiles 0..3 in a checker) and a one-note score for every theme,
// relative to the working directory.
inline void WriteMinimalContent() {
  for (const auto& p : catalog::kStartupPictures) {
    const int32_t w = p.PatternWidth > 0 ? p.PatternWidth : 64;
    const int32_t h = p.PatternHeight > 0 ? p.PatternHeight : 64;
    const uint32_t base = 0x101080 + 0x20 * static_cast<uint32_t>(p.Index);
    WritePicture(p.Path, Cells(w, h, p.MinPatterns, base, p.Transparent ? p.Key : 0x000000,
                               p.MinPatterns > 8 ? 5 : 0));
  }
  for (const auto& s : catalog::kStartupSounds) WriteWav(s.Path);
  for (const auto& a : catalog::kAircraft) {
    WriteBmp(a.Sprite, Cells(catalog::kAircraftFrameWidth, catalog::kAircraftFrameHeight,
                             catalog::kAircraftFrames, 0x406080, a.Key));
    WriteWav(a.Engine, 4410);
  }
  for (const auto& b : catalog::kBosses) WriteBmp(b.Path, Image(b.Width, b.Height, 0x3050A0));
  for (const char* t : catalog::kTerrain) WriteJpeg(t, Cells(32, 32, 4, 0x205020, 0x103010, 2));
  WriteLevel(0, [](int32_t c, int32_t r) { return static_cast<uint8_t>((c + r) % 4); }, {});
  const std::string tune =
      "instrument s square\nchannel a s\npattern p c4:4\nsection A\n  a p\norder A\n";
  for (const char* t : catalog::kMusicThemes) {
    WriteBytes(catalog::MusicPath(t), std::vector<uint8_t>(tune.begin(), tune.end()));
  }
}

}  // namespace testcontent
