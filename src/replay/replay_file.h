// A recorded flight: how the mission started, the input states held tick by tick, a digest
// of the world every 500 ticks and how the flight ended. The rules are deterministic, so the
// start and the input states are the whole flight; the digests tell a replay that drifted
// where it first went astray. Encoding and decoding are pure (bytes in, bytes out), so the
// layout can be tested and fuzzed without a world or a disk. DESIGN.md lists the layout.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/game_state.h"

inline constexpr std::array<uint8_t, 8> kReplayMagic{'S', 'V', 'K', 'R', 'P', 'L', 'A', 'Y'};
inline constexpr uint16_t kReplayFormat = 1;
inline constexpr int64_t kCheckpointTicks = 500;

// Bounds on what a file may claim; a longer flight than this cannot be recorded anyway
// (a day of flying), and every count is also checked against the bytes that remain.
inline constexpr size_t kMaxVersionBytes = 64;
inline constexpr size_t kMaxCarriedBonuses = 4096;
inline constexpr int64_t kMaxReplayTicks = 100LL * 60 * 60 * 24;
inline constexpr uint64_t kMaxReplayFileBytes = 64ULL << 20;
// The shortest replay: no version text, no bonus, no input run, no checkpoint.
inline constexpr size_t kMinReplayBytes = 143;

// A weapon's recharge as it stands: ticks counted and whether it is ready; the mini missile
// launcher also remembers which side fires next.
struct TWeaponCharge {
  int32_t Counter = 0;
  bool Ready = true;
  uint8_t Alternate = 0;
  bool operator==(const TWeaponCharge&) const = default;
};

enum class TBonusKind : uint8_t { Health = 0, Credit = 1 };

// A bonus still drifting down when the previous mission was won; it goes on in the next.
struct TCarriedBonus {
  TBonusKind Kind = TBonusKind::Health;
  int32_t X = 0, Y = 0;
  double Dx = 0, Dy = 0;
  int32_t AnimTicks = 0;
  bool operator==(const TCarriedBonus&) const = default;
};

// Everything the first tick of a mission depends on besides the level files.
struct TReplayStart {
  // Mission, difficulty, credits and the aircraft's fit (GameOver unused); a flight has an
  // aircraft, so the default start is a Jaguar's.
  GameState Campaign = [] {
    GameState g;
    g.AircraftKind = 0;
    return g;
  }();
  uint64_t RandomState = 0, RandomIncrement = 1;
  int32_t X = 0, Y = 0;
  double Dx = 0, Dy = 0;
  int32_t Health = 0;
  uint8_t CurrentSlot = 0;
  int32_t SwitchHoldTicks = 0;
  int32_t ScrollTicks = 0;
  TWeaponCharge Cannon;
  std::array<TWeaponCharge, 5> Slots{};
  std::vector<TCarriedBonus> Bonuses;  // in list order, head first
  bool operator==(const TReplayStart&) const = default;
};

// From Tick on (ticks count from 1), exactly these input states are held.
struct TInputRun {
  int64_t Tick = 0;
  uint64_t States = 0;  // bit n = input state n (36 states)
  bool operator==(const TInputRun&) const = default;
};

// The world after a tick, condensed: each field is compared on its own, so a replay that
// drifts can say what drifted.
struct TCheckpoint {
  int64_t Tick = 0;
  uint64_t Positions = 0;  // hash of every object's position (and motion) in list order
  uint64_t Health = 0;     // hash of every flyer's health, the aircraft's included
  int64_t Credits = 0;
  uint64_t Random = 0;                // the generator's state
  std::array<uint32_t, 4> Lengths{};  // flyers, shells, effects, bonuses
  bool operator==(const TCheckpoint&) const = default;
};

enum class TFlightOutcome : uint8_t { Quit = 0, Won = 1, Lost = 2 };

struct TReplayEnd {
  TFlightOutcome Outcome = TFlightOutcome::Quit;
  int64_t Tick = 0;  // the last tick flown
  int64_t Credits = 0;
  bool operator==(const TReplayEnd&) const = default;
};

struct TReplay {
  uint16_t Format = kReplayFormat;
  std::string GameVersion;
  TReplayStart Start;
  std::vector<TInputRun> Inputs;         // ascending ticks, the first at tick 1
  std::vector<TCheckpoint> Checkpoints;  // ascending ticks
  TReplayEnd End;
  bool operator==(const TReplay&) const = default;
};

std::vector<uint8_t> EncodeReplay(const TReplay& replay);

// Reads a replay from a file's bytes. A file that is not a replay, is of a newer format, is
// cut short, carries a count its bytes cannot hold or fails its checksum raises EInOutError
// "<fileName>: <what is wrong>". Never allocates more than a small multiple of `size`.
TReplay DecodeReplay(const uint8_t* data, size_t size, const std::string& fileName);

// Reads and decodes a file (at most kMaxReplayFileBytes); EInOutError naming it otherwise.
TReplay ReadReplayFile(const std::string& path);

const char* OutcomeName(TFlightOutcome outcome);
