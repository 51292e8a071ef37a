// The player's backup: every file the player owns (the saved game, the settings, the recorded
// flights, whatever else the game keeps for them) in one file that can leave the browser or the
// machine and be loaded back. Encoding and decoding are pure, so the layout is tested and fuzzed
// without a disk; DESIGN.md lists it. A backup comes from outside, so reading it trusts
// nothing: every name, size and count is checked, and a file that fails any check is refused
// whole, with a Czech sentence the player can act on.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"

inline constexpr std::array<uint8_t, 8> kBundleMagic{'S', 'V', 'K', 'Z', 'A', 'L', 'O', 'H'};
inline constexpr uint16_t kBundleFormat = 1;

// Bounds: far above what a player gathers (50 replays of a few kilobytes, a 24-byte save, a
// settings file of at most 64 KiB), small enough for a phone's memory.
inline constexpr size_t kMaxBundleFiles = 1024;
inline constexpr size_t kMaxBundlePathBytes = 240;
inline constexpr size_t kMaxBundlePathParts = 8;
inline constexpr uint32_t kMaxBundledFileBytes = 16u << 20;
inline constexpr uint64_t kMaxBundleBytes = 64ULL << 20;
inline constexpr size_t kMaxBundleVersionBytes = 64;

// One file, named by its path below the player's home folder, '/' between folders.
struct TBundledFile {
  std::string Path;
  std::vector<uint8_t> Bytes;
  bool operator==(const TBundledFile&) const = default;
};

struct TPlayerBundle {
  uint16_t Format = kBundleFormat;
  int64_t Made = 0;  // seconds since 1970 (UTC)
  std::string GameVersion;
  std::vector<TBundledFile> Files;
  bool operator==(const TPlayerBundle&) const = default;
};

// A backup that cannot be read; the text is the whole Czech sentence for the player.
class EBundleError : public EInOutError {
 public:
  using EInOutError::EInOutError;
};

// Whether a path may name a file of a backup: relative, '/' between 1 to kMaxBundlePathParts
// parts of letters, digits, '.', '_' and '-', none of them "." or "..", none ending ".tmp"
// (the game's half-written files); at most kMaxBundlePathBytes in all. So nothing a backup
// names can lie outside the folder it is loaded into.
bool IsBundlePath(std::string_view path);

std::vector<uint8_t> EncodeBundle(const TPlayerBundle& bundle);

// Reads a backup from a file's bytes; `fileName` is what the player chose, for the messages.
// Refuses (EBundleError) anything that is not a whole, undamaged backup of a format this game
// reads, or that names a file twice, names a path through another file, or breaks a bound.
// Never allocates more than the bytes it is given hold.
TPlayerBundle DecodeBundle(const uint8_t* data, size_t size, const std::string& fileName);
