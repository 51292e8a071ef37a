// The hangar shop, clicked through as a player would: the aircraft screen, the weapon screen,
// the two browsers, buying, selling and the refusals.
#include <gtest/gtest.h>

#include "core/level.h"
#include "flyers/weapon.h"
#include "shell/shop_form.h"

namespace {

using Shop = ShopForm;

constexpr int kSell = 14, kCannon = 9, kSlot0 = 4;

TEST_F(Shop, ANewGameBuysTheJaguarOnlyAndKeepsTenThousand) {
  StartNewGame();
  Click(1);
  EXPECT_EQ(form->Screen(), TScreen::ShopMenu);
  EXPECT_EQ(ShownCaptions(0, 3),
            (std::vector<std::string>{"Obchodovat s letadly", "Obchodovat se zbraněmi", "Zpět"}));
  Click(0);
  EXPECT_EQ(form->Screen(), TScreen::PlaneShop);
  // Before mission 0 only the Jaguar is on offer.
  EXPECT_EQ(ShownCaptions(10, 13), std::vector<std::string>{"Koupit"});
  EXPECT_TRUE(form->Memo1.Visible());
  EXPECT_FALSE(form->Memo2.Visible());
  EXPECT_FALSE(Button(kSell).Enabled());
  EXPECT_EQ(Button(kSell).Caption(), "Prodat");

  Click(10);
  ASSERT_NE(W().Player, nullptr);
  EXPECT_EQ(W().Player->Kind, 0);
  EXPECT_EQ(S().AircraftKind, 0);
  EXPECT_EQ(S().Credits, 10000);
  EXPECT_EQ(form->Edit1.Text(), "Kredit : 10000");
  EXPECT_TRUE(MessageTexts().empty());
  // One aircraft at a time: its buy button stays in view but cannot be clicked.
  EXPECT_TRUE(Button(10).Visible());
  EXPECT_FALSE(Button(10).Enabled());
  EXPECT_TRUE(Button(kSell).Enabled());
  EXPECT_EQ(Button(kSell).Caption(), "Prodat (" + std::to_string(W().Player->TotalValue()) + ")");
}

TEST_F(Shop, TooFewCreditsForAnAircraftChangeNothing) {
  StartNewGame();
  S().Credits = 49999;
  BuyAircraft(0);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Nemáte dostatek kreditů!"});
  EXPECT_EQ(W().Player, nullptr);
  EXPECT_EQ(S().AircraftKind, kNoKind);
  EXPECT_EQ(S().Credits, 49999);
  EXPECT_EQ(form->Screen(), TScreen::PlaneShop);
}

TEST_F(Shop, TheWeaponScreenWithoutAnAircraftSendsThePlayerBackToTheHangar) {
  StartNewGame();
  Click(1);
  Click(1);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Nemáte žádné letadlo!"});
  EXPECT_EQ(form->Screen(), TScreen::Hangar);
}

TEST_F(Shop, TheStockListBeforeMissionZeroHasTwoWeaponsAndOneCannon) {
  NewGameWithJaguar();
  Click(1);
  Click(1);
  ASSERT_EQ(form->Screen(), TScreen::WeaponShop);
  EXPECT_TRUE(form->Memo6.Visible());
  EXPECT_EQ(form->Memo6.Lines(),
            (std::vector<std::string>{"Dostupné zbraně:", "Rakety vzduch/vzduch, cena : 5000",
                                      "Mini raktey, cena :5000", "",
                                      "Dostupné kanóny:", "20mm Vulcan, cena : 1000"}));
  // The Jaguar has one slot and no cannon; "Zpet" leads back to the shop menu.
  EXPECT_EQ(ShownCaptions(0, 3), std::vector<std::string>{"Zpet"});
  EXPECT_EQ(ShownCaptions(4, 9), (std::vector<std::string>{"Slot 0 : Koupit", "Kanón : Koupit"}));
  Click(0);
  EXPECT_EQ(form->Screen(), TScreen::ShopMenu);
}

TEST_F(Shop, ARefusedWeaponStaysDescribedAndIsWhatALaterPurchaseFitsInTheSameSlot) {
  StartNewGame();
  S().Credits = 140000;
  SetOffers(W().Level.Offers, 2);  // the F5F and the light laser are on offer
  BuyAircraft(1);                  // F5F: two slots, 0 credits left
  Click(3);
  Click(1);
  S().Credits = 4999;
  Click(kSlot0 + 1);  // "Slot 1 : Koupit"
  ASSERT_EQ(form->Screen(), TScreen::WeaponBrowser);
  EXPECT_EQ(ShownCaptions(4, 9),
            (std::vector<std::string>{"Další zbraň", "Předchozí zbraň", "Koupit"}));
  EXPECT_EQ(form->Memo5.Lines(), std::vector<std::string>{form->WeaponTexts[0]});
  Click(4);  // "Další zbraň": mini missiles
  EXPECT_EQ(form->ScreenState.WeaponChoice, 1);
  Click(4);  // the light laser, offered from mission 1
  EXPECT_EQ(form->ScreenState.WeaponChoice, 2);
  Click(5);
  Click(5);
  Click(5);  // backwards from 0 wraps to the last offered kind
  EXPECT_EQ(form->ScreenState.WeaponChoice, 2);
  Click(5);  // mini missiles again
  ASSERT_EQ(form->ScreenState.WeaponChoice, 1);

  Click(kCannon);  // "Koupit" with 4999 credits
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Nemáte dostatek kreditů!"});
  EXPECT_EQ(form->Screen(), TScreen::WeaponBrowser);
  EXPECT_EQ(S().SlotKinds[1], kNoKind);
  EXPECT_EQ(S().Credits, 4999);
  // The browser describes the weapon that "Koupit" buys.
  EXPECT_EQ(form->ScreenState.WeaponChoice, 1);
  EXPECT_EQ(form->Memo5.Lines(), std::vector<std::string>{form->WeaponTexts[1]});

  S().Credits = 5000;
  Click(kCannon);
  EXPECT_EQ(form->Screen(), TScreen::WeaponShop);
  EXPECT_EQ(S().SlotKinds, (std::array<uint8_t, 5>{kNoKind, 1, kNoKind, kNoKind, kNoKind}));
  ASSERT_NE(W().Player->Slots[1], nullptr);
  EXPECT_EQ(W().Player->Slots[1]->Icon, 1);
  EXPECT_EQ(S().Credits, 0);
  EXPECT_EQ(ShownCaptions(4, 5),
            (std::vector<std::string>{"Slot 0 : Koupit", "Slot 1 : Prodat  (4000)"}));
  // After a purchase the next browser opens at kind 0.
  Click(kSlot0);
  EXPECT_EQ(form->ScreenState.WeaponChoice, 0);
  EXPECT_EQ(form->ScreenState.TargetSlot, 0);
}

TEST_F(Shop, CannonsAreBoughtAndSoldFromTheCannonButton) {
  NewGameWithJaguar();
  Click(1);
  Click(1);
  Click(kCannon);  // "Kanón : Koupit"
  ASSERT_EQ(form->Screen(), TScreen::CannonBrowser);
  EXPECT_EQ(form->Memo5.Lines(), std::vector<std::string>{form->CannonTexts[0]});
  Click(4);  // only the Vulcan is on offer: the choice stays
  Click(5);
  EXPECT_EQ(form->ScreenState.CannonChoice, 0);
  Click(kCannon);
  EXPECT_EQ(form->Screen(), TScreen::WeaponShop);
  EXPECT_EQ(S().CannonKind, 0);
  EXPECT_EQ(S().Credits, 9000);
  EXPECT_EQ(Button(kCannon).Caption(), "Kanón : Prodat (800)");

  Click(kCannon);
  EXPECT_EQ(S().CannonKind, kNoKind);
  EXPECT_EQ(W().Player->Cannon, nullptr);
  EXPECT_EQ(S().Credits, 9800);
  EXPECT_EQ(Button(kCannon).Caption(), "Kanón : Koupit");
}

TEST_F(Shop, SellingAFittedAircraftCreditsItsWholeValueAndClearsEveryCode) {
  NewGameWithJaguar();
  Click(1);
  Click(1);
  Click(kSlot0);
  Click(kCannon);  // air-to-air missiles into slot 0: 5000 left
  Click(kCannon);
  Click(kCannon);  // the Vulcan: 4000 left
  ASSERT_EQ(S().Credits, 4000);
  ASSERT_EQ(S().SlotKinds[0], 0);
  ASSERT_EQ(S().CannonKind, 0);

  Click(0);
  Click(0);
  const int64_t value = W().Player->TotalValue();
  EXPECT_EQ(value, W().Player->SellValue + 4000 + 800);
  EXPECT_EQ(Button(kSell).Caption(), "Prodat (" + std::to_string(value) + ")");
  Click(kSell);
  EXPECT_EQ(S().Credits, 4000 + value);
  EXPECT_EQ(W().Player, nullptr);
  EXPECT_EQ(S().AircraftKind, kNoKind);
  EXPECT_EQ(S().CannonKind, kNoKind);
  EXPECT_EQ(S().SlotKinds, (std::array<uint8_t, 5>{kNoKind, kNoKind, kNoKind, kNoKind, kNoKind}));
  EXPECT_EQ(Button(kSell).Caption(), "Prodat");
  EXPECT_FALSE(Button(kSell).Enabled());
  EXPECT_TRUE(Button(10).Enabled());
}

TEST_F(Shop, TheShopMenuLeadsBackToTheHangarWithTheControlsOfTheShopHidden) {
  NewGameWithJaguar();
  Click(1);
  Click(1);
  Click(kSlot0);
  Click(0);  // "Zpet" from inside the browser
  EXPECT_EQ(form->Screen(), TScreen::ShopMenu);
  EXPECT_FALSE(form->Memo5.Visible());
  EXPECT_FALSE(form->Memo6.Visible());
  EXPECT_TRUE(ShownCaptions(4, 14).empty());
  Click(2);
  EXPECT_EQ(form->Screen(), TScreen::Hangar);
}

}  // namespace
