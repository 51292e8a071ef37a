#include "core/player_control.h"

#include "core/world.h"

void PlayerControl(World&) {}
