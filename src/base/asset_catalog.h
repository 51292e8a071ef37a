// Every content file the game reads, with the image-list or wave-list place it goes to.
// Pure data: the shell's loader, the constructors that load their own pictures, the content
// generator and the catalog test all read these tables, so a file name lives in one place.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace catalog {

enum class ImageList : uint8_t {
  HCFlyerPictures,
  BackgroundPictures,
  ShotPictures,
  EnemyShipsPictures,
  EffectPictures,
  RocketPictures,
  DXMenuImageList,
  BossPicture,
};

enum class WaveList : uint8_t {
  DXLaserWaveList,
  DXExplWaveList,
  DXWeaponWaveList,
  DXEnginesWaveList,
};

// Colours are 0x00BBGGRR.
inline constexpr uint32_t kBlack = 0x000000;
inline constexpr uint32_t kBrightGreen = 0x00FF00;
inline constexpr uint32_t kYellow = 0x00FFFF;

struct Picture {
  ImageList List;
  int Index;          // item index in its list
  const char* Path;   // relative to the working directory, '/' separated
  int PatternWidth;   // 0 = the whole picture
  int PatternHeight;  // 0 = the whole picture
  bool Transparent;
  uint32_t Key;     // TransparentColor
  int MinPatterns;  // patterns the game draws from it (content must provide at least these)
};

struct Sound {
  WaveList List;
  int Index;
  const char* Path;
  bool Appended;  // appended to the list (true) or loaded into an item the form defines
};

// Loaded at start-up, in this order (items of one list in index order).
inline constexpr std::array<Picture, 33> kStartupPictures{{
    {ImageList::DXMenuImageList, 0, "res/other/Starvelkhorn_intro.jpg", 0, 0, false, kBlack, 1},
    {ImageList::DXMenuImageList, 1, "res/other/statusbar.bmp", 0, 0, true, kBrightGreen, 1},
    {ImageList::DXMenuImageList, 2, "res/other/statusbarB.jpg", 0, 0, true, kBlack, 1},
    {ImageList::DXMenuImageList, 3, "res/other/statusbarC.jpg", 20, 20, false, kBlack, 2},
    {ImageList::DXMenuImageList, 4, "res/other/weaponlist.jpg", 62, 20, false, kBlack, 10},
    {ImageList::DXMenuImageList, 5, "res/other/buysell.jpg", 0, 0, false, kBlack, 1},
    {ImageList::DXMenuImageList, 6, "res/other/allplanes.jpg", 140, 140, false, kBlack, 4},
    {ImageList::DXMenuImageList, 7, "res/other/hangar.jpg", 0, 0, false, kBlack, 1},
    {ImageList::DXMenuImageList, 8, "res/other/fly.jpg", 0, 0, false, kBlack, 1},
    {ImageList::DXMenuImageList, 9, "res/other/theend.jpg", 0, 0, false, kBlack, 1},
    {ImageList::EnemyShipsPictures, 0, "res/enemies/enemy1.bmp", 0, 0, true, kYellow, 1},
    {ImageList::EnemyShipsPictures, 1, "res/enemies/enemy2.bmp", 0, 0, true, kYellow, 1},
    {ImageList::EnemyShipsPictures, 2, "res/enemies/enemy3.bmp", 0, 0, true, kYellow, 1},
    {ImageList::EnemyShipsPictures, 3, "res/enemies/enemy4.bmp", 0, 0, true, kYellow, 1},
    {ImageList::EnemyShipsPictures, 4, "res/enemies/enemy5.bmp", 0, 0, true, kYellow, 1},
    {ImageList::EnemyShipsPictures, 5, "res/enemies/enemy6.bmp", 0, 0, true, kYellow, 1},
    {ImageList::EnemyShipsPictures, 6, "res/enemies/enemy7.bmp", 0, 0, true, kYellow, 1},
    {ImageList::EnemyShipsPictures, 7, "res/enemies/enemy8.bmp", 0, 0, true, kYellow, 1},
    {ImageList::EnemyShipsPictures, 8, "res/enemies/enemy9.bmp", 0, 0, true, kYellow, 1},
    {ImageList::EffectPictures, 2, "res/fx/bigexpl.bmp", 64, 64, true, kBlack, 17},
    {ImageList::EffectPictures, 3, "res/fx/smoke1.bmp", 10, 40, true, kBlack, 5},
    {ImageList::EffectPictures, 4, "res/fx/smoke2.bmp", 5, 20, true, kBlack, 5},
    {ImageList::EffectPictures, 5, "res/fx/smoke3.bmp", 15, 25, true, kBlack, 1},
    {ImageList::EffectPictures, 6, "res/fx/medexpl.bmp", 32, 32, true, kBlack, 17},
    {ImageList::EffectPictures, 7, "res/other/healthbonus.bmp", 50, 50, true, kYellow, 4},
    {ImageList::EffectPictures, 8, "res/other/kreditbonus.bmp", 50, 50, true, kYellow, 4},
    {ImageList::RocketPictures, 0, "res/weapons/amraam.bmp", 10, 50, true, kBrightGreen, 2},
    {ImageList::RocketPictures, 1, "res/weapons/mini.bmp", 5, 25, true, kBrightGreen, 2},
    {ImageList::RocketPictures, 2, "res/weapons/lightbeam.bmp", 5, 30, true, kBlack, 1},
    {ImageList::RocketPictures, 3, "res/weapons/mediumbeam.bmp", 8, 35, true, kBlack, 1},
    {ImageList::RocketPictures, 4, "res/weapons/largebeam.bmp", 11, 40, true, kBlack, 1},
    {ImageList::RocketPictures, 5, "res/weapons/plasmaball.bmp", 20, 20, true, kBrightGreen, 1},
    {ImageList::RocketPictures, 6, "res/weapons/plasmaball_small.bmp", 7, 7, true, kBrightGreen, 1},
}};

inline constexpr std::array<Sound, 6> kStartupSounds{{
    {WaveList::DXWeaponWaveList, 0, "sounds/weapons/MissileLaunchSmall.WAV", true},
    {WaveList::DXWeaponWaveList, 1, "sounds/weapons/MissileLaunchBig.WAV", true},
    {WaveList::DXWeaponWaveList, 2, "sounds/weapons/Cannon01.WAV", true},
    {WaveList::DXLaserWaveList, 0, "sounds/weapons/laser.wav", false},
    {WaveList::DXExplWaveList, 0, "sounds/expl/Expsdirt.wav", false},
    {WaveList::DXExplWaveList, 1, "sounds/expl/Explmed.wav", false},
}};

// The player's aircraft, by kind code: sprite (11 frames of 160 x 120) and looped engine sound.
struct AircraftFiles {
  const char* Sprite;
  uint32_t Key;
  const char* Engine;
};
inline constexpr int kAircraftFrameWidth = 160;
inline constexpr int kAircraftFrameHeight = 120;
inline constexpr int kAircraftFrames = 11;
inline constexpr std::array<AircraftFiles, 4> kAircraft{{
    {"res/airplanes/jaguar.bmp", kYellow, "sounds/engines/enginejaguar.wav"},
    {"res/airplanes/f5f.bmp", kYellow, "sounds/engines/enginef5f.wav"},
    {"res/airplanes/f15.bmp", kYellow, "sounds/engines/enginef15.wav"},
    {"res/airplanes/f16.bmp", kBlack, "sounds/engines/enginef16.wav"},
}};

// Boss mother ships, by boss kind: one pattern of exactly Width x Height, key yellow.
struct BossFiles {
  const char* Path;
  int Width;
  int Height;
};
inline constexpr uint32_t kBossKey = kYellow;
inline constexpr std::array<BossFiles, 6> kBosses{{
    {"res/enemies/boss1.bmp", 300, 200},
    {"res/enemies/boss2.bmp", 160, 160},
    {"res/enemies/boss3.bmp", 300, 200},
    {"res/enemies/boss4.bmp", 300, 200},
    {"res/enemies/boss5.bmp", 320, 240},
    {"res/enemies/boss6.bmp", 320, 240},
}};

// Enemy craft sprite sizes, by enemy kind (item k of EnemyShipsPictures).
struct Size {
  int Width;
  int Height;
};
inline constexpr std::array<Size, 9> kEnemySizes{{
    {150, 150},
    {60, 85},
    {140, 140},
    {100, 100},
    {100, 160},
    {120, 120},
    {120, 120},
    {140, 140},
    {120, 160},
}};

// Terrain tile sheets (32 x 32 tiles, opaque); mission m uses sheet m mod 3.
inline constexpr int kTileSize = 32;
inline constexpr std::array<const char*, 3> kTerrain{{
    "res/terrain/temperate.jpg",
    "res/terrain/snow.jpg",
    "res/terrain/desert.jpg",
}};
inline constexpr const char* TerrainFor(int mission) {
  return kTerrain[mission % 3];
}

// The soundtrack's themes: "music/" + name + ".txt", scores the synthesizer plays. Each land
// has its own, in the order of the terrain sheets.
inline constexpr std::array<const char*, 8> kMusicThemes{
    {"title", "hangar", "temperate", "snow", "desert", "mothership", "victory", "defeat"}};
inline std::string MusicPath(const char* theme) {
  return std::string("music/") + theme + ".txt";
}
inline constexpr const char* LandThemeFor(int mission) {
  return kMusicThemes[2 + static_cast<size_t>(mission % 3)];
}

inline constexpr int kMissions = 6;
// "levels/level0" + mission + ".mat" / ".ene".
inline std::string LevelMapPath(int mission) {
  return "levels/level0" + std::to_string(mission) + ".mat";
}
inline std::string LevelSchedulePath(int mission) {
  return "levels/level0" + std::to_string(mission) + ".ene";
}

inline constexpr const char* kSaveFile = "game.sav";

}  // namespace catalog
