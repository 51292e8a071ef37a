#include "shell/flight_texts.h"

#include <cstdio>

#include "shell/shop_texts.h"
#include "shell/story.h"

std::string FlightTimeText(int64_t ticks) {
  if (ticks < 0) ticks = 0;
  const int64_t tenths = ticks / 10;
  const int64_t seconds = tenths / 10;
  char text[48];
  if (seconds >= 3600) {
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld,%lld",
                  static_cast<long long>(seconds / 3600), static_cast<long long>(seconds / 60 % 60),
                  static_cast<long long>(seconds % 60), static_cast<long long>(tenths % 10));
  } else {
    std::snprintf(text, sizeof text, "%lld:%02lld,%lld", static_cast<long long>(seconds / 60),
                  static_cast<long long>(seconds % 60), static_cast<long long>(tenths % 10));
  }
  return text;
}

std::string DateText(const std::tm& local) {
  char text[48];
  std::snprintf(text, sizeof text, "%d. %d. %d %d:%02d", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900, local.tm_hour, local.tm_min);
  return text;
}

std::string DateText(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  return DateText(local);
}

std::string DayText(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  char text[32];
  std::snprintf(text, sizeof text, "%d. %d. %d", local.tm_mday, local.tm_mon + 1,
                local.tm_year + 1900);
  return text;
}

std::string DifficultyText(int difficulty) {
  switch (difficulty) {
    case 0:
      return "lehká";
    case 2:
      return "střední";
    case 4:
      return "těžká";
    default:
      return std::to_string(difficulty);
  }
}

std::string AircraftText(int kind) {
  if (kind < 0 || kind > 3) return "?";
  return AircraftMemoLines(kind).front();
}

std::string OutcomeText(TFlightOutcome outcome) {
  switch (outcome) {
    case TFlightOutcome::Won:
      return "vítězství";
    case TFlightOutcome::Lost:
      return "sestřelení";
    case TFlightOutcome::Quit:
      break;
  }
  return "přerušeno";
}

std::string MissionText(int mission, int difficulty) {
  return "Mise " + std::to_string(mission + 1) + ", " + DifficultyText(difficulty) + " obtížnost";
}

std::string MissionName(int mission) {
  const std::vector<std::string>& lines = BriefingLines(mission);
  if (lines.empty()) return "";
  const std::string& title = lines.front();
  const size_t colon = title.find(": ");
  return colon == std::string::npos ? title : title.substr(colon + 2);
}

std::string CountText(int64_t n, const char* one, const char* few, const char* many) {
  const char* noun = n == 1 ? one : n >= 2 && n <= 4 ? few : many;
  return GroupedNumber(n) + " " + noun;
}

std::string GroupedNumber(int64_t n) {
  const std::string digits =
      std::to_string(n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n));
  std::string text;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) text += ' ';
    text += digits[i];
  }
  return n < 0 ? "-" + text : text;
}
