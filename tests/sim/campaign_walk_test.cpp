// A seeded random walk through the campaign's real screens against a model of what a player
// expects. The model knows the campaign record, each mission's offers and every price and
// refund, written out here by hand; it never asks the game's code. The walk clicks as the
// ui-script does (new games, the whole shop, saving, quitting, loading, short flights won, lost
// or left from the pause), and after every step the game must agree with the model: the record
// is the fit the aircraft carries, money moves by exactly what the screen showed, no screen
// shows or trades a kind the mission does not offer, a load gives back what was saved, every
// mission starts on a fresh schedule clock over its own terrain, and the focus keys walk each
// screen both ways.
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

// The shop's goods by kind code: price, refund, the first mission that offers it, how a
// browser's description of it begins (an aircraft's memo) and its stock-list label (the memo's
// price line).
struct TGood {
  int64_t Price, Refund;
  int From;
  const char *Named, *Listed;
};
const TGood kPlanes[4] = {{50000, 30000, 0, "Jaguar", "Cena : 50.000"},
                          {140000, 80000, 2, "F5F", "Cena : 140.000"},
                          {300000, 90000, 4, "F15", "Cena : 300.000"},
                          {400000, 300000, 5, "F16", "Cena : 400.000"}};
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
const char* const kLevels[3] = {"Lehká obtížnost", "Středni obtížnost", "Težká obtížnost"};
const char* const kBriefings[6] = {
    "Mise číslo 1: Osvobození středozemí",         "Mise číslo 2: Skandinávské dostaveníčko",
    "Mise číslo 3: Operace pouštní myš",           "Mise číslo 4: Hra na piráty",
    "Mise číslo 5: Mimozemská horečka na Aljašce", "Mise číslo 6: Finální úder"};
const std::map<TScreen, std::vector<std::string>> kButtons = {
    {TScreen::MainMenu, {"Nová hra", "Nahrát hru", "Rekordy", "Záznamy letů", "Konec"}},
    // No records and no recordings are kept by the walk's game.
    {TScreen::Records, {"Zpět"}},
    {TScreen::Recordings,
     {"Další strana (disabled)", "Předchozí strana (disabled)", "Smazat záznam (disabled)",
      "Zpět"}},
    {TScreen::Difficulty, {kLevels[0], kLevels[1], kLevels[2], "Zpět"}},
    {TScreen::Intro, {"Pokračuj"}},
    {TScreen::Hangar,
     {"Letět další misi", "Nakupovat/prodávat", "Uložit hru", "Návrat do hlavní nabídky"}},
    {TScreen::Briefing, {"Letět misi", "Zpět"}},
    {TScreen::ShopMenu, {"Obchodovat s letadly", "Obchodovat se zbraněmi", "Zpět"}},
    {TScreen::WeaponBrowser, {"Zpet", "Další zbraň", "Předchozí zbraň", "Koupit"}},
    {TScreen::CannonBrowser, {"Zpet", "Další kanón", "Předchozí kanón", "Koupit"}},
    {TScreen::Paused, {"Zpět od hry", "Návrat do hlavní nabídky"}},
    {TScreen::Won, {"Pokračuj"}},
    {TScreen::ShotDown, {"Zpět do menu"}},
    {TScreen::CampaignWon, {"Pokračuj"}}};

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
  // Two appends rather than " " + std::to_string(k): GCC 12 at -O3 reports a false -Wrestrict
  // inside the inlined operator+ of a literal and a temporary string.
  for (uint8_t k : r.Slots) {
    s += ' ';
    s += std::to_string(k);
  }
  return s + ", cannon " + std::to_string(r.Cannon) + (r.GameOver ? ", game over" : "");
}

std::string Join(const std::vector<std::string>& texts) {
  std::string s;
  for (const std::string& t : texts) s += "\"" + t + "\" ";
  return s;
}

// The kind a live weapon is, by its type alone, among these types; 254 for another type.
template <class... T>
uint8_t KindAmong(const TWeapon* w) {
  const std::type_info* types[] = {&typeid(T)...};
  for (uint8_t k = 0; w && k < sizeof...(T); ++k) {
    if (typeid(*w) == *types[k]) return k;
  }
  return w ? 254 : kNone;
}
constexpr auto SlotKind = &KindAmong<TAAMissileLauncher, TMiniMissileLauncher, TLightLaser,
                                     TMediumLaser, THeavyLaser, TPlasmaCannon>;
constexpr auto CannonKind = &KindAmong<TVulcan, TATCannon, TDCCannon, TTripleCannon>;

// The figure after the last `label` in `text`, thousands dots skipped; -1 for none.
int64_t FigureAfter(const std::string& text, const std::string& label) {
  const size_t at = text.rfind(label);
  int64_t n = -1;
  for (size_t i = at + label.size(); at != std::string::npos && i < text.size(); ++i) {
    if (text[i] >= '0' && text[i] <= '9') n = (n < 0 ? 0 : n * 10) + (text[i] - '0');
    if (text[i] != '.' && (text[i] < '0' || text[i] > '9')) break;
  }
  return n;
}

void Expect(bool holds, const std::string& what) {
  if (!holds) throw std::runtime_error(what);
}

class TWalk {
 public:
  explicit TWalk(uint64_t seed) : random_(seed), play_(SK_DATA_DIR), d_(play_.Path(), seed) {
    d_.SetMissionFrames(false);
    d_.RunText("choose \"V okne\"\nclick \"Pokracovat\"\nwait 200\n");
    Check();
  }

  // Takes a random step, or the step of this name (a scripted tour); false when it failed or
  // there is none, and `report` then says why, with every step so far.
  bool Step(std::string& report, const std::string& name = "") {
    Options();
    int total = 0;
    for (const TOption& o : options_) total += o.Weight;
    int pick = std::uniform_int_distribution<int>(0, total - 1)(random_);
    size_t i = 0;
    while (name.empty() ? pick >= options_[i].Weight : options_[i].Name != name) {
      pick -= options_[i].Weight;
      if (++i == options_.size()) return report = "no step " + name, false;
    }
    steps_.push_back(options_[i].Name);
    try {
      options_[i].Take();
      Check();
      return true;
    } catch (const std::exception& e) {
      report = "step " + std::to_string(steps_.size()) + ": " + e.what() + "\nsteps:";
      for (size_t s = 0; s < steps_.size(); ++s) {
        report += "\n  " + std::to_string(s + 1) + ". " + steps_[s];
      }
      return false;
    }
  }
  const std::set<TScreen>& FocusChecked() const { return focusChecked_; }

 private:
  struct TOption {
    std::string Name;
    int Weight;
    std::function<void()> Take;
  };

  World& W() { return d_.GameWorld(); }
  TForm1& F() { return d_.Form(); }
  TMemo& Memo(int index) { return *static_cast<TMemo*>(F().MenuControls.at(size_t(index))); }
  bool Offered(const TGood& g) const { return g.From <= m_.R.Mission; }
  bool Stuck() const { return m_.R.Aircraft == kNone && m_.R.Credits < kPlanes[0].Price; }

  // A click as the ui-script makes it; a message box must open exactly when one is expected.
  void Click(const std::string& caption, int number = 1, const std::string& message = "") {
    std::string script = "click \"" + caption + "\" " + std::to_string(number) + "\n";
    d_.RunText(script + (message.empty() ? "" : "expect-message \"" + message + "\"\nok\n"));
  }
  void Add(const std::string& name, int weight, std::function<void()> take) {
    options_.push_back({name, weight, std::move(take)});
  }
  // A click that leads to a screen, or shows a message there.
  void Go(const std::string& caption, int weight, TScreen to, const std::string& message = "") {
    Add(caption, weight, [=, this] {
      Click(caption, 1, message);
      m_.Screen = to;
    });
  }

  // --- The steps each screen offers, and what the model expects of them ----------------------
  void Options() {
    options_.clear();
    const bool owned = m_.R.Aircraft != kNone;
    switch (m_.Screen) {
      case TScreen::MainMenu:
        Go("Nová hra", m_.Saved ? 1 : 3, TScreen::Difficulty);
        Add("Nahrát hru", m_.Saved ? 6 : 1, [this] { Load(); });
        Go("Rekordy", 1, TScreen::Records);
        Go("Záznamy letů", 1, TScreen::Recordings);
        break;
      case TScreen::Records:
      case TScreen::Recordings:
        Go("Zpět", 1, TScreen::MainMenu);
        break;
      case TScreen::Difficulty:
        for (int i = 0; i < 3; ++i) Add(kLevels[i], 2, [this, i] { NewGame(i); });
        Go("Zpět", 1, TScreen::MainMenu);
        break;
      case TScreen::Intro:
        Go("Pokračuj", 1, TScreen::Hangar);
        break;
      case TScreen::Hangar:
        Go("Letět další misi", owned ? 5 : 1, owned ? TScreen::Briefing : TScreen::Hangar,
           owned ? "" : "Nemáte žádné letadlo, nemůžete letět misi!");
        Go("Nakupovat/prodávat", Stuck() ? 1 : 5, TScreen::ShopMenu);
        Add("Uložit hru", Stuck() ? 0 : 1 + 2 * owned, [this] {
          Click("Uložit hru");
          m_.Saved = m_.R;
        });
        Add("Návrat do hlavní nabídky", Stuck() ? 4 : 1, [this] { Quit(); });
        break;
      case TScreen::Briefing:
        Add("Letět misi", 4, [this] { StartMission(); });
        Go("Zpět", 1, TScreen::Hangar);
        break;
      case TScreen::ShopMenu:
        Go("Obchodovat s letadly", owned || Stuck() ? 1 : 6, TScreen::PlaneShop);
        Go("Obchodovat se zbraněmi", owned ? 5 : 1, owned ? TScreen::WeaponShop : TScreen::Hangar,
           owned ? "" : "Nemáte žádné letadlo!");
        Go("Zpět", 3, TScreen::Hangar);
        break;
      case TScreen::PlaneShop:
        PlaneShop();
        break;
      case TScreen::WeaponShop:
        WeaponShop();
        break;
      case TScreen::WeaponBrowser:
      case TScreen::CannonBrowser:
        Browser(m_.Screen == TScreen::WeaponBrowser);
        break;
      case TScreen::Mission:
        Flight();
        break;
      case TScreen::Paused:
        Go("Zpět od hry", 3, TScreen::Mission);
        Add("Návrat do hlavní nabídky", 1, [this] { Quit(); });
        break;
      case TScreen::Won:
        Add("Pokračuj", 1, [this] {
          Click("Pokračuj");
          m_.Screen = ++m_.R.Mission == 6 ? TScreen::CampaignWon : TScreen::Hangar;
        });
        break;
      default:  // shot down, campaign won: the way back to the main menu
        Add(kButtons.at(m_.Screen)[0], 1, [this] {
          Click(kButtons.at(m_.Screen)[0]);
          m_.InGame = false;
          m_.Screen = TScreen::MainMenu;
        });
    }
  }

  void NewGame(int level) {
    Click(kLevels[level]);
    m_.R = TRecord{};
    m_.R.Difficulty = 2 * level;
    m_.InGame = true;
    m_.WeaponChoice = m_.CannonChoice = 0;
    m_.Screen = TScreen::Intro;
  }

  void Load() {
    if (!m_.Saved) return Click("Nahrát hru", 1, "Soubor s uloženou hrou neexistuje!");
    Click("Nahrát hru");
    m_.R = *m_.Saved;
    m_.InGame = true;
    m_.WeaponChoice = m_.CannonChoice = 0;  // what every mission offers
    m_.Screen = TScreen::Hangar;
    TAircraft* p = W().Player;
    Expect(!p || (p->X == 400 && p->Y == 600 && p->Health == p->MaxHealth),
           "a loaded aircraft waits at (400, 600) with full health");
  }

  void Quit() {
    Click("Návrat do hlavní nabídky");
    d_.RunText("wait 200\n");  // the menu timer paints the main menu
    d_.SetAutopilot(false, 0);
    m_.InGame = m_.Flying = false;
    m_.Screen = TScreen::MainMenu;
  }

  // A purchase at the price the screen shows, which must be the kind's: refused with nothing
  // changed when the credits fall short, else they fall by exactly that price.
  void Buy(const std::string& shownIn, const TGood& good, int button, std::function<void()> own) {
    const int64_t shown = FigureAfter(shownIn, "Cena : ");
    Expect(shown == good.Price, std::string(good.Named) + " shown at " + std::to_string(shown));
    if (m_.R.Credits < shown) return Click("Koupit", button, "Nemáte dostatek kreditů!");
    Click("Koupit", button);
    m_.R.Credits -= shown;
    own();
  }

  // A sale by its caption, whose figure must be the refund due; the credits rise by it.
  void Sell(const std::string& caption, int64_t due, std::function<void()> give) {
    Add(caption, 1, [=, this] {
      Expect(FigureAfter(caption, "(") == due, "the sale shows " + caption);
      Click(caption);
      m_.R.Credits += due;
      give();
    });
  }

  int64_t FitValue() const {
    int64_t v = kPlanes[m_.R.Aircraft].Refund;
    for (uint8_t k : m_.R.Slots) v += k == kNone ? 0 : kWeapons[k].Refund;
    return v + (m_.R.Cannon == kNone ? 0 : kCannons[m_.R.Cannon].Refund);
  }

  void PlaneShop() {
    int button = 0;
    for (uint8_t k = 0; k < 4 && m_.R.Aircraft == kNone; ++k) {
      if (!Offered(kPlanes[k])) continue;
      Add(std::string("Koupit ") + kPlanes[k].Named, m_.R.Credits >= kPlanes[k].Price ? 3 : 1,
          [this, k, b = ++button] {
            Buy(Memo(15 + k).Lines().back(), kPlanes[k], b, [this, k] { m_.R.Aircraft = k; });
          });
    }
    if (m_.R.Aircraft != kNone) {
      // Sold now and then for a better one, seldom for nothing: a player left without an
      // aircraft or the money for one can only start over.
      const int64_t worth = m_.R.Credits + FitValue();
      Sell("Prodat (" + std::to_string(FitValue()) + ")", FitValue(), [this] {
        m_.R.Aircraft = m_.R.Cannon = kNone;
        m_.R.Slots.fill(kNone);
      });
      options_.back().Weight = worth >= kPlanes[0].Price ? 1 : 0;
      for (int k = m_.R.Aircraft + 1; k < 4; ++k) {
        if (Offered(kPlanes[k]) && worth >= kPlanes[k].Price) options_.back().Weight = 3;
      }
    }
    Go("Zpět", 2, TScreen::ShopMenu);
  }

  void WeaponShop() {
    for (size_t i = 0; i < size_t(kSlots[m_.R.Aircraft]); ++i) {
      const std::string slot = "Slot " + std::to_string(i) + " : ";
      const uint8_t held = m_.R.Slots[i];
      if (held != kNone) {
        Sell(slot + "Prodat  (" + std::to_string(kWeapons[held].Refund) + ")",
             kWeapons[held].Refund, [this, i] { m_.R.Slots[i] = kNone; });
        continue;
      }
      Add(slot + "Koupit", 3, [this, slot, i] {
        Click(slot + "Koupit");
        m_.TargetSlot = i;
        m_.Screen = TScreen::WeaponBrowser;
      });
    }
    if (m_.R.Cannon != kNone) {
      const int64_t refund = kCannons[m_.R.Cannon].Refund;
      Sell("Kanón : Prodat (" + std::to_string(refund) + ")", refund,
           [this] { m_.R.Cannon = kNone; });
    }
    if (m_.R.Cannon == kNone) Go("Kanón : Koupit", 2, TScreen::CannonBrowser);
    Go("Zpet", 2, TScreen::ShopMenu);
  }

  void Browser(bool weapons) {
    const TGood* goods = weapons ? kWeapons : kCannons;
    const int kinds = weapons ? 6 : 4;
    uint8_t& choice = weapons ? m_.WeaponChoice : m_.CannonChoice;
    for (int step : {1, -1}) {
      const std::string caption =
          std::string(step > 0 ? "Další" : "Předchozí") + (weapons ? " zbraň" : " kanón");
      Add(caption, 3, [=, this, &choice] {
        Click(caption);
        do choice = static_cast<uint8_t>((choice + step + kinds) % kinds);
        while (!Offered(goods[choice]));
      });
    }
    Add(std::string("Koupit ") + goods[choice].Named, 3, [=, this, &choice] {
      // A weapon refused leaves its browser open on it; a cannon goes back to the weapons.
      if (!weapons) m_.Screen = TScreen::WeaponShop;
      Buy(F().Memo5.Lines().front(), goods[choice], 1, [=, this, &choice] {
        if (!weapons) m_.R.Cannon = choice;
        if (!weapons) return;
        m_.R.Slots[m_.TargetSlot] = choice;
        choice = 0;
        m_.Screen = TScreen::WeaponShop;
      });
    });
    Go("Zpet", 1, TScreen::ShopMenu);
  }

  // --- Flights -------------------------------------------------------------------------------
  void StartMission() {
    Click("Letět misi");
    m_.Screen = TScreen::Mission;
    m_.Flying = true;
    const int mission = m_.R.Mission;
    const std::string which = "mission " + std::to_string(mission);
    Expect(W().StepClock == 0 && W().StepTicks == 0,
           which + " starts at step " + std::to_string(W().StepClock));
    std::vector<uint8_t>& map = maps_[mission];
    if (map.empty()) {
      std::ifstream in("levels/level0" + std::to_string(mission) + ".mat", std::ios::binary);
      map.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    Expect(W().Level.Map == map, which + " flies another map");
    TPicture& terrain = terrains_[mission % 3];
    if (terrain.Empty()) terrain.LoadFromFile(kTerrains[mission % 3]);
    Expect(W().Media.BackgroundPictures.Items[0].Picture.Pixels == terrain.Pixels,
           which + " flies over another terrain");
    d_.SetAutopilot(std::bernoulli_distribution(0.5)(random_), random_());
  }

  void Flight() {
    const std::string ms = std::to_string(100 * (1 + random_() % 8));
    Add("fly " + ms + " ms", 2, [this, ms] { Fly("wait " + ms + "\n", TScreen::Mission); });
    Add("key Escape", 1, [this] { Fly("key Escape\n", TScreen::Paused); });
    Add("the boss is shot down", 4, [this] {
      const auto& rows = W().Level.Spawns;
      auto boss = std::find_if(rows.begin(), rows.end(), [](auto& s) { return s.EnemyKind < 0; });
      Expect(boss != rows.end(), "the mission has no boss");
      SpawnRow(W(), *boss);
      TFlyer* ship = W().FlyerList.Head()->Object;
      ship->Hit(ship->Health);
      Fly("wait 1300\n", TScreen::Won);
    });
    Add("the aircraft is shot down", 1, [this] {
      W().Player->Hit(W().Player->Health);
      Fly("wait 100\n", TScreen::ShotDown);
    });
  }

  // Flies on; the game may shoot the aircraft down meanwhile. A mission that ended hands its
  // credits over, whatever the flight earned or spent on repairs.
  void Fly(const std::string& script, TScreen expected) {
    d_.RunText(script);
    m_.Screen = F().Screen() == TScreen::ShotDown ? TScreen::ShotDown : expected;
    m_.R.GameOver = m_.Screen == TScreen::ShotDown;
    if (m_.Screen != TScreen::Won && m_.Screen != TScreen::ShotDown) return;
    m_.Flying = false;
    m_.R.Credits = W().State.Credits;
    d_.SetAutopilot(false, 0);
  }

  // --- The invariants ------------------------------------------------------------------------
  void Check() {
    const TScreen on = m_.Screen;
    Expect(F().Screen() == on, std::string(TForm1::ScreenName(F().Screen())) + " is open, not " +
                                   TForm1::ScreenName(on));
    if (on != TScreen::Mission && focusChecked_.insert(on).second) CheckFocus();
    std::vector<std::string> buttons;
    for (TControl* c : d_.ControlsInScriptOrder()) {
      auto* b = dynamic_cast<TButton*>(c);
      if (b) buttons.push_back(b->Caption() + (b->Enabled() ? "" : " (disabled)"));
    }
    Expect(buttons == Buttons(), "the buttons read " + Join(buttons));
    // The story, the briefing of the mission to fly and the campaign's last words, each in the
    // text box where it belongs, and the box hidden elsewhere.
    const bool story = on == TScreen::Intro;
    const std::string words = story                     ? "Noční můra pro všechny pozemšťany"
                              : on == TScreen::Briefing ? kBriefings[m_.R.Mission]
                              : on == TScreen::CampaignWon ? "Lidstvo je osvobozeno"
                                                           : "";
    bool said = words.empty();
    for (const std::string& line : F().Memo7.Lines()) said |= line.find(words) != line.npos;
    Expect(F().Memo7.Visible() == !words.empty() && said &&
               F().Memo7.Top() == (story ? 200 : 560) && F().Memo7.Height() == (story ? 400 : 105),
           "the text box does not say \"" + words + "\" where it should");
    if (!m_.InGame) return;
    const GameState& s = W().State;
    const TRecord held{s.Credits,    s.Mission,   s.Difficulty, s.AircraftKind,
                       s.CannonKind, s.SlotKinds, s.GameOver};
    TRecord expected = m_.R;
    if (m_.Flying) expected.Credits = held.Credits;  // a flight earns, and pays for repairs
    Expect(held == expected, "the record holds " + Show(held) + "; expected " + Show(expected));
    CheckFit();
    const bool browser = on == TScreen::WeaponBrowser || on == TScreen::CannonBrowser;
    const bool stock = browser || on == TScreen::WeaponShop;
    if (stock || on == TScreen::Hangar || on == TScreen::ShopMenu || on == TScreen::PlaneShop) {
      Expect(F().Edit1.Visible() && F().Edit1.Text() == "Kredit : " + std::to_string(s.Credits),
             "the credit box reads " + F().Edit1.Text());
    }
    for (int k = 0; k < 4; ++k) {
      const bool shown = on == TScreen::PlaneShop && Offered(kPlanes[k]);
      const std::vector<std::string>& lines = Memo(15 + k).Lines();
      Expect(Memo(15 + k).Visible() == shown &&
                 (!shown || (lines.size() == 8 && lines[0] == kPlanes[k].Named &&
                             lines[4] == "Pocet pridavnych zbrani : " + std::to_string(kSlots[k]) &&
                             lines[7] == kPlanes[k].Listed)),
             std::string("the memo of the ") + kPlanes[k].Named + " is wrong");
    }
    std::vector<std::string> list{"Dostupné zbraně:"};
    for (const TGood& g : kWeapons) {
      if (Offered(g)) list.push_back(g.Listed + std::to_string(g.Price));
    }
    list.insert(list.end(), {"", "Dostupné kanóny:"});
    for (const TGood& g : kCannons) {
      if (Offered(g)) list.push_back(g.Listed + std::to_string(g.Price));
    }
    Expect(F().Memo6.Visible() == stock && (!stock || F().Memo6.Lines() == list),
           "the stock list reads " + Join(F().Memo6.Lines()));
    Expect(F().Memo5.Visible() == browser, "the description is wrongly shown or hidden");
    if (!browser) return;
    const TGood& g =
        on == TScreen::WeaponBrowser ? kWeapons[m_.WeaponChoice] : kCannons[m_.CannonChoice];
    const std::string& text = F().Memo5.Lines().front();
    const std::string price = ". Cena : " + std::to_string(g.Price);
    Expect(F().Memo5.Lines().size() == 1 && text.rfind(g.Named + std::string(" "), 0) == 0 &&
               text.size() > price.size() && text.ends_with(price),
           "the browser shows \"" + text.substr(0, 24) + "...\", not " + g.Named);
  }

  std::vector<std::string> Buttons() const {
    const TRecord& r = m_.R;
    std::vector<std::string> c;
    if (m_.Screen == TScreen::PlaneShop) {
      c.push_back("Zpět");
      for (const TGood& g : kPlanes) {
        if (Offered(g)) c.push_back(r.Aircraft == kNone ? "Koupit" : "Koupit (disabled)");
      }
      c.push_back(r.Aircraft == kNone ? "Prodat (disabled)"
                                      : "Prodat (" + std::to_string(FitValue()) + ")");
    } else if (m_.Screen == TScreen::WeaponShop) {
      c.push_back("Zpet");
      for (size_t i = 0; i < size_t(kSlots[r.Aircraft]); ++i) {
        const uint8_t k = r.Slots[i];
        c.push_back(
            "Slot " + std::to_string(i) + " : " +
            (k == kNone ? "Koupit" : "Prodat  (" + std::to_string(kWeapons[k].Refund) + ")"));
      }
      c.push_back(r.Cannon == kNone
                      ? "Kanón : Koupit"
                      : "Kanón : Prodat (" + std::to_string(kCannons[r.Cannon].Refund) + ")");
    } else if (kButtons.count(m_.Screen)) {
      c = kButtons.at(m_.Screen);
    }
    return c;
  }

  // The record is what the aircraft carries: its kind, each slot's weapon and the cannon.
  void CheckFit() {
    if (m_.Screen == TScreen::ShotDown) return;  // the wreck went with its list
    const TAircraft* p = W().Player;
    const uint8_t kind = m_.R.Aircraft;
    Expect((p != nullptr) == (kind != kNone), "the aircraft held does not match the record");
    if (!p) return;
    Expect(p->Kind == kind && p->SlotCount == kSlots[kind], "the aircraft is of another kind");
    for (size_t i = 0; i < 5; ++i) {
      Expect(SlotKind(p->Slots[i].get()) == m_.R.Slots[i],
             "slot " + std::to_string(i) + " carries kind " +
                 std::to_string(SlotKind(p->Slots[i].get())));
    }
    Expect(CannonKind(p->Cannon.get()) == m_.R.Cannon,
           "the cannon is of kind " + std::to_string(CannonKind(p->Cannon.get())));
  }

  // Tab and Shift+Tab walk every control that takes the focus, round and back; from a button
  // Down and Right step to the next one, Up and Left back.
  void CheckFocus() {
    TControls& c = F().Controls;
    std::vector<TControl*> tab;
    for (TControl* x : c.All()) {
      if (x->CanFocus()) tab.push_back(x);
    }
    const auto at = std::find(tab.begin(), tab.end(), c.Focused());
    Expect(tab.empty() || at != tab.end(), "no control has the focus");
    const size_t n = tab.size(), first = size_t(at - tab.begin());
    auto press = [&](uint8_t key, bool shift, TControl* to, const char* name) {
      d_.Backend().SetKey(platform::vk::Shift, shift);
      d_.PressKey(key, 1);
      d_.Backend().SetKey(platform::vk::Shift, false);
      Expect(c.Focused() == to, std::string(name) + " moves the focus to " +
                                    (c.Focused() ? c.Focused()->Name : "nothing") + ", not " +
                                    to->Name);
    };
    for (size_t i = 1; i <= n; ++i) press(platform::vk::Tab, false, tab[(first + i) % n], "Tab");
    for (size_t i = 1; i <= n; ++i)
      press(platform::vk::Tab, true, tab[(first + n - i) % n], "Shift+Tab");
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
    if (n > 0) c.SetFocus(tab[first]);
  }

  struct TModel {
    TScreen Screen = TScreen::MainMenu;
    bool InGame = false, Flying = false;
    TRecord R;
    std::optional<TRecord> Saved;
    uint8_t WeaponChoice = 0, CannonChoice = 0;
    size_t TargetSlot = 0;
  } m_;
  std::mt19937_64 random_;
  TPlayDir play_;
  TUiDriver d_;
  std::vector<TOption> options_;
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
  if (only >= 0 && GetParam() > 0) GTEST_SKIP() << "replaying seed " << only << " alone";
  const uint64_t seed = only >= 0 ? uint64_t(only) : 20261209u + uint64_t(GetParam());
  TWalk walk(seed);
  std::string report;
  for (int64_t i = EnvNumber("SK_WALK_STEPS", 400); i > 0; --i) {
    ASSERT_TRUE(walk.Step(report)) << "campaign walk, seed " << seed << ", " << report;
  }
}
INSTANTIATE_TEST_SUITE_P(Seeds, CampaignWalk, ::testing::Range(0, 5));

// Scripted tours through the same model: every screen between flights has its focus keys
// walked, and a game loaded after browsing a later mission's goods shows only its own.
TEST(CampaignTour, EveryScreenAndABrowserAfterALoad) {
  std::string tour =
      "Rekordy|Zpět|Záznamy letů|Zpět|Nová hra|Zpět|Nová hra|Težká "
      "obtížnost|Pokračuj|Nakupovat/prodávat|Obchodovat s letadly|"
      "Koupit Jaguar|Zpět|Obchodovat se zbraněmi|Slot 0 : Koupit|Zpet|Obchodovat se zbraněmi|"
      "Kanón : Koupit|Koupit 20mm Vulcan.|Zpet|Zpět|Letět další misi|Letět misi|key Escape|"
      "Zpět od hry|the aircraft is shot down|Zpět do menu|Nová hra|Lehká obtížnost|Pokračuj|"
      "Nakupovat/prodávat|Obchodovat s letadly|Koupit Jaguar|Zpět|Obchodovat se zbraněmi|"
      "Kanón : Koupit|Koupit 20mm Vulcan.|Zpet|Zpět|";
  // Each mission's goods on every shop screen, then the mission won.
  const std::string flight =
      "Nakupovat/prodávat|Obchodovat s letadly|Zpět|Obchodovat se zbraněmi|Zpet|Zpět|"
      "Letět další misi|Letět misi|the boss is shot down|Pokračuj|";
  tour += flight + "Uložit hru|" + flight + flight + flight;
  // Mission 4's goods in the browsers: the heavy laser, the triple cannon.
  tour +=
      "Nakupovat/prodávat|Obchodovat se zbraněmi|Slot 0 : Koupit|Předchozí zbraň|Zpet|"
      "Obchodovat se zbraněmi|Kanón : Prodat (800)|Kanón : Koupit|Předchozí kanón|Zpet|Zpět|";
  tour += flight + flight +
          "Pokračuj|Nahrát hru|Nakupovat/prodávat|Obchodovat se zbraněmi|"
          "Slot 0 : Koupit|Koupit Rakety Vzduch/Vzduch.|Kanón : Prodat (800)|Kanón : Koupit|"
          "Koupit 20mm Vulcan.|";
  TWalk walk(1);
  std::string report;
  for (size_t at = 0, end; (end = tour.find('|', at)) != std::string::npos; at = end + 1) {
    ASSERT_TRUE(walk.Step(report, tour.substr(at, end - at))) << report;
  }
  std::set<TScreen> all = {TScreen::PlaneShop, TScreen::WeaponShop};
  for (const auto& [screen, buttons] : kButtons) all.insert(screen);
  EXPECT_EQ(walk.FocusChecked(), all);
}

}  // namespace
