#include "enemies/scheduled.h"

#include "flyers/flyer.h"

std::unique_ptr<TFlyer> MakeEnemy(World&, int32_t, int32_t, uint8_t, uint8_t) {
  return nullptr;
}

std::unique_ptr<TFlyer> MakeBoss(World&, int32_t, int32_t, uint8_t) {
  return nullptr;
}
