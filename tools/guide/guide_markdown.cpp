#include "guide_markdown.h"

#include <cstdio>

namespace {

// 50000 -> "50 000", as the hangar's prices read at a glance.
std::string Money(int64_t value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += "\u00a0";
    out += digits[i];
  }
  return (value < 0 ? "-" : "") + out;
}

std::string Fixed(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// An HTML attribute's text: the Trojblok's name carries quotation marks.
std::string Attribute(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '"' ? std::string("&quot;") : std::string(1, c);
  return out;
}

std::string Picture(const std::string& alt, const std::string& file) {
  return "<img src=\"guide/" + file + "\" alt=\"" + Attribute(alt) + "\">";
}

std::string Mission(int32_t m) {
  return m > 0 ? std::to_string(m) : "never";
}

std::string Seconds(int32_t ticks, int32_t perSecond) {
  return Fixed(static_cast<double>(ticks) / perSecond, 2) + " s (" +
         Fixed(static_cast<double>(perSecond) / ticks, 1) + " a second)";
}

std::string Damage(const TWeaponFacts& w) {
  std::string text = std::to_string(w.Count) + " × " + std::to_string(w.Power);
  if (w.EveryTick) text += " every tick it touches a target";
  if (w.Fragments > 0)
    text += ", each bursting into " + std::to_string(w.Fragments) + " × " +
            std::to_string(w.FragmentPower);
  return text;
}

std::string Controls(const TGuideFacts& g) {
  std::string s =
      "## Controls and settings\n\n"
      "Every key and gamepad button can be changed in `settings.ini` (where it lives is in the\n"
      "[README](../README.md#settings); `starvelkhorn --settings` prints the settings in effect).\n"
      "These are the defaults:\n\n"
      "| Setting | Default | What it does |\n|---|---|---|\n";
  for (const TSettingFacts& f : g.Settings)
    s += "| `" + f.Name + "` | " + (f.Default.empty() ? "(none)" : "`" + f.Default + "`") + " | " +
         f.Help + " |\n";
  s += "\nKeys are SDL's key names; the gamepad's stick always steers.\n\n";
  return s;
}

std::string Aircraft(const TGuideFacts& g) {
  std::string s =
      "## Aircraft\n\n"
      "You own one aircraft at a time. Armour is the damage it takes before it is shot down; "
      "speeds are in pixels\n"
      "per tick (" +
      std::to_string(g.TicksPerSecond) +
      " ticks a second): each tick a direction is held adds the acceleration, up to the top "
      "speed.\n\n"
      "| | Aircraft | Armour | Acceleration | Top speed | Weapon slots | Price | Refund | In the "
      "shop from mission |\n|---|---|---|---|---|---|---|---|---|\n";
  for (size_t k = 0; k < g.Aircraft.size(); ++k) {
    const TAircraftFacts& a = g.Aircraft[k];
    s += "| " + Picture(a.Name, "aircraft-" + std::to_string(k) + ".png") + " | **" + a.Name +
         "** | " + std::to_string(a.Armour) + " | " + Fixed(a.Acceleration, 1) + " | " +
         std::to_string(a.TopSpeed) + " | " + std::to_string(a.Slots) + " | " + Money(a.Price) +
         " | " + Money(a.Refund) + " | " + Mission(a.FromMission) + " |\n";
  }
  return s + "\n";
}

std::string Arms(const TGuideFacts& g, const std::vector<TWeaponFacts>& arms,
                 const std::string& file, const std::string& what) {
  std::string s = "| | " + what +
                  " | Damage of one shot | Recharge | Price | Refund | In the shop from "
                  "mission |\n|---|---|---|---|---|---|---|\n";
  for (size_t k = 0; k < arms.size(); ++k) {
    const TWeaponFacts& w = arms[k];
    s += "| " + Picture(w.Name, file + "-" + std::to_string(k) + ".png") + " | **" + w.Name +
         "** | " + Damage(w) + " | " + Seconds(w.RechargeTicks, g.TicksPerSecond) + " | " +
         Money(w.Price) + " | " + Money(w.Refund) + " | " + Mission(w.FromMission) + " |\n";
  }
  return s + "\n";
}

std::string Weapons(const TGuideFacts& g) {
  return "## Weapons\n\n"
         "Weapons go into the aircraft's slots; with the default keys Enter fires the selected "
         "one\n"
         "and Shift selects the next. A shot's damage is how many missiles, beams or balls leave "
         "at once, times the\n"
         "power of each. Beams pierce anything weaker than their power; plasma fragments harm\n"
         "whoever they touch, you too.\n\n" +
         Arms(g, g.Weapons, "weapon", "Weapon") +
         "## Cannons\n\n"
         "The aircraft carries one cannon (Space by default); a shot is one volley of shells. The\n"
         "pictures show each cannon's volleys with the trigger held.\n\n" +
         Arms(g, g.Cannons, "cannon", "Cannon");
}

std::string Difficulties(const TGuideFacts& g) {
  std::string s =
      "## Difficulties\n\n"
      "A new game asks for a difficulty. It changes the enemy craft, not your aircraft, prices or\n"
      "the shop: their armour, and how hard the twin-cannon fighter's shells hit (the first craft\n"
      "in the table).\n\n"
      "| Difficulty | Credits at the start | Twin-cannon shell |";
  // Appends rather than literal + temporary: GCC 12 at -O3 reports a false -Wrestrict inside
  // the inlined operator+ of a literal and a temporary string.
  for (size_t k = 0; k < g.Difficulties.front().EnemyHealth.size(); ++k) {
    std::string alt = "enemy ", file = "enemy-";
    alt += std::to_string(k + 1);
    file += std::to_string(k);
    file += ".png";
    s += " ";
    s += Picture(alt, file);
    s += " |";
  }
  s += "\n|---|---|---|";
  for (size_t k = 0; k < g.Difficulties.front().EnemyHealth.size(); ++k) s += "---|";
  s += "\n";
  for (const TDifficultyFacts& d : g.Difficulties) {
    s += "| **" + d.Name + "** | " + Money(d.StartCredits) + " | " +
         std::to_string(d.FighterShellDamage) + " |";
    for (int32_t h : d.EnemyHealth) {
      s += " ";
      s += std::to_string(h);
      s += " |";
    }
    s += "\n";
  }
  return s + "\nThe numbers under the enemy craft are their armour.\n";
}

// 0.25 -> "0.25×", 2 -> "2×".
std::string Speed(double speed) {
  std::string text = Fixed(speed, 2);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text + "×";
}

std::string Shot(const std::string& alt, const std::string& file) {
  return "<img src=\"pictures/" + file + "\" alt=\"" + alt + "\" width=\"480\">";
}

std::string Recordings(const TRecordingFacts& r) {
  std::string speeds;
  for (double v : r.Speeds) speeds += (speeds.empty() ? "" : ", ") + Speed(v);
  const std::string seek = std::to_string(r.SeekSeconds) + " s";
  std::string s =
      "## Records and recorded flights\n\n"
      "Every mission you fly is recorded, won, lost or left from the pause screen; the newest " +
      std::to_string(r.Kept) +
      "\nrecordings are kept beside the saved game.\n\n"
      "**Records** (\"Rekordy\" in the main menu). For every mission and difficulty the game "
      "keeps your best\nwon flight: the one that earned the most credits (its bounties and "
      "credit bonuses, less what\nit paid in the air), then the one that lost the least armour, "
      "then the quickest. Each shows its\ncredits, the craft it destroyed, the armour it lost, "
      "its time, the aircraft and the day; \"Přehrát\"\nwatches it. A record keeps its flight "
      "with it, so it never rotates out with the recordings. A\nwon flight that sets a record "
      "says \"Nový rekord mise!\" under the victory message.\n\n"
      "**Recorded flights** (\"Záznamy letů\"). Every recording, newest first: date and time, "
      "mission,\ndifficulty, aircraft, outcome and length, a page at a time. A row plays its "
      "flight; \"Smazat\nzáznam\" and then a row deletes one, once you have said so again. A "
      "file that cannot be read, or\nthat was recorded by another version of the game, is "
      "listed as such and cannot be played. Esc\nor the pad's B goes back.\n\n| " +
      Shot("The records: missions by difficulties", "records.png") + " | " +
      Shot("The recorded flights, a damaged one among them", "recordings.png") +
      " |\n|---|---|\n| " + Shot("A victory that set a record", "won-record.png") + " | " +
      Shot("The title flying by itself", "title-flight.png") +
      " |\n\n"
      "**Watching a flight.** It plays where you flew it, with the status bar as it was, under a "
      "bar that marks\nit as a recording and shows where it is, how long it lasts and how fast "
      "it runs (" +
      speeds + ";\nit starts at " + Speed(r.NormalSpeed) + "). Sound plays up to " +
      Speed(r.LoudestSpeed) +
      "; the music is the flight's own, its land's and then the mother ship's. Going back flies "
      "the flight again from its start, so every moment\nis exactly the one "
      "that was flown. A recording that no longer agrees with the rules stops where\nit goes "
      "astray, saying at what time.\n\n"
      "| Keyboard | Gamepad | |\n|---|---|---|\n"
      "| Space (or P) | A | pause, go on |\n"
      "| ← → | ← → | " +
      seek + " back, " + seek +
      " on (the pad: a tick at a time while paused) |\n"
      "| Shift+← Shift+→ | | a tick back or on, paused |\n"
      "| Home, End | Start (the start) | the start, the end |\n"
      "| ↑ ↓ (keypad + −) | ↑ ↓ | faster, slower |\n"
      "| Esc (or Backspace) | B | back to the list |\n"
      "| a click on the bar | | to that moment |\n\n"
      "The bar lists them too:\n\n";
  for (const std::string& line : r.Legend) {
    s += "    ";
    s += line;
    s += "\n";
  }
  s += "\n| " + Shot("Watching at 4×", "viewer-4x.png") + " | " +
       Shot("Watching, paused", "viewer-paused.png") +
       " |\n|---|---|\n\n"
       "**The title flies by itself.** Left alone for " +
       std::to_string(r.TitleFlightSeconds) +
       " seconds, the title plays your best record (the one that earned\nthe most) behind a "
       "line saying so, or the game's own flight while you have none. Any key, click\nor pad "
       "button brings the title back, and does nothing else.\n";
  return s;
}

}  // namespace

std::string GuideMarkdown(const TGuideFacts& g) {
  return "# Starvelkhorn — the player's guide\n\n"
         "<!-- Made by scripts/screenshots from the game's own tables; edit the game, not this "
         "page. -->\n\n"
         "Buy an aircraft in the hangar, fit it with weapons and a cannon, and fly " +
         std::to_string(g.Missions) +
         " missions. Every text in the game is Czech; the names below are the game's own. The\n"
         "shop buys back what you sell for less than it cost (the refund), and what it offers\n"
         "grows with the missions.\n\n" +
         Controls(g) + Aircraft(g) + Weapons(g) + Difficulties(g) + "\n" + Recordings(g.Recordings);
}
