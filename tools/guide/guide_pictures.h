// The guide's pictures, cut out of the game's own image lists or drawn by its own code, as PNG.
#pragma once

#include <cstdint>
#include <string>

class TFormComponents;
class World;

// The hangar shop's picture of an aircraft kind.
void SaveAircraftPicture(TFormComponents& media, uint8_t kind, const std::string& path);
// The status bar's icon of a slot weapon kind.
void SaveWeaponIcon(World& w, uint8_t kind, const std::string& path);
// A Jaguar firing a cannon kind for a moment: the salvo's pattern as it flies.
void SaveCannonSalvo(World& w, uint8_t kind, const std::string& path);
// An enemy craft as it flies.
void SaveEnemyPicture(TFormComponents& media, uint8_t kind, const std::string& path);
