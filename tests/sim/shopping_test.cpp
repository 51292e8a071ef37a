// The campaign runner's shopping policy, decided on what the shop's screens show.
#include "shopping.h"

#include <gtest/gtest.h>

#include <array>

namespace {

// Fills what is on offer before the given mission (0-based): each item's price from the
// mission it first appears in; the rest stay as they were (not offered).
template <size_t N, class Out>
void Offer(const std::array<int64_t, N>& prices, const std::array<int, N>& from, int mission,
           Out& out) {
  for (size_t k = 0; k < N; ++k) {
    if (from[k] <= mission) out[k] = prices[k];
  }
}

// The stock list as the shop shows it before the given mission: what is offered and at what
// price.
TStock StockBefore(int mission) {
  TStock s;
  Offer<6>({5000, 5000, 18000, 25000, 100000, 80000}, {0, 0, 1, 3, 4, 5}, mission, s.Weapons);
  Offer<4>({1000, 5000, 11000, 15000}, {0, 1, 3, 4}, mission, s.Cannons);
  return s;
}

TPlaneShopView PlaneShop(int64_t credits, int64_t ownedValue, int mission) {
  TPlaneShopView v;
  v.Credits = credits;
  v.OwnedValue = ownedValue;
  Offer<4>({50000, 140000, 300000, 400000}, {0, 2, 4, 5}, mission, v.Aircraft);
  return v;
}

TWeaponShopView WeaponShop(int64_t credits, int mission, size_t slots) {
  TWeaponShopView v;
  v.Credits = credits;
  v.Stock = StockBefore(mission);
  v.SlotSales.resize(slots);
  return v;
}

TEST(Shopping, ANewGameBuysTheJaguarAVulcanAndMissiles) {
  // No stock list seen yet: nothing is kept back, and only the Jaguar is affordable anyway.
  EXPECT_EQ(PriceOfCheapestArms(std::nullopt), 0);
  EXPECT_EQ(AircraftToBuy(kNoKind, PlaneShop(60000, 0, 0), 0), std::optional<uint8_t>(0));
  EXPECT_EQ(AircraftToBuy(kNoKind, PlaneShop(49999, 0, 0), 0), std::nullopt);

  TWeaponShopView v = WeaponShop(10000, 0, 1);
  EXPECT_EQ(CannonToBuy(kNoKind, v), std::optional<uint8_t>(0));
  v.Credits = 9000;
  const auto slot = NextWeaponPurchase({kNoKind, kNoKind, kNoKind, kNoKind, kNoKind}, v);
  ASSERT_TRUE(slot.has_value());
  EXPECT_EQ(slot->Slot, 0u);
  EXPECT_EQ(slot->Kind, 0);  // air-to-air missiles rank above the mini missiles
}

TEST(Shopping, TradesUpTheAircraftOnlyWhenTheSaleAndCreditsPayForIt) {
  const int64_t keep = PriceOfCheapestArms(StockBefore(3));
  EXPECT_EQ(keep, 6000);
  // An F5F costs 140000: 92000 plus 48000 from the sale pays it but leaves nothing for arms.
  EXPECT_EQ(AircraftToBuy(0, PlaneShop(92000, 48000, 3), keep), std::nullopt);
  EXPECT_EQ(AircraftToBuy(0, PlaneShop(98000, 48000, 3), keep), std::optional<uint8_t>(1));
  // The best one affordable, not merely the next one; never the one owned or a worse one.
  EXPECT_EQ(AircraftToBuy(0, PlaneShop(400000, 48000, 5), keep), std::optional<uint8_t>(3));
  EXPECT_EQ(AircraftToBuy(0, PlaneShop(400000, 48000, 4), keep), std::optional<uint8_t>(2));
  EXPECT_EQ(AircraftToBuy(3, PlaneShop(900000, 0, 5), keep), std::nullopt);
  // Not yet on offer.
  EXPECT_EQ(AircraftToBuy(0, PlaneShop(900000, 48000, 1), keep), std::nullopt);
}

TEST(Shopping, TheCannonIsTradedUpWithTheOldOnesSale) {
  TWeaponShopView v = WeaponShop(7000, 3, 2);
  v.CannonSale = 4000;                                      // the AT mounted
  v.SlotSales[0] = 14000;                                   // a weapon on board: nothing kept back
  EXPECT_EQ(CannonToBuy(1, v), std::optional<uint8_t>(2));  // 7000 + 4000 pays the DC
  v.Credits = 6999;
  EXPECT_EQ(CannonToBuy(1, v), std::nullopt);  // the Vulcan is worse; nothing else fits
  v.Credits = 1000000;
  EXPECT_EQ(CannonToBuy(2, v), std::nullopt);  // the DC is the best there is
}

TEST(Shopping, AnUnarmedAircraftKeepsMoneyForAWeaponBeforeABetterCannon) {
  // 8000 after the F5F: the AT cannon (5000) would leave nothing for a weapon.
  TWeaponShopView v = WeaponShop(8000, 2, 2);
  EXPECT_EQ(CannonToBuy(kNoKind, v), std::optional<uint8_t>(0));
  v.Credits = 10000;
  EXPECT_EQ(CannonToBuy(kNoKind, v), std::optional<uint8_t>(1));
}

TEST(Shopping, FillsEmptySlotsFirstThenTradesTheWeakestUp) {
  TWeaponShopView v = WeaponShop(101000, 4, 3);
  v.SlotSales = {15000, 4000, 15000};
  const std::array<uint8_t, 5> held{3, 0, 3, kNoKind, kNoKind};
  // The missiles (the weakest) go for a heavy laser: 101000 plus their 4000 pays it.
  auto p = NextWeaponPurchase(held, v);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->Slot, 1u);
  EXPECT_EQ(p->Kind, 4);
  // Short of that, the medium laser, which is better than the missiles too.
  v.Credits = 95000;
  p = NextWeaponPurchase(held, v);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->Kind, 3);
  // An empty slot comes before any trade (of the missiles), with the best affordable weapon.
  v.SlotSales[2] = std::nullopt;
  p = NextWeaponPurchase({3, 0, kNoKind, kNoKind, kNoKind}, v);
  ASSERT_TRUE(p.has_value());
  EXPECT_EQ(p->Slot, 2u);
  EXPECT_EQ(p->Kind, 3);
}

TEST(Shopping, StopsWhenNothingBetterIsAffordable) {
  TWeaponShopView v = WeaponShop(4000, 4, 2);
  v.SlotSales = {4000, std::nullopt};
  // The empty slot is the weakest; nothing fits it, so no trade is tried either.
  EXPECT_EQ(NextWeaponPurchase({0, kNoKind, kNoKind, kNoKind, kNoKind}, v), std::nullopt);
  v.SlotSales = {75000, 75000};
  v.Credits = 1000000;
  EXPECT_EQ(NextWeaponPurchase({4, 4, kNoKind, kNoKind, kNoKind}, v), std::nullopt);
}

}  // namespace
