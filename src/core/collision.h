// The three collision passes of a tick and the geometry they use.
#pragma once

class World;

void ShellsVsFlyers(World& w);
void FlyersVsFlyers(World& w);
void BonusesVsPlayer(World& w);
