#include "autopilot/sight.h"

#include <algorithm>

#include "core/bonus.h"
#include "core/world.h"
#include "enemies/boss.h"
#include "enemies/enemy.h"
#include "flyers/aircraft.h"
#include "flyers/cannon_shell.h"
#include "flyers/projectile.h"

namespace {

// A plasma ball that strikes bursts into fragments around the aircraft as well.
constexpr int32_t kPlasmaBurstCost = 300;

TSeenObject Box(TSeenKind kind, const TFlyer& f) {
  TSeenObject o;
  o.Kind = kind;
  o.X = static_cast<float>(f.X);
  o.Y = static_cast<float>(f.Y);
  o.W = static_cast<float>(f.Width);
  o.H = static_cast<float>(f.Height);
  o.Dx = static_cast<float>(f.Dx);
  o.Dy = static_cast<float>(f.Dy);
  return o;
}

void SeeAircraft(const TAircraft& a, TSeenAircraft& s) {
  s.Present = true;
  s.X = a.X;
  s.Y = a.Y;
  s.Dx = a.Dx;
  s.Dy = a.Dy;
  s.Accel = a.Accel;
  s.MaxSpeed = a.MaxSpeed;
  s.Width = a.Width;
  s.Height = a.Height;
  s.Health = a.Health;
  s.MaxHealth = a.MaxHealth;
  s.HasCannon = a.Cannon != nullptr;
  s.WideCannon = dynamic_cast<const TTripleCannon*>(a.Cannon.get()) != nullptr;
  for (size_t i = 0; i < s.Slots.size(); ++i) s.Slots[i] = a.Slots[i] ? a.Slots[i]->Icon : 255;
  s.CurrentSlot = a.CurrentSlot;
  const TWeapon* selected = a.Slots[a.CurrentSlot % kSlotCount].get();
  s.WeaponReady = selected && selected->Ready;
  s.Outline.clear();
  for (const TShape* shape = a.Shapes.get(); shape; shape = shape->Next.get()) {
    if (const TCircleRec* c = shape->Circle()) {
      s.Outline.push_back(
          {static_cast<float>(c->CX - c->Radius), static_cast<float>(c->CY - c->Radius),
           static_cast<float>(c->CX + c->Radius), static_cast<float>(c->CY + c->Radius)});
    } else if (const TRectRec* r = shape->Rect()) {
      s.Outline.push_back({static_cast<float>(r->Left), static_cast<float>(r->Top),
                           static_cast<float>(r->Left + r->Width),
                           static_cast<float>(r->Top + r->Height)});
    }
  }
}

}  // namespace

void See(const World& w, TSight& sight) {
  sight.Objects.clear();
  sight.Credits = w.State.Credits;
  sight.Aircraft.Present = false;
  if (w.Player && w.PlayerInFlight()) SeeAircraft(*w.Player, sight.Aircraft);

  for (auto* n = w.FlyerList.Head(); n; n = n->Next) {
    const TFlyer& f = *n->Object;
    if (!f.Alive) continue;
    if (auto* e = dynamic_cast<const TEnemy*>(&f)) {
      TSeenObject o = Box(TSeenKind::Craft, f);
      o.Strength = e->MaxHealth;
      o.Type = e->Kind;
      sight.Objects.push_back(o);
    } else if (auto* b = dynamic_cast<const TBoss*>(&f)) {
      TSeenObject o = Box(TSeenKind::Boss, f);
      o.Strength = b->MaxHealth;
      o.Type = b->Kind;
      sight.Objects.push_back(o);
    } else if (auto* p = dynamic_cast<const TProjectile*>(&f)) {
      if (p->Owner == kSidePlayer) continue;  // the aircraft's own shots pass it by
      TSeenObject o = Box(TSeenKind::Shot, f);
      o.Strength = dynamic_cast<const TPlasmaBall*>(p) ? kPlasmaBurstCost : p->Health;
      sight.Objects.push_back(o);
    }
  }
  for (auto* n = w.ShellList.Head(); n; n = n->Next) {
    const TShell& s = *n->Object;
    // Shells fired up the screen are the aircraft's own; those coming down are the enemy's.
    // A shell moves two steps per tick.
    if (!s.Alive || s.Dy <= 0) continue;
    TSeenObject o;
    o.Kind = TSeenKind::Shot;
    o.X = static_cast<float>(s.X);
    o.Y = static_cast<float>(s.Y);
    o.Dx = static_cast<float>(2 * s.Dx);
    o.Dy = static_cast<float>(2 * s.Dy);
    o.Strength = s.Damage;
    sight.Objects.push_back(o);
  }
  for (auto* n = w.BonusList.Head(); n; n = n->Next) {
    const TBonus& b = *n->Object;
    if (!b.Alive) continue;
    const bool health = dynamic_cast<const THealthBonus*>(&b) != nullptr;
    sight.Objects.push_back(Box(health ? TSeenKind::Health : TSeenKind::Credit, b));
  }
}
