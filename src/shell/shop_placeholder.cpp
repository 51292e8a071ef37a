// TEMPORARY, until the hangar shop and the saved game land: shop.cpp, saved_game.cpp and
// shop_texts.cpp replace this whole file (delete it when they do).
#include "shell/form1.h"
#include "shell/shop_texts.h"

const std::string& WeaponDescription(int) {
  static const std::string s = "Cena : ";
  return s;
}
const std::string& CannonDescription(int) {
  return WeaponDescription(0);
}
const std::string& WeaponStockLabel(int) {
  return WeaponDescription(0);
}
const std::string& CannonStockLabel(int) {
  return WeaponDescription(0);
}
const std::vector<std::string>& AircraftMemoLines(int) {
  static const std::vector<std::string> none;
  return none;
}

void TForm1::ShowCredits() {
  Edit1.SetText("Kredit : " + std::to_string(State().Credits));
}
void TForm1::ShowShopMenu() {}
void TForm1::ShowPlaneShop() {}
void TForm1::BuyAircraft(TControl&) {}
void TForm1::SellAircraft() {}
void TForm1::ShowWeaponShop() {}
void TForm1::SellWeapon(TControl&) {}
void TForm1::OpenBrowser(TControl&) {}
void TForm1::ShowWeaponBrowser(TControl*) {}
void TForm1::ShowCannonBrowser() {}
void TForm1::ShowWeaponInfo(uint8_t) {}
void TForm1::ShowCannonInfo(uint8_t) {}
void TForm1::NextWeaponChoice() {}
void TForm1::PrevWeaponChoice() {}
void TForm1::NextCannonChoice() {}
void TForm1::PrevCannonChoice() {}
void TForm1::BuyWeapon() {}
void TForm1::BuyCannon() {}
void TForm1::SaveGame() {}
void TForm1::LoadGame() {}
