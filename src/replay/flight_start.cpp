#include "replay/flight_start.h"

#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"

namespace {

TWeaponCharge ChargeOf(const TWeapon* weapon) {
  TWeaponCharge c;
  if (!weapon) return c;
  c.Counter = weapon->Counter;
  c.Ready = weapon->Ready;
  if (auto* mini = dynamic_cast<const TMiniMissileLauncher*>(weapon)) c.Alternate = mini->Alternate;
  return c;
}

}  // namespace

TReplayStart CaptureStart(const World& w) {
  TReplayStart s;
  s.Campaign = w.State;
  s.Campaign.GameOver = false;
  s.RandomState = w.Random.State();
  s.RandomIncrement = w.Random.Increment();
  s.SwitchHoldTicks = w.SwitchHoldTicks;
  s.ScrollTicks = w.ScrollTicks;
  if (const TAircraft* a = w.Player) {
    s.X = a->X;
    s.Y = a->Y;
    s.Dx = a->Dx;
    s.Dy = a->Dy;
    s.Health = a->Health;
    s.CurrentSlot = static_cast<uint8_t>(a->CurrentSlot % kSlotCount);
    s.Cannon = ChargeOf(a->Cannon.get());
    for (size_t i = 0; i < s.Slots.size(); ++i) s.Slots[i] = ChargeOf(a->Slots[i].get());
  }
  for (auto* n = w.BonusList.Head(); n && s.Bonuses.size() < kMaxCarriedBonuses; n = n->Next) {
    const TBonus& b = *n->Object;
    if (!b.Alive) continue;
    TCarriedBonus c;
    c.Kind = dynamic_cast<const TCreditBonus*>(&b) ? TBonusKind::Credit : TBonusKind::Health;
    c.X = b.X;
    c.Y = b.Y;
    c.Dx = b.Dx;
    c.Dy = b.Dy;
    c.AnimTicks = b.AnimTicks;
    s.Bonuses.push_back(c);
  }
  return s;
}
