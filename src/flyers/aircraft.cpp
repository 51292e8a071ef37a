#include "flyers/aircraft.h"

#include <array>
#include <cmath>

#include "base/asset_catalog.h"
#include "base/rounding.h"
#include "core/tick.h"
#include "core/world.h"
#include "flyers/aircraft_hulls.h"
#include "flyers/media.h"
#include "presentation/form_components.h"

namespace {

struct TAircraftSpec {
  int32_t MaxHealth;
  double Accel;
  int32_t MaxSpeed;
  uint8_t SlotCount;
  int64_t Price;
  int64_t SellValue;
};

constexpr std::array<TAircraftSpec, kAircraftKinds> kKinds{{
    {500, 1.0, 8, 1, 50000, 30000},       // Jaguar
    {1000, 1.2, 10, 2, 140000, 80000},    // F5F
    {3000, 1.3, 50, 3, 300000, 90000},    // F15
    {5000, 1.5, 100, 5, 400000, 300000},  // F16
}};

constexpr double kDrag = 1.1;
constexpr int32_t kScreenWidth = 1024;
constexpr int32_t kScreenHeight = 768;

// Keeps a velocity component within MaxSpeed, by the sign of its rounded value.
double Capped(double v, int32_t maxSpeed) {
  return Sign(Round(v)) * static_cast<double>(maxSpeed);
}

}  // namespace

TAircraft::TAircraft(World& world, uint8_t kind, int32_t x, int32_t y) : TFlyer(world) {
  const TAircraftSpec& spec = kKinds.at(kind);
  Kind = kind;
  X = x;
  Y = y;
  Side = kSidePlayer;
  Width = catalog::kAircraftFrameWidth;
  Height = catalog::kAircraftFrameHeight;
  MaxHealth = spec.MaxHealth;
  Health = MaxHealth;
  Accel = spec.Accel;
  MaxSpeed = spec.MaxSpeed;
  SlotCount = spec.SlotCount;
  Price = spec.Price;
  SellValue = spec.SellValue;

  // The one sprite item and the one engine item always show the latest aircraft built.
  const catalog::AircraftFiles& files = catalog::kAircraft[kind];
  TPictureCollectionItem& sprite = W.Media.HCFlyerPictures.Items[0];
  sprite.Picture.LoadFromFile(files.Sprite);
  sprite.PatternWidth = catalog::kAircraftFrameWidth;
  sprite.PatternHeight = catalog::kAircraftFrameHeight;
  sprite.Transparent = true;
  sprite.SetTransparentColor(files.Key);
  W.Media.HCFlyerPictures.Items.Restore();

  W.Media.DXEnginesWaveList.Items[0].Wave.LoadFromFile(files.Engine);
  W.Media.DXEnginesWaveList.Items.Restore();

  AddHull(hulls::kAircraft[kind]);
}

TAircraft::~TAircraft() = default;

std::unique_ptr<TAircraft> MakeAircraft(World& world, uint8_t kind, int32_t x, int32_t y) {
  if (kind >= kAircraftKinds) return nullptr;
  return std::make_unique<TAircraft>(world, kind, x, y);
}

void TAircraft::Die() {
  // Alive stays set: GameOver stops tick and frame, and the aircraft waits for the main menu.
  MissionEnd(W, false);
}

int32_t TAircraft::Frame() const {
  const int32_t r = Round(Dx);
  if (r < -1000 || r > 1000) return -1;
  if (r <= -10) return 5;
  if (r <= -8) return 4;
  if (r <= -6) return 3;
  if (r <= -4) return 2;
  if (r <= -2) return 1;
  if (r <= 1) return 0;
  if (r <= 3) return 6;
  if (r <= 5) return 7;
  if (r <= 7) return 8;
  if (r <= 9) return 9;
  return 10;
}

void TAircraft::Draw(const TDrawTime& t) {
  const int32_t frame = Frame();
  if (frame < 0) return;
  const TDrawPoint at = DrawnAt(t);
  DrawSprite(W.Media.HCFlyerPictures, 0, W.Media.DXDraw1.Surface(), at.X, at.Y, frame);
}

void TAircraft::Move() {
  Step();
  if (Cannon) Cannon->Reload();
  // Every mounted weapon recharges, selected or not.
  for (auto& weapon : Slots) {
    if (weapon) weapon->Reload();
  }
}

void TAircraft::Done() {
  for (int i = 0; i < SlotCount && i < kSlotCount; ++i) Slots[static_cast<size_t>(i)].reset();
  Cannon.reset();
  TFlyer::Done();
}

void TAircraft::Accelerate(int32_t dirX, int32_t dirY) {
  Dx += Sign(dirX) * Accel;
  Dy += Sign(dirY) * Accel;
  if (std::fabs(Dx) > MaxSpeed) Dx = Capped(Dx, MaxSpeed);
  if (std::fabs(Dy) > MaxSpeed) Dy = Capped(Dy, MaxSpeed);
}

void TAircraft::Step() {
  // The centre stays on the surface; half the sprite may leave it.
  const int32_t hw = Width / 2;
  X += Round(Dx);
  if (X + hw < 0) X = -hw;
  if (X + hw > kScreenWidth) X = kScreenWidth - hw;

  const int32_t hh = Height / 2;
  Y += Round(Dy);
  if (Y + hh < 0) Y = -hh;
  if (Y + hh > kScreenHeight) Y = kScreenHeight - hh;

  Dx /= kDrag;
  if (std::abs(Round(Dx)) > MaxSpeed) Dx = Capped(Dx, MaxSpeed);
  Dy /= kDrag;
  if (std::abs(Round(Dy)) > MaxSpeed) Dy = Capped(Dy, MaxSpeed);
}

void TAircraft::FireCannon() {
  if (Cannon) Cannon->Fire(X + Width / 2, Y, -1, Side);
}

void TAircraft::FireWeapon() {
  TWeapon* weapon = Slots[CurrentSlot % kSlotCount].get();
  if (weapon) weapon->Fire(X + 80, Y - 10, 0, Side);
}

void TAircraft::NextWeapon() {
  int32_t i = (CurrentSlot + 1) % kSlotCount;
  for (int probe = 0; probe < 6; ++probe) {
    if (Slots[static_cast<size_t>(i)]) {
      CurrentSlot = static_cast<uint8_t>(i);
      return;
    }
    i = (i + 1) % kSlotCount;
  }
}

int64_t TAircraft::TotalValue() const {
  int64_t total = SellValue;
  if (Cannon) total += Cannon->SellValue;
  for (int i = 0; i < SlotCount && i < kSlotCount; ++i) {
    if (Slots[static_cast<size_t>(i)]) total += Slots[static_cast<size_t>(i)]->SellValue;
  }
  return total;
}
