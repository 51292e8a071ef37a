#include "shell/shop_texts.h"

#include <gtest/gtest.h>

namespace {

bool StartsWith(const std::string& s, const std::string& prefix) {
  return s.compare(0, prefix.size(), prefix) == 0;
}
bool EndsWith(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() &&
         s.compare(s.size() - suffix.size(), suffix.size(), suffix) == 0;
}

TEST(ShopTexts, EveryDescriptionNamesItsWeaponAndEndsWithThePriceLabel) {
  const char* weapons[] = {"Rakety Vzduch/Vzduch.", "Mini rakety.", "Lehký Laser.",
                           "Střední laser.",        "Těžký laser.", "Plasmové dělo."};
  const char* cannons[] = {"20mm Vulcan.", "37mm AT.", "30mm DC.", "30mm \"Trojblok\"."};
  for (int k = 0; k < 6; ++k) {
    EXPECT_TRUE(StartsWith(WeaponDescription(k), std::string(weapons[k]) + " ")) << k;
    EXPECT_TRUE(EndsWith(WeaponDescription(k), ". Cena : ")) << k;
  }
  for (int k = 0; k < 4; ++k) {
    EXPECT_TRUE(StartsWith(CannonDescription(k), std::string(cannons[k]) + " ")) << k;
    EXPECT_TRUE(EndsWith(CannonDescription(k), ". Cena : ")) << k;
  }
  EXPECT_EQ(WeaponDescription(6), "");
  EXPECT_EQ(CannonDescription(-1), "");
}

TEST(ShopTexts, StockLabelsKeepTheirOwnSpacing) {
  EXPECT_EQ(WeaponStockLabel(0), "Rakety vzduch/vzduch, cena : ");
  EXPECT_EQ(WeaponStockLabel(1), "Mini raktey, cena :");
  EXPECT_EQ(WeaponStockLabel(5), "Plasmové dělo, cena :");
  EXPECT_EQ(CannonStockLabel(0), "20mm Vulcan, cena : ");
  EXPECT_EQ(CannonStockLabel(3), "30mm \"Trojblok\", cena :");
  EXPECT_EQ(CannonStockLabel(4), "");
}

TEST(ShopTexts, AircraftMemosHaveEightLinesEndingInTheirPrice) {
  const char* prices[] = {"Cena : 50.000", "Cena : 140.000", "Cena : 300.000", "Cena : 400.000"};
  const char* slots[] = {"1", "2", "3", "5"};
  for (int k = 0; k < 4; ++k) {
    const auto& lines = AircraftMemoLines(k);
    ASSERT_EQ(lines.size(), 8u) << k;
    EXPECT_EQ(lines[4], std::string("Pocet pridavnych zbrani : ") + slots[k]);
    EXPECT_EQ(lines[7], prices[k]);
  }
  EXPECT_EQ(AircraftMemoLines(0)[1], "Tento letoun neni prilis rychly, ");
  EXPECT_TRUE(AircraftMemoLines(4).empty());
}

}  // namespace
