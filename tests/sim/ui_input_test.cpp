// Clicks and keys nobody meant, through the real screens on the generated content: the second
// press of a double-click on a button that the first one replaced, a key or pad button held
// into a new screen, and the key that resumed a flight from the pause acting in it.
#include <gtest/gtest.h>

#include "core/level.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "ui_driver.h"

namespace {

namespace vk = platform::vk;
using platform::EventKind;

struct UiInputTest : ::testing::Test {
  TUiDriver d{SK_DATA_DIR, 7};
  World& w = d.GameWorld();
  TForm1& form = d.Form();

  std::string Screen() { return TForm1::ScreenName(form.Screen()); }
  void Script(const std::string& script) {
    try {
      d.RunText(script);
    } catch (const EUiFailure& e) {
      FAIL() << e.what();
    }
  }
  // A new easy game, in the hangar with the Jaguar bought (10000 credits left).
  void HangarWithJaguar() {
    Script(
        "choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\nclick \"Nová hra\"\n"
        "click \"Lehká obtížnost\"\nclick \"Pokračuj\"\nclick \"Nakupovat/prodávat\"\n"
        "click \"Obchodovat s letadly\"\nclick \"Koupit\"\nclick \"Zpět\"\n"
        "click \"Obchodovat se zbraněmi\"\n");
    ASSERT_EQ(Screen(), "weapon-shop");
  }
  void Key(EventKind kind, uint8_t key, bool repeat = false) {
    d.Backend().SetKey(key, kind == EventKind::KeyDown);
    platform::Event e;
    e.Kind = kind;
    e.Key = key;
    e.Repeat = repeat;
    d.Backend().PushEvent(e);
    d.App().ProcessMessages();
  }
  void Pad(EventKind kind) {
    platform::JoystickState js;
    js.Present = true;
    js.Scaled = true;
    js.Buttons = kind == EventKind::PadDown ? 1u : 0u;  // button 1 is the pad's Accept
    d.Backend().SetJoystick(js);
    platform::Event e;
    e.Kind = kind;
    e.Pad = platform::PadButton::Accept;
    d.Backend().PushEvent(e);
    d.App().ProcessMessages();
  }
  // Projectiles of the player's side in flight: what the weapons fired.
  int PlayerShots() {
    int n = 0;
    for (auto* node = w.FlyerList.Head(); node; node = node->Next) {
      if (node->Object != w.Player && node->Object->Side == kSidePlayer) ++n;
    }
    return n;
  }
};

TEST_F(UiInputTest, ADoubleClickOnKoupitInTheCannonBrowserBuysOneCannonAndKeepsIt) {
  HangarWithJaguar();
  Script(
      "click \"Kanón : Koupit\"\nexpect \"20mm Vulcan.\"\ndouble-click \"Koupit\"\n"
      "expect \"Kanón : Prodat (800)\"\nexpect \"Kredit : 9000\"\n");
  EXPECT_EQ(Screen(), "weapon-shop");
  EXPECT_EQ(w.State.CannonKind, 0);
  ASSERT_NE(w.Player, nullptr);
  EXPECT_NE(w.Player->Cannon, nullptr);
  EXPECT_EQ(w.State.Credits, 9000);
}

TEST_F(UiInputTest, ADoubleClickOnKoupitInTheWeaponBrowserBuysTheWeaponAndKeepsTheCannon) {
  HangarWithJaguar();
  // "Koupit" of the weapon browser lies where the weapon screen shows the cannon's sale.
  Script(
      "click \"Kanón : Koupit\"\nclick \"Koupit\"\nclick \"Slot 0 : Koupit\"\n"
      "double-click \"Koupit\"\nexpect \"Slot 0 : Prodat  (4000)\"\n"
      "expect \"Kanón : Prodat (800)\"\nexpect \"Kredit : 4000\"\n");
  EXPECT_EQ(w.State.CannonKind, 0);
  EXPECT_EQ(w.State.SlotKinds[0], 0);
  ASSERT_NE(w.Player, nullptr);
  EXPECT_NE(w.Player->Cannon, nullptr);
}

TEST_F(UiInputTest, ADoubleClickOnAnUnchangedButtonStillCountsTwice) {
  HangarWithJaguar();
  // Mission 4 offers four weapons and three cannons, so two steps differ from one and none.
  SetOffers(w.Level.Offers, 3);
  Script("click \"Slot 0 : Koupit\"\ndouble-click \"Další zbraň\"\n");
  EXPECT_EQ(form.ScreenState.WeaponChoice, 2);
  Script("double-click \"Předchozí zbraň\"\nclick \"Zpet\"\nclick \"Obchodovat se zbraněmi\"\n");
  EXPECT_EQ(form.ScreenState.WeaponChoice, 0);
  Script("click \"Kanón : Koupit\"\ndouble-click \"Další kanón\"\n");
  EXPECT_EQ(form.ScreenState.CannonChoice, 2);
  EXPECT_EQ(Screen(), "cannon-browser");
}

TEST_F(UiInputTest, AnEnterOrPadButtonHeldIntoANewScreenPressesNothing) {
  Script("choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\n");
  ASSERT_EQ(Screen(), "main-menu");
  // Enter on "Nová hra", held: the difficulty menu's first button has the focus, and the
  // key's repeats do not press it.
  Key(EventKind::KeyDown, vk::Return);
  ASSERT_EQ(Screen(), "difficulty");
  for (int i = 0; i < 5; ++i) Key(EventKind::KeyDown, vk::Return, true);
  d.Wait(500);
  EXPECT_EQ(Screen(), "difficulty");
  Key(EventKind::KeyUp, vk::Return);
  // Back with the pad: "Zpět" is the fourth button; Accept, held, walks no further.
  for (int i = 0; i < 3; ++i) {
    d.Backend().PushKeyPress(vk::Down);
    d.App().ProcessMessages();
  }
  Pad(EventKind::PadDown);
  ASSERT_EQ(Screen(), "main-menu");
  d.Wait(500);
  Pad(EventKind::PadDown);  // a second report of the same held button
  EXPECT_EQ(Screen(), "main-menu");
  Pad(EventKind::PadUp);
  Pad(EventKind::PadDown);  // released and pressed again: "Nová hra"
  EXPECT_EQ(Screen(), "difficulty");
  Pad(EventKind::PadUp);
}

TEST_F(UiInputTest, EnterThatStartsTheMissionFiresOnlyOnceReleased) {
  HangarWithJaguar();
  w.Player->Slots[0] = MakeWeapon(w, 1);  // mini missiles: ready every tenth tick
  Script("click \"Zpet\"\nclick \"Zpět\"\nclick \"Letět další misi\"\n");
  ASSERT_EQ(Screen(), "briefing");
  Key(EventKind::KeyDown, vk::Return);  // "Letět misi" has the focus
  ASSERT_EQ(Screen(), "mission");
  d.Wait(300);
  EXPECT_EQ(PlayerShots(), 0) << "the Enter that started the mission fired";
  Key(EventKind::KeyUp, vk::Return);
  d.Wait(20);
  Key(EventKind::KeyDown, vk::Return);
  d.Wait(100);
  EXPECT_GT(PlayerShots(), 0);
}

TEST_F(UiInputTest, EnterThatResumesFromThePauseFiresOnlyOnceReleasedWhileSteeringGoesOn) {
  HangarWithJaguar();
  w.Player->Slots[0] = MakeWeapon(w, 1);  // mini missiles: ready every tenth tick
  Script("click \"Zpet\"\nclick \"Zpět\"\nclick \"Letět další misi\"\nclick \"Letět misi\"\n");
  ASSERT_EQ(Screen(), "mission");
  // Left steers from before the pause to after it.
  d.Backend().SetKey(vk::Left, true);
  Script("wait 200\nkey Escape\n");
  ASSERT_EQ(Screen(), "paused");
  const int32_t x = w.Player->X;
  ASSERT_EQ(PlayerShots(), 0);
  Key(EventKind::KeyDown, vk::Return);  // "Zpět od hry" has the focus
  ASSERT_EQ(Screen(), "mission");
  d.Wait(300);
  EXPECT_EQ(PlayerShots(), 0) << "the Enter that resumed fired";
  // Steered on, 300 ms at full speed; let go, the speed it had would die away within 90 px.
  EXPECT_LT(w.Player->X, x - 150) << "Left held through the pause stopped steering";
  Key(EventKind::KeyUp, vk::Return);
  d.Wait(20);  // the game polls its keys once a tick
  Key(EventKind::KeyDown, vk::Return);
  d.Wait(100);
  EXPECT_GT(PlayerShots(), 0);
}

TEST_F(UiInputTest, AltEnterAndF11SwitchTheFullScreenWithoutPressingFiringOrPausing) {
  HangarWithJaguar();
  // In a menu: Alt+Enter switches and does not press the focused "Zpet".
  d.Backend().SetKey(vk::Menu, true);
  Key(EventKind::KeyDown, vk::Return);
  EXPECT_TRUE(d.Backend().Window().Fullscreen);
  EXPECT_EQ(Screen(), "weapon-shop");
  Key(EventKind::KeyUp, vk::Return);
  d.Backend().SetKey(vk::Menu, false);
  Key(EventKind::KeyDown, vk::F1 + 10);
  Key(EventKind::KeyUp, vk::F1 + 10);
  EXPECT_FALSE(d.Backend().Window().Fullscreen);
  EXPECT_EQ(Screen(), "weapon-shop");

  w.Player->Slots[0] = MakeWeapon(w, 1);
  Script("click \"Zpet\"\nclick \"Zpět\"\nclick \"Letět další misi\"\nclick \"Letět misi\"\n");
  ASSERT_EQ(Screen(), "mission");
  d.Backend().SetKey(vk::Left, true);
  d.Wait(100);
  const int32_t x = w.Player->X;
  // In flight: the flight goes on, steered, and the Enter of Alt+Enter fires nothing.
  d.Backend().SetKey(vk::Menu, true);
  Key(EventKind::KeyDown, vk::Return);
  EXPECT_TRUE(d.Backend().Window().Fullscreen);
  d.Wait(300);
  EXPECT_EQ(Screen(), "mission");
  EXPECT_EQ(PlayerShots(), 0) << "the Enter of Alt+Enter fired";
  EXPECT_LT(w.Player->X, x - 150) << "the flight stood still while switching";
  Key(EventKind::KeyUp, vk::Return);
  d.Backend().SetKey(vk::Menu, false);
  d.Wait(20);  // the game polls its keys once a tick
  Key(EventKind::KeyDown, vk::F1 + 10);
  Key(EventKind::KeyUp, vk::F1 + 10);
  EXPECT_FALSE(d.Backend().Window().Fullscreen);
  EXPECT_EQ(Screen(), "mission");
  // Enter alone, pressed afresh, fires and switches nothing.
  Key(EventKind::KeyDown, vk::Return);
  d.Wait(100);
  EXPECT_GT(PlayerShots(), 0);
  EXPECT_FALSE(d.Backend().Window().Fullscreen);
}

}  // namespace
