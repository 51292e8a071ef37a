#include "enemies/enemy_guns.h"

#include "flyers/weapon.h"

std::unique_ptr<TWeapon> MakeEnemyGun(World& w, TEnemyGun gun, int32_t vulcanDamage) {
  switch (gun) {
    case TEnemyGun::Vulcan:
      return std::make_unique<TVulcan>(w, vulcanDamage);
    case TEnemyGun::LightLaser:
      return std::make_unique<TLightLaser>(w);
    case TEnemyGun::SingleLightLaser:
      return std::make_unique<TSingleLightLaser>(w);
    case TEnemyGun::WideLightLaser:
      return std::make_unique<TWideLightLaser>(w);
    case TEnemyGun::MediumLaser:
      return std::make_unique<TMediumLaser>(w);
    case TEnemyGun::DCCannon:
      return std::make_unique<TDCCannon>(w);
    case TEnemyGun::PlasmaCannon:
      return std::make_unique<TPlasmaCannon>(w);
    case TEnemyGun::AimedFragmentGun:
      return std::make_unique<TAimedFragmentGun>(w);
    case TEnemyGun::AimedPlasmaGun:
      return std::make_unique<TAimedPlasmaGun>(w);
  }
  return nullptr;
}
