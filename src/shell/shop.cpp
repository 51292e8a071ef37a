// The hangar shop: the shop menu, the aircraft screen, the weapon screen and the two browsers
// of weapons and cannons, with buying and selling.
#include <string>

#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "shell/form1.h"
#include "shell/shop_texts.h"

namespace {

constexpr const char* kNotEnoughCredits = "Nemáte dostatek kreditů!";
constexpr const char* kNoAircraft = "Nemáte žádné letadlo!";

// DXMenuImageList items and where the shop draws them.
constexpr int kWeaponIcons = 4;
constexpr int kShopPicture = 5;
constexpr int kAircraftPictures = 6;
constexpr int kEmptySlotIcon = 9;
constexpr int32_t kShopX = 250, kShopY = 175;

// MenuControls runs the shop uses.
constexpr int kFirstSlotButton = 4;  // Button6..Button10: slots 0..4
constexpr int kCannonButton = 9;     // Button16; "Koupit" in the browsers
constexpr int kFirstBuyButton = 10;  // Button11..Button14: aircraft 0..3
constexpr int kSellButton = 14;      // Button15
constexpr int kFirstAircraftMemo = 15;

// The next kind after `from`, stepping by `step` (+1 or -1) with wrap-around, that `offered`
// allows; `from` itself when none is.
template <size_t N>
uint8_t StepOffered(const std::array<bool, N>& offered, uint8_t from, int step) {
  int k = from;
  for (size_t tries = 0; tries < N; ++tries) {
    k = (k + step + static_cast<int>(N)) % static_cast<int>(N);
    if (offered[static_cast<size_t>(k)]) return static_cast<uint8_t>(k);
  }
  return from;
}

}  // namespace

void TForm1::ShowCredits() {
  Edit1.SetText("Kredit : " + std::to_string(State().Credits));
}

void TForm1::ShowShopMenu() {
  BlankSurface();
  DrawMenuPicture(kShopPicture, kShopX, kShopY);
  Memo5.SetVisible(false);
  Memo6.SetVisible(false);
  HideButtons(kFirstBuyButton, kSellButton);
  HideButtons(kFirstSlotButton, kCannonButton);
  for (int i = 0; i < kAircraftKinds; ++i) MenuControls[kFirstAircraftMemo + i]->SetVisible(false);
  SetButton(0, "Obchodovat s letadly", [this](TControl&) { ShowPlaneShop(); });
  SetButton(1, "Obchodovat se zbraněmi", [this](TControl&) { ShowWeaponShop(); });
  SetButton(2, "Zpět", [this](TControl&) { ShowHangar(); });
  HideButtons(3, 3);
  // No explicit present: hiding the controls repaints the window, which shows the picture.
  EnterScreen(TScreen::ShopMenu);
}

void TForm1::ShowPlaneShop() {
  BlankSurface();
  DrawMenuPicture(kShopPicture, kShopX, kShopY);
  HideButtons(0, 2);
  SetButton(3, "Zpět", [this](TControl&) { ShowShopMenu(); });

  const TOffers& offers = world_.Level.Offers;
  for (int i = 0; i < kAircraftKinds; ++i) {
    const bool offered = offers.AircraftOffered[static_cast<size_t>(i)];
    MenuControls[kFirstAircraftMemo + i]->SetVisible(offered);
    if (!offered) {
      HideButtons(kFirstBuyButton + i, kFirstBuyButton + i);
      continue;
    }
    DrawMenuPicture(kAircraftPictures, 30, 20 + 200 * i, i);
    SetButton(kFirstBuyButton + i, "Koupit", [this](TControl& b) { BuyAircraft(b); });
  }

  TAircraft* owned = world_.Player;
  SetButton(kSellButton, owned ? "Prodat (" + std::to_string(owned->TotalValue()) + ")" : "Prodat",
            [this](TControl&) { SellAircraft(); });
  if (!owned) {
    MenuButton(kSellButton).SetEnabled(false);
  } else {
    // Only one aircraft can be owned: its buy buttons stay in view but do nothing.
    for (int i = 0; i < kAircraftKinds; ++i) MenuButton(kFirstBuyButton + i).SetEnabled(false);
    DrawMenuPicture(kAircraftPictures, 825, 20, owned->Kind);
  }
  ShowCredits();
  Present();
  EnterScreen(TScreen::PlaneShop);
}

void TForm1::BuyAircraft(TControl& sender) {
  const int kind = MenuIndexOf(sender) - kFirstBuyButton;
  if (kind < 0 || kind >= kAircraftKinds || world_.Player) return;
  auto aircraft = MakeAircraft(world_, static_cast<uint8_t>(kind), kNewAircraftX, kNewAircraftY);
  GameState& s = State();
  if (s.Credits < aircraft->Price) {
    aircraft.reset();
    App.ShowMessage(kNotEnoughCredits);
  } else {
    s.AircraftKind = static_cast<uint8_t>(kind);
    s.Credits -= aircraft->Price;
    world_.SetPlayer(std::move(aircraft));
  }
  ShowPlaneShop();
  ShowCredits();
  Present();
}

void TForm1::SellAircraft() {
  TAircraft* owned = world_.Player;
  if (!owned) return;
  GameState& s = State();
  s.Credits += owned->TotalValue();
  world_.ReleasePlayer();  // its Done releases the weapons and the cannon
  s.AircraftKind = kNoKind;
  s.CannonKind = kNoKind;
  s.SlotKinds.fill(kNoKind);
  ShowPlaneShop();
}

void TForm1::ShowWeaponShop() {
  TAircraft* owned = world_.Player;
  if (!owned) {
    App.ShowMessage(kNoAircraft);
    ShowHangar();
    return;
  }
  const TOffers& offers = world_.Level.Offers;
  Memo6.SetVisible(true);
  Memo6.Clear();
  Memo6.Add("Dostupné zbraně:");
  for (int k = 0; k < kWeaponKinds; ++k) {
    if (offers.WeaponOffered[static_cast<size_t>(k)]) {
      Memo6.Add(WeaponStockLabel(k) + std::to_string(WeaponPrices[static_cast<size_t>(k)]));
    }
  }
  Memo6.Add("");
  Memo6.Add("Dostupné kanóny:");
  for (int k = 0; k < kCannonKinds; ++k) {
    if (offers.CannonOffered[static_cast<size_t>(k)]) {
      Memo6.Add(CannonStockLabel(k) + std::to_string(CannonPrices[static_cast<size_t>(k)]));
    }
  }
  Memo5.SetVisible(false);
  BlankSurface();
  DrawMenuPicture(kShopPicture, kShopX, kShopY);
  HideButtons(1, 3);
  SetButton(0, "Zpet", [this](TControl&) { ShowShopMenu(); });
  HideButtons(kFirstSlotButton, kCannonButton);

  const int slots = owned->SlotCount < kSlotCount ? owned->SlotCount : kSlotCount;
  for (int i = 0; i < slots; ++i) {
    const std::string slot = "Slot " + std::to_string(i) + " : ";
    const int32_t iconY = 250 + 30 * i;
    if (const TWeapon* w = owned->Slots[static_cast<size_t>(i)].get()) {
      SetButton(kFirstSlotButton + i, slot + "Prodat  (" + std::to_string(w->SellValue) + ")",
                [this](TControl& b) { SellWeapon(b); });
      DrawMenuPicture(kWeaponIcons, 380, iconY, w->Icon);
    } else {
      SetButton(kFirstSlotButton + i, slot + "Koupit", [this](TControl& b) { OpenBrowser(b); });
      DrawMenuPicture(kWeaponIcons, 380, iconY, kEmptySlotIcon);
    }
  }
  if (owned->Cannon) {
    SetButton(kCannonButton, "Kanón : Prodat (" + std::to_string(owned->Cannon->SellValue) + ")",
              [this](TControl& b) { SellWeapon(b); });
  } else {
    SetButton(kCannonButton, "Kanón : Koupit", [this](TControl& b) { OpenBrowser(b); });
  }
  ShowCredits();
  Present();
  EnterScreen(TScreen::WeaponShop);
}

void TForm1::SellWeapon(TControl& sender) {
  TAircraft* owned = world_.Player;
  if (!owned) return;
  GameState& s = State();
  const int index = MenuIndexOf(sender);
  if (index == kCannonButton) {
    if (owned->Cannon) {
      s.Credits += owned->Cannon->SellValue;
      owned->Cannon.reset();
      s.CannonKind = kNoKind;
    }
  } else if (index >= kFirstSlotButton && index < kFirstSlotButton + kSlotCount) {
    const size_t slot = static_cast<size_t>(index - kFirstSlotButton);
    if (owned->Slots[slot]) {
      s.Credits += owned->Slots[slot]->SellValue;
      owned->Slots[slot].reset();
      s.SlotKinds[slot] = kNoKind;
    }
  }
  ShowWeaponShop();
  Present();
}

void TForm1::OpenBrowser(TControl& sender) {
  if (MenuIndexOf(sender) == kCannonButton) {
    ShowCannonBrowser();
  } else {
    ShowWeaponBrowser(&sender);
  }
}

void TForm1::ShowWeaponBrowser(TControl* sender) {
  BlankSurface();
  DrawMenuPicture(kShopPicture, kShopX, kShopY);
  Memo5.SetVisible(true);
  ShowWeaponInfo(ScreenState.WeaponChoice);
  // Shown again after a refused purchase (no sender), the browser keeps its slot.
  const int index = sender ? MenuIndexOf(*sender) : -1;
  if (index >= kFirstSlotButton && index < kFirstSlotButton + kSlotCount) {
    ScreenState.TargetSlot = static_cast<uint8_t>(index - kFirstSlotButton);
  }
  HideButtons(6, 8);
  SetButton(4, "Další zbraň", [this](TControl&) { NextWeaponChoice(); });
  SetButton(5, "Předchozí zbraň", [this](TControl&) { PrevWeaponChoice(); });
  SetButton(kCannonButton, "Koupit", [this](TControl&) { BuyWeapon(); });
  Present();
  EnterScreen(TScreen::WeaponBrowser);
}

void TForm1::ShowCannonBrowser() {
  BlankSurface();
  DrawMenuPicture(kShopPicture, kShopX, kShopY);
  Memo5.SetVisible(true);
  ShowCannonInfo(ScreenState.CannonChoice);
  HideButtons(6, 8);
  SetButton(4, "Další kanón", [this](TControl&) { NextCannonChoice(); });
  SetButton(5, "Předchozí kanón", [this](TControl&) { PrevCannonChoice(); });
  SetButton(kCannonButton, "Koupit", [this](TControl&) { BuyCannon(); });
  Present();
  EnterScreen(TScreen::CannonBrowser);
}

void TForm1::ShowWeaponInfo(uint8_t kind) {
  if (kind >= kWeaponKinds) return;
  Memo5.Clear();
  Memo5.Add(WeaponTexts[kind]);
  // The icons are opaque: each covers the one drawn before it.
  DrawMenuPicture(kWeaponIcons, 390, 147, kind);
}

void TForm1::ShowCannonInfo(uint8_t kind) {
  if (kind >= kCannonKinds) return;
  Memo5.Clear();
  Memo5.Add(CannonTexts[kind]);
}

void TForm1::NextWeaponChoice() {
  ScreenState.WeaponChoice =
      StepOffered(world_.Level.Offers.WeaponOffered, ScreenState.WeaponChoice, +1);
  ShowWeaponInfo(ScreenState.WeaponChoice);
  Present();
}

void TForm1::PrevWeaponChoice() {
  ScreenState.WeaponChoice =
      StepOffered(world_.Level.Offers.WeaponOffered, ScreenState.WeaponChoice, -1);
  ShowWeaponInfo(ScreenState.WeaponChoice);
  Present();
}

void TForm1::NextCannonChoice() {
  ScreenState.CannonChoice =
      StepOffered(world_.Level.Offers.CannonOffered, ScreenState.CannonChoice, +1);
  ShowCannonInfo(ScreenState.CannonChoice);
  Present();
}

void TForm1::PrevCannonChoice() {
  ScreenState.CannonChoice =
      StepOffered(world_.Level.Offers.CannonOffered, ScreenState.CannonChoice, -1);
  ShowCannonInfo(ScreenState.CannonChoice);
  Present();
}

void TForm1::BuyWeapon() {
  TAircraft* owned = world_.Player;
  const size_t slot = ScreenState.TargetSlot;
  auto weapon = MakeWeapon(world_, ScreenState.WeaponChoice);
  if (!owned || !weapon || slot >= kSlotCount) return;
  BlankSurface();
  DrawMenuPicture(kShopPicture, kShopX, kShopY);
  GameState& s = State();
  if (s.Credits < weapon->Price) {
    weapon.reset();
    App.ShowMessage(kNotEnoughCredits);
    // The browser comes back for the same slot still describing the refused weapon, and that
    // weapon stays the choice, so "Koupit" buys exactly what is described.
    ShowWeaponBrowser(nullptr);
  } else {
    s.SlotKinds[slot] = ScreenState.WeaponChoice;
    s.Credits -= weapon->Price;
    owned->Slots[slot] = std::move(weapon);
    ScreenState.WeaponChoice = 0;
    ShowWeaponShop();
  }
  ShowCredits();
}

void TForm1::BuyCannon() {
  TAircraft* owned = world_.Player;
  auto cannon = MakeCannon(world_, ScreenState.CannonChoice);
  if (!owned || !cannon) return;
  BlankSurface();
  DrawMenuPicture(kShopPicture, kShopX, kShopY);
  Present();
  GameState& s = State();
  if (s.Credits < cannon->Price) {
    cannon.reset();
    App.ShowMessage(kNotEnoughCredits);
  } else {
    s.CannonKind = ScreenState.CannonChoice;
    s.Credits -= cannon->Price;
    owned->Cannon = std::move(cannon);
  }
  ShowCredits();
  Present();
  ShowWeaponShop();
}
