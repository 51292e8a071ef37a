#include "levels.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <sstream>
#include <stdexcept>

#include "base/asset_catalog.h"

namespace gen {

int EnemyMaxHealth(int kind, int d) {
  static const int perDifficulty[9] = {20, 10, 20, 15, 100, 100, 100, 100, 100};
  static const int base[9] = {100, 50, 200, 50, 400, 500, 600, 700, 1000};
  return perDifficulty[kind] * d + base[kind];
}

int BossMaxHealth(int kind) {
  static const int health[6] = {2000, 5000, 8000, 13000, 20000, 50000};
  return health[kind];
}

int64_t ScheduleBounty(const std::vector<SpawnRow>& rows, int difficulty, bool withBoss) {
  int64_t sum = 0;
  for (const auto& r : rows) {
    if (r.kind >= 0)
      sum += 5 * EnemyMaxHealth(r.kind, difficulty);
    else if (withBoss)
      sum += 10 * BossMaxHealth(r.variant);
  }
  return sum;
}

std::vector<uint8_t> ScheduleBytes(const std::vector<SpawnRow>& rows) {
  std::vector<uint8_t> b;
  auto put = [&](uint64_t v, int n) {
    for (int i = 0; i < n; ++i) b.push_back(uint8_t(v >> (8 * i)));
  };
  for (const auto& r : rows) {
    put(uint32_t(r.x), 4);
    put(uint32_t(r.y), 4);
    put(uint32_t(r.kind), 4);
    put(r.variant, 1);
    put(0, 3);
    put(uint64_t(r.time), 8);
  }
  return b;
}

namespace {

class Parser {
 public:
  Parser(const std::string& name) : name_(name) {}

  [[noreturn]] void Fail(const std::string& what) const {
    throw std::runtime_error(name_ + ":" + std::to_string(line_) + ": " + what);
  }

  double Number(const std::string& s) const {
    try {
      size_t used = 0;
      double v = std::stod(s, &used);
      if (used != s.size()) Fail("not a number: " + s);
      return v;
    } catch (const std::logic_error&) {
      Fail("not a number: " + s);
    }
  }

  // "m:ss" or "m:ss.s" -> schedule steps
  int64_t Time(const std::string& s) const {
    auto colon = s.find(':');
    if (colon == std::string::npos) Fail("time must be m:ss, got " + s);
    double sec = Number(s.substr(0, colon)) * 60 + Number(s.substr(colon + 1));
    return int64_t(std::llround(sec * kStepsPerSecond));
  }

  std::map<std::string, std::string> Keys(std::istringstream& in) const {
    std::map<std::string, std::string> kv;
    std::string tok;
    while (in >> tok) {
      auto eq = tok.find('=');
      if (eq == std::string::npos) Fail("expected key=value, got " + tok);
      kv[tok.substr(0, eq)] = tok.substr(eq + 1);
    }
    return kv;
  }

  double Get(const std::map<std::string, std::string>& kv, const std::string& key,
             double fallback) const {
    auto it = kv.find(key);
    return it == kv.end() ? fallback : Number(it->second);
  }

  Mission Parse(const std::string& text) {
    Mission m;
    std::istringstream lines(text);
    std::string raw;
    bool haveBoss = false;
    while (std::getline(lines, raw)) {
      ++line_;
      auto hash = raw.find('#');
      std::istringstream in(raw.substr(0, hash));
      std::string word;
      if (!(in >> word)) continue;
      if (haveBoss && word == "wave") Fail("waves must come before the boss");
      if (word == "mission") {
        in >> m.number;
      } else if (word == "terrain") {
        in >> m.terrain;
      } else if (word == "seed") {
        in >> m.map.seed;
      } else if (word == "cycle") {
        in >> m.map.cycle;
      } else if (word == "landscape") {
        terrain::Landscape l;
        in >> l.row;
        auto kv = Keys(in);
        l.water = float(Get(kv, "water", 0));
        l.forest = float(Get(kv, "forest", 0));
        l.town = float(Get(kv, "town", 0));
        l.fields = float(Get(kv, "fields", 0));
        l.rivers = float(Get(kv, "rivers", 0));
        l.roads = float(Get(kv, "roads", 0));
        std::string coast = kv.count("coast") ? kv["coast"] : "none";
        l.coast = coast == "left" ? -1 : coast == "right" ? 1 : 0;
        if (coast != "left" && coast != "right" && coast != "none") Fail("coast: left|right|none");
        if (!m.map.stretches.empty() && l.row <= m.map.stretches.back().row)
          Fail("landscape rows must increase");
        m.map.stretches.push_back(l);
      } else if (word == "wave") {
        std::string t;
        in >> t;
        int64_t time = Time(t);
        auto kv = Keys(in);
        int kind = int(Get(kv, "kind", -1));
        if (kind < 0 || kind > 8) Fail("enemy kind must be 0..8");
        int variant = int(Get(kv, "variant", 0));
        if ((kind == 0 || kind == 1) && variant > 2) Fail("kinds 0 and 1 fly variants 0..2");
        int count = int(Get(kv, "count", 1));
        double x = Get(kv, "x", 400), dx = Get(kv, "dx", 0), dt = Get(kv, "dt", 0);
        // Kind 4 is moved up 50 pixels when built; everything starts just above the screen
        // but inside the play area (y >= -100 after the first move).
        int y = int(Get(kv, "y", kind == 4 ? -50 : -100));
        int width = catalog::kEnemySizes[size_t(kind)].Width;
        for (int i = 0; i < count; ++i) {
          int px = int(std::lround(x + dx * i));
          if (px < -40 || px + width > 1064) Fail("enemy starts off the screen sideways");
          m.rows.push_back({px, y, kind, uint8_t(variant),
                            time + int64_t(std::llround(dt * i * kStepsPerSecond))});
        }
      } else if (word == "boss") {
        std::string t;
        in >> t;
        int64_t time = Time(t);
        auto kv = Keys(in);
        int kind = int(Get(kv, "kind", -1));
        if (kind != m.number) Fail("mission m ends with boss kind m");
        m.rows.push_back(
            {int(Get(kv, "x", 150)), int(Get(kv, "y", -250)), -1, uint8_t(kind), time});
        haveBoss = true;
      } else if (word == "bounty") {
        in >> m.bountyMin >> m.bountyMax;
      } else {
        Fail("unknown word " + word);
      }
      if (in.fail() && !in.eof()) Fail("malformed line");
    }
    if (m.number < 0 || m.number >= catalog::kMissions) Fail("mission must be 0..5");
    std::string sheet = catalog::TerrainFor(m.number);
    if (sheet.find(m.terrain + ".") == std::string::npos) Fail("terrain does not match " + sheet);
    if (!haveBoss) Fail("no boss");
    std::stable_sort(m.rows.begin(), m.rows.end(),
                     [](const SpawnRow& a, const SpawnRow& b) { return a.time < b.time; });
    if (m.rows.back().kind != -1) Fail("enemies scheduled after the boss");
    double bossSeconds = double(m.rows.back().time) / kStepsPerSecond;
    if (bossSeconds < 180 || bossSeconds > 360) Fail("the boss must come after 3 to 6 minutes");
    int64_t bounty = ScheduleBounty(m.rows, 2, true);
    if (bounty < m.bountyMin || bounty > m.bountyMax)
      Fail("schedule pays " + std::to_string(bounty) + " at medium, outside the stated bounty");
    return m;
  }

 private:
  std::string name_;
  int line_ = 0;
};

}  // namespace

Mission ParseMission(const std::string& text, const std::string& name) {
  return Parser(name).Parse(text);
}

}  // namespace gen
