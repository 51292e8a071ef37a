#include "replay/flight_digest.h"

#include "base/bit_cast.h"
#include "core/world.h"

namespace {

// FNV-1a over 64-bit words: order-sensitive, so a list in another order is another world.
class THash {
 public:
  THash& Add(uint64_t v) {
    for (int i = 0; i < 8; ++i) {
      value_ ^= (v >> (8 * i)) & 0xFF;
      value_ *= 0x100000001b3ULL;
    }
    return *this;
  }
  THash& Add(int64_t v) { return Add(static_cast<uint64_t>(v)); }
  THash& Add(int32_t v) { return Add(static_cast<uint64_t>(static_cast<int64_t>(v))); }
  THash& Add(double v) { return Add(BitCast<uint64_t>(v)); }
  THash& Add(bool v) { return Add(uint64_t{v}); }
  uint64_t Value() const { return value_; }

 private:
  uint64_t value_ = 0xcbf29ce484222325ULL;
};

}  // namespace

TCheckpoint DigestWorld(const World& w, int64_t tick) {
  THash positions, health;
  for (auto* n = w.FlyerList.Head(); n; n = n->Next) {
    const TFlyer& f = *n->Object;
    positions.Add(f.X).Add(f.Y).Add(f.Dx).Add(f.Dy).Add(f.Alive);
    health.Add(f.Health).Add(f.MaxHealth);
  }
  for (auto* n = w.ShellList.Head(); n; n = n->Next) {
    const TShell& s = *n->Object;
    positions.Add(s.X).Add(s.Y).Add(s.Dx).Add(s.Dy).Add(s.Alive);
  }
  for (auto* n = w.EffectList.Head(); n; n = n->Next) {
    const TEffect& e = *n->Object;
    positions.Add(e.X).Add(e.Y).Add(e.Frame).Add(e.Alive);
  }
  for (auto* n = w.BonusList.Head(); n; n = n->Next) {
    const TBonus& b = *n->Object;
    positions.Add(b.X).Add(b.Y).Add(b.Alive);
  }
  TCheckpoint c;
  c.Tick = tick;
  c.Positions = positions.Value();
  c.Health = health.Value();
  c.Credits = w.State.Credits;
  c.Random = w.Random.State();
  c.Lengths = {
      static_cast<uint32_t>(w.FlyerList.Count()), static_cast<uint32_t>(w.ShellList.Count()),
      static_cast<uint32_t>(w.EffectList.Count()), static_cast<uint32_t>(w.BonusList.Count())};
  return c;
}

std::string CheckpointDifference(const TCheckpoint& recorded, const TCheckpoint& actual) {
  static constexpr const char* kLists[4] = {"flyers", "shells", "effects", "bonuses"};
  for (size_t i = 0; i < 4; ++i) {
    if (recorded.Lengths[i] != actual.Lengths[i])
      return std::string(kLists[i]) + " " + std::to_string(actual.Lengths[i]) + ", recorded " +
             std::to_string(recorded.Lengths[i]);
  }
  if (recorded.Credits != actual.Credits)
    return "credits " + std::to_string(actual.Credits) + ", recorded " +
           std::to_string(recorded.Credits);
  if (recorded.Health != actual.Health) return "health";
  if (recorded.Positions != actual.Positions) return "positions";
  if (recorded.Random != actual.Random) return "the random generator's state";
  return {};
}
