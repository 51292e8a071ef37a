// Where the records screen and the recordings screen put things, and the texts they show, for
// the screens themselves and for the tests that check every text fits its place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/record_book.h"

namespace records_layout {
inline constexpr int32_t kLabelLeft = 24;                    // "Mise 1" and the mission's name
inline constexpr int32_t kLabelWidth = 168;                  // up to the first column
inline constexpr int32_t kGridLeft = 200, kCellWidth = 225;  // three columns, up to 875
inline constexpr int32_t kHeadingTop = 76;
inline constexpr int32_t kGridTop = 108, kRowHeight = 100;
inline constexpr int32_t kButtonOffset = 58, kButtonWidth = 90, kButtonHeight = 22;
inline constexpr int32_t kFootTop = 720;
}  // namespace records_layout

namespace recordings_layout {
inline constexpr int kRowsPerPage = 18;
inline constexpr int32_t kRowLeft = 24, kRowWidth = 740, kRowHeight = 28, kRowStep = 32;
inline constexpr int32_t kHeadingTop = 76, kFirstRowTop = 96;
inline constexpr int32_t kFootTop = 684;
// Where each column of a row starts, from the row's left edge.
inline const std::vector<int32_t> kColumns{12, 200, 280, 390, 500, 640};
}  // namespace recordings_layout

// A record's cell: the credits earned; craft destroyed and armour lost; length, aircraft, day.
std::vector<std::string> RecordCellLines(const TRecord& record);
// The record's flight was flown by this version of the game, so it can be watched.
bool RecordFromThisVersion(const TRecord& record);
// The foot of the records screen.
extern const char* const kRecordsFoot;
