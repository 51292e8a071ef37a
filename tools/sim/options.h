// The command line of starvelkhorn-sim.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TScreenshot {
  int64_t Tick = 0;
  std::string File;
};

struct TSimOptions {
  std::string DataDir = ".";
  uint64_t Seed = 1;
  uint8_t Mission = 0;
  uint8_t Difficulty = 0;
  int64_t Credits = 60000;
  uint8_t AircraftKind = 0;
  uint8_t CannonKind = 255;  // 255 = none
  std::array<uint8_t, 5> SlotKinds{255, 255, 255, 255, 255};
  int64_t Ticks = 0;
  std::string InputFile;
  std::string TraceFile;
  std::vector<TScreenshot> Screenshots;
  bool Summary = false;
  std::string UiScript;      // drive the whole program from start-up instead of one mission
  bool Autopilot = false;    // the built-in pilot flies instead of the input script
  bool Campaign = false;     // a whole new game with the pilot (campaign.h)
  bool Frames = true;        // draw a frame after every tick
  int32_t RefreshHz = 0;     // > 0: present frames at this rate instead (a virtual display)
  bool SmoothMotion = true;  // with RefreshHz: the game's smooth_motion setting
  bool Pacing = false;       // with RefreshHz: print how evenly the frames showed the flight
  std::string RecordFile;    // the flight's replay is written here at its end
  std::vector<std::string> VerifyReplays;  // replay these headless and compare
  std::string ReplayFile;                  // fly this recorded flight, with frames
  bool Help = false;                       // print the usage and stop
  std::string RenderMusic;                 // a theme of the soundtrack to render
  std::string RenderMusicFile;             // into this WAV file
  std::string AudioFile;                   // the game's mixed sound, as a WAV file
  int32_t MusicVolume = 100;               // with --ui-script: the player's music_volume
  std::string PlayerDir;                   // with --ui-script, --campaign: keep records here
};

constexpr const char* kSimUsage =
    "usage: starvelkhorn-sim [options]\n"
    "  --data DIR              working directory holding res/ sounds/ levels/\n"
    "  --seed N                random seed (default 1)\n"
    "  --mission M             mission 0..5 (default 0)\n"
    "  --difficulty D          0 easy, 2 medium, 4 hard (default 0)\n"
    "  --credits N             credits at the start (default 60000)\n"
    "  --aircraft K            aircraft kind 0..3 (default 0)\n"
    "  --cannon C              cannon kind 0..3 or - (default -)\n"
    "  --slots a,b,c,d,e       slot weapon kinds 0..5 or - (default all -)\n"
    "  --ticks N               run N ticks, a frame after each\n"
    "  --refresh HZ            present frames at HZ (1..1000) against the tick clock instead,\n"
    "                          as a display of that rate does; --trace adds a line a frame\n"
    "  --smooth-motion on|off  with --refresh: frames carry motion on between ticks (on)\n"
    "  --pacing                with --refresh: print the steps from frame to frame of the\n"
    "                          terrain, the aircraft and enemy craft as a Markdown table row\n"
    "  --input FILE            lines \"TICK STATE...\": from TICK on exactly these are held\n"
    "  --trace FILE            one JSON object per tick\n"
    "  --screenshot T:FILE     save the window picture after tick T as PNG (repeatable)\n"
    "  --ui-script FILE        drive the whole program from start-up (see DESIGN.md)\n"
    "  --summary               print one JSON line at the end\n"
    "  --autopilot             a built-in pilot flies the player's aircraft\n"
    "  --campaign              play a new game to its end with the pilot (with --difficulty,\n"
    "                          --seed); --summary prints its JSON line\n"
    "  --player-dir DIR        with --ui-script or --campaign: keep the player's records\n"
    "                          (records.dat) and recorded flights (replays/) in DIR\n"
    "  --record FILE           write the flight's replay to FILE at its end\n"
    "  --replay FILE           fly a recorded flight again, a frame after each tick (with\n"
    "                          --ticks, --screenshot, --trace)\n"
    "  --verify-replay FILE... replay each file headless and compare it with its record:\n"
    "                          status 0 all match, 1 one differs, 2 one cannot be read\n"
    "  --audio FILE            mix the game's sound as a sound card would and write it to\n"
    "                          FILE (WAV, 32-bit float stereo) at the end\n"
    "  --music-volume N        with --ui-script: the music's volume, 0..100 (default 100)\n"
    "  --render-music NAME FILE  render one pass of a theme of the soundtrack (music/NAME.txt)\n"
    "                          to a WAV file and print its length, key, tempo, loudness and\n"
    "                          digest\n"
    "  --help                  print this usage, then exit\n";

// Parses argv[1..]; on a mistake returns nullopt and says why in `error`.
std::optional<TSimOptions> ParseSimOptions(const std::vector<std::string>& args,
                                           std::string& error);
