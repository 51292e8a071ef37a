// The campaign runner's shopping policy, as a sensible player shops between missions, decided
// from what the hangar shop shows:
//   1. the aircraft: the best one on offer that the credits plus the sale of everything
//      owned can pay, if it is better than the one owned and still leaves enough for the
//      cheapest cannon and the cheapest weapon on offer (a new game buys its first aircraft
//      so);
//   2. the cannon: the best affordable one on offer, if better than the mounted one (the
//      old one is sold), keeping the price of a weapon back while every slot is empty;
//   3. the slots: every empty slot gets the best affordable weapon on offer; then the
//      weakest weapon is traded for a better one while the credits allow.
// Better means more damage to what is ahead: cannons DC, triple, AT, Vulcan; weapons heavy
// laser, medium laser, plasma cannon, light laser, air-to-air missiles, mini missiles.
// An aircraft is better than another when the shop lists it after it.
//
// Each decision is one step: the runner carries it out with clicks, reads the screen again
// and asks for the next, so every figure a decision uses is one the player can see then.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/game_state.h"

// What the player owns, by kind code (kNoKind for none). The shop shows the aircraft's
// picture and each slot's icon, not their names: the runner remembers what it bought.
struct TLoadout {
  uint8_t Aircraft = kNoKind;
  uint8_t Cannon = kNoKind;
  std::array<uint8_t, 5> Slots{kNoKind, kNoKind, kNoKind, kNoKind, kNoKind};
};

// The weapon shop's stock list: the price of each kind on offer; none for the others.
struct TStock {
  std::array<std::optional<int64_t>, 6> Weapons{};
  std::array<std::optional<int64_t>, 4> Cannons{};
};

// The aircraft screen: the price of each aircraft on offer, and what selling the one owned
// fetches with everything on it (0 without one).
struct TPlaneShopView {
  int64_t Credits = 0;
  std::array<std::optional<int64_t>, 4> Aircraft{};
  int64_t OwnedValue = 0;
};

// The weapon screen: the stock list, what the mounted cannon fetches (none when there is no
// cannon), and for each of the aircraft's slots what its weapon fetches (none when empty).
struct TWeaponShopView {
  int64_t Credits = 0;
  TStock Stock;
  std::optional<int64_t> CannonSale;
  std::vector<std::optional<int64_t>> SlotSales;
};

// What the first step keeps back for arming the aircraft: the cheapest cannon and weapon on
// offer. A new game has not seen the stock list yet (the weapon shop opens only with an
// aircraft), and then keeps nothing back.
int64_t PriceOfCheapestArms(const std::optional<TStock>& stock);

// The aircraft to trade the owned one (with everything on it) for, if any.
std::optional<uint8_t> AircraftToBuy(uint8_t owned, const TPlaneShopView& view, int64_t keep);
// The cannon to mount instead of the mounted one (which is sold first), if any.
std::optional<uint8_t> CannonToBuy(uint8_t mounted, const TWeaponShopView& view);

struct TWeaponPurchase {
  size_t Slot = 0;
  uint8_t Kind = 0;  // the weapon held there is sold first
};
// The next weapon to put into a slot, given the kinds the slots hold; none when done.
std::optional<TWeaponPurchase> NextWeaponPurchase(const std::array<uint8_t, 5>& held,
                                                  const TWeaponShopView& view);
