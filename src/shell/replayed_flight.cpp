#include "shell/replayed_flight.h"

#include <memory>

#include "core/bonus.h"
#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "shell/flight_setup.h"

namespace {

void Recharge(TWeapon* weapon, const TWeaponCharge& c) {
  if (!weapon) return;
  weapon->Counter = c.Counter;
  weapon->Ready = c.Ready;
  if (auto* mini = dynamic_cast<TMiniMissileLauncher*>(weapon)) mini->Alternate = c.Alternate;
}

std::unique_ptr<TBonus> MakeBonus(World& w, const TCarriedBonus& c) {
  std::unique_ptr<TBonus> b;
  if (c.Kind == TBonusKind::Credit) {
    b = std::make_unique<TCreditBonus>(w, c.X, c.Y);
  } else {
    b = std::make_unique<THealthBonus>(w, c.X, c.Y);
  }
  b->Dx = c.Dx;
  b->Dy = c.Dy;
  b->AnimTicks = c.AnimTicks;
  return b;
}

}  // namespace

bool StartReplayedFlight(World& w, const TReplayStart& start) {
  const GameState& g = start.Campaign;
  TFlightSetup setup;
  setup.Mission = g.Mission;
  setup.Difficulty = g.Difficulty;
  setup.Credits = g.Credits;
  setup.AircraftKind = g.AircraftKind;
  setup.CannonKind = g.CannonKind;
  setup.SlotKinds = g.SlotKinds;
  if (!SetUpFlight(w, setup)) return false;

  TAircraft& a = *w.Player;
  a.X = start.X;
  a.Y = start.Y;
  a.Dx = start.Dx;
  a.Dy = start.Dy;
  a.Health = start.Health;
  a.CurrentSlot = start.CurrentSlot;
  Recharge(a.Cannon.get(), start.Cannon);
  for (size_t i = 0; i < start.Slots.size(); ++i) Recharge(a.Slots[i].get(), start.Slots[i]);
  w.Random.Restore(start.RandomState, start.RandomIncrement);
  w.SwitchHoldTicks = start.SwitchHoldTicks;
  w.ScrollTicks = start.ScrollTicks;
  // Pushed at the head, so the last one first keeps the recorded order.
  for (auto it = start.Bonuses.rbegin(); it != start.Bonuses.rend(); ++it) {
    w.BonusList.Push(MakeBonus(w, *it));
  }
  return true;
}
