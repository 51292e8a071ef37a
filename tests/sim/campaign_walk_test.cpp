// A seeded random walk through the campaign's real screens against a model of what a player
// expects. The model knows the campaign record, the offers of each mission and every price and
// refund, written out here by hand from the game's tables; it never asks the game's code. The
// walk clicks as the ui-script does (new games, the whole shop, saving, quitting, loading,
// short flights won, lost or left from the pause), and after every step the game must agree
// with the model and with itself: the record is the fit the aircraft carries, money moves by
// exactly what the screen showed, no screen shows or trades a kind the mission does not offer,
// a load gives back what was saved, every mission starts on a fresh schedule clock over its own
// terrain, and the focus keys walk every screen both ways.
//
// A failure names its seed and the steps that led there. SK_WALK_STEPS sets the steps a seed
// (400 by default, over five seeds); SK_WALK_SEED=N walks seed N alone, to replay a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <typeinfo>

#include "core/level.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "play_dir.h"
#include "presentation/picture.h"
#include "ui_driver.h"

namespace {

using TScreen = TForm1::TScreen;
constexpr uint8_t kNone = 255;

// --- What the player is told: the shop's goods, by kind code ---------------------------------
struct TGood {
  int64_t Price, Refund;
  int From;            // the first mission whose shop offers it
  const char* Named;   // how a browser's description of it begins
  const char* Listed;  // its stock-list label, the price follows
};
const TGood kPlanes[4] = {{50000, 30000, 0, "Jaguar", ""},
                          {140000, 80000, 2, "F5F", ""},
                          {300000, 90000, 4, "F15", ""},
                          {400000, 300000, 5, "F16", ""}};
constexpr int kSlots[4] = {1, 2, 3, 5};
const TGood kWeapons[6] = {
    {5000, 4000, 0, "Rakety Vzduch/Vzduch.", "Rakety vzduch/vzduch, cena : "},
    {5000, 4000, 0, "Mini rakety.", "Mini raktey, cena :"},
    {18000, 14000, 1, "Lehký Laser.", "Lehký laser, cena :"},
    {25000, 15000, 3, "Střední laser.", "Středni laser, cena :"},
    {100000, 75000, 4, "Těžký laser.", "Těžký laser, cena :"},
    {80000, 60000, 5, "Plasmové dělo.", "Plasmové dělo, cena :"}};
const TGood kCannons[4] = {{1000, 800, 0, "20mm Vulcan.", "20mm Vulcan, cena : "},
                           {5000, 4000, 1, "37mm AT.", "37mm AT, cena :"},
                           {11000, 8000, 3, "30mm DC.", "30mm DC, cena :"},
                           {15000, 10000, 4, "30mm \"Trojblok\".", "30mm \"Trojblok\", cena :"}};
const char* const kTerrains[3] = {"res/terrain/temperate.jpg", "res/terrain/snow.jpg",
                                  "res/terrain/desert.jpg"};
const char* const kDifficulties[3] = {"Lehká obtížnost", "Středni obtížnost", "Težká obtížnost"};
constexpr const char* kNoCredits = "Nemáte dostatek kreditů!";

struct TRecord {
  int64_t Credits = 60000;
  int Mission = 0, Difficulty = 0;
  uint8_t Aircraft = kNone, Cannon = kNone;
  std::array<uint8_t, 5> Slots{kNone, kNone, kNone, kNone, kNone};
  bool GameOver = false;
  bool operator==(const TRecord&) const = default;
};

std::string Show(const TRecord& r) {
  std::string s = "credits " + std::to_string(r.Credits) + ", mission " +
                  std::to_string(r.Mission) + ", difficulty " + std::to_string(r.Difficulty) +
                  ", aircraft " + std::to_string(r.Aircraft) + ", slots";
  for (uint8_t k : r.Slots) s += " " + std::to_string(k);
  return s + ", cannon " + std::to_string(r.Cannon) + (r.GameOver ? ", game over" : "");
}

// The kind a live weapon or cannon is, by its type alone; 254 for a type of no kind.
uint8_t KindOf(const TWeapon* w) {
  if (!w) return kNone;
  const std::type_info* types[] = {&typeid(TAAMissileLauncher),
                                   &typeid(TMiniMissileLauncher),
                                   &typeid(TLightLaser),
                                   &typeid(TMediumLaser),
                                   &typeid(THeavyLaser),
                                   &typeid(TPlasmaCannon),
                                   &typeid(TVulcan),
                                   &typeid(TATCannon),
                                   &typeid(TDCCannon),
                                   &typeid(TTripleCannon)};
  for (uint8_t k = 0; k < 10; ++k) {
    if (typeid(*w) == *types[k]) return k < 6 ? k : static_cast<uint8_t>(k - 6);
  }
  return 254;
}

// The figure after the last `label` in `text`, thousands dots skipped; -1 for none.
int64_t FigureAfter(const std::string& text, const std::string& label) {
  const size_t at = text.rfind(label);
  if (at == std::string::npos) return -1;
  int64_t n = -1;
  for (size_t i = at + label.size(); i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      n = (n < 0 ? 0 : n * 10) + (text[i] - '0');
    } else if (text[i] != '.') {
      break;
    }
  }
  return n;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TWalkFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void Expect(bool holds, const std::string& what) {
  if (!holds) throw TWalkFailure(what);
}

class TWalk {
 public:
  struct TOption {
    std::string Name;
    int Weight;
    std::function<void()> Take;
  };

  explicit TWalk(uint64_t seed)
      : random_(seed), play_(SK_DATA_DIR), d_(play_.Path().string(), seed) {
    d_.SetMissionFrames(false);
    d_.RunText("choose \"V okne\"\nclick \"Pokracovat\"\nwait 200\n");
    Check();
  }

  // Takes a random step; false when the walk failed, `report` then says how.
  bool Step(std::string& report) {
    std::vector<TOption> options = Options();
    int total = 0;
    for (const TOption& o : options) total += o.Weight;
    int pick = std::uniform_int_distribution<int>(0, total - 1)(random_);
    size_t i = 0;
    while (pick >= options[i].Weight) pick -= options[i++].Weight;
    return Take(options[i], report);
  }
  // Takes the step of this name (a scripted tour); false when there is none or it failed.
  bool Step(const std::string& name, std::string& report) {
    for (const TOption& o : Options()) {
      if (o.Name == name) return Take(o, report);
    }
    report = "no step \"" + name + "\" on the " + TForm1::ScreenName(m_.Screen) + " screen";
    return false;
  }
  const std::set<TScreen>& FocusChecked() const { return focusChecked_; }

 private:
  bool Take(const TOption& o, std::string& report) {
    steps_.push_back(o.Name);
    try {
      o.Take();
      Check();
      return true;
    } catch (const std::exception& e) {
      report =
          "step " + std::to_string(steps_.size()) + " (" + o.Name + "): " + e.what() + "\nsteps:";
      for (size_t i = 0; i < steps_.size(); ++i) {
        report += "\n  " + std::to_string(i + 1) + ". " + steps_[i];
      }
      return false;
    }
  }

  World& W() { return d_.GameWorld(); }
  TMemo& Memo(int index) { return *static_cast<TMemo*>(F().MenuControls.at(size_t(index))); }
  TForm1& F() { return d_.Form(); }
  bool Offered(const TGood& g) const { return g.From <= m_.R.Mission; }
  bool Stuck() const { return m_.R.Aircraft == kNone && m_.R.Credits < kPlanes[0].Price; }

  // A click as the ui-script makes it; a message box must open exactly when one is expected.
  void Click(const std::string& caption, int number = 1, const std::string& message = "") {
    std::string script = "click \"" + caption + "\" " + std::to_string(number) + "\n";
    if (!message.empty()) script += "expect-message \"" + message + "\"\nok\n";
    d_.RunText(script);
  }

  // --- The steps each screen offers, and what the model expects of them ----------------------
  std::vector<TOption> Options() {
    std::vector<TOption> o;
    TRecord& r = m_.R;
    auto go = [&](const std::string& caption, int weight, TScreen to) {
      o.push_back({caption, weight, [this, caption, to] {
                     Click(caption);
                     m_.Screen = to;
                   }});
    };
    switch (m_.Screen) {
      case TScreen::MainMenu:
        go("Nová hra", m_.Saved ? 1 : 3, TScreen::Difficulty);
        o.push_back({"Nahrát hru", m_.Saved ? 6 : 1, [this] { Load(); }});
        break;
      case TScreen::Difficulty:
        for (int i = 0; i < 3; ++i) {
          o.push_back({kDifficulties[i], 2, [this, i] {
                         Click(kDifficulties[i]);
                         m_.R = TRecord{};
                         m_.R.Difficulty = 2 * i;
                         m_.InGame = true;
                         m_.WeaponChoice = m_.CannonChoice = 0;
                         m_.Screen = TScreen::Intro;
                       }});
        }
        go("Zpět", 1, TScreen::MainMenu);
        break;
      case TScreen::Intro:
        go("Pokračuj", 1, TScreen::Hangar);
        break;
      case TScreen::Hangar:
        if (r.Aircraft == kNone) {
          o.push_back({"Letět další misi", 1, [this] {
                         Click("Letět další misi", 1, "Nemáte žádné letadlo, nemůžete letět misi!");
                       }});
        } else {
          go("Letět další misi", 5, TScreen::Briefing);
        }
        go("Nakupovat/prodávat", Stuck() ? 1 : 5, TScreen::ShopMenu);
        o.push_back({"Uložit hru",
                     Stuck()               ? 0
                     : r.Aircraft == kNone ? 1
                                           : 3,
                     [this] {
                       Click("Uložit hru");
                       m_.Saved = m_.R;
                     }});
        o.push_back({"Návrat do hlavní nabídky", Stuck() ? 4 : 1, [this] { QuitToMenu(); }});
        break;
      case TScreen::Briefing:
        o.push_back({"Letět misi", 4, [this] { StartMission(); }});
        go("Zpět", 1, TScreen::Hangar);
        break;
      case TScreen::ShopMenu:
        go("Obchodovat s letadly", r.Aircraft != kNone || Stuck() ? 1 : 6, TScreen::PlaneShop);
        if (r.Aircraft == kNone) {
          o.push_back({"Obchodovat se zbraněmi", 1, [this] {
                         Click("Obchodovat se zbraněmi", 1, "Nemáte žádné letadlo!");
                         m_.Screen = TScreen::Hangar;
                       }});
        } else {
          go("Obchodovat se zbraněmi", 5, TScreen::WeaponShop);
        }
        go("Zpět", 3, TScreen::Hangar);
        break;
      case TScreen::PlaneShop:
        PlaneShopOptions(o);
        break;
      case TScreen::WeaponShop:
        WeaponShopOptions(o);
        break;
      case TScreen::WeaponBrowser:
      case TScreen::CannonBrowser:
        BrowserOptions(o, m_.Screen == TScreen::WeaponBrowser);
        break;
      case TScreen::Mission:
        FlightOptions(o);
        break;
      case TScreen::Paused:
        go("Zpět od hry", 3, TScreen::Mission);
        o.push_back({"Návrat do hlavní nabídky", 1, [this] { QuitToMenu(); }});
        break;
      case TScreen::Won:
        o.push_back({"Pokračuj", 1, [this] {
                       Click("Pokračuj");
                       ++m_.R.Mission;
                       m_.Screen = m_.R.Mission == 6 ? TScreen::CampaignWon : TScreen::Hangar;
                     }});
        break;
      case TScreen::ShotDown:
        o.push_back({"Zpět do menu", 1, [this] {
                       Click("Zpět do menu");
                       m_.InGame = false;
                       m_.Screen = TScreen::MainMenu;
                     }});
        break;
      case TScreen::CampaignWon:
        o.push_back({"Pokračuj", 1, [this] {
                       Click("Pokračuj");
                       m_.InGame = false;
                       m_.Screen = TScreen::MainMenu;
                     }});
        break;
      default:
        break;
    }
    return o;
  }

  void Load() {
    if (!m_.Saved) {
      Click("Nahrát hru", 1, "Soubor s uloženou hrou neexistuje!");
      return;
    }
    Click("Nahrát hru");
    m_.R = *m_.Saved;
    m_.InGame = true;
    m_.WeaponChoice = m_.CannonChoice = 0;
    m_.Screen = TScreen::Hangar;
    if (TAircraft* p = W().Player) {
      Expect(p->X == 400 && p->Y == 600, "a loaded aircraft waits at (400, 600)");
      Expect(p->Health == p->MaxHealth, "a loaded aircraft has full health");
    }
  }

  void QuitToMenu() {
    Click("Návrat do hlavní nabídky");
    d_.RunText("wait 200\n");
    d_.SetAutopilot(false, 0);
    m_.InGame = m_.Flying = false;
    m_.Screen = TScreen::MainMenu;
  }

  void PlaneShopOptions(std::vector<TOption>& o) {
    int listed = 0;
    for (uint8_t k = 0; k < 4; ++k) {
      if (!Offered(kPlanes[k])) continue;
      const int button = ++listed;
      if (m_.R.Aircraft != kNone) continue;
      o.push_back({std::string("Koupit ") + kPlanes[k].Named,
                   m_.R.Credits >= kPlanes[k].Price ? 3 : 1, [this, k, button] {
                     const int64_t shown = FigureAfter(Memo(15 + k).Lines().back(), "Cena : ");
                     Expect(shown == kPlanes[k].Price,
                            "the memo shows the price " + std::to_string(shown));
                     Buy(
                         shown, [&] { Click("Koupit", button, kNoCredits); },
                         [&] { Click("Koupit", button); },
                         [&] {
                           m_.R.Aircraft = k;
                           m_.R.Slots.fill(kNone);
                           m_.R.Cannon = kNone;
                         });
                   }});
    }
    if (m_.R.Aircraft != kNone) {
      // Sold for a better one now and then, rarely for nothing: a player without an aircraft
      // or the money for one can only start over.
      const int64_t worth = m_.R.Credits + FitValue();
      int weight = worth >= kPlanes[0].Price ? 1 : 0;
      for (int k = m_.R.Aircraft + 1; k < 4; ++k) {
        if (Offered(kPlanes[k]) && worth >= kPlanes[k].Price) weight = 3;
      }
      o.push_back({"Prodat (" + std::to_string(FitValue()) + ")", weight, [this] {
                     Sell("Prodat (" + std::to_string(FitValue()) + ")", FitValue());
                     m_.R.Aircraft = m_.R.Cannon = kNone;
                     m_.R.Slots.fill(kNone);
                   }});
    }
    o.push_back({"Zpět", 2, [this] {
                   Click("Zpět");
                   m_.Screen = TScreen::ShopMenu;
                 }});
  }

  void WeaponShopOptions(std::vector<TOption>& o) {
    for (int i = 0; i < kSlots[m_.R.Aircraft]; ++i) {
      const std::string slot = "Slot " + std::to_string(i) + " : ";
      const uint8_t held = m_.R.Slots[static_cast<size_t>(i)];
      if (held == kNone) {
        o.push_back({slot + "Koupit", 3, [this, slot, i] {
                       Click(slot + "Koupit");
                       m_.TargetSlot = static_cast<uint8_t>(i);
                       m_.Screen = TScreen::WeaponBrowser;
                     }});
      } else {
        const int64_t refund = kWeapons[held].Refund;
        o.push_back({slot + "Prodat  (" + std::to_string(refund) + ")", 1, [=, this] {
                       Sell(slot + "Prodat  (" + std::to_string(refund) + ")", refund);
                       m_.R.Slots[static_cast<size_t>(i)] = kNone;
                     }});
      }
    }
    if (m_.R.Cannon == kNone) {
      o.push_back({"Kanón : Koupit", 2, [this] {
                     Click("Kanón : Koupit");
                     m_.Screen = TScreen::CannonBrowser;
                   }});
    } else {
      const int64_t refund = kCannons[m_.R.Cannon].Refund;
      o.push_back({"Kanón : Prodat (" + std::to_string(refund) + ")", 1, [this, refund] {
                     Sell("Kanón : Prodat (" + std::to_string(refund) + ")", refund);
                     m_.R.Cannon = kNone;
                   }});
    }
    o.push_back({"Zpet", 2, [this] {
                   Click("Zpet");
                   m_.Screen = TScreen::ShopMenu;
                 }});
  }

  void BrowserOptions(std::vector<TOption>& o, bool weapons) {
    const TGood* goods = weapons ? kWeapons : kCannons;
    const int kinds = weapons ? 6 : 4;
    uint8_t& choice = weapons ? m_.WeaponChoice : m_.CannonChoice;
    for (int step : {1, -1}) {
      const std::string caption =
          std::string(step > 0 ? "Další" : "Předchozí") + (weapons ? " zbraň" : " kanón");
      o.push_back({caption, 3, [=, this, &choice] {
                     Click(caption);
                     int k = choice;
                     do k = (k + step + kinds) % kinds;
                     while (!Offered(goods[k]));
                     choice = static_cast<uint8_t>(k);
                   }});
    }
    o.push_back({std::string("Koupit ") + goods[choice].Named, 3, [=, this, &choice] {
                   const int64_t shown = FigureAfter(F().Memo5.Lines().front(), "Cena : ");
                   Expect(shown == goods[choice].Price,
                          "the browser shows the price " + std::to_string(shown));
                   if (weapons) {
                     Buy(
                         shown, [&] { Click("Koupit", 1, kNoCredits); }, [&] { Click("Koupit"); },
                         [&] {
                           m_.R.Slots[m_.TargetSlot] = choice;
                           choice = 0;
                           m_.Screen = TScreen::WeaponShop;
                         });
                   } else {
                     m_.Screen = TScreen::WeaponShop;  // refused or not
                     Buy(
                         shown, [&] { Click("Koupit", 1, kNoCredits); }, [&] { Click("Koupit"); },
                         [&] { m_.R.Cannon = choice; });
                   }
                 }});
    o.push_back({"Zpet", 1, [this] {
                   Click("Zpet");
                   m_.Screen = TScreen::ShopMenu;
                 }});
  }

  // A purchase at the price shown: refused with nothing changed when the credits fall short.
  void Buy(int64_t shown, const std::function<void()>& refused, const std::function<void()>& bought,
           const std::function<void()>& owned) {
    if (m_.R.Credits < shown) {
      refused();
      return;
    }
    bought();
    m_.R.Credits -= shown;
    owned();
  }

  // A sale by its caption: the credits rise by the figure it shows, which is the refund due.
  void Sell(const std::string& caption, int64_t due) {
    Expect(FigureAfter(caption, "(") == due, "the sale shows " + caption);
    Click(caption);
    m_.R.Credits += due;
  }

  int64_t FitValue() const {
    int64_t v = kPlanes[m_.R.Aircraft].Refund;
    for (uint8_t k : m_.R.Slots) v += k == kNone ? 0 : kWeapons[k].Refund;
    return v + (m_.R.Cannon == kNone ? 0 : kCannons[m_.R.Cannon].Refund);
  }

  // --- Flights -------------------------------------------------------------------------------
  void StartMission() {
    Click("Letět misi");
    m_.Screen = TScreen::Mission;
    m_.Flying = true;
    const int mission = m_.R.Mission;
    Expect(W().StepClock == 0 && W().StepTicks == 0,
           "mission " + std::to_string(mission) + " starts at step " +
               std::to_string(W().StepClock) + ", tick " + std::to_string(W().StepTicks));
    auto& map = maps_[mission];
    if (map.empty()) map = FileBytes("levels/level0" + std::to_string(mission) + ".mat");
    Expect(W().Level.Map == map, "mission " + std::to_string(mission) + " flies another map");
    TPicture& terrain = terrains_[mission % 3];
    if (terrain.Empty()) terrain.LoadFromFile(kTerrains[mission % 3]);
    Expect(W().Media.BackgroundPictures.Items[0].Picture.Pixels == terrain.Pixels,
           "mission " + std::to_string(mission) + " flies over another terrain");
    d_.SetAutopilot(std::bernoulli_distribution(0.5)(random_), random_());
  }

  void FlightOptions(std::vector<TOption>& o) {
    const int ms = 100 * std::uniform_int_distribution<int>(1, 8)(random_);
    o.push_back({"fly " + std::to_string(ms) + " ms", 2, [this, ms] {
                   d_.RunText("wait " + std::to_string(ms) + "\n");
                   Landed();
                 }});
    o.push_back({"key Escape", 1, [this] {
                   d_.RunText("key Escape\n");
                   m_.Screen = TScreen::Paused;
                   Landed();
                 }});
    o.push_back({"the boss is shot down", 4, [this] {
                   const auto& rows = W().Level.Spawns;
                   auto boss = std::find_if(rows.begin(), rows.end(),
                                            [](const TEnemySpawn& s) { return s.EnemyKind == -1; });
                   Expect(boss != rows.end(), "the mission has no boss");
                   SpawnRow(W(), *boss);
                   TFlyer* ship = W().FlyerList.Head()->Object;
                   ship->Hit(ship->Health);
                   d_.RunText("wait 1300\n");
                   m_.Screen = TScreen::Won;
                   Landed();
                 }});
    o.push_back({"the aircraft is shot down", 1, [this] {
                   W().Player->Hit(W().Player->Health);
                   d_.RunText("wait 100\n");
                   Landed();
                 }});
  }

  // After flying: the game may have shot the aircraft down meanwhile; a mission that ended
  // hands its credits over, whatever the flight earned or spent on repairs.
  void Landed() {
    if (F().Screen() == TScreen::ShotDown) {
      m_.Screen = TScreen::ShotDown;
      m_.R.GameOver = true;
    }
    if (m_.Screen == TScreen::Won || m_.Screen == TScreen::ShotDown) {
      m_.Flying = false;
      m_.R.Credits = W().State.Credits;
      d_.SetAutopilot(false, 0);
    }
  }

  // --- The invariants ------------------------------------------------------------------------
  void Check() {
    Expect(F().Screen() == m_.Screen, std::string("the ") + TForm1::ScreenName(F().Screen()) +
                                          " screen is open, not the " +
                                          TForm1::ScreenName(m_.Screen));
    if (m_.Screen != TScreen::Mission && !focusChecked_.count(m_.Screen)) {
      CheckFocus();
      focusChecked_.insert(m_.Screen);
    }
    const std::vector<std::string> captions = Captions();
    Expect(captions == ExpectedCaptions(), "the buttons read " + Join(captions));
    if (!m_.InGame) return;
    TRecord held{W().State.Credits,      W().State.Mission,    W().State.Difficulty,
                 W().State.AircraftKind, W().State.CannonKind, W().State.SlotKinds,
                 W().State.GameOver};
    TRecord expected = m_.R;
    if (m_.Flying) expected.Credits = held.Credits;  // a flight earns and pays for repairs
    Expect(held == expected, "the record holds " + Show(held) + "; expected " + Show(expected));
    CheckFit();
    const TScreen on = m_.Screen;
    const bool browser = on == TScreen::WeaponBrowser || on == TScreen::CannonBrowser;
    const bool stock = browser || on == TScreen::WeaponShop;
    if (stock || on == TScreen::Hangar || on == TScreen::ShopMenu || on == TScreen::PlaneShop) {
      Expect(F().Edit1.Visible() && F().Edit1.Text() == "Kredit : " + std::to_string(m_.R.Credits),
             "the credit box reads " + F().Edit1.Text());
    }
    for (int k = 0; k < 4; ++k) {
      const bool shown = on == TScreen::PlaneShop && Offered(kPlanes[k]);
      Expect(
          Memo(15 + k).Visible() == shown &&
              (!shown || FigureAfter(Memo(15 + k).Lines().back(), "Cena : ") == kPlanes[k].Price),
          std::string("the memo of the ") + kPlanes[k].Named + (shown ? " is hidden" : " shows"));
    }
    Expect(F().Memo6.Visible() == stock, "the stock list is wrongly shown or hidden");
    if (stock)
      Expect(F().Memo6.Lines() == StockList(), "the stock list reads " + Join(F().Memo6.Lines()));
    Expect(F().Memo5.Visible() == browser, "the description is wrongly shown or hidden");
    if (browser) {
      const TGood& g =
          on == TScreen::WeaponBrowser ? kWeapons[m_.WeaponChoice] : kCannons[m_.CannonChoice];
      const std::string& text = F().Memo5.Lines().front();
      Expect(F().Memo5.Lines().size() == 1 && text.rfind(g.Named, 0) == 0 &&
                 FigureAfter(text, "Cena : ") == g.Price,
             std::string("the browser shows \"") + text.substr(0, 24) + "...\", not " + g.Named);
    }
  }

  // The record is what the aircraft carries: its kind, each slot's weapon and the cannon.
  void CheckFit() {
    if (m_.Screen == TScreen::ShotDown) return;  // the wreck is gone with its list
    TAircraft* p = W().Player;
    Expect((p != nullptr) == (m_.R.Aircraft != kNone), "an aircraft is held without a record");
    if (!p) return;
    Expect(p->Kind == m_.R.Aircraft && p->SlotCount == kSlots[m_.R.Aircraft],
           "the aircraft is of kind " + std::to_string(p->Kind));
    for (size_t i = 0; i < 5; ++i) {
      Expect(KindOf(p->Slots[i].get()) == m_.R.Slots[i],
             "slot " + std::to_string(i) + " carries kind " +
                 std::to_string(KindOf(p->Slots[i].get())));
    }
    Expect(KindOf(p->Cannon.get()) == m_.R.Cannon,
           "the cannon is of kind " + std::to_string(KindOf(p->Cannon.get())));
  }

  std::vector<std::string> ExpectedCaptions() const {
    const TRecord& r = m_.R;
    switch (m_.Screen) {
      case TScreen::MainMenu:
        return {"Nová hra", "Nahrát hru", "Konec"};
      case TScreen::Difficulty:
        return {kDifficulties[0], kDifficulties[1], kDifficulties[2], "Zpět"};
      case TScreen::Intro:
        return {"Pokračuj"};
      case TScreen::Hangar:
        return {"Letět další misi", "Nakupovat/prodávat", "Uložit hru", "Návrat do hlavní nabídky"};
      case TScreen::Briefing:
        return {"Letět misi", "Zpět"};
      case TScreen::ShopMenu:
        return {"Obchodovat s letadly", "Obchodovat se zbraněmi", "Zpět"};
      case TScreen::PlaneShop: {
        std::vector<std::string> c{"Zpět"};
        for (const TGood& g : kPlanes) {
          if (Offered(g)) c.push_back(r.Aircraft == kNone ? "Koupit" : "Koupit (disabled)");
        }
        c.push_back(r.Aircraft == kNone ? "Prodat (disabled)"
                                        : "Prodat (" + std::to_string(FitValue()) + ")");
        return c;
      }
      case TScreen::WeaponShop: {
        std::vector<std::string> c{"Zpet"};
        for (int i = 0; i < kSlots[r.Aircraft]; ++i) {
          const uint8_t k = r.Slots[static_cast<size_t>(i)];
          c.push_back(
              "Slot " + std::to_string(i) + " : " +
              (k == kNone ? "Koupit" : "Prodat  (" + std::to_string(kWeapons[k].Refund) + ")"));
        }
        c.push_back(r.Cannon == kNone
                        ? "Kanón : Koupit"
                        : "Kanón : Prodat (" + std::to_string(kCannons[r.Cannon].Refund) + ")");
        return c;
      }
      case TScreen::WeaponBrowser:
        return {"Zpet", "Další zbraň", "Předchozí zbraň", "Koupit"};
      case TScreen::CannonBrowser:
        return {"Zpet", "Další kanón", "Předchozí kanón", "Koupit"};
      case TScreen::Paused:
        return {"Zpět od hry", "Návrat do hlavní nabídky"};
      case TScreen::Won:
      case TScreen::CampaignWon:
        return {"Pokračuj"};
      case TScreen::ShotDown:
        return {"Zpět do menu"};
      default:
        return {};
    }
  }

  std::vector<std::string> StockList() const {
    std::vector<std::string> lines{"Dostupné zbraně:"};
    for (const TGood& g : kWeapons) {
      if (Offered(g)) lines.push_back(g.Listed + std::to_string(g.Price));
    }
    lines.insert(lines.end(), {"", "Dostupné kanóny:"});
    for (const TGood& g : kCannons) {
      if (Offered(g)) lines.push_back(g.Listed + std::to_string(g.Price));
    }
    return lines;
  }

  std::vector<std::string> Captions() const {
    std::vector<std::string> c;
    for (TControl* control : d_.ControlsInScriptOrder()) {
      if (auto* b = dynamic_cast<TButton*>(control)) {
        c.push_back(b->Caption() + (b->Enabled() ? "" : " (disabled)"));
      }
    }
    return c;
  }

  static std::string Join(const std::vector<std::string>& texts) {
    std::string s;
    for (const std::string& t : texts) s += "\"" + t + "\" ";
    return s;
  }

  // Tab and Shift+Tab walk every control that takes the focus, round and back; on a button
  // Down and Right step to the next one, Up and Left back.
  void CheckFocus() {
    TControls& c = F().Controls;
    std::vector<TControl*> tab;
    for (TControl* x : c.All()) {
      if (x->CanFocus()) tab.push_back(x);
    }
    if (tab.empty()) return;
    const auto at = std::find(tab.begin(), tab.end(), c.Focused());
    Expect(at != tab.end(), "no control has the focus");
    const size_t n = tab.size(), first = static_cast<size_t>(at - tab.begin());
    auto press = [&](uint8_t key, bool shift, TControl* to, const char* name) {
      d_.Backend().SetKey(platform::vk::Shift, shift);
      d_.PressKey(key, 1);
      d_.Backend().SetKey(platform::vk::Shift, false);
      Expect(c.Focused() == to, std::string(name) + " moves the focus to " +
                                    (c.Focused() ? c.Focused()->Name : "nothing") + ", not " +
                                    to->Name);
    };
    for (size_t i = 1; i <= n; ++i) press(platform::vk::Tab, false, tab[(first + i) % n], "Tab");
    for (size_t i = 1; i <= n; ++i) {
      press(platform::vk::Tab, true, tab[(first + n * i - i) % n], "Shift+Tab");
    }
    // Two buttons next to each other in Tab order have no stop of the arrows between them.
    for (size_t i = 0; i < n; ++i) {
      TControl* next = tab[(i + 1) % n];
      if (!dynamic_cast<TButton*>(tab[i]) || !dynamic_cast<TButton*>(next)) continue;
      c.SetFocus(tab[i]);
      press(platform::vk::Down, false, next, "Down");
      press(platform::vk::Up, false, tab[i], "Up");
      press(platform::vk::Right, false, next, "Right");
      press(platform::vk::Left, false, tab[i], "Left");
    }
    c.SetFocus(tab[first]);
  }

  struct TModel {
    TScreen Screen = TScreen::MainMenu;
    bool InGame = false, Flying = false;
    TRecord R;
    std::optional<TRecord> Saved;
    uint8_t WeaponChoice = 0, CannonChoice = 0, TargetSlot = 0;
  } m_;

  std::mt19937_64 random_;
  TPlayDir play_;
  TUiDriver d_;
  std::vector<std::string> steps_;
  std::set<TScreen> focusChecked_;
  std::map<int, std::vector<uint8_t>> maps_;
  TPicture terrains_[3];
};

int64_t EnvNumber(const char* name, int64_t fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::strtoll(value, nullptr, 10) : fallback;
}

struct CampaignWalk : ::testing::TestWithParam<int> {};

TEST_P(CampaignWalk, TheGameAgreesWithThePlayersModelAfterEveryStep) {
  const int64_t only = EnvNumber("SK_WALK_SEED", -1);
  const uint64_t seed = only >= 0 ? static_cast<uint64_t>(only) : 20261209u + GetParam();
  if (only >= 0 && GetParam() != 0) GTEST_SKIP() << "replaying seed " << only << " alone";
  TWalk walk(seed);
  const int64_t steps = EnvNumber("SK_WALK_STEPS", 400);
  std::string report;
  for (int64_t i = 0; i < steps; ++i) {
    if (!walk.Step(report)) FAIL() << "campaign walk, seed " << seed << ", " << report;
  }
}
INSTANTIATE_TEST_SUITE_P(Seeds, CampaignWalk, ::testing::Range(0, 5));

// Every screen a player can reach between flights, in one tour: the focus keys walk each.
TEST(CampaignTour, TheFocusKeysWalkEveryScreenBothWays) {
  TWalk walk(1);
  const char* tour[] = {"Nová hra",
                        "Zpět",
                        "Nová hra",
                        "Težká obtížnost",
                        "Pokračuj",
                        "Nakupovat/prodávat",
                        "Obchodovat s letadly",
                        "Koupit Jaguar",
                        "Zpět",
                        "Obchodovat se zbraněmi",
                        "Slot 0 : Koupit",
                        "Zpet",
                        "Obchodovat se zbraněmi",
                        "Kanón : Koupit",
                        "Koupit 20mm Vulcan.",
                        "Zpet",
                        "Zpět",
                        "Uložit hru",
                        "Letět další misi",
                        "Letět misi",
                        "key Escape",
                        "Zpět od hry",
                        "the boss is shot down",
                        "Pokračuj",
                        "Letět další misi",
                        "Letět misi",
                        "the aircraft is shot down",
                        "Zpět do menu",
                        "Nahrát hru",
                        "Návrat do hlavní nabídky"};
  std::string report;
  for (const char* step : tour) ASSERT_TRUE(walk.Step(step, report)) << report;
  const std::set<TScreen> all = {TScreen::MainMenu,     TScreen::Difficulty, TScreen::Intro,
                                 TScreen::Hangar,       TScreen::Briefing,   TScreen::Paused,
                                 TScreen::Won,          TScreen::ShotDown,   TScreen::ShopMenu,
                                 TScreen::PlaneShop,    TScreen::WeaponShop, TScreen::WeaponBrowser,
                                 TScreen::CannonBrowser};
  EXPECT_EQ(walk.FocusChecked(), all);
}

}  // namespace
