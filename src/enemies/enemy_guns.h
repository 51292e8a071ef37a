// The guns enemy craft and bosses carry, built by kind.
#pragma once

#include <cstdint>
#include <memory>

class World;
class TWeapon;

enum class TEnemyGun : uint8_t {
  Vulcan,  // with the damage the craft gives it
  LightLaser,
  SingleLightLaser,
  WideLightLaser,
  MediumLaser,
  DCCannon,
  PlasmaCannon,
  AimedFragmentGun,
  AimedPlasmaGun,
};

std::unique_ptr<TWeapon> MakeEnemyGun(World& w, TEnemyGun gun, int32_t vulcanDamage = 0);
