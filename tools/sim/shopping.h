// The campaign runner's shopping policy, as a sensible player shops between missions:
//   1. the aircraft: the best one on offer that the credits plus the sale of everything
//      owned can pay, if it is better than the one owned and still leaves enough for the
//      cheapest cannon and the cheapest weapon (a new game buys its first aircraft so);
//   2. the cannon: the best affordable one on offer, if better than the mounted one (the
//      old one is sold), keeping the price of a weapon back while every slot is empty;
//   3. the slots: every empty slot gets the best affordable weapon on offer; then the
//      weakest weapon is traded for a better one while the credits allow.
// Better means more damage to what is ahead: cannons DC, triple, AT, Vulcan; weapons heavy
// laser, medium laser, plasma cannon, light laser, air-to-air missiles, mini missiles.
#pragma once

#include <array>
#include <cstdint>

#include "core/level.h"

struct TPrice {
  int64_t Price = 0;
  int64_t SellValue = 0;
};

// What the shop asks and pays, read from the game's own aircraft and weapons.
struct TPriceList {
  std::array<TPrice, 4> Aircraft{};
  std::array<uint8_t, 4> AircraftSlots{};
  std::array<TPrice, 6> Weapons{};
  std::array<TPrice, 4> Cannons{};
};

struct TLoadout {
  uint8_t Aircraft = 255;  // kind codes; 255 = none
  uint8_t Cannon = 255;
  std::array<uint8_t, 5> Slots{255, 255, 255, 255, 255};
};

// What everything owned fetches on sale.
int64_t SaleValue(const TLoadout& l, const TPriceList& p);

// Applies the policy to the loadout and the credits, with the goods the mission offers.
void Shop(TLoadout& l, int64_t& credits, const TOffers& offers, const TPriceList& p);
