#include "enemies/death_burst.h"

#include <memory>

#include "core/effect.h"
#include "core/world.h"

namespace {

template <class E>
void Scatter(World& w, int32_t left, int32_t top, int32_t spanX, int32_t spanY, int32_t delays) {
  // Draw in a fixed order (x, y, delay) so a seed always gives the same burst.
  int32_t x = left + w.Random.Random(spanX);
  int32_t y = top + w.Random.Random(spanY);
  int32_t start = -w.Random.Random(delays);
  w.EffectList.Push(std::make_unique<E>(w, x, y, start));
}

}  // namespace

void DeathBurst(World& w, int32_t pairs, int32_t left, int32_t top, int32_t spanX, int32_t spanY,
                int32_t delays) {
  for (int32_t i = 0; i < pairs; ++i) {
    Scatter<TBigExplosion>(w, left, top, spanX, spanY, delays);
    Scatter<TMediumExplosion>(w, left, top, spanX, spanY, delays);
  }
}
