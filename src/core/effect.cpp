#include "core/effect.h"

#include "core/world.h"
#include "flyers/media.h"
#include "presentation/form_components.h"

void TEffect::EffectStep() {
  ++Frame;
  if (Frame > LastFrame()) Alive = false;
}

void TEffect::EffectDraw() const {
  if (Frame < 0) return;
  DrawSprite(W.Media.EffectPictures, PictureItem(), W.Media.DXDraw1.Surface(), X, Y, Frame);
}
