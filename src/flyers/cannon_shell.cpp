#include "flyers/cannon_shell.h"

#include <memory>

#include "core/effect.h"
#include "core/world.h"
#include "flyers/flyer.h"
#include "flyers/media.h"
#include "presentation/form_components.h"

void TShell::Move() {
  X += Dx;
  Y += Dy;
  // No horizontal limit: a side shell flies on until it leaves vertically.
  if (Y < -10 || Y > 778) Alive = false;
}

void TShell::HitTarget(TFlyer& flyer) {
  PlaySound(W.Media.DXExplWaveList, 0);
  Alive = false;
  W.EffectList.Push(std::make_unique<TSmallExplosion>(W, X - 8, Y - 8, 0));
  flyer.Hit(Damage);
}

void TShell::Draw(const TDrawTime& t) const {
  int32_t pattern = Dx == 0 ? 0 : (Dx > 0 ? 2 : 1);
  const TDrawPoint at = DrawnAt(Last, X, Y, t);
  DrawSprite(W.Media.ShotPictures, 0, W.Media.DXDraw1.Surface(), at.X, at.Y, pattern);
}
