// Every frame of a flight as the player sees it, through the whole program on the headless
// display at several refresh rates: a mission flown by the pilot with a mother ship, bonuses
// and its own shots about, paused and resumed, won, and the next mission begun. On every frame
// each thing of every list is drawn at its frame's fraction of the way between the places of
// the last two ticks (where it stands when it is new, jumped, or the flight just began or
// resumed), the terrain covers the whole picture and never steps back, and the frame
// statistics count exactly the frames shown, with no interval reaching across a pause.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/bonus.h"
#include "core/level.h"
#include "core/tick.h"
#include "enemies/boss.h"
#include "enemies/enemy.h"
#include "flyers/aircraft.h"
#include "flyers/projectile.h"
#include "flyers/weapon.h"
#include "ui_driver.h"

namespace {

// What a frame drew, by the kind of thing: the lists draw in this order.
enum TKind : size_t { kAircraft, kEnemy, kBoss, kProjectile, kShell, kEffect, kBonus, kKinds };
constexpr std::array<const char*, kKinds> kKindNames = {
    "aircraft", "enemy", "mother ship", "projectile", "shell", "effect", "bonus"};

// A colour no picture of the game has: whatever of it is left after a frame, the frame
// did not draw over.
constexpr TColor kBare = 0x00FE01FD;

struct TPlace {
  int32_t X = 0, Y = 0;
};

struct TSprite {
  TKind Kind;
  int32_t X, Y;
};

// One thing a frame is to draw: where the latest tick found it and where it stands.
struct TDue {
  TKind Kind;
  bool Found;  // the latest tick found it: it was there as that tick began
  TPlace From, To;
};

class TFrameWatch {
 public:
  TFrameWatch(TUiDriver& d, int32_t hz) : d_(d), w_(d.GameWorld()), hz_(hz) {
    d.Backend().SetRefreshRate(hz);
    TForm1& form = d.Form();
    auto tick = std::move(form.UpdateTimer.OnTimer);
    form.UpdateTimer.OnTimer = [this, tick = std::move(tick)] {
      BeforeTick();
      tick();
      tickMicros_ = d_.Backend().NowMicros();
      ++ticks_;
    };
    auto frame = std::move(form.DrawTimer.OnTimer);
    form.DrawTimer.OnTimer = [this, frame = std::move(frame)](int32_t lag) { Frame(frame, lag); };
  }

  int64_t Frames() const { return frames_; }
  int64_t Stretches() const { return stretches_; }
  int64_t Repeated() const { return repeated_; }
  int64_t Faults() const { return faults_; }
  const std::string& FirstFault() const { return firstFault_; }
  // Draws of each kind, and those that lay strictly between a thing's two tick places.
  const std::array<int64_t, kKinds>& Drawn() const { return drawn_; }
  const std::array<int64_t, kKinds>& Between() const { return between_; }

 private:
  template <class List>
  void Remember(const List& list) {
    for (auto* n = list.Head(); n; n = n->Next) before_[n->Object] = {n->Object->X, n->Object->Y};
  }

  void BeforeTick() {
    // The pilot is no yardstick here: the aircraft is kept whole so the flight goes on.
    if (w_.Player) w_.Player->Health = w_.Player->MaxHealth;
    before_.clear();
    Remember(w_.FlyerList);
    Remember(w_.ShellList);
    Remember(w_.BonusList);
  }

  static TKind KindOf(const TFlyer& f) {
    if (dynamic_cast<const TAircraft*>(&f)) return kAircraft;
    if (dynamic_cast<const TEnemy*>(&f)) return kEnemy;
    if (dynamic_cast<const TBoss*>(&f)) return kBoss;
    return kProjectile;
  }

  template <class Thing>
  TDue DueOf(TKind kind, const Thing& o) const {
    const auto from = before_.find(&o);
    // A thing the latest tick freed may leave its memory to one it made: the tick's own mark
    // tells them apart.
    const bool found = from != before_.end() && o.Last.Tick == w_.MotionTick;
    return {kind, found, found ? from->second : TPlace{o.X, o.Y}, {o.X, o.Y}};
  }

  // Everything the frame is to draw, in the lists' drawing order.
  std::vector<TDue> Due() const {
    std::vector<TDue> due;
    for (auto* n = w_.FlyerList.Head(); n; n = n->Next) {
      if (n->Object->Alive) due.push_back(DueOf(KindOf(*n->Object), *n->Object));
    }
    for (auto* n = w_.ShellList.Head(); n; n = n->Next) {
      if (n->Object->Alive) due.push_back(DueOf(kShell, *n->Object));
    }
    for (auto* n = w_.EffectList.Head(); n; n = n->Next) {
      const TEffect& e = *n->Object;
      if (e.Alive && e.Frame >= 0) due.push_back({kEffect, false, {e.X, e.Y}, {e.X, e.Y}});
    }
    for (auto* n = w_.BonusList.Head(); n; n = n->Next) {
      if (n->Object->Alive) due.push_back(DueOf(kBonus, *n->Object));
    }
    return due;
  }

  // Which kind of thing drew a sprite, by the picture it drew; false for the terrain and the
  // status bar.
  bool SpriteKind(const TPictureCollectionItem& item, TKind& kind) const {
    const TFormComponents& m = w_.Media;
    auto in = [&](const TDXImageList& list) {
      for (int32_t i = 0; i < list.Items.Count(); ++i) {
        if (&list.Items[i] == &item) return i;
      }
      return -1;
    };
    const int32_t effect = in(m.EffectPictures);
    if (in(m.HCFlyerPictures) >= 0)
      kind = kAircraft;
    else if (in(m.EnemyShipsPictures) >= 0)
      kind = kEnemy;
    else if (in(m.BossPicture) >= 0)
      kind = kBoss;
    else if (in(m.RocketPictures) >= 0)
      kind = kProjectile;
    else if (in(m.ShotPictures) >= 0)
      kind = kShell;
    else if (effect == epHealthBonus || effect == epCreditBonus)
      kind = kBonus;
    else if (effect >= 0)
      kind = kEffect;
    else
      return false;
    return true;
  }

  void Fault(const std::string& what) {
    if (faults_++ == 0)
      firstFault_ = std::to_string(hz_) + " Hz, frame " + std::to_string(frames_) + ", tick " +
                    std::to_string(ticks_) + ": " + what;
  }

  void Frame(const std::function<void(int32_t)>& frame, int32_t lag) {
    const uint64_t now = d_.Backend().NowMicros();
    const bool smooth = d_.Form().SmoothMotion;
    // The fraction of the tick interval since the latest tick ran; a flight that began or
    // resumed since has not ticked for longer than that.
    const double fraction = smooth && ticks_ > 0
                                ? std::min(1.0, static_cast<double>(now - tickMicros_) / 10000.0)
                                : 1.0;
    const std::vector<TDue> due = Due();
    // Smooth frames step over whole rows before they draw; frames as the ticks stand draw the
    // row they find, then step on.
    const int64_t rowBefore = w_.Level.ScrollRow;
    TDirectDrawSurface& surface = w_.Media.DXDraw1.Surface();
    if (smooth && !w_.State.GameOver) surface.Fill(kBare);
    const uint32_t bare = surface.PixelAt(0, 0);  // the colour as the back buffer holds it
    std::vector<TSprite> sprites;
    int32_t terrainY = INT32_MIN;
    const TPictureCollectionItem* tiles = &w_.Media.BackgroundPictures.Items[0];
    surface.SpriteDrawn = [&](const TPictureCollectionItem& item, int32_t x, int32_t y, int32_t) {
      TKind kind;
      if (&item == tiles) {
        if (terrainY == INT32_MIN) terrainY = y;  // the first tile: column 0 of the bottom row
      } else if (SpriteKind(item, kind)) {
        sprites.push_back({kind, x, y});
      }
    };
    frame(lag);
    surface.SpriteDrawn = nullptr;
    if (terrainY == INT32_MIN) return;  // nothing was drawn
    ++frames_;
    CheckSprites(due, sprites, fraction);
    if (smooth) CheckCovered(surface, bare);
    FollowTerrain(now, (smooth ? w_.Level.ScrollRow : rowBefore) * 32 + (terrainY - 736));
  }

  void CheckSprites(const std::vector<TDue>& due, const std::vector<TSprite>& sprites,
                    double fraction) {
    if (due.size() != sprites.size()) {
      Fault(std::to_string(due.size()) + " things to draw, " + std::to_string(sprites.size()) +
            " drawn");
      return;
    }
    for (size_t i = 0; i < due.size(); ++i) {
      const TDue& t = due[i];
      const TSprite& s = sprites[i];
      const int64_t dx = int64_t{t.To.X} - t.From.X, dy = int64_t{t.To.Y} - t.From.Y;
      const bool jumped = std::llabs(dx) > 256 || std::llabs(dy) > 256;
      const double f = t.Found && !jumped ? fraction : 1.0;
      const double x = t.From.X + f * static_cast<double>(dx);
      const double y = t.From.Y + f * static_cast<double>(dy);
      if (s.Kind != t.Kind || std::abs(s.X - x) > 0.5 + 1e-9 || std::abs(s.Y - y) > 0.5 + 1e-9) {
        Fault(std::string(kKindNames[t.Kind]) + " from (" + std::to_string(t.From.X) + ", " +
              std::to_string(t.From.Y) + ") to (" + std::to_string(t.To.X) + ", " +
              std::to_string(t.To.Y) + ") at fraction " + std::to_string(f) + " drawn as " +
              kKindNames[s.Kind] + " at (" + std::to_string(s.X) + ", " + std::to_string(s.Y) +
              ")");
      }
      ++drawn_[t.Kind];
      between_[t.Kind] += f > 0 && f < 1 && (dx != 0 || dy != 0);
    }
  }

  void CheckCovered(const TDirectDrawSurface& surface, uint32_t bareColour) {
    const uint32_t* begin = surface.Pixels();
    const uint32_t* end = begin + static_cast<size_t>(surface.Width()) * surface.Height();
    const uint32_t* bare = std::find(begin, end, bareColour);
    if (bare != end) {
      Fault("the terrain left pixels bare from row " +
            std::to_string((bare - begin) / surface.Width()));
    }
  }

  // The terrain's place along the map (pixels), frame after frame: within a stretch of flight
  // and across a pause it never stands back and never gets further ahead than the ticks
  // carried it (2 pixels each), give or take the rounding of the two frames.
  void FollowTerrain(uint64_t now, int64_t place) {
    const bool resumed = frames_ > 1 && now - lastFrameMicros_ > 100000;
    const bool newMission = frames_ == 1 || w_.State.Mission != lastMission_;
    if (newMission || resumed) ++stretches_;
    if (!newMission) {
      const int64_t step = place - lastPlace_, ticks = ticks_ - lastFrameTicks_;
      if (step < 0 || step > 2 * ticks + 2) {
        Fault("the terrain stepped " + std::to_string(step) + " pixels over " +
              std::to_string(ticks) + " ticks" + (resumed ? " across a pause" : ""));
      }
      if (!resumed && step == 0) ++repeated_;
    }
    lastPlace_ = place;
    lastFrameMicros_ = now;
    lastFrameTicks_ = ticks_;
    lastMission_ = w_.State.Mission;
  }

  TUiDriver& d_;
  World& w_;
  int32_t hz_;
  std::unordered_map<const void*, TPlace> before_;  // places as the latest tick began
  uint64_t tickMicros_ = 0;
  int64_t ticks_ = 0, frames_ = 0, stretches_ = 0, repeated_ = 0, faults_ = 0;
  std::string firstFault_;
  std::array<int64_t, kKinds> drawn_{}, between_{};
  int64_t lastPlace_ = 0, lastFrameTicks_ = 0;
  uint64_t lastFrameMicros_ = 0;
  int32_t lastMission_ = -1;
};

struct TRate {
  int32_t Hz;
  bool Smooth;
};

class FramesSeen : public ::testing::TestWithParam<TRate> {};

TEST_P(FramesSeen, EveryThingOnEveryFrameLiesWhereItsTicksPutItAndEveryFrameIsCounted) {
  const auto [hz, smooth] = GetParam();
  TUiDriver d{SK_DATA_DIR, 7};
  World& w = d.GameWorld();
  TForm1& form = d.Form();
  form.SmoothMotion = smooth;
  TFrameWatch watch{d, hz};
  auto screen = [&] { return std::string(TForm1::ScreenName(form.Screen())); };
  d.RunText(
      "choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\nclick \"Nová hra\"\n"
      "click \"Středni obtížnost\"\nclick \"Pokračuj\"\n");
  ASSERT_EQ(screen(), "hangar");
  w.SetPlayer(MakeAircraft(w, akJaguar, kNewAircraftX, kNewAircraftY));
  w.State.AircraftKind = akJaguar;
  w.Player->Cannon = MakeCannon(w, ckVulcan);
  w.Player->Slots[0] = MakeWeapon(w, wkMiniMissiles);
  d.RunText("click \"Letět další misi\"\nclick \"Letět misi\"\n");
  ASSERT_EQ(screen(), "mission");
  // Falling bonuses and a mother ship firing from the start, for every kind of thing.
  w.BonusList.Push(std::make_unique<THealthBonus>(w, 200, 0));
  w.BonusList.Push(std::make_unique<TCreditBonus>(w, 700, 40));
  SpawnRow(w, {100, -120, -1, 0, 0});
  d.SetAutopilot(true, 3);
  d.Wait(2500);
  d.SetAutopilot(false, 0);
  d.RunText("key Escape\nwait 500\n");
  ASSERT_EQ(screen(), "paused");
  d.RunText("click \"Zpět od hry\"\n");
  d.SetAutopilot(true, 3);
  d.Wait(1500);
  MissionEnd(w, true);  // the mother ship is down: 1.2 s of the countdown, then the victory
  d.Wait(1300);
  ASSERT_EQ(screen(), "won");
  d.SetAutopilot(false, 0);
  w.BonusList.Push(std::make_unique<TCreditBonus>(w, 500, 100));  // carried into the next
  d.RunText("click \"Pokračuj\"\nclick \"Letět další misi\"\nclick \"Letět misi\"\n");
  ASSERT_EQ(screen(), "mission");
  d.SetAutopilot(true, 3);
  d.Wait(1000);

  EXPECT_EQ(watch.Faults(), 0) << watch.FirstFault();
  // Over 6 s of flight in three stretches (started, resumed, the next mission started).
  EXPECT_EQ(watch.Stretches(), 3);
  EXPECT_GT(watch.Frames(), 6 * hz);
  for (size_t k = 0; k < kKinds; ++k) {
    EXPECT_GT(watch.Drawn()[k], 0) << kKindNames[k];
    // With smooth frames every moving kind is seen between its two tick places.
    if (smooth && k != kEffect) {
      EXPECT_GT(watch.Between()[k], 0) << kKindNames[k];
    }
  }

  const TFrameStats& stats = form.FrameStats;
  EXPECT_EQ(stats.Flights(), 2);
  EXPECT_EQ(stats.Frames(), watch.Frames());
  EXPECT_EQ(stats.Intervals(), watch.Frames() - watch.Stretches());
  EXPECT_EQ(stats.Repeated(), watch.Repeated());
  // Every interval is one refresh period: none reaches across the pause or the screens
  // between the missions. The bins are 10 us wide, and reported by their middles.
  const double period = 1e6 / hz;
  EXPECT_NEAR(stats.PercentileMicros(0.5), period, 10.0);
  EXPECT_NEAR(stats.PercentileMicros(1.0), period, 10.0);
}

// Smooth at 60 and 165 Hz; as each tick stands at 144 Hz, where 44 frames a second show the
// terrain where the frame before did, and the statistics must count each of them.
INSTANTIATE_TEST_SUITE_P(Rates, FramesSeen,
                         ::testing::Values(TRate{60, true}, TRate{165, true}, TRate{144, false}),
                         [](const ::testing::TestParamInfo<TRate>& p) {
                           return std::to_string(p.param.Hz) + "Hz" +
                                  (p.param.Smooth ? "Smooth" : "AsTicksStand");
                         });

}  // namespace
