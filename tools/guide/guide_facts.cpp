#include "guide_facts.h"

#include <algorithm>
#include <sstream>

#include "core/level.h"
#include "core/world.h"
#include "enemies/enemy.h"
#include "flyers/aircraft.h"
#include "flyers/cannon_shell.h"
#include "flyers/projectile.h"
#include "flyers/weapon.h"
#include "shell/replay_store.h"
#include "shell/replay_viewer.h"
#include "shell/settings.h"
#include "shell/shop_texts.h"
#include "shell/viewer_hud.h"
#include "ui_driver.h"

namespace {

// The first mission (1-based) whose shop offers a kind; 0 for none.
template <size_t N>
int32_t FirstOffer(std::array<bool, N> TOffers::*table, int kind, int32_t missions) {
  for (int32_t m = 0; m < missions; ++m) {
    TOffers offers;
    SetOffers(offers, m);
    if ((offers.*table)[static_cast<size_t>(kind)]) return m + 1;
  }
  return 0;
}

TAircraftFacts AircraftOf(World& w, uint8_t kind, int32_t missions) {
  const auto a = MakeAircraft(w, kind, kNewAircraftX, kNewAircraftY);
  TAircraftFacts f;
  f.Name = AircraftMemoLines(kind).at(0);
  f.Armour = a->MaxHealth;
  f.Acceleration = a->Accel;
  f.TopSpeed = a->MaxSpeed;
  f.Slots = a->SlotCount;
  f.Price = a->Price;
  f.Refund = a->SellValue;
  f.FromMission = FirstOffer(&TOffers::AircraftOffered, kind, missions);
  return f;
}

// The ticks from one shot to the next: fired, then reloaded a tick at a time until ready.
int32_t RechargeTicks(TWeapon& weapon) {
  weapon.Fire(500, 400, 0, kSidePlayer);
  int32_t ticks = 0;
  while (!weapon.Ready && ticks < 100000) {
    weapon.Reload();
    ++ticks;
  }
  return ticks;
}

template <class List>
void Empty(List& list) {
  list.Clear();
}

// One shot into an empty world, and what it put in flight (dir as the aircraft fires it: 0
// for slot weapons, -1 for cannons).
TWeaponFacts ShotOf(World& w, TWeapon& weapon, int8_t dir) {
  Empty(w.FlyerList);
  Empty(w.ShellList);
  weapon.Fire(500, 400, dir, kSidePlayer);
  TWeaponFacts f;
  for (auto* n = w.FlyerList.Head(); n; n = n->Next) {
    ++f.Count;
    f.Power = n->Object->Health;
    f.EveryTick = dynamic_cast<THeavyBeam*>(n->Object) != nullptr;
  }
  for (auto* n = w.ShellList.Head(); n; n = n->Next) {
    ++f.Count;
    f.Power = n->Object->Damage;
  }
  // A plasma ball's burst, counted on one ball alone.
  if (auto* n = w.FlyerList.Head(); n && dynamic_cast<TPlasmaBall*>(n->Object)) {
    n->Object->Die();
    for (auto* m = w.FlyerList.Head(); m; m = m->Next) {
      if (dynamic_cast<TPlasmaFragment*>(m->Object)) {
        ++f.Fragments;
        f.FragmentPower = m->Object->Health;
      }
    }
  }
  Empty(w.FlyerList);
  Empty(w.ShellList);
  f.Price = weapon.Price;
  f.Refund = weapon.SellValue;
  f.RechargeTicks = RechargeTicks(weapon);
  Empty(w.FlyerList);
  Empty(w.ShellList);
  return f;
}

// The difficulty screen as the player meets it, one run per button: the buttons that lead on
// to the story are the difficulties, and the new game each starts tells what it is.
std::vector<TDifficultyFacts> Difficulties(World& w, const std::string& dataDir) {
  const std::string toMenu =
      "choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\nclick \"Nová hra\"\n";
  std::vector<std::string> captions;
  {
    TUiDriver ui(dataDir, 1);
    ui.RunText(toMenu);
    for (TControl* c : ui.ControlsInScriptOrder()) {
      if (auto* b = dynamic_cast<TButton*>(c)) captions.push_back(b->Caption());
    }
  }
  std::vector<TDifficultyFacts> out;
  for (const std::string& caption : captions) {
    TUiDriver ui(dataDir, 1);
    ui.RunText(toMenu);
    ui.ClickButton(caption);
    try {
      ui.ExpectScreen(TForm1::TScreen::Intro);
    } catch (const EUiFailure&) {
      continue;  // "Zpět"
    }
    TDifficultyFacts d;
    d.Name = caption;
    d.Code = ui.GameWorld().State.Difficulty;
    d.StartCredits = ui.GameWorld().State.Credits;
    out.push_back(d);
  }
  const uint8_t before = w.State.Difficulty;
  for (TDifficultyFacts& d : out) {
    w.State.Difficulty = d.Code;
    for (uint8_t kind = 0; kind < kEnemyKinds; ++kind) {
      TEnemy enemy(w, 0, 0, kind, 0);
      d.EnemyHealth.push_back(enemy.MaxHealth);
      if (kind == 0 && enemy.Weapon) d.FighterShellDamage = ShotOf(w, *enemy.Weapon, 1).Power;
    }
  }
  w.State.Difficulty = before;
  return out;
}

// The settings' own print-out of the defaults: "# what it does (default)" over "name = value".
TRecordingFacts Recordings(int32_t ticksPerSecond) {
  TRecordingFacts f;
  f.Speeds.assign(TReplayViewer::kSpeeds.begin(), TReplayViewer::kSpeeds.end());
  f.NormalSpeed = TReplayViewer::kSpeeds[TReplayViewer::kNormalSpeed];
  f.LoudestSpeed = TReplayViewer::kLoudestSpeed;
  f.SeekSeconds = static_cast<int32_t>(TReplayViewer::kSeekTicks / ticksPerSecond);
  f.Kept = static_cast<int32_t>(kReplaysKept);
  f.TitleFlightSeconds = static_cast<int32_t>(kTitleFlightAfterMs / 1000);
  f.Legend = TViewerHud::LegendLines();
  return f;
}

std::vector<TSettingFacts> Settings() {
  std::istringstream text(FormatSettings(TSettings::Defaults()));
  std::vector<TSettingFacts> out;
  std::string help;
  for (std::string line; std::getline(text, line);) {
    const auto eq = line.find(" = ");
    if (line.rfind("# ", 0) == 0) {
      help = line.substr(2);
      const auto source = help.rfind(" (");
      if (source != std::string::npos) help.resize(source);
    } else if (eq != std::string::npos) {
      out.push_back({line.substr(0, eq), line.substr(eq + 3), help});
    }
  }
  return out;
}

}  // namespace

std::string NameOf(const std::string& description) {
  return description.substr(0, description.find(". "));
}

TGuideFacts GatherFacts(TFormComponents& media, const std::string& dataDir) {
  TGuideFacts g;
  World w(media);
  for (uint8_t k = 0; k < kAircraftKinds; ++k) g.Aircraft.push_back(AircraftOf(w, k, g.Missions));
  for (uint8_t k = 0; k < kWeaponKinds; ++k) {
    TWeaponFacts f = ShotOf(w, *MakeWeapon(w, k), 0);
    f.Name = NameOf(WeaponDescription(k));
    f.FromMission = FirstOffer(&TOffers::WeaponOffered, k, g.Missions);
    g.Weapons.push_back(f);
  }
  for (uint8_t k = 0; k < kCannonKinds; ++k) {
    TWeaponFacts f = ShotOf(w, *MakeCannon(w, k), -1);
    f.Name = NameOf(CannonDescription(k));
    f.FromMission = FirstOffer(&TOffers::CannonOffered, k, g.Missions);
    g.Cannons.push_back(f);
  }
  g.Difficulties = Difficulties(w, dataDir);
  g.Settings = Settings();
  g.Recordings = Recordings(g.TicksPerSecond);
  return g;
}
