// Stand-ins for enemies in flight tests: a still rectangle (or circle) with a side and health
// that counts its hits and deaths.
#pragma once

#include <memory>
#include <vector>

#include "core/world.h"
#include "flyers/flyer.h"

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
  }
  void Hit(int32_t damage) override {
    Hits.push_back(damage);
    TFlyer::Hit(damage);
  }
  void Die() override {
    ++Deaths;
    TFlyer::Die();
  }
  std::vector<int32_t> Hits;
  int Deaths = 0;
};

inline TTarget* AddTarget(World& w, int32_t x, int32_t y, int32_t width, int32_t height,
                          int32_t health, uint8_t side = kSideEnemy) {
  return w.FlyerList.Push(std::make_unique<TTarget>(w, x, y, width, height, health, side));
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
