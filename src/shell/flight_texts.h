// How the screens around recorded flights name things: a flight's length, a date, a mission's
// difficulty, an aircraft and how a flight ended, all in the player's Czech.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "replay/replay_file.h"

// Ticks of 10 ms as minutes, seconds and tenths: "3:24,5"; from an hour on "1:02:03,4".
std::string FlightTimeText(int64_t ticks);
// Local time as the player reads a date: "9. 12. 2026 7:05".
std::string DateText(const std::tm& local);
std::string DateText(std::time_t when);
// The day alone: "9. 12. 2026".
std::string DayText(std::time_t when);
// "lehká", "střední", "těžká" for 0, 2, 4; the code itself for any other.
std::string DifficultyText(int difficulty);
// The aircraft's name as the shop gives it ("Jaguar", "F5F", "F15", "F16").
std::string AircraftText(int kind);
// "vítězství", "sestřelení", "přerušeno".
std::string OutcomeText(TFlightOutcome outcome);
// "Mise 3, těžká obtížnost"
std::string MissionText(int mission, int difficulty);
// A mission's name from its briefing's title: "Osvobození středozemí".
std::string MissionName(int mission);
// A count with the noun in the form Czech gives it: 1 sestřel, 3 sestřely, 5 sestřelů.
std::string CountText(int64_t n, const char* one, const char* few, const char* many);
// Digits in groups of three: "98 000", "-1 250".
std::string GroupedNumber(int64_t n);
