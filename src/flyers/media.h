// Drawing a sprite and starting a sound by (list, item index). A list that lacks the item
// (its file failed to load at start-up) draws or plays nothing, exactly as an out-of-range
// pattern draws nothing: a broken content file must not stop every frame of a mission.
#pragma once

#include <cstdint>

#include "presentation/dxsound.h"
#include "presentation/image_list.h"

inline void DrawSprite(TDXImageList& list, int32_t item, TDirectDrawSurface& surface, int32_t x,
                       int32_t y, int32_t pattern) {
  if (item < 0 || item >= list.Items.Count()) return;
  list.Items[item].Draw(surface, x, y, pattern);
}

inline void PlaySound(TDXWaveList& list, int32_t item) {
  if (item < 0 || item >= list.Items.Count()) return;
  list.Items[item].Play(false);
}
