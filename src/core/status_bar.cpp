#include "core/status_bar.h"

#include <string>

#include "base/rounding.h"
#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/media.h"
#include "presentation/form_components.h"

void DrawStatusBar(World& w) {
  if (!w.Player) return;
  const TAircraft& player = *w.Player;
  TDXImageList& pictures = w.Media.DXMenuImageList;
  TDirectDrawSurface& surface = w.Media.DXDraw1.Surface();

  // The health bar slides right as health rises.
  const int32_t percent =
      player.MaxHealth > 0 ? Round(static_cast<double>(player.Health) / player.MaxHealth * 100) : 0;
  DrawSprite(pictures, kStatusBarHealth, surface, percent, 8, 0);

  const TWeapon* weapon = player.Slots[player.CurrentSlot % kSlotCount].get();
  if (weapon) {
    DrawSprite(pictures, kStatusBarWeapons, surface, 559, 64, weapon->Icon);
    DrawSprite(pictures, kStatusBarLamp, surface, 627, 64, weapon->Ready ? 0 : 1);
  } else {
    DrawSprite(pictures, kStatusBarLamp, surface, 627, 64, 1);
    DrawSprite(pictures, kStatusBarWeapons, surface, 559, 64, kNoWeaponIcon);
  }

  // The frame goes over the parts; its key-coloured holes let them show through.
  DrawSprite(pictures, kStatusBarFrame, surface, 0, 0, 0);
  // In the font and brush a new or loaded game set.
  surface.Canvas().TextOut(913, 8, std::to_string(w.State.Credits));
}
