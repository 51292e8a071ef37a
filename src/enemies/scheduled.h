// The objects a schedule row creates. Kinds the game does not define give null: such a row
// is skipped.
#pragma once

#include <cstdint>
#include <memory>

class World;
class TFlyer;

std::unique_ptr<TFlyer> MakeEnemy(World& w, int32_t x, int32_t y, uint8_t kind, uint8_t variant);
std::unique_ptr<TFlyer> MakeBoss(World& w, int32_t x, int32_t y, uint8_t kind);
