#include "core/world.h"

#include "presentation/form_components.h"

World::World(TFormComponents& media, uint64_t seed)
    : Media(media), Events(&quietEvents_), Random(seed) {
  FlyerList.OnPlayerFreed = [this] { Player = nullptr; };
}

World::~World() {
  // The lists go first so the aircraft they may hold is freed while the world still exists.
  FlyerList.OnPlayerFreed = nullptr;
  FlyerList.Clear();
  ShellList.Clear();
  EffectList.Clear();
  BonusList.Clear();
  ReleasePlayer();
}

void World::ReleasePlayer() {
  if (parked_) {
    parked_->Done();
    parked_.reset();
  }
  Player = nullptr;
}

void World::PushPlayer() {
  if (parked_) FlyerList.PushPlayer(std::move(parked_));
}

void World::UnlinkPlayer() {
  if (auto aircraft = FlyerList.UnlinkPlayer()) parked_ = std::move(aircraft);
}

void ResetCounters(World& w) {
  w.StepTicks = 0;
  w.StepClock = 0;
  w.ScrollTicks = 0;
}

void CutMotion(World& w) {
  ++w.MotionTick;
  w.TerrainMoved = false;
}

void EmptyLists(World& w) {
  w.FlyerList.Clear();
  w.ShellList.Clear();
  w.EffectList.Clear();
  w.BonusList.Clear();
  w.FlyerList.InitList();
  w.ShellList.InitList();
  w.EffectList.InitList();
  w.BonusList.InitList();
}
