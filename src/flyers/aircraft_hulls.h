// The hit areas of the player's aircraft, by kind code, relative to the sprite frame's
// top-left corner.
#pragma once

#include <array>

#include "flyers/hull.h"

namespace hulls {

constexpr THullShape kJaguar[] = {HullCircle(79, 74, 39), HullCircle(54, 80, 10),
                                  HullCircle(105, 80, 10), HullRect(76, 4, 8, 106),
                                  HullRect(63, 104, 33, 10)};
// The F5F and the F16 share one.
constexpr THullShape kF5FAndF16[] = {HullRect(76, 13, 8, 40), HullCircle(79, 70, 32),
                                     HullRect(41, 74, 78, 12), HullRect(57, 103, 45, 8)};
constexpr THullShape kF15[] = {HullCircle(77, 17, 3), HullCircle(77, 46, 10),
                               HullCircle(54, 83, 10), HullCircle(101, 83, 10),
                               HullCircle(77, 76, 20)};

constexpr std::array<THull, 4> kAircraft{kJaguar, kF5FAndF16, kF15, kF5FAndF16};

}  // namespace hulls
