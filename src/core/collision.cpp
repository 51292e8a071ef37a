#include "core/collision.h"

#include "core/world.h"

void ShellsVsFlyers(World&) {}
void FlyersVsFlyers(World&) {}
void BonusesVsPlayer(World&) {}
