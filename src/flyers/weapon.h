// Guns mounted on a flyer: the player's slot weapons and cannons, and the kinds only enemies
// and bosses carry. A weapon recharges by counting ticks; when its owner asks it to fire and
// it is ready, it pushes projectiles on FlyerList, shells on ShellList and muzzle flashes on
// EffectList, and plays its sound. It keeps no reference to what it fired.
#pragma once

#include <cstdint>
#include <memory>

class World;

// Slot-weapon kind codes (the shop, the status bar icon and the saved game use them).
enum TWeaponKind : uint8_t {
  wkAAMissiles = 0,
  wkMiniMissiles = 1,
  wkLightLaser = 2,
  wkMediumLaser = 3,
  wkHeavyLaser = 4,
  wkPlasmaCannon = 5,
};
constexpr int kWeaponKinds = 6;

// Cannon kind codes.
enum TCannonKind : uint8_t {
  ckVulcan = 0,
  ckAT = 1,
  ckDC = 2,
  ckTriple = 3,
};
constexpr int kCannonKinds = 4;

class TWeapon {
 public:
  // limit = N: a weapon is ready again N + 1 ticks after a shot.
  TWeapon(World& world, int32_t limit) : W(world), limit_(limit) {}
  virtual ~TWeapon() = default;
  TWeapon(const TWeapon&) = delete;
  TWeapon& operator=(const TWeapon&) = delete;

  // Once per tick, by the owner's Move. Counter keeps counting while the weapon is ready,
  // so Ready is re-asserted every N + 1 ticks until it fires.
  virtual void Reload();
  // (x, y) is the muzzle reference point; dir 0 fires up the screen for missiles, lasers and
  // plasma, any other value down; cannons give their shells 5 x Sign(dir) vertical speed.
  // side becomes the Owner of every projectile. Nothing happens while not Ready.
  virtual void Fire(int32_t x, int32_t y, int8_t dir, uint8_t side);

  int32_t Limit() const { return limit_; }

  int64_t Price = 0;
  int64_t SellValue = 0;
  uint8_t Icon = 0;
  int32_t Counter = 0;
  bool Ready = true;

 protected:
  // Creates what one shot of this kind creates, and plays its sound.
  virtual void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) = 0;
  World& W;

 private:
  int32_t limit_;
};

// Down the screen unless dir is 0 (the player passes 0 to slot weapons).
constexpr uint8_t DownFor(int8_t dir) {
  return dir != 0 ? 1 : 0;
}

class TAAMissileLauncher final : public TWeapon {
 public:
  explicit TAAMissileLauncher(World& world);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

class TMiniMissileLauncher final : public TWeapon {
 public:
  explicit TMiniMissileLauncher(World& world);
  // 0: the next missile leaves on the left, 1: on the right. A new launcher starts on the
  // left, so the first shot of every launcher looks the same.
  uint8_t Alternate = 0;

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

// The light laser and the two enemy-only variants built on it share its price fields and
// limit; they differ only in where their beams leave.
class TLightLaser : public TWeapon {
 public:
  explicit TLightLaser(World& world);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

// Bosses: two light beams wide apart.
class TWideLightLaser final : public TLightLaser {
 public:
  using TLightLaser::TLightLaser;

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

// Enemies and bosses: one light beam from the muzzle point.
class TSingleLightLaser final : public TLightLaser {
 public:
  using TLightLaser::TLightLaser;

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

class TMediumLaser final : public TWeapon {
 public:
  explicit TMediumLaser(World& world);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

class THeavyLaser final : public TWeapon {
 public:
  explicit THeavyLaser(World& world);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

class TPlasmaCannon final : public TWeapon {
 public:
  explicit TPlasmaCannon(World& world);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

// The velocity of an aimed shot from (x, y): about 4 pixels per tick toward the point 80
// right of and 40 below the aircraft's top-left corner.
struct TAim {
  int32_t Dx;
  int32_t Dy;
};
TAim AimAt(int32_t fromX, int32_t fromY, int32_t targetX, int32_t targetY);

// Bosses' guns aimed at the player's aircraft. They do not restart their count when they
// fire, so they are ready again N + 1 ticks after they last became ready. With no aircraft
// to aim at they hold their fire.
class TAimedGun : public TWeapon {
 public:
  using TWeapon::TWeapon;
  void Fire(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

class TAimedFragmentGun final : public TAimedGun {
 public:
  explicit TAimedFragmentGun(World& world);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

class TAimedPlasmaGun final : public TAimedGun {
 public:
  explicit TAimedPlasmaGun(World& world);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

// A cannon fires shells, each with the cannon's Damage.
class TCannon : public TWeapon {
 public:
  TCannon(World& world, int32_t limit, int32_t damage) : TWeapon(world, limit), Damage(damage) {}
  int32_t Damage;

 protected:
  // One shell from (x, y) with the given speed.
  void Shell(int32_t x, int32_t y, int32_t dx, int32_t dy);
  void Flash(int32_t x, int32_t y);
  void ShotSound();
};

class TVulcan final : public TCannon {
 public:
  // Enemies arm their Vulcans with their own damage; the player's does 2.
  TVulcan(World& world, int32_t damage);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

class TATCannon final : public TCannon {
 public:
  explicit TATCannon(World& world);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

class TDCCannon final : public TCannon {
 public:
  explicit TDCCannon(World& world);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

class TTripleCannon final : public TCannon {
 public:
  explicit TTripleCannon(World& world);

 protected:
  void Shoot(int32_t x, int32_t y, int8_t dir, uint8_t side) override;
};

constexpr int32_t kPlayerVulcanDamage = 2;

// The weapon or cannon a kind code stands for, as the shop sells it; null for any code
// outside the tables (255 = none).
std::unique_ptr<TWeapon> MakeWeapon(World& world, uint8_t kind);
std::unique_ptr<TCannon> MakeCannon(World& world, uint8_t kind);
