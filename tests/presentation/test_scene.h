// One frame of the game's kind drawn from pictures made in code: a full screen of opaque
// terrain tiles, keyed sprites, the form's small explosion and Czech text. The headless test
// checks its pixels; the Xvfb test shows it in a real window and compares.
#pragma once

#include <cstdint>

#include "presentation/form_components.h"

namespace test_scene {

inline constexpr uint32_t kSpriteKey = 0x00FFFF;   // yellow, 0x00BBGGRR
inline constexpr uint32_t kSpriteBody = 0xC04010;  // XRGB
inline constexpr uint32_t kSpriteRing = 0xF0F0F0;

// Tile t (0..7) of the 128 x 64 sheet: a two-colour pattern, never black.
inline uint32_t TilePixel(int t, int x, int y) {
  static constexpr uint32_t kA[8] = {0x2E6B2A, 0x3A7D33, 0x6B5B3A, 0x4C4C4C,
                                     0x25506E, 0x7A6A48, 0x507838, 0x5E3A2A};
  static constexpr uint32_t kB[8] = {0x245A22, 0x52913F, 0x80704A, 0x5E5E5E,
                                     0x2F6384, 0x8C7C58, 0x608A45, 0x6E4A38};
  const bool b = t % 2 ? ((x / 4 + y / 4) % 2) == 0 : ((x + 2 * y) % 11) < 4;
  return b ? kB[t] : kA[t];
}

inline TPicture TileSheet() {
  TPicture p;
  p.Width = 128;
  p.Height = 64;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 128; ++x)
      p.Pixels.push_back(TilePixel(x / 32 + 4 * (y / 32), x % 32, y % 32));
  }
  return p;
}

// A 64 x 64 craft: a disc with a light ring, yellow (the key) around it.
inline TPicture Sprite() {
  TPicture p;
  p.Width = 64;
  p.Height = 64;
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) {
      const int dx = 2 * x - 63, dy = 2 * y - 63, r2 = dx * dx + dy * dy;
      p.Pixels.push_back(r2 < 40 * 40   ? kSpriteBody
                         : r2 < 56 * 56 ? kSpriteRing
                                        : ColorToPixel(kSpriteKey));
    }
  }
  return p;
}

// Where sprite k of 200 goes: a loose grid with some off the edges, clipped.
inline void SpritePlace(int k, int32_t& x, int32_t& y) {
  x = (k % 20) * 53 - 20;
  y = (k / 20) * 79 - 10;
}

inline constexpr int32_t kTextX = 330, kTextY = 360;
inline const char* const kText = "Nemáte dostatek kreditů!";

// Loads the pictures (the surface must be initialised) and draws the frame.
inline void Draw(TFormComponents& media, int tiles = 800, int sprites = 200) {
  auto& sheet = media.BackgroundPictures.Items[0];
  if (!sheet.Initialized()) {
    sheet.Picture = TileSheet();
    media.BackgroundPictures.Items.Restore();
    auto& craft = media.EnemyShipsPictures.Items.Add();
    craft.Picture = Sprite();
    craft.SetTransparentColor(kSpriteKey);
    media.EnemyShipsPictures.Items.Restore();
  }
  TDirectDrawSurface& s = media.DXDraw1.Surface();
  for (int i = 0; i < tiles; ++i) {
    // 768 tiles cover the screen; the rest overdraw the top row half a tile down.
    const int cell = i % 768;
    const int32_t x = 32 * (cell % 32), y = 32 * (cell / 32) + (i >= 768 ? 16 : 0);
    sheet.Draw(s, x, y, (cell * 5 + cell / 32) % 8);
  }
  auto& craft = media.EnemyShipsPictures.Items[0];
  for (int k = 0; k < sprites; ++k) {
    int32_t x, y;
    SpritePlace(k, x, y);
    craft.Draw(s, x, y, 0);
  }
  media.EffectPictures.Items[1].Draw(s, 700, 600, 1);
  auto& canvas = s.Canvas();
  canvas.Brush.SetColor(clBlack);
  canvas.Rectangle(kTextX - 10, kTextY - 6, kTextX + 230, kTextY + 26);  // a dark band
  canvas.Brush.SetStyle(TBrushStyle::bsClear);
  canvas.Font.Size = 12;
  canvas.Font.Color = clGreen;
  canvas.TextOut(kTextX, kTextY, kText);
  canvas.Font.Size = 30;
  canvas.TextOut(450, 300, "PAUZA");
  canvas.Font.Size = 12;
  canvas.Release();
}

}  // namespace test_scene
