// The player's fighter. At most one exists; the world's Player refers to it. It owns its
// cannon and the weapons in its slots.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "flyers/flyer.h"
#include "flyers/weapon.h"

enum TAircraftKind : uint8_t { akJaguar = 0, akF5F = 1, akF15 = 2, akF16 = 3 };
constexpr int kSlotCount = 5;

class TAircraft : public TFlyer {
 public:
  // Builds an aircraft of the given kind (0..3) at (x, y); loads the kind's sprite into item 0
  // of HCFlyerPictures and its engine sound into item 0 of DXEnginesWaveList, replacing the
  // previous ones. A file that cannot be read throws EGameError and no aircraft is built.
  TAircraft(World& world, uint8_t kind, int32_t x, int32_t y);
  ~TAircraft() override;

  void Die() override;
  void Draw(const TDrawTime& t) override;
  void Move() override;
  void Done() override;

  // Only the signs of the arguments matter.
  void Accelerate(int32_t dirX, int32_t dirY);
  // One tick of flight: move, keep the centre on the screen, drag.
  void Step();
  void FireCannon();
  void FireWeapon();
  // Selects the next occupied slot after the current one, wrapping round to it.
  void NextWeapon();
  // The aircraft's sale value with its cannon and slot weapons.
  int64_t TotalValue() const;
  // The sprite frame for the current horizontal speed: 0 level, 1..5 left, 6..10 right;
  // -1 for speeds beyond any kind's reach (nothing is drawn).
  int32_t Frame() const;

  int64_t Price = 0;
  int64_t SellValue = 0;
  std::unique_ptr<TCannon> Cannon;
  uint8_t SlotCount = 1;
  std::array<std::unique_ptr<TWeapon>, kSlotCount> Slots;
  uint8_t CurrentSlot = 0;
  uint8_t Kind = akJaguar;
};

constexpr int kAircraftKinds = 4;

// Where a bought aircraft starts.
constexpr int32_t kNewAircraftX = 500;
constexpr int32_t kNewAircraftY = 650;

// An aircraft of a kind code; null for a code outside 0..3.
std::unique_ptr<TAircraft> MakeAircraft(World& world, uint8_t kind, int32_t x, int32_t y);
