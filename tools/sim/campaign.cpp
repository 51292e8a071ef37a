#include "campaign.h"

#include <algorithm>
#include <stdexcept>

#include "json.h"
#include "play_dir.h"
#include "shell/game_paths.h"
#include "shell/record_store.h"
#include "shop_screens.h"
#include "ui_driver.h"

namespace {

using TScreen = TForm1::TScreen;

constexpr int64_t kTickMillis = 10;
// How much of a mission passes between looks at the screen.
constexpr int64_t kTicksBetweenLooks = 1000;

const char* DifficultyCaption(uint8_t difficulty) {
  if (difficulty >= 4) return "Težká obtížnost";
  if (difficulty >= 2) return "Středni obtížnost";
  return "Lehká obtížnost";
}

class TCampaignRunner {
 public:
  TCampaignRunner(const TSimOptions& options, const TCampaignLimits& limits)
      : options_(options),
        limits_(limits),
        dir_(options.DataDir),
        d_(dir_.Path().string(), options.Seed) {
    // Installed, the game keeps its save in the user's data directory, where every run
    // would share it.
    if (SaveGamePath().is_absolute()) {
      throw std::runtime_error("the campaign runner must run from the build tree, not installed");
    }
    // Content that cannot be read is reported in a box at start-up.
    if (!d_.Backend().Messages().empty()) {
      throw std::runtime_error(d_.Backend().Messages().front().Text);
    }
    d_.SetMissionFrames(false);
    if (!options.PlayerDir.empty()) {
      d_.KeepPlayerFiles(std::filesystem::absolute(previousDir_ / options.PlayerDir));
    } else {
      d_.Form().RecordsPath = dir_.Path() / "records.dat";
    }
  }

  TCampaignResult Run() {
    StartNewGame();
    TCampaignResult result;
    for (int32_t m = 0; m < 6; ++m) {
      result.Missions.push_back(PlayMission(m));
      if (result.Missions.back().Tries.empty() ||
          result.Missions.back().Tries.back().Outcome != "won") {
        return result;
      }
    }
    Expect(TScreen::CampaignWon);
    Click("Pokračuj");
    Expect(TScreen::MainMenu);
    result.Won = true;
    return result;
  }

  // What the game wrote, read as the game reads it.
  TRecordBook RecordsKept() { return LoadRecords(d_.Form().RecordsPath).Book; }

 private:
  void StartNewGame() {
    d_.ChooseItem("V okne");
    Click("Pokracovat");
    AwaitMainMenu();
    Click("Nová hra");
    Click(DifficultyCaption(options_.Difficulty));
    Click("Pokračuj");
    Expect(TScreen::Hangar);
  }

  TMissionRecord PlayMission(int32_t m) {
    Expect(TScreen::Hangar);
    ShopInHangar(d_, owned_, stock_);
    CheckOwnedInGame();
    TMissionRecord record;
    record.Mission = m + 1;
    record.CreditsBefore = ReadCredits(d_);
    record.CreditsAfter = record.CreditsBefore;
    record.Loadout = owned_;
    if (owned_.Aircraft == kNoKind) return record;  // nothing to fly
    Click("Uložit hru");
    const TLoadout saved = owned_;
    for (int32_t attempt = 1; attempt <= limits_.TriesPerMission; ++attempt) {
      record.Tries.push_back(Fly(m, attempt));
      const std::string& outcome = record.Tries.back().Outcome;
      if (outcome == "won") {
        record.CreditsAfter = record.Tries.back().Credits;
        Click("Pokračuj");  // to the next hangar, or the campaign's end
        return record;
      }
      if (attempt < limits_.TriesPerMission) {
        LeaveForMainMenu(outcome);
        Click("Nahrát hru");
        Expect(TScreen::Hangar);
        owned_ = saved;
        CheckOwnedInGame();
      }
    }
    return record;
  }

  TMissionTry Fly(int32_t m, int32_t attempt) {
    Click("Letět další misi");
    Expect(TScreen::Briefing);
    Click("Letět misi");
    Expect(TScreen::Mission);
    // Every try meets its own luck, as a player's would.
    d_.SetAutopilot(true, options_.Seed * 1000 + static_cast<uint64_t>(m * 10 + attempt));
    if (limits_.OnTakeOff) limits_.OnTakeOff(d_.GameWorld());
    const int64_t startTicks = d_.TicksRun();
    const TFlightTally start = d_.Tally();
    for (int pauses = 0;;) {
      const int64_t left = limits_.TicksPerTry - (d_.TicksRun() - startTicks);
      if (d_.Form().Screen() == TScreen::Mission && left > 0) {
        d_.Wait(static_cast<uint64_t>(std::min(left, kTicksBetweenLooks) * kTickMillis));
      } else if (d_.Form().Screen() == TScreen::Paused && ++pauses < 100) {
        Click("Zpět od hry");  // the pilot never pauses; a stray pause is resumed
      } else {
        break;
      }
    }
    d_.SetAutopilot(false, 0);
    TMissionTry t;
    t.Ticks = d_.TicksRun() - startTicks;
    t.Kills = d_.Tally().Kills - start.Kills;
    t.Damage = d_.Tally().Damage - start.Damage;
    t.Repairs = d_.Tally().Repairs - start.Repairs;
    t.Credits = d_.GameWorld().State.Credits;
    const TScreen screen = d_.Form().Screen();
    t.Outcome = screen == TScreen::Won ? "won" : screen == TScreen::ShotDown ? "lost" : "running";
    return t;
  }

  void LeaveForMainMenu(const std::string& outcome) {
    if (outcome == "lost") {
      Click("Zpět do menu");
    } else {
      // Out of time: pause the mission and quit it, as a player would.
      d_.PressKey(platform::vk::Escape, 1);
      Expect(TScreen::Paused);
      Click("Návrat do hlavní nabídky");
      AwaitMainMenu();
    }
    Expect(TScreen::MainMenu);
  }

  // The main menu appears at the menu timer's next tick.
  void AwaitMainMenu() {
    for (int i = 0; i < 10 && d_.Form().Screen() != TScreen::MainMenu; ++i) d_.Wait(100);
    Expect(TScreen::MainMenu);
  }

  // What the runner believes it owns is what the game holds: a click that did something else
  // than the screen promised would show here.
  void CheckOwnedInGame() {
    const GameState& s = d_.GameWorld().State;
    if (s.AircraftKind != owned_.Aircraft || s.CannonKind != owned_.Cannon ||
        s.SlotKinds != owned_.Slots) {
      throw EUiFailure("the game holds another loadout than the one bought");
    }
  }

  // Any message box on the way (a save that could not be written, no save to load, a
  // refused purchase) means the run cannot go on as a player's would: the click fails.
  void Click(const std::string& caption) { d_.ClickButton(caption); }
  void Expect(TScreen screen) { d_.ExpectScreen(screen); }

  TSimOptions options_;
  TCampaignLimits limits_;
  std::filesystem::path previousDir_ = std::filesystem::current_path();
  TPlayDir dir_;  // before the driver: removed after it has left the directory
  TUiDriver d_;
  TLoadout owned_;
  std::optional<TStock> stock_;
};

}  // namespace

TCampaignResult RunCampaign(const TSimOptions& options, const TCampaignLimits& limits) {
  TCampaignRunner runner(options, limits);
  TCampaignResult result = runner.Run();
  result.Records = runner.RecordsKept();
  return result;
}

std::string CampaignSummary(const TSimOptions& options, const TCampaignResult& result) {
  TJson j;
  j.Open('{');
  j.Field("outcome", result.Won ? "won" : "lost");
  j.Field("difficulty", options.Difficulty);
  j.Field("seed", options.Seed);
  j.Key("missions").Open('[');
  for (const TMissionRecord& r : result.Missions) {
    j.Open('{');
    j.Field("mission", r.Mission);
    j.Field("tries", static_cast<int64_t>(r.Tries.size()));
    j.Key("outcomes").Open('[');
    for (const TMissionTry& t : r.Tries) j.Value(t.Outcome);
    j.Close(']');
    j.Field("creditsBefore", r.CreditsBefore);
    j.Field("creditsAfter", r.CreditsAfter);
    j.Field("aircraft", r.Loadout.Aircraft);
    j.Field("cannon", r.Loadout.Cannon);
    j.Key("slots").Open('[');
    for (uint8_t s : r.Loadout.Slots) j.Value(static_cast<int32_t>(s));
    j.Close(']');
    auto perTry = [&](const char* key, int64_t TMissionTry::*field) {
      j.Key(key).Open('[');
      for (const TMissionTry& t : r.Tries) j.Value(t.*field);
      j.Close(']');
    };
    perTry("ticks", &TMissionTry::Ticks);
    perTry("kills", &TMissionTry::Kills);
    perTry("damage", &TMissionTry::Damage);
    perTry("repairs", &TMissionTry::Repairs);
    j.Close('}');
  }
  j.Close(']');
  j.Key("records").Open('[');
  for (size_t slot = 0; slot < result.Records.Slots.size(); ++slot) {
    const std::optional<TRecord>& r = result.Records.Slots[slot];
    if (!r) continue;
    j.Open('{');
    j.Field("mission", SlotMission(slot) + 1);
    j.Field("difficulty", SlotDifficulty(slot));
    j.Field("credits", r->Credits);
    j.Field("kills", r->Kills);
    j.Field("armourLost", r->ArmourLost);
    j.Field("ticks", r->Ticks);
    j.Close('}');
  }
  j.Close(']');
  j.Close('}');
  return j.Text();
}
