// The player's fighter. At most one exists; the world's Player refers to it. It owns its
// cannon and the weapons in its slots.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "flyers/flyer.h"

class TWeapon;
class TCannon;

enum TAircraftKind : uint8_t { akJaguar = 0, akF5F = 1, akF15 = 2, akF16 = 3 };
constexpr int kSlotCount = 5;

class TAircraft : public TFlyer {
 public:
  // Builds an aircraft of the given kind at (x, y); loads the kind's sprite into item 0 of
  // HCFlyerPictures and its engine sound into item 0 of DXEnginesWaveList.
  TAircraft(World& world, uint8_t kind, int32_t x, int32_t y);
  ~TAircraft() override;

  void Die() override;
  void Draw() override;
  void Move() override;
  void Done() override;

  void Accelerate(int32_t dirX, int32_t dirY);
  void Step();
  void FireCannon();
  void FireWeapon();
  void NextWeapon();
  int64_t TotalValue() const;

  int64_t Price = 0;
  int64_t SellValue = 0;
  std::unique_ptr<TCannon> Cannon;
  uint8_t SlotCount = 1;
  std::array<std::unique_ptr<TWeapon>, kSlotCount> Slots;
  uint8_t CurrentSlot = 0;
  uint8_t Kind = akJaguar;
};
