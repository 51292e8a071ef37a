// The screens between missions and the flow of a mission: main menu, difficulty, intro,
// hangar, briefing, start, pause, mission end, next mission and the campaign's end.
#include "base/asset_catalog.h"
#include "core/level.h"
#include "core/player_control.h"
#include "core/tick.h"
#include "flyers/aircraft.h"
#include "shell/flight_setup.h"
#include "shell/form1.h"
#include "shell/story.h"

namespace {

// The right-hand menu column: buttons 1 to 4 are MenuControls 0 to 3.
constexpr int kButton1 = 0, kButton2 = 1, kButton3 = 2, kButton4 = 3;

constexpr int32_t kMemoTop = 560, kMemoLeft = 193, kMemoHeight = 105;

}  // namespace

void TForm1::ShowMainMenu() {
  world_.ReleasePlayer();
  EmptyLists(world_);
  Media.Window.SetCursorVisible(true);
  Memo7.SetVisible(false);
  DrawMenuPicture(0, 0, 0);
  Edit1.SetVisible(false);
  SetButton(kButton1, "Nová hra", [this](TControl&) { ShowDifficultyMenu(); });
  SetButton(kButton2, "Nahrát hru", [this](TControl&) { LoadGame(); });
  SetButton(kButton3, "Rekordy", [this](TControl&) { ShowRecords(); });
  SetButton(kButton4, "Záznamy letů", [this](TControl&) { ShowRecordings(); });
  // The fifth entry lies under the column of four.
  Button17.SetCaption("Konec");
  Button17.OnClick = [this](TControl&) { ExitProg(); };
  Button17.SetEnabled(true);
  Button17.SetVisible(true);
  Present();
  EnterScreen(TScreen::MainMenu);
}

void TForm1::ShowDifficultyMenu() {
  auto choose = [this](TControl& sender) { ChooseDifficulty(sender); };
  SetButton(kButton1, "Lehká obtížnost", choose);
  SetButton(kButton2, "Středni obtížnost", choose);
  SetButton(kButton3, "Težká obtížnost", choose);
  SetButton(kButton4, "Zpět", [this](TControl&) { ShowMainMenu(); });
  EnterScreen(TScreen::Difficulty);
}

void TForm1::ChooseDifficulty(TControl& sender) {
  const int index = MenuIndexOf(sender);
  State().Difficulty = static_cast<uint8_t>(index == kButton2 ? 2 : index == kButton3 ? 4 : 0);
  ShowIntroStory();
  NewGame();
  Present();
}

void TForm1::ShowIntroStory() {
  Memo7.SetVisible(true);
  Memo7.SetTop(200);
  Memo7.SetHeight(400);
  Memo7.Clear();
  for (const std::string& line : IntroStoryLines()) Memo7.Add(line);
  HideButtons(kButton1, kButton3);
  SetButton(kButton4, "Pokračuj", [this](TControl&) { ShowHangar(); });
  EnterScreen(TScreen::Intro);
}

void TForm1::NewGame() {
  GameState& s = State();
  s.GameOver = false;
  s.Mission = 0;
  world_.ReleasePlayer();
  s.AircraftKind = kNoKind;
  s.CannonKind = kNoKind;
  s.SlotKinds.fill(kNoKind);
  s.Credits = kNewGameCredits;
  ScreenState = {};
  world_.StepTicks = 0;
  world_.StepClock = 0;
  SetGameCanvas(Media.DXDraw1.Surface().Canvas());
  ResetWorld();
}

void TForm1::ResetWorld() {
  world_.ReleasePlayer();
  LoadLevel(world_, State().Mission);
  ResetCounters(world_);
  EmptyLists(world_);
}

void TForm1::ShowHangar() {
  Edit1.SetVisible(true);
  ShowCredits();
  Memo6.SetVisible(false);
  Memo7.SetVisible(false);
  Memo7.SetBounds(kMemoLeft, kMemoTop, Memo7.Width(), kMemoHeight);
  for (TMemo* memo : {&Memo1, &Memo2, &Memo3, &Memo4, &Memo5}) memo->SetVisible(false);
  HideButtons(10, 14);
  HideButtons(4, 9);
  BlankSurface();
  DrawMenuPicture(7, 250, 150);
  SetButton(kButton1, "Letět další misi", [this](TControl&) { ShowBriefing(); });
  SetButton(kButton2, "Nakupovat/prodávat", [this](TControl&) { ShowShopMenu(); });
  SetButton(kButton3, "Uložit hru", [this](TControl&) { SaveGame(); });
  SetButton(kButton4, "Návrat do hlavní nabídky", [this](TControl&) { QuitToMainMenu(); });
  Present();
  EnterScreen(TScreen::Hangar);
}

void TForm1::ShowBriefing() {
  if (!world_.Player) {
    App.ShowMessage("Nemáte žádné letadlo, nemůžete letět misi!");
    ShowHangar();
    return;
  }
  Media.DXDraw1.Surface().Fill(clBlack);
  DrawMenuPicture(8, 193, 150);
  Memo7.SetVisible(true);
  Memo7.Clear();
  for (const std::string& line : BriefingLines(State().Mission)) Memo7.Add(line);
  SetButton(kButton1, "Letět misi", [this](TControl&) { StartMission(); });
  SetButton(kButton2, "Zpět", [this](TControl&) { ShowHangar(); });
  HideButtons(kButton3, kButton4);
  Present();
  EnterScreen(TScreen::Briefing);
}

void TForm1::StartMission() {
  world_.PushPlayer();
  world_.StepClock = 0;
  world_.StepTicks = 0;
  HideButtons(kButton1, kButton4);
  Memo7.SetVisible(false);
  Edit1.SetVisible(false);
  RunGameTimers(true);
  FrameStats.FlightStarted();
  if (Media.DXEnginesWaveList.Items.Count() > 0) Media.DXEnginesWaveList.Items[0].Play(false);
  Media.Window.SetCursorVisible(false);
  // The key that pressed "Letět misi" (Enter fires the weapon) acts only once pressed again.
  Media.DXInput1.HoldBackUntilReleased(CommandStates());  // as it starts
  bossAppeared_ = false;
  EnterScreen(TScreen::Mission);
  BeginRecording();
}

void TForm1::PauseScreen() {
  Media.Window.SetCursorVisible(true);
  RunGameTimers(false);
  StopEngineSound();
  TDirectDrawSurfaceCanvas& canvas = Media.DXDraw1.Surface().Canvas();
  const int32_t size = canvas.Font.Size;
  canvas.Font.Size = 30;
  canvas.TextOut(450, 300, "PAUZA");
  canvas.Font.Size = size;
  Present();
  SetButton(kButton1, "Zpět od hry", [this](TControl&) { ResumeMission(); });
  SetButton(kButton2, "Návrat do hlavní nabídky", [this](TControl&) { QuitToMainMenu(); });
  HideButtons(kButton3, kButton4);
  EnterScreen(TScreen::Paused);
}

void TForm1::ResumeMission() {
  if (Media.DXEnginesWaveList.Items.Count() > 0) Media.DXEnginesWaveList.Items[0].Play(false);
  RunGameTimers(true);
  Media.Window.SetCursorVisible(false);
  HideButtons(kButton1, kButton4);
  Media.DXInput1.HoldBackUntilReleased(CommandStates());
  EnterScreen(TScreen::Mission);
}

void TForm1::QuitToMainMenu() {
  QuitRecording();
  const bool hadAircraft = world_.Player != nullptr;
  world_.FlyerList.Clear();
  UpdateTimer.SetEnabled(false);
  DrawTimer.SetEnabled(false);
  if (hadAircraft) StopEngineSound();
  // The main menu waits for the menu timer (and, in fullscreen, for a surface that can draw).
  // Until then no button of the screen being left may be clicked: "Zpět od hry" would start
  // the mission's timers and engine again behind the menu.
  HideButtons(kButton1, kButton4);  // the screen being left
  MenuTimer.SetEnabled(true);
  Media.Window.SetCursorVisible(true);
}

void TForm1::ShowDefeat() {
  NoteFlightOutcome(false);
  DrawMenuPicture(2, 0, 8);
  DrawMenuPicture(1, 0, 0);
  SetButton(kButton1, "Zpět do menu", [this](TControl&) { ShowMainMenu(); });
  Media.Window.SetCursorVisible(true);
  AnnounceOverFrame(Media.DXDraw1, kDefeatText);
  EnterScreen(TScreen::ShotDown);
}

void TForm1::ShowVictory() {
  NoteFlightOutcome(true);
  SetButton(kButton1, "Pokračuj", [this](TControl&) { NextMission(); });
  Media.Window.SetCursorVisible(true);
  AnnounceOverFrame(Media.DXDraw1, kVictoryText);
  EnterScreen(TScreen::Won);
}

void TForm1::NextMission() {
  GameState& s = State();
  const auto next = static_cast<uint8_t>(s.Mission + 1);
  if (next == catalog::kMissions) {
    s.Mission = next;
    ShowCampaignWon();
    return;
  }
  if (world_.Player) world_.Player->Health = world_.Player->MaxHealth;
  world_.UnlinkPlayer();
  world_.FlyerList.Clear();
  world_.ShellList.Clear();
  world_.EffectList.Clear();
  // The campaign moves on only with the next level in place: a level that cannot be read is
  // reported and leaves the won screen up, and "Pokračuj" tries the same mission again.
  LoadLevel(world_, next);
  s.Mission = next;
  ShowHangar();
}

void TForm1::ShowCampaignWon() {
  Media.DXDraw1.Surface().Fill(clBlack);
  DrawMenuPicture(9, 150, 200);
  SetButton(kButton1, "Pokračuj", [this](TControl&) { ShowMainMenu(); });
  Memo7.SetVisible(true);
  Memo7.Clear();
  Memo7.Add(kCampaignWonLine);
  Present();
  EnterScreen(TScreen::CampaignWon);
}

void TForm1::ExitProg() {
  App.Terminate();
}
