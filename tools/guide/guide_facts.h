// What the player's guide says, read from the game itself: its kinds built and fired in a
// world, its offers, its difficulty screen and its default settings. Nothing here is a copy of
// a number; each is measured or asked from the code that the game runs.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TFormComponents;

struct TAircraftFacts {
  std::string Name;  // the shop's own
  int32_t Armour = 0;
  double Acceleration = 0;  // pixels per tick, each tick a direction is held
  int32_t TopSpeed = 0;     // pixels per tick
  int32_t Slots = 0;
  int64_t Price = 0;
  int64_t Refund = 0;
  int32_t FromMission = 0;  // 1-based: the first mission whose shop offers it
};

// One shot of a weapon or cannon: how many projectiles or shells leave, each with what power.
struct TWeaponFacts {
  std::string Name;
  int32_t Count = 0;
  int32_t Power = 0;
  bool EveryTick = false;     // strikes every tick it touches, never stopped
  int32_t Fragments = 0;      // bursts into this many on contact (plasma)
  int32_t FragmentPower = 0;  //   each with this power
  int32_t RechargeTicks = 0;  // from one shot to the next
  int64_t Price = 0;
  int64_t Refund = 0;
  int32_t FromMission = 0;
};

struct TDifficultyFacts {
  std::string Name;  // the button's caption
  uint8_t Code = 0;  // 0, 2 or 4
  int64_t StartCredits = 0;
  std::vector<int32_t> EnemyHealth;  // by enemy kind
  int32_t FighterShellDamage = 0;    // the twin cannons of enemy kind 0
};

struct TSettingFacts {
  std::string Name;
  std::string Default;
  std::string Help;
};

// Records and recorded flights: what the viewer offers and how long things are kept.
struct TRecordingFacts {
  std::vector<double> Speeds;       // the viewer's speeds, slowest first
  double NormalSpeed = 1;           // where a flight starts
  double LoudestSpeed = 2;          // sound plays up to this speed
  int32_t SeekSeconds = 0;          // a step back or forward
  int32_t Kept = 0;                 // recordings kept in the folder
  int32_t TitleFlightSeconds = 0;   // the title's wait before its flight
  std::vector<std::string> Legend;  // the viewer's bar, as it lists keys and buttons
};

struct TGuideFacts {
  std::vector<TAircraftFacts> Aircraft;
  std::vector<TWeaponFacts> Weapons;
  std::vector<TWeaponFacts> Cannons;
  std::vector<TDifficultyFacts> Difficulties;
  std::vector<TSettingFacts> Settings;
  TRecordingFacts Recordings;
  int32_t TicksPerSecond = 100;
  int32_t Missions = 6;
};

// `media` has the content loaded, and the working directory is the content tree;
// `dataDir` is that tree, for the difficulty screen's own program run.
TGuideFacts GatherFacts(TFormComponents& media, const std::string& dataDir);

// The name a shop description gives its kind: the text before its first ". ".
std::string NameOf(const std::string& description);
