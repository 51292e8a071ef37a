// The status bar at the top of a mission frame: health, selected weapon, ready lamp, credits.
#pragma once

class World;

void DrawStatusBar(World& w);
