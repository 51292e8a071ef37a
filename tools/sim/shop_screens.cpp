#include "shop_screens.h"

#include <cctype>
#include <functional>

#include "shell/shop_texts.h"

namespace {

using TScreen = TForm1::TScreen;

// A shop with every kind on offer stocks 6 weapons; each of the 5 slots is filled once and
// then traded up a few times at most.
constexpr int kMostPurchasesAVisit = 15;

bool StartsWith(const std::string& text, const std::string& prefix) {
  return !prefix.empty() && text.compare(0, prefix.size(), prefix) == 0;
}

// The number written in `text`, thousands dots and spaces skipped ("50.000", " 1000").
std::optional<int64_t> NumberIn(const std::string& text) {
  int64_t value = 0;
  bool digits = false, negative = false;
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      if (value > (INT64_MAX - 9) / 10) return std::nullopt;
      value = value * 10 + (c - '0');
      digits = true;
    } else if (c == '-' && !digits) {
      negative = true;
    } else if (c != '.' && c != ' ') {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  return negative ? -value : value;
}

// The number in the parentheses at the end of a caption: "Prodat (31000)".
std::optional<int64_t> SaleIn(const std::string& caption) {
  const auto open = caption.rfind('(');
  if (open == std::string::npos || caption.back() != ')') return std::nullopt;
  return NumberIn(caption.substr(open + 1, caption.size() - open - 2));
}

std::vector<TMemo*> VisibleMemos(TUiDriver& d) {
  std::vector<TMemo*> memos;
  for (TControl* c : d.ControlsInScriptOrder()) {
    if (auto* memo = dynamic_cast<TMemo*>(c); memo && !memo->Lines().empty()) memos.push_back(memo);
  }
  return memos;
}

std::vector<TButton*> VisibleButtons(TUiDriver& d) {
  std::vector<TButton*> buttons;
  for (TControl* c : d.ControlsInScriptOrder()) {
    if (auto* button = dynamic_cast<TButton*>(c)) buttons.push_back(button);
  }
  return buttons;
}

// The kind whose text `line` starts with, among `count` kinds; -1 for none.
int KindNamedBy(const std::string& line, int count,
                const std::function<const std::string&(int)>& text) {
  for (int k = 0; k < count; ++k) {
    if (StartsWith(line, text(k))) return k;
  }
  return -1;
}

// The kind a browser's description memo (Memo5) shows; -1 for none.
int DescribedKind(TUiDriver& d, int count, const std::function<const std::string&(int)>& text) {
  for (TMemo* memo : VisibleMemos(d)) {
    const int kind = KindNamedBy(memo->Lines().front(), count, text);
    if (kind >= 0) return kind;
  }
  return -1;
}

// In a browser: steps on with `next` until the wanted kind is described, then buys it.
void BuyInBrowser(TUiDriver& d, uint8_t kind, const std::string& next, int count,
                  const std::function<const std::string&(int)>& text) {
  for (int step = 0; DescribedKind(d, count, text) != kind; ++step) {
    if (step == count) throw EUiFailure("the browser never shows kind " + std::to_string(kind));
    d.ClickButton(next);
  }
  d.ClickButton("Koupit");
  d.ExpectScreen(TScreen::WeaponShop);
}

void BuyAircraftIfBetter(TUiDriver& d, TLoadout& owned, const std::optional<TStock>& stock) {
  d.ClickButton("Obchodovat s letadly");
  d.ExpectScreen(TScreen::PlaneShop);
  const TPlaneShopScreen screen = ReadPlaneShop(d);
  const auto kind = AircraftToBuy(owned.Aircraft, screen.View, PriceOfCheapestArms(stock));
  if (kind) {
    if (owned.Aircraft != kNoKind) d.ClickButton(screen.SellCaption);
    d.ClickButton("Koupit", screen.BuyButton[*kind]);
    owned = TLoadout{};
    owned.Aircraft = *kind;
  }
  d.ClickButton("Zpět");
  d.ExpectScreen(TScreen::ShopMenu);
}

void BuyCannonIfBetter(TUiDriver& d, TLoadout& owned) {
  const TWeaponShopScreen screen = ReadWeaponShop(d);
  const auto kind = CannonToBuy(owned.Cannon, screen.View);
  if (!kind) return;
  if (owned.Cannon != kNoKind) d.ClickButton(screen.CannonCaption);
  d.ClickButton("Kanón : Koupit");
  d.ExpectScreen(TScreen::CannonBrowser);
  BuyInBrowser(d, *kind, "Další kanón", 4, CannonDescription);
  owned.Cannon = *kind;
}

void FillSlots(TUiDriver& d, TLoadout& owned) {
  for (int n = 0; n < kMostPurchasesAVisit; ++n) {
    const TWeaponShopScreen screen = ReadWeaponShop(d);
    const auto purchase = NextWeaponPurchase(owned.Slots, screen.View);
    if (!purchase) return;
    const size_t slot = purchase->Slot;
    if (owned.Slots[slot] != kNoKind) d.ClickButton(screen.SlotCaptions[slot]);
    d.ClickButton("Slot " + std::to_string(slot) + " : Koupit");
    d.ExpectScreen(TScreen::WeaponBrowser);
    BuyInBrowser(d, purchase->Kind, "Další zbraň", 6, WeaponDescription);
    owned.Slots[slot] = purchase->Kind;
  }
}

}  // namespace

int64_t ReadCredits(TUiDriver& d) {
  for (TControl* c : d.ControlsInScriptOrder()) {
    for (const std::string& text : c->VisibleTexts()) {
      static const std::string kLabel = "Kredit : ";
      if (!StartsWith(text, kLabel)) continue;
      if (auto credits = NumberIn(text.substr(kLabel.size()))) return *credits;
    }
  }
  throw EUiFailure("no credits in view");
}

TPlaneShopScreen ReadPlaneShop(TUiDriver& d) {
  TPlaneShopScreen s;
  s.View.Credits = ReadCredits(d);
  // Each aircraft on offer is described by its memo, with its "Koupit" below it, in order.
  std::vector<int> listed;
  for (TMemo* memo : VisibleMemos(d)) {
    const int kind = KindNamedBy(memo->Lines().front(), 4, [](int k) -> const std::string& {
      return AircraftMemoLines(k).front();
    });
    if (kind < 0) continue;
    for (const std::string& line : memo->Lines()) {
      if (StartsWith(line, "Cena : ")) s.View.Aircraft[kind] = NumberIn(line.substr(7));
    }
    if (!s.View.Aircraft[kind]) throw EUiFailure("no price in the memo of aircraft " + memo->Name);
    listed.push_back(kind);
  }
  int64_t buttons = 0;
  for (TButton* b : VisibleButtons(d)) {
    if (b->Caption() == "Koupit" && static_cast<size_t>(buttons) < listed.size()) {
      s.BuyButton[static_cast<size_t>(listed[static_cast<size_t>(buttons)])] = buttons + 1;
      ++buttons;
    } else if (StartsWith(b->Caption(), "Prodat")) {
      s.SellCaption = b->Caption();
      s.View.OwnedValue = b->Enabled() ? SaleIn(b->Caption()).value_or(0) : 0;
    }
  }
  if (static_cast<size_t>(buttons) != listed.size()) {
    throw EUiFailure("the aircraft on offer and their buy buttons do not match");
  }
  return s;
}

TWeaponShopScreen ReadWeaponShop(TUiDriver& d) {
  TWeaponShopScreen s;
  s.View.Credits = ReadCredits(d);
  bool stockSeen = false;
  for (TMemo* memo : VisibleMemos(d)) {
    if (memo->Lines().front() != "Dostupné zbraně:") continue;
    stockSeen = true;
    bool cannons = false;
    for (const std::string& line : memo->Lines()) {
      cannons = cannons || line == "Dostupné kanóny:";
      if (!cannons) {
        const int k = KindNamedBy(line, 6, WeaponStockLabel);
        if (k >= 0) s.View.Stock.Weapons[k] = NumberIn(line.substr(WeaponStockLabel(k).size()));
      } else {
        const int k = KindNamedBy(line, 4, CannonStockLabel);
        if (k >= 0) s.View.Stock.Cannons[k] = NumberIn(line.substr(CannonStockLabel(k).size()));
      }
    }
  }
  if (!stockSeen) throw EUiFailure("no stock list in view");
  for (TButton* b : VisibleButtons(d)) {
    const std::string& caption = b->Caption();
    if (StartsWith(caption, "Kanón : ")) {
      s.CannonCaption = caption;
      if (StartsWith(caption, "Kanón : Prodat")) s.View.CannonSale = SaleIn(caption);
    } else if (StartsWith(caption, "Slot " + std::to_string(s.SlotCaptions.size()) + " : ")) {
      s.SlotCaptions.push_back(caption);
      s.View.SlotSales.push_back(caption.find("Prodat") != std::string::npos ? SaleIn(caption)
                                                                             : std::nullopt);
    }
  }
  return s;
}

void ShopInHangar(TUiDriver& d, TLoadout& owned, std::optional<TStock>& stock) {
  d.ExpectScreen(TScreen::Hangar);
  d.ClickButton("Nakupovat/prodávat");
  d.ExpectScreen(TScreen::ShopMenu);
  // The prices of the arms first, so the aircraft leaves enough for them.
  if (owned.Aircraft != kNoKind) {
    d.ClickButton("Obchodovat se zbraněmi");
    d.ExpectScreen(TScreen::WeaponShop);
    stock = ReadWeaponShop(d).View.Stock;
    d.ClickButton("Zpet");
  }
  BuyAircraftIfBetter(d, owned, stock);
  if (owned.Aircraft != kNoKind) {
    d.ClickButton("Obchodovat se zbraněmi");
    d.ExpectScreen(TScreen::WeaponShop);
    stock = ReadWeaponShop(d).View.Stock;
    BuyCannonIfBetter(d, owned);
    FillSlots(d, owned);
    d.ClickButton("Zpet");
    d.ExpectScreen(TScreen::ShopMenu);
  }
  d.ClickButton("Zpět");
  d.ExpectScreen(TScreen::Hangar);
}
