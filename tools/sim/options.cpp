#include "options.h"

#include <charconv>
#include <sstream>

namespace {

template <class T>
bool ParseNumber(const std::string& text, T& out) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, out);
  return ec == std::errc() && ptr == end && !text.empty();
}

// A kind code 0..limit - 1, or '-' for none.
bool ParseKind(const std::string& text, int limit, bool allowNone, uint8_t& out) {
  if (allowNone && text == "-") {
    out = 255;
    return true;
  }
  int value = 0;
  if (!ParseNumber(text, value) || value < 0 || value >= limit) return false;
  out = static_cast<uint8_t>(value);
  return true;
}

// The options that take a value; anything else that is not a flag is unknown.
bool TakesValue(const std::string& option) {
  for (const char* name :
       {"--data",          "--seed",       "--mission",   "--difficulty",   "--credits",
        "--aircraft",      "--cannon",     "--slots",     "--ticks",        "--refresh",
        "--smooth-motion", "--input",      "--ui-script", "--record",       "--replay",
        "--trace",         "--screenshot", "--audio",     "--music-volume", "--player-dir"}) {
    if (option == name) return true;
  }
  return false;
}

}  // namespace

std::optional<TSimOptions> ParseSimOptions(const std::vector<std::string>& args,
                                           std::string& error) {
  TSimOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    auto bad = [&](const std::string& v) {
      error = "bad value for " + a + ": " + v;
      return std::nullopt;
    };
    std::string v;
    if (a == "--summary") {
      o.Summary = true;
      continue;
    }
    if (a == "--pacing") {
      o.Pacing = true;
      continue;
    }
    if (a == "--autopilot") {
      o.Autopilot = true;
      continue;
    }
    if (a == "--campaign") {
      o.Campaign = true;
      continue;
    }
    if (a == "--verify-replay") {
      // Every following argument that is not an option is a replay.
      while (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0) {
        o.VerifyReplays.push_back(args[++i]);
      }
      if (o.VerifyReplays.empty()) {
        error = a + " needs a file";
        return std::nullopt;
      }
      continue;
    }
    if (a == "--render-music") {
      if (i + 2 >= args.size()) {
        error = a + " needs a theme and a file";
        return std::nullopt;
      }
      o.RenderMusic = args[++i];
      o.RenderMusicFile = args[++i];
      continue;
    }
    if (a == "--help" || a == "-h") {
      o.Help = true;
      continue;
    }
    if (!TakesValue(a)) {
      error = "unknown option " + a;
      return std::nullopt;
    }
    if (!value(v)) return std::nullopt;
    if (a == "--data") {
      o.DataDir = v;
    } else if (a == "--seed") {
      if (!ParseNumber(v, o.Seed)) return bad(v);
    } else if (a == "--mission") {
      if (!ParseKind(v, 6, false, o.Mission)) return bad(v);
    } else if (a == "--difficulty") {
      if (!ParseKind(v, 5, false, o.Difficulty) || o.Difficulty % 2 != 0) return bad(v);
    } else if (a == "--credits") {
      if (!ParseNumber(v, o.Credits)) return bad(v);
    } else if (a == "--aircraft") {
      if (!ParseKind(v, 4, false, o.AircraftKind)) return bad(v);
    } else if (a == "--cannon") {
      if (!ParseKind(v, 4, true, o.CannonKind)) return bad(v);
    } else if (a == "--slots") {
      std::stringstream ss(v);
      std::string part;
      size_t n = 0;
      while (std::getline(ss, part, ',')) {
        if (n >= o.SlotKinds.size() || !ParseKind(part, 6, true, o.SlotKinds[n])) return bad(v);
        ++n;
      }
      if (n == 0) return bad(v);
    } else if (a == "--ticks") {
      if (!ParseNumber(v, o.Ticks) || o.Ticks < 0) return bad(v);
    } else if (a == "--refresh") {
      if (!ParseNumber(v, o.RefreshHz) || o.RefreshHz < 1 || o.RefreshHz > 1000) return bad(v);
    } else if (a == "--smooth-motion") {
      if (v != "on" && v != "off") return bad(v);
      o.SmoothMotion = v == "on";
    } else if (a == "--audio") {
      o.AudioFile = v;
    } else if (a == "--music-volume") {
      if (!ParseNumber(v, o.MusicVolume) || o.MusicVolume < 0 || o.MusicVolume > 100) {
        return bad(v);
      }
    } else if (a == "--input") {
      o.InputFile = v;
    } else if (a == "--ui-script") {
      o.UiScript = v;
    } else if (a == "--replay") {
      o.ReplayFile = v;
    } else if (a == "--record") {
      o.RecordFile = v;
    } else if (a == "--player-dir") {
      o.PlayerDir = v;
    } else if (a == "--trace") {
      o.TraceFile = v;
    } else if (a == "--screenshot") {
      const auto colon = v.find(':');
      TScreenshot s;
      if (colon == std::string::npos || !ParseNumber(v.substr(0, colon), s.Tick) ||
          colon + 1 >= v.size()) {
        return bad(v);
      }
      s.File = v.substr(colon + 1);
      o.Screenshots.push_back(s);
    } else {
      error = "unknown option " + a;
      return std::nullopt;
    }
  }
  if (o.Pacing && o.RefreshHz == 0) {
    error = "--pacing needs --refresh";
    return std::nullopt;
  }
  return o;
}
