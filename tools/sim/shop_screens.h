// The hangar shop as the campaign runner uses it: it reads the shop's screens (captions, memo
// lines, the credit field) into the views the shopping policy decides on, and carries each
// decision out with clicks on the screens' buttons, as a player would.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "shopping.h"
#include "ui_driver.h"

// The aircraft screen as read, with the buttons that act on it.
struct TPlaneShopScreen {
  TPlaneShopView View;
  std::array<int64_t, 4> BuyButton{};  // which visible "Koupit" buys each offered kind
  std::string SellCaption;             // the sell button's caption, when something is owned
};

// The weapon screen as read, with the buttons that act on it.
struct TWeaponShopScreen {
  TWeaponShopView View;
  std::string CannonCaption;
  std::vector<std::string> SlotCaptions;
};

// The credits the open screen shows ("Kredit : N"); throws EUiFailure when none is in view.
int64_t ReadCredits(TUiDriver& d);
TPlaneShopScreen ReadPlaneShop(TUiDriver& d);
TWeaponShopScreen ReadWeaponShop(TUiDriver& d);

// One visit to the shop, from the hangar back to the hangar, by the policy of shopping.h.
// `owned` is what the runner remembers owning and is kept up to date; `stock` is the stock
// list as last seen, read again on this visit. Throws EUiFailure when a screen does not
// show what the visit needs or the shop refuses a purchase.
void ShopInHangar(TUiDriver& d, TLoadout& owned, std::optional<TStock>& stock);
