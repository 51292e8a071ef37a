// The campaign runner's shopping policy, with the shop's own prices.
#include "shopping.h"

#include <gtest/gtest.h>

namespace {

TPriceList ShopPrices() {
  TPriceList p;
  p.Aircraft = {{{50000, 30000}, {140000, 80000}, {300000, 90000}, {400000, 300000}}};
  p.AircraftSlots = {1, 2, 3, 5};
  p.Weapons = {{{5000, 4000},
                {5000, 4000},
                {18000, 14000},
                {25000, 15000},
                {100000, 75000},
                {80000, 60000}}};
  p.Cannons = {{{1000, 800}, {5000, 4000}, {11000, 8000}, {15000, 10000}}};
  return p;
}

TOffers OffersOf(int32_t mission) {
  TOffers o;
  SetOffers(o, mission);
  return o;
}

TEST(Shopping, ANewGameBuysTheStartingKit) {
  TLoadout l;
  int64_t credits = 60000;
  Shop(l, credits, OffersOf(0), ShopPrices());
  EXPECT_EQ(l.Aircraft, 0);
  EXPECT_EQ(l.Cannon, 0);
  EXPECT_EQ(l.Slots[0], 0);  // air-to-air missiles rank above the mini missiles
  EXPECT_EQ(l.Slots[1], 255);
  EXPECT_EQ(credits, 4000);
}

TEST(Shopping, TradesUpTheAircraftOnlyWhenTheSaleAndCreditsPayForIt) {
  const TPriceList p = ShopPrices();
  TLoadout l;
  l.Aircraft = 0;
  l.Cannon = 1;
  l.Slots[0] = 2;           // worth 30000 + 4000 + 14000 on sale
  int64_t credits = 92000;  // an F5F less the sale, but nothing left for its arms
  Shop(l, credits, OffersOf(3), p);
  EXPECT_EQ(l.Aircraft, 0);
  EXPECT_EQ(l.Cannon, 2);    // the DC instead, the AT sold
  EXPECT_EQ(l.Slots[0], 3);  // and the medium laser for the light one
  EXPECT_EQ(credits, 92000 + 4000 - 11000 + 14000 - 25000);

  l = TLoadout{};
  l.Aircraft = 0;
  l.Cannon = 1;
  l.Slots[0] = 2;
  credits = 150000;
  Shop(l, credits, OffersOf(2), p);
  EXPECT_EQ(l.Aircraft, 1);
  EXPECT_EQ(l.Cannon, 1);    // the best cannon on offer before mission 4
  EXPECT_EQ(l.Slots[0], 2);  // the best weapon on offer, in both slots
  EXPECT_EQ(l.Slots[1], 2);
  EXPECT_EQ(credits, 150000 + 48000 - 140000 - 5000 - 2 * 18000);
}

TEST(Shopping, ANewAircraftKeepsMoneyForAWeaponBeforeABetterCannon) {
  // 8000 after the F5F: the AT cannon (5000) would leave nothing for a weapon.
  TLoadout l;
  l.Aircraft = 1;
  int64_t credits = 8000;
  Shop(l, credits, OffersOf(2), ShopPrices());
  EXPECT_EQ(l.Cannon, 0);
  EXPECT_EQ(l.Slots[0], 0);
  EXPECT_EQ(credits, 2000);
}

TEST(Shopping, TradesTheWeakestWeaponUpWhileCreditsAllow) {
  TLoadout l;
  l.Aircraft = 2;
  l.Cannon = 2;
  l.Slots = {3, 0, 3, 255, 255};
  int64_t credits = 101000;
  Shop(l, credits, OffersOf(4), ShopPrices());
  // The missiles (the weakest) go for a heavy laser: 100000 less their 4000.
  EXPECT_EQ(l.Slots[1], 4);
  EXPECT_EQ(credits, 5000);
  EXPECT_EQ(l.Cannon, 2);
}

}  // namespace
