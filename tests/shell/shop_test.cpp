// The shop at the edge the campaign walk (tests/sim/campaign_walk_test.cpp) does not reach by
// chance: a purchase one credit short, then one with exactly the price.
#include <gtest/gtest.h>

#include "shell/shop_form.h"

namespace {

using Shop = ShopForm;

constexpr int kCannon = 9, kSlot0 = 4;

TEST_F(Shop, AWeaponRefusedOneCreditShortIsBoughtWithExactlyItsPrice) {
  StartNewGame();
  BuyAircraft(0);  // the Jaguar
  Click(3);        // "Zpět" to the shop menu
  Click(1);        // the weapon screen
  S().Credits = 4999;
  Click(kSlot0);   // "Slot 0 : Koupit": the air-to-air missiles, 5000
  Click(kCannon);  // "Koupit"
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Nemáte dostatek kreditů!"});
  EXPECT_EQ(form->Screen(), TScreen::WeaponBrowser);
  EXPECT_EQ(S().SlotKinds[0], kNoKind);
  EXPECT_EQ(S().Credits, 4999);

  S().Credits = 5000;
  Click(kCannon);
  EXPECT_EQ(form->Screen(), TScreen::WeaponShop);
  EXPECT_EQ(S().SlotKinds[0], 0);
  EXPECT_EQ(S().Credits, 0);
}

}  // namespace
