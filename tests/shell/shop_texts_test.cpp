#include "shell/shop_texts.h"

#include <gtest/gtest.h>

namespace {

// The texts themselves are checked on the shop's screens by the campaign walk
// (tests/sim/campaign_walk_test.cpp); here only what no screen asks for.
TEST(ShopTexts, AKindOutsideTheTablesHasNoText) {
  EXPECT_EQ(WeaponDescription(6), "");
  EXPECT_EQ(CannonDescription(-1), "");
  EXPECT_EQ(CannonStockLabel(4), "");
  EXPECT_TRUE(AircraftMemoLines(4).empty());
}

}  // namespace
