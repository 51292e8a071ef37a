// The three pictures the main window's form carries itself, drawn here in code.
#pragma once

#include "presentation/picture.h"

namespace form_pictures {

// "strela": 6 x 3, three 2 x 3 cells of light grey on black: a shell flying straight up,
// up and to the left, up and to the right.
TPicture Shell();
// "vystrel kanonu": 36 x 13, four 9 x 13 frames of a muzzle flash pointing up, from the full
// flash to its last embers, on black (the key).
TPicture MuzzleFlash();
// "maly vybuch": 48 x 16, three 16 x 16 frames of a small explosion: the flash, the
// fireball, the smoke, on the key colour 0x598B2D.
inline constexpr uint32_t kSmallExplosionKey = 0x598B2D;
TPicture SmallExplosion();

}  // namespace form_pictures
