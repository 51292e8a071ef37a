#include "shopping.h"

#include <array>

namespace {

constexpr uint8_t kNone = 255;
// Best first.
constexpr std::array<uint8_t, 4> kCannonRank{2, 3, 1, 0};
constexpr std::array<uint8_t, 6> kWeaponRank{4, 3, 5, 2, 0, 1};

template <size_t N>
int RankOf(const std::array<uint8_t, N>& rank, uint8_t kind) {
  for (size_t i = 0; i < N; ++i) {
    if (rank[i] == kind) return static_cast<int>(i);
  }
  return static_cast<int>(N);  // none ranks below everything
}

int64_t Cheapest(const std::array<TPrice, 6>& prices) {
  int64_t low = prices[0].Price;
  for (const TPrice& p : prices) low = std::min(low, p.Price);
  return low;
}

void BuyAircraft(TLoadout& l, int64_t& credits, const TOffers& offers, const TPriceList& p) {
  const int64_t keep = p.Cannons[0].Price + Cheapest(p.Weapons);
  const int64_t worth = credits + SaleValue(l, p);
  for (int k = 3; k >= 0; --k) {
    const auto kind = static_cast<uint8_t>(k);
    if (l.Aircraft != kNone && kind <= l.Aircraft) return;  // nothing better on offer
    if (!offers.AircraftOffered[kind] || worth < p.Aircraft[kind].Price + keep) continue;
    credits = worth - p.Aircraft[kind].Price;
    l = TLoadout{};
    l.Aircraft = kind;
    return;
  }
}

void BuyCannon(TLoadout& l, int64_t& credits, const TOffers& offers, const TPriceList& p) {
  // An aircraft with nothing in its slots keeps the price of one weapon back.
  bool armed = false;
  for (uint8_t w : l.Slots) armed = armed || w != kNone;
  const int64_t keep = armed ? 0 : Cheapest(p.Weapons);
  for (uint8_t kind : kCannonRank) {
    if (RankOf(kCannonRank, kind) >= RankOf(kCannonRank, l.Cannon)) return;
    const int64_t refund = l.Cannon == kNone ? 0 : p.Cannons[l.Cannon].SellValue;
    if (!offers.CannonOffered[kind] || credits + refund < p.Cannons[kind].Price + keep) continue;
    credits += refund - p.Cannons[kind].Price;
    l.Cannon = kind;
    return;
  }
}

// Puts the best affordable weapon better than what slot i holds into it; false if none.
bool UpgradeSlot(TLoadout& l, size_t i, int64_t& credits, const TOffers& offers,
                 const TPriceList& p) {
  const uint8_t held = l.Slots[i];
  const int64_t refund = held == kNone ? 0 : p.Weapons[held].SellValue;
  for (uint8_t kind : kWeaponRank) {
    if (RankOf(kWeaponRank, kind) >= RankOf(kWeaponRank, held)) return false;
    if (!offers.WeaponOffered[kind] || credits + refund < p.Weapons[kind].Price) continue;
    credits += refund - p.Weapons[kind].Price;
    l.Slots[i] = kind;
    return true;
  }
  return false;
}

void BuyWeapons(TLoadout& l, int64_t& credits, const TOffers& offers, const TPriceList& p) {
  const size_t slots = l.Aircraft == kNone ? 0 : p.AircraftSlots[l.Aircraft];
  for (size_t i = 0; i < slots; ++i) {
    if (l.Slots[i] == kNone) UpgradeSlot(l, i, credits, offers, p);
  }
  // Then trade the weakest up, one at a time, while that buys something better.
  for (int round = 0; round < 10; ++round) {
    size_t weakest = 0;
    for (size_t i = 1; i < slots; ++i) {
      if (RankOf(kWeaponRank, l.Slots[i]) > RankOf(kWeaponRank, l.Slots[weakest])) weakest = i;
    }
    if (slots == 0 || !UpgradeSlot(l, weakest, credits, offers, p)) return;
  }
}

}  // namespace

int64_t SaleValue(const TLoadout& l, const TPriceList& p) {
  if (l.Aircraft == kNone) return 0;
  int64_t value = p.Aircraft[l.Aircraft].SellValue;
  if (l.Cannon != kNone) value += p.Cannons[l.Cannon].SellValue;
  for (uint8_t w : l.Slots) {
    if (w != kNone) value += p.Weapons[w].SellValue;
  }
  return value;
}

void Shop(TLoadout& l, int64_t& credits, const TOffers& offers, const TPriceList& p) {
  BuyAircraft(l, credits, offers, p);
  if (l.Aircraft == kNone) return;
  BuyCannon(l, credits, offers, p);
  BuyWeapons(l, credits, offers, p);
}
