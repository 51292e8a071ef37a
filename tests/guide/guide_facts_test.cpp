// The player's guide reads its numbers from the game; these check that what it reads is what
// the game's shop says and promises, so neither the measuring nor the texts drift unseen.
#include "guide_facts.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"
#include "shell/asset_loader.h"
#include "shell/shop_texts.h"

namespace {

namespace fs = std::filesystem;

// Read once for all the tests: it loads the content and runs the difficulty screen.
struct GuideFacts : ::testing::Test {
  static const TGuideFacts& Read() {
    static const TGuideFacts facts = Measure();
    return facts;
  }
  static TGuideFacts Measure() {
    const auto here = fs::current_path();
    fs::current_path(SK_DATA_DIR);
    platform::HeadlessBackend backend;
    TFormComponents media(backend);
    LoadAssets(media);
    LoadSounds(media);
    TGuideFacts facts = GatherFacts(media, SK_DATA_DIR);
    fs::current_path(here);
    return facts;
  }
};

// The shop's description of a weapon or cannon names the power of each shot in points
// ("... o síle 40 bodů", "ubere jen 2 body"): the measured power must be the one it names, and
// every kind is sold back for less than it costs, offered from some mission on.
TEST_F(GuideFacts, WhatTheShotsDoIsWhatTheShopSaysAndEverySaleLosesMoney) {
  const TGuideFacts& g = Read();
  ASSERT_EQ(g.Weapons.size(), 6u);
  ASSERT_EQ(g.Cannons.size(), 4u);
  ASSERT_EQ(g.Aircraft.size(), 4u);
  auto check = [&](const TWeaponFacts& w, const std::string& text) {
    EXPECT_EQ(w.Name, NameOf(text));
    std::string power = " ";  // appended: GCC 12 at -O3 mistakes literal + temporary for overlap
    power += std::to_string(w.Power);
    power += " bod";
    EXPECT_NE(text.find(power), std::string::npos) << w.Name << " power " << w.Power;
    EXPECT_GE(w.Count, 1) << w.Name;
    EXPECT_GT(w.RechargeTicks, 0) << w.Name;
    EXPECT_LT(w.Refund, w.Price) << w.Name;
    EXPECT_GE(w.FromMission, 1) << w.Name;
    EXPECT_LE(w.FromMission, g.Missions) << w.Name;
  };
  for (size_t k = 0; k < g.Weapons.size(); ++k)
    check(g.Weapons[k], WeaponDescription(static_cast<int>(k)));
  for (size_t k = 0; k < g.Cannons.size(); ++k)
    check(g.Cannons[k], CannonDescription(static_cast<int>(k)));
  for (const TAircraftFacts& a : g.Aircraft) {
    EXPECT_LT(a.Refund, a.Price) << a.Name;
    EXPECT_GE(a.FromMission, 1) << a.Name;
  }
  // A new player can buy an aircraft and a cannon in the first mission's shop, whatever the
  // difficulty.
  EXPECT_EQ(g.Aircraft[0].FromMission, 1);
  EXPECT_EQ(g.Cannons[0].FromMission, 1);
  for (const TDifficultyFacts& d : g.Difficulties)
    EXPECT_LE(g.Aircraft[0].Price + g.Cannons[0].Price, d.StartCredits) << d.Name;
}

// Worked out by hand from the shop's descriptions: the AA missiles leave in pairs about twice a
// second, the mini missiles one at a time ten times a second, the plasma balls burst into six
// fragments, the Trojblok fires three shells; the heavy laser alone strikes every tick.
TEST_F(GuideFacts, ShotsAreCountedAsTheyLeave) {
  const TGuideFacts& g = Read();
  EXPECT_EQ(g.Weapons[0].Count, 2);
  EXPECT_EQ(g.Weapons[0].RechargeTicks, 51);
  EXPECT_EQ(g.Weapons[1].Count, 1);
  EXPECT_EQ(g.Weapons[1].RechargeTicks, 10);
  EXPECT_EQ(g.Weapons[5].Fragments, 6);
  EXPECT_EQ(g.Weapons[5].FragmentPower, 50);
  EXPECT_EQ(g.Cannons[3].Count, 3);
  for (size_t k = 0; k < g.Weapons.size(); ++k) EXPECT_EQ(g.Weapons[k].EveryTick, k == 4) << k;
}

// The difficulty screen's three choices, in order, and what they change: enemies grow tougher
// with each, never weaker.
TEST_F(GuideFacts, TheDifficultiesAreTheScreensThreeChoicesEachHarder) {
  const TGuideFacts& g = Read();
  ASSERT_EQ(g.Difficulties.size(), 3u);
  EXPECT_EQ(g.Difficulties[0].Name, "Lehká obtížnost");
  EXPECT_EQ(g.Difficulties[1].Name, "Středni obtížnost");
  EXPECT_EQ(g.Difficulties[2].Name, "Težká obtížnost");
  EXPECT_EQ(g.Difficulties[0].Code, 0);
  EXPECT_EQ(g.Difficulties[1].Code, 2);
  EXPECT_EQ(g.Difficulties[2].Code, 4);
  EXPECT_EQ(g.Difficulties[1].FighterShellDamage, 5);
  for (size_t d = 1; d < 3; ++d) {
    ASSERT_EQ(g.Difficulties[d].EnemyHealth.size(), g.Difficulties[0].EnemyHealth.size());
    EXPECT_GT(g.Difficulties[d].FighterShellDamage, g.Difficulties[d - 1].FighterShellDamage);
    for (size_t k = 0; k < g.Difficulties[d].EnemyHealth.size(); ++k)
      EXPECT_GT(g.Difficulties[d].EnemyHealth[k], g.Difficulties[d - 1].EnemyHealth[k]) << k;
  }
  ASSERT_FALSE(g.Settings.empty());
  EXPECT_EQ(g.Settings.front().Name, "key_up");
  EXPECT_EQ(g.Settings.front().Default, "K, Up, Keypad 8");
}

}  // namespace
