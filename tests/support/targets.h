// Stand-ins for enemies in flight tests: a still rectangle with a side and health. What
// happens to it is kept in a record that outlives it, since the list frees a dead target.
#pragma once

#include <memory>
#include <vector>

#include "core/world.h"
#include "flyers/flyer.h"

struct TTargetRecord {
  std::vector<int32_t> Hits;
  int Deaths = 0;
  int32_t Health = 0;
  bool Alive = true;
};

class TTarget : public TFlyer {
 public:
  TTarget(World& w, int32_t x, int32_t y, int32_t width, int32_t height, int32_t health,
          uint8_t side = kSideEnemy)
      : TFlyer(w) {
    X = x;
    Y = y;
    Width = width;
    Height = height;
    Health = MaxHealth = health;
    Side = side;
    AddRect(0, 0, width, height);
    Record->Health = health;
  }
  void Hit(int32_t damage) override {
    Record->Hits.push_back(damage);
    TFlyer::Hit(damage);
    Record->Health = Health;
  }
  void Die() override {
    ++Record->Deaths;
    TFlyer::Die();
    Record->Alive = false;
  }
  std::shared_ptr<TTargetRecord> Record = std::make_shared<TTargetRecord>();
};

// Pushes a target on FlyerList and returns its record.
inline std::shared_ptr<TTargetRecord> AddTarget(World& w, int32_t x, int32_t y, int32_t width,
                                                int32_t height, int32_t health,
                                                uint8_t side = kSideEnemy) {
  return w.FlyerList.Push(std::make_unique<TTarget>(w, x, y, width, height, health, side))->Record;
}

// Every live object of a list whose type is T, newest first.
template <class T, class List>
std::vector<T*> AllOf(const List& list) {
  std::vector<T*> out;
  for (auto* n = list.Head(); n; n = n->Next) {
    if (auto* t = dynamic_cast<T*>(n->Object)) out.push_back(t);
  }
  return out;
}
