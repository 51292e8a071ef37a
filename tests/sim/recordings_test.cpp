// The screens of records and recorded flights as a player uses them: every recording listed
// newest first, a damaged one and one of another version said to be such and not played, all
// the others played and left back to their page, one deleted after asking; the records filled
// by won flights and the victory that set one saying so; the title that flies by itself
// giving way to the first input without acting on it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/asset_catalog.h"
#include "core/tick.h"
#include "play_dir.h"
#include "replay/game_version.h"
#include "shell/flight_texts.h"
#include "shell/list_screens.h"
#include "shell/record_store.h"
#include "shell/replay_viewer.h"
#include "support/temp_dir.h"
#include "ui_driver.h"

namespace {

namespace fs = std::filesystem;
using TScreen = TForm1::TScreen;

const char* const kCorpus[] = {"mission1-easy-won",  "mission2-medium", "mission3-hard-repair",
                               "mission4-hard-lost", "mission5-medium", "mission6-hard"};

TReplay Corpus(int i) {
  return ReadReplayFile(std::string(SK_REPLAYS) + "/" + kCorpus[i % 6] + ".replay");
}

void WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

// Recording k of the day, k minutes after 08:00.
std::string NameOf(int k) {
  char name[64];
  std::snprintf(name, sizeof name, "2027-03-%02d_%02d-%02d-00_mise-1_vyhra.replay", 1 + k / 60,
                8 + (k % 60) / 60, k % 60);
  return name;
}

struct Screens : ::testing::Test {
  ScopedTempDir player;
  TPlayDir play{SK_DATA_DIR};  // the game's save stays the run's own
  TUiDriver d{play.Path().string(), 3};

  void SetUp() override {
    d.KeepPlayerFiles(player.Path());
    d.RunText("choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\n");
  }
  TButton& Row(int i) { return d.Form().ListButton(i); }
  std::vector<std::string> MessageTexts() {
    std::vector<std::string> texts;
    for (const auto& m : d.Backend().Messages()) texts.push_back(m.Text);
    return texts;
  }
};

TEST_F(Screens, FiftyTwoRecordingsListedTheBrokenOnesSaidSoAndEveryOtherPlayed) {
  const fs::path folder = player.Path() / "replays";
  fs::create_directories(folder);
  for (int k = 0; k < 52; ++k) WriteBytes(folder / NameOf(k), EncodeReplay(Corpus(k)));
  // The newest is damaged; the fourth newest comes from another version of the game.
  std::vector<uint8_t> damaged = EncodeReplay(Corpus(51));
  damaged[damaged.size() / 2] ^= 0x40;
  WriteBytes(folder / NameOf(51), damaged);
  TReplay other = Corpus(48);
  other.GameVersion = "0.0.9";
  WriteBytes(folder / NameOf(48), EncodeReplay(other));

  d.ClickButton("Záznamy letů");
  d.ExpectScreen(TScreen::Recordings);
  ASSERT_EQ(d.Form().RecordingList().size(), 52u);
  EXPECT_EQ(Row(0).Caption(), "1. 3. 2027 8:51\tpoškozený soubor, nelze přehrát");
  EXPECT_FALSE(Row(0).Enabled());
  EXPECT_EQ(Row(1).Caption(), "1. 3. 2027 8:50\t3\ttěžká\tJaguar\tsestřelení\t0:43,5");
  EXPECT_EQ(Row(3).Caption(), "1. 3. 2027 8:48\tz jiné verze hry (0.0.9), nelze přehrát");
  EXPECT_FALSE(Row(3).Enabled());
  EXPECT_EQ(Row(17).Caption().substr(0, 15), "1. 3. 2027 8:34");
  EXPECT_EQ(d.Form().Controls.Focused(), &Row(1));  // the newest that can be played

  // Every flight that can be played opens in the viewer at its start, and the way back
  // leads to the page it was chosen on.
  int played = 0;
  for (int page = 0; page < 3; ++page) {
    for (int row = 0; row < recordings_layout::kRowsPerPage; ++row) {
      const size_t index = static_cast<size_t>(page * recordings_layout::kRowsPerPage + row);
      if (index >= 52 || !Row(row).Enabled()) continue;
      ASSERT_TRUE(d.Form().Controls.Click(Row(row))) << index;
      d.ExpectScreen(TScreen::Viewer);
      const TReplay& shown = d.Form().Viewer()->Replay();
      EXPECT_EQ(shown, Corpus(51 - static_cast<int>(index))) << index;
      d.Wait(200);
      EXPECT_EQ(d.Form().Viewer()->Position(), 20);
      d.PressKey(platform::vk::Escape, 1);
      d.ExpectScreen(TScreen::Recordings);
      ++played;
    }
    if (page < 2) d.ClickButton("Další strana");
  }
  EXPECT_EQ(played, 50);
  EXPECT_TRUE(MessageTexts().empty());

  // Deleting: the damaged file, after the question; a "Zpět" keeps it.
  d.ClickButton("Předchozí strana");
  d.ClickButton("Předchozí strana");
  d.ClickButton("Smazat záznam");
  EXPECT_TRUE(Row(0).Enabled());
  ASSERT_TRUE(d.Form().Controls.Click(Row(0)));
  d.ExpectScreen(TScreen::DeleteRecording);
  EXPECT_EQ(d.Form().Controls.Focused()->Name, "Button5");  // "Zpět" has the focus
  d.PressKey(platform::vk::Return, 1);
  d.ExpectScreen(TScreen::Recordings);
  EXPECT_TRUE(fs::exists(folder / NameOf(51)));
  ASSERT_TRUE(d.Form().Controls.Click(Row(0)));
  d.ClickButton("Smazat");
  d.ExpectScreen(TScreen::Recordings);
  EXPECT_FALSE(fs::exists(folder / NameOf(51)));
  EXPECT_EQ(d.Form().RecordingList().size(), 51u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 51);
  EXPECT_EQ(Row(0).Caption().substr(0, 15), "1. 3. 2027 8:50");
  d.PressKey(platform::vk::Escape, 1);
  d.ExpectScreen(TScreen::MainMenu);
}

// A won flight sets the record of its mission and difficulty and the victory says so; a
// poorer one leaves it, and says nothing. The records screen shows it and plays its flight.
TEST_F(Screens, AWonFlightSetsTheRecordAndAPoorerOneLeavesIt) {
  World& w = d.GameWorld();
  d.RunText(
      "click \"Nová hra\"\nclick \"Středni obtížnost\"\nclick \"Pokračuj\"\n"
      "click \"Nakupovat/prodávat\"\nclick \"Obchodovat s letadly\"\nclick \"Koupit\" 1\n"
      "click \"Zpět\"\nclick \"Zpět\"\nclick \"Uložit hru\"\n");
  int64_t firstEarned = 0, firstDate = 0;
  for (int flight = 0; flight < 2; ++flight) {
    d.RunText("click \"Letět další misi\"\nclick \"Letět misi\"\nautopilot on\nwait 3000\n");
    const int64_t start = 10000;
    ASSERT_EQ(w.State.Difficulty, 2);
    // The second flight pays for something in the air: it earns less than the first.
    if (flight == 1) w.State.Credits -= 9000;
    w.VictoryCountdown = 1;  // the mother ship is down
    d.Wait(100);
    d.RunText("autopilot off\n");
    d.ExpectScreen(TScreen::Won);
    EXPECT_EQ(d.Form().NewRecord(), flight == 0);
    const TRecordBook book = LoadRecords(player.Path() / "records.dat").Book;
    ASSERT_TRUE(book.Slots[1]);
    if (flight == 0) {
      firstEarned = w.State.Credits - start;
      firstDate = book.Slots[1]->Date;
      EXPECT_GE(firstDate, TUiDriver::kEpoch + 3);  // the driver's clock, three seconds on
      EXPECT_LE(firstDate, TUiDriver::kEpoch + 5);
    }
    EXPECT_EQ(book.Slots[1]->Credits, firstEarned);
    EXPECT_EQ(book.Slots[1]->Date, firstDate);
    d.RunText(
        "click \"Pokračuj\"\nclick \"Návrat do hlavní nabídky\"\nwait 200\n"
        "click \"Nahrát hru\"\n");
  }
  d.RunText("click \"Návrat do hlavní nabídky\"\nwait 200\nclick \"Rekordy\"\n");
  d.ExpectScreen(TScreen::Records);
  EXPECT_TRUE(Row(1).Visible());
  EXPECT_FALSE(Row(0).Visible());
  EXPECT_EQ(d.Form().Controls.Focused(), &Row(1));
  d.PressKey(platform::vk::Return, 1);
  d.ExpectScreen(TScreen::Viewer);
  EXPECT_EQ(d.Form().ViewerHud.Title, "Rekord: Mise 1, střední obtížnost · Jaguar");
  d.PressKey(platform::vk::Escape, 1);
  d.ExpectScreen(TScreen::Records);
  // Left alone, the title now shows the player's own flight.
  d.RunText("click \"Zpět\"\nwait 61000\n");
  d.ExpectScreen(TScreen::TitleFlight);
  EXPECT_EQ(d.Form().ViewerHud.Title, "Váš rekord: mise 1, střední obtížnost");
}

TEST_F(Screens, TheTitleFliesByItselfAndTheFirstInputOnlyBringsItBack) {
  d.Wait(59000);
  d.ExpectScreen(TScreen::MainMenu);
  d.Backend().PushEvent({platform::EventKind::MouseMove, 10, 10});  // a touch starts the wait anew
  d.Wait(59000);
  d.ExpectScreen(TScreen::MainMenu);
  d.Wait(1500);
  d.ExpectScreen(TScreen::TitleFlight);
  // No record yet: the flight shipped with the game.
  EXPECT_EQ(d.Form().ViewerHud.Title, "Ukázkový let: mise 1, lehká obtížnost");
  EXPECT_EQ(d.Form().Media.DXSound1.MusicPlaying(), "title");  // silent, under the title's theme
  d.Wait(2000);
  EXPECT_GE(d.Form().Viewer()->Position(), 190);

  // Enter would press the focused "Nová hra" on the title; here it only ends the flight.
  d.PressKey(platform::vk::Return, 1);
  d.ExpectScreen(TScreen::MainMenu);
  d.Wait(300);
  d.ExpectScreen(TScreen::MainMenu);

  // A click on "Nová hra" while the flight plays, and the pad's Accept.
  d.Wait(61000);
  d.ExpectScreen(TScreen::TitleFlight);
  const TControl& newGame = *d.Form().MenuControls[0];
  d.Backend().PushClick(newGame.Left() + 20, newGame.Top() + 10);
  d.Wait(10);
  d.ExpectScreen(TScreen::MainMenu);
  d.Wait(61000);
  d.ExpectScreen(TScreen::TitleFlight);
  platform::Event pad{platform::EventKind::PadDown};
  pad.Pad = platform::PadButton::Accept;
  d.Backend().PushEvent(pad);
  pad.Kind = platform::EventKind::PadUp;
  d.Backend().PushEvent(pad);
  d.Wait(100);
  d.ExpectScreen(TScreen::MainMenu);
  EXPECT_TRUE(d.Backend().Messages().empty());
}

// A message box over the title as the game starts (records of another game, put aside): the
// title's flight waits for it to be answered, then for a minute more, and flies.
TEST(TitleFlight, WaitsForAMessageBoxOverTheTitleToBeAnswered) {
  ScopedTempDir player;
  player.Write("records.dat", {'n', 'o', 't', ' ', 'r', 'e', 'c', 'o', 'r', 'd', 's'});
  TPlayDir play{SK_DATA_DIR};
  TUiDriver d{play.Path().string(), 3};
  d.KeepPlayerFiles(player.Path());
  d.RunText(
      "choose \"V okne\"\nclick \"Pokracovat\"\nwait 100\n"
      "expect-message \"Soubor s rekordy records.dat je poškozený nebo pochází z jiné verze hry. "
      "Hra ho odložila jako records.dat.bad a rekordy začínají znovu.\"\n"
      "wait 61000\nok\nwait 100\n");
  d.ExpectScreen(TScreen::MainMenu);
  d.Wait(61000);
  d.ExpectScreen(TScreen::TitleFlight);
  EXPECT_TRUE(fs::exists(player.Path() / "records.dat.bad"));
}

}  // namespace

namespace {

// A watched flight plays its own mission's music (not the campaign's), the mother ship's once
// the moment shown has it, its land's again after a seek back before it; a pause lowers it.
TEST_F(Screens, AWatchedFlightPlaysItsOwnMissionsMusic) {
  const fs::path folder = player.Path() / "replays";
  fs::create_directories(folder);
  const TReplay snowy = Corpus(4);  // mission 5, left before its mother ship
  const TReplay won = Corpus(0);    // mission 1, won: its mother ship came
  WriteBytes(folder / NameOf(0), EncodeReplay(snowy));
  WriteBytes(folder / NameOf(1), EncodeReplay(won));
  TDXSound& sound = d.Form().Media.DXSound1;
  const std::string snow = catalog::LandThemeFor(snowy.Start.Campaign.Mission);
  const std::string temperate = catalog::LandThemeFor(won.Start.Campaign.Mission);
  ASSERT_NE(snow, catalog::LandThemeFor(d.Form().State().Mission));

  d.ClickButton("Záznamy letů");
  EXPECT_EQ(sound.MusicPlaying(), "title");
  ASSERT_TRUE(d.Form().Controls.Click(Row(1)));
  d.ExpectScreen(TScreen::Viewer);
  EXPECT_EQ(sound.MusicPlaying(), snow);
  d.PressKey(platform::vk::Space, 1);
  EXPECT_TRUE(sound.MusicPaused());
  d.PressKey(platform::vk::Space, 1);
  EXPECT_FALSE(sound.MusicPaused());
  d.PressKey(platform::vk::Escape, 1);
  d.ExpectScreen(TScreen::Recordings);
  EXPECT_EQ(sound.MusicPlaying(), "title");

  ASSERT_TRUE(d.Form().Controls.Click(Row(0)));
  EXPECT_EQ(sound.MusicPlaying(), temperate);
  d.PressKey(platform::vk::End, 1);
  EXPECT_EQ(sound.MusicPlaying(), "mothership");
  d.PressKey(platform::vk::Home, 1);
  EXPECT_EQ(sound.MusicPlaying(), temperate);
  d.Wait(100);  // flying on from the start: still before the mother ship
  EXPECT_EQ(sound.MusicPlaying(), temperate);
  d.PressKey(platform::vk::Escape, 1);
  d.ExpectScreen(TScreen::Recordings);
  EXPECT_EQ(sound.MusicPlaying(), "title");
}

}  // namespace
