// What the slot weapons fire: missiles, laser beams and plasma balls. They are flyers: they
// live in FlyerList, collide by the pairwise rule and strike with their Health, their power,
// which hits never reduce.
//
// A projectile's Side is its Owner, so shots of one side pass through each other and shots
// of opposite sides destroy each other; plasma fragments (Owner 102) meet everybody.
#pragma once

#include <cstdint>

#include "flyers/flyer.h"

// Items of RocketPictures.
enum TRocketPicture : int32_t {
  rpAAMissile = 0,
  rpMiniMissile = 1,
  rpLightBeam = 2,
  rpMediumBeam = 3,
  rpHeavyBeam = 4,
  rpPlasmaBall = 5,
  rpPlasmaFragment = 6,
};

class TProjectile : public TFlyer {
 public:
  TProjectile(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner);

  bool IsFriend(uint8_t side) const override { return side == Owner; }
  void Draw(const TDrawTime& t) override;

  uint8_t Owner;
  uint8_t Down;  // 1 = fired down the screen, 0 = up

 protected:
  // The flyer's speed along its direction: +v down the screen, -v up.
  double Along(double v) const { return Down ? v : -v; }
  // Outside the play area: X > 1100, X < -50, Y > lowest, Y < -50.
  bool Out(int32_t lowest = 900) const;
  void StraightFlight();
  virtual int32_t Picture() const = 0;
  virtual int32_t Pattern() const { return 0; }
};

// Accelerates by a pixel per tick every tick and trails large smoke; two explosions on a hit.
class TAAMissile final : public TProjectile {
 public:
  TAAMissile(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner);
  void Die() override;
  void Hit(int32_t damage) override;
  void Move() override;

 protected:
  int32_t Picture() const override { return rpAAMissile; }
  int32_t Pattern() const override { return Down; }
};

// Ejected sideways, ignites on its twelfth tick, then drifts a little and accelerates.
class TMiniMissile final : public TProjectile {
 public:
  // leftSide is the launcher's Alternate: 0 leaves on the left, 1 on the right.
  TMiniMissile(World& world, int32_t x, int32_t y, uint8_t down, uint8_t leftSide, uint8_t owner);
  void Die() override;
  void Hit(int32_t damage) override;
  void Move() override;

  bool Ignited = false;
  int32_t Age = 0;

 protected:
  int32_t Picture() const override { return rpMiniMissile; }
  int32_t Pattern() const override { return Down; }
};

// Light and medium beams pierce anything weaker than their power and stop at the first
// target that is not; they vanish without an effect.
class TPiercingBeam : public TProjectile {
 public:
  using TProjectile::TProjectile;
  void Hit(int32_t damage) override;
  void Move() override;
};

class TLightBeam final : public TPiercingBeam {
 public:
  TLightBeam(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner);

 protected:
  int32_t Picture() const override { return rpLightBeam; }
};

class TMediumBeam final : public TPiercingBeam {
 public:
  TMediumBeam(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner);

 protected:
  int32_t Picture() const override { return rpMediumBeam; }
};

// Never stopped: every tick it overlaps a flyer of another side, that flyer loses up to 30.
class THeavyBeam final : public TProjectile {
 public:
  THeavyBeam(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner);
  void Hit(int32_t) override {}
  void Move() override { StraightFlight(); }

 protected:
  int32_t Picture() const override { return rpHeavyBeam; }
};

// Bursts on any contact into six fragments that harm both sides.
class TPlasmaBall final : public TProjectile {
 public:
  // Fired forward by the plasma cannon.
  TPlasmaBall(World& world, int32_t x, int32_t y, uint8_t down, uint8_t owner);
  // Aimed by a boss's gun.
  TPlasmaBall(World& world, int32_t x, int32_t y, int32_t dx, int32_t dy, uint8_t owner);
  void Die() override;
  void Hit(int32_t damage) override;
  void Move() override { StraightFlight(); }

 protected:
  int32_t Picture() const override { return rpPlasmaBall; }
};

class TPlasmaFragment final : public TProjectile {
 public:
  TPlasmaFragment(World& world, int32_t x, int32_t y, int32_t dx, int32_t dy, uint8_t owner);
  void Die() override;
  void Hit(int32_t damage) override;
  void Move() override { StraightFlight(); }

 protected:
  int32_t Picture() const override { return rpPlasmaFragment; }
};

// Powers.
constexpr int32_t kAAMissilePower = 50;
constexpr int32_t kMiniMissilePower = 20;
constexpr int32_t kLightBeamPower = 40;
constexpr int32_t kMediumBeamPower = 70;
constexpr int32_t kHeavyBeamPower = 30;
constexpr int32_t kPlasmaBallPower = 200;
constexpr int32_t kPlasmaFragmentPower = 50;
