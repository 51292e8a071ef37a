// Reads a theme's score, the text a musician writes (content/music/README.md describes it),
// into the notes the synthesizer plays. The text is treated as hostile: every count, length
// and number is bounded, and the first fault is raised as EGameError "FILE:LINE: what".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/score.h"

namespace platform {

inline constexpr size_t kMaxScoreBytes = 256 * 1024;
inline constexpr size_t kMaxScoreLine = 1024;
inline constexpr size_t kMaxScoreNotes = 1 << 18;

// name: the score's file name, used in messages; Score::Name is it without folder and
// extension.
Score ReadScore(std::string_view text, const std::string& name);

// Reads and checks a score file (at most kMaxScoreBytes). Raises EGameError naming the file.
Score LoadScoreFile(const std::string& path);

}  // namespace platform
