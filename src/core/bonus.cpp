#include "core/bonus.h"

#include "base/rounding.h"
#include "core/effect.h"
#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/media.h"
#include "presentation/form_components.h"

TBonus::TBonus(World& world, int32_t x, int32_t y) : TFlyer(world) {
  X = x;
  Y = y;
  Dx = 0;
  Dy = 2;
  Width = 50;
  Height = 50;
  AddCircle(25, 25, 22);
}

void TBonus::Move() {
  if (++AnimTicks > 18) AnimTicks = 0;
  X += Round(Dx);
  Y += Round(Dy);
  if (X > 1200 || X < -100 || Y > 1000 || Y < -100) Alive = false;
}

void TBonus::Draw(const TDrawTime& t) {
  const TDrawPoint at = DrawnAt(t);
  DrawSprite(W.Media.EffectPictures, PictureItem(), W.Media.DXDraw1.Surface(), at.X, at.Y,
             AnimTicks / 5);
}

void THealthBonus::Apply() {
  Alive = false;
  if (W.Player) W.Player->Health = W.Player->MaxHealth;
}
int32_t THealthBonus::PictureItem() const {
  return epHealthBonus;
}

void TCreditBonus::Apply() {
  Alive = false;
  W.State.Credits += kCreditBonusValue;
}
int32_t TCreditBonus::PictureItem() const {
  return epCreditBonus;
}
