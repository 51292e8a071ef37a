// Colours as the game writes them (0x00BBGGRR, red in the low byte) and the back buffer's
// pixel format (XRGB8888: 0x00RRGGBB in a uint32_t, bytes B, G, R, X in memory).
#pragma once

#include <cstdint>

using TColor = uint32_t;

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clGreen = 0x008000;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;

constexpr uint32_t ColorToPixel(TColor c) {
  return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr TColor PixelToColor(uint32_t p) {
  return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}
