#include "shopping.h"

#include <algorithm>

namespace {

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

template <size_t N>
std::optional<int64_t> Cheapest(const std::array<std::optional<int64_t>, N>& prices) {
  std::optional<int64_t> low;
  for (const auto& p : prices) {
    if (p && (!low || *p < *low)) low = p;
  }
  return low;
}

// The best weapon on offer, better than `held`, that the credits and held's sale pay.
std::optional<uint8_t> BestWeaponFor(uint8_t held, int64_t refund, const TWeaponShopView& v) {
  for (uint8_t kind : kWeaponRank) {
    if (RankOf(kWeaponRank, kind) >= RankOf(kWeaponRank, held)) return std::nullopt;
    const auto& price = v.Stock.Weapons[kind];
    if (price && v.Credits + refund >= *price) return kind;
  }
  return std::nullopt;
}

}  // namespace

int64_t PriceOfCheapestArms(const std::optional<TStock>& stock) {
  if (!stock) return 0;
  return Cheapest(stock->Cannons).value_or(0) + Cheapest(stock->Weapons).value_or(0);
}

std::optional<uint8_t> AircraftToBuy(uint8_t owned, const TPlaneShopView& v, int64_t keep) {
  const int64_t worth = v.Credits + v.OwnedValue;
  for (int k = 3; k >= 0; --k) {
    const auto kind = static_cast<uint8_t>(k);
    if (owned != kNoKind && kind <= owned) return std::nullopt;  // nothing better on offer
    const auto& price = v.Aircraft[kind];
    if (price && worth >= *price + keep) return kind;
  }
  return std::nullopt;
}

std::optional<uint8_t> CannonToBuy(uint8_t mounted, const TWeaponShopView& v) {
  // An aircraft with nothing in its slots keeps the price of one weapon back.
  const bool armed = std::any_of(v.SlotSales.begin(), v.SlotSales.end(),
                                 [](const auto& sale) { return sale.has_value(); });
  const int64_t keep = armed ? 0 : Cheapest(v.Stock.Weapons).value_or(0);
  const int64_t refund = v.CannonSale.value_or(0);
  for (uint8_t kind : kCannonRank) {
    if (RankOf(kCannonRank, kind) >= RankOf(kCannonRank, mounted)) return std::nullopt;
    const auto& price = v.Stock.Cannons[kind];
    if (price && v.Credits + refund >= *price + keep) return kind;
  }
  return std::nullopt;
}

std::optional<TWeaponPurchase> NextWeaponPurchase(const std::array<uint8_t, 5>& held,
                                                  const TWeaponShopView& v) {
  const size_t slots = std::min(v.SlotSales.size(), held.size());
  // Empty slots first, in order.
  for (size_t i = 0; i < slots; ++i) {
    if (held[i] != kNoKind) continue;
    if (auto kind = BestWeaponFor(kNoKind, 0, v)) return TWeaponPurchase{i, *kind};
  }
  if (slots == 0) return std::nullopt;
  // Then the weakest is traded up (an empty slot nothing could fill counts as the weakest).
  size_t weakest = 0;
  for (size_t i = 1; i < slots; ++i) {
    if (RankOf(kWeaponRank, held[i]) > RankOf(kWeaponRank, held[weakest])) weakest = i;
  }
  const int64_t refund = v.SlotSales[weakest].value_or(0);
  if (auto kind = BestWeaponFor(held[weakest], refund, v)) return TWeaponPurchase{weakest, *kind};
  return std::nullopt;
}
