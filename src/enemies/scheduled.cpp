#include "enemies/scheduled.h"

#include "enemies/boss.h"
#include "enemies/enemy.h"

std::unique_ptr<TFlyer> MakeEnemy(World& w, int32_t x, int32_t y, uint8_t kind, uint8_t variant) {
  if (kind >= kEnemyKinds) return nullptr;
  return std::make_unique<TEnemy>(w, x, y, kind, variant);
}

std::unique_ptr<TFlyer> MakeBoss(World& w, int32_t x, int32_t y, uint8_t kind) {
  if (kind >= kBossKinds) return nullptr;
  return std::make_unique<TBoss>(w, x, y, kind);
}
