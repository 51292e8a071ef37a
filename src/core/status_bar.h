// The status bar at the top of a mission frame: health, selected weapon, ready lamp, credits.
#pragma once

#include <cstdint>

class World;

// Items of DXMenuImageList.
constexpr int32_t kStatusBarFrame = 1;
constexpr int32_t kStatusBarHealth = 2;
constexpr int32_t kStatusBarLamp = 3;
constexpr int32_t kStatusBarWeapons = 4;
constexpr int32_t kNoWeaponIcon = 9;

// Drawn after every object list; only while the player has an aircraft.
void DrawStatusBar(World& w);
