#include "shell/form1.h"

#include "base/error.h"
#include "core/tick.h"
#include "flyers/weapon.h"
#include "replay/flight_check.h"
#include "replay/flight_recorder.h"
#include "shell/asset_loader.h"
#include "shell/music_cues.h"
#include "shell/replay_viewer.h"
#include "shell/settings.h"
#include "shell/shop_texts.h"

namespace {

constexpr TColor kMenuColor = 0xF0F0F0;  // the system's menu colour behind the choice
constexpr TControlFont kMemoFont{8, clGreen};
constexpr TControlFont kCreditFont{14, clGreen};  // 19 pixels high at 96 dpi

struct TPlace {
  int32_t Left, Top, Width, Height;
};

// The form's positions and sizes of the controls that MenuControls collects, in its order.
constexpr std::array<TPlace, kMenuControlCount> kMenuPlaces{{
    {888, 360, 130, 30},  {888, 400, 130, 30},  {888, 440, 130, 30},  {888, 480, 130, 30},
    {456, 250, 190, 20},  {456, 280, 190, 20},  {456, 310, 190, 20},  {456, 340, 190, 20},
    {456, 370, 190, 20},  {456, 448, 190, 20},  {175, 140, 190, 20},  {175, 340, 190, 20},
    {175, 540, 190, 20},  {175, 740, 190, 20},  {825, 160, 140, 20},  {175, 20, 189, 120},
    {175, 220, 189, 120}, {175, 420, 189, 120}, {175, 620, 189, 120},
}};

}  // namespace

TForm1::TForm1(TFormComponents& media, TApplication& app, uint64_t seed)
    : Media(media),
      App(app),
      Controls(media.Window),
      MenuTimer(app, 100, true),
      UpdateTimer(app, 10, false),
      DrawTimer(app),
      IdleTimer(app, kTitleFlightAfterMs, false),
      world_(media, seed) {
  world_.Events = this;
  // A stall (the window dragged, a slow frame) is made up for, but only a little.
  UpdateTimer.MaxCatchUp = 5;
  UpdateTimer.OnTimer = [this] { UpdateTimerTimer(); };
  DrawTimer.OnTimer = [this](int32_t) { DrawTimerTimer(); };
  MenuTimer.OnTimer = [this] { MenuTimerTimer(); };
  IdleTimer.OnTimer = [this] { StartTitleFlight(); };
  App.OnDeactivate = [this] { WindowDeactivated(); };
  App.OnPadLost = [this] { PadLost(); };
  App.OnFullScreenLeft = [this] { FullScreenLeft(); };
  App.OnPreview = [this](const platform::Event& e) { return PreviewEvent(e); };
  Controls.BackControl = [this] { return BackButton(); };
  FullScreenKeys = TSettings::Defaults().FullScreenKeys;

  // The form's description: every control at its place, in form order.
  Zobrazovani.SetBounds(10, 0, 121, 57);
  Zobrazovani.SetCaption("Zobrazovani");
  Zobrazovani.SetColor(kMenuColor);
  Zobrazovani.SetItems({"V okne", "Fullscreen"});
  Zobrazovani.SetItemIndex(1);
  FirstButton.SetBounds(8, 64, 121, 33);
  FirstButton.SetCaption("Pokracovat");
  FirstButton.OnClick = [this](TControl&) { FirstButtonClick(); };
  Controls.Add(Zobrazovani);
  Controls.Add(FirstButton);

  TControl* const table[kMenuControlCount] = {&Button2,  &Button3,  &Button4,  &Button5,  &Button6,
                                              &Button7,  &Button8,  &Button9,  &Button10, &Button16,
                                              &Button11, &Button12, &Button13, &Button14, &Button15,
                                              &Memo1,    &Memo2,    &Memo3,    &Memo4};
  for (int i = 0; i < kMenuControlCount; ++i) {
    const TPlace& p = kMenuPlaces[static_cast<size_t>(i)];
    table[i]->SetBounds(p.Left, p.Top, p.Width, p.Height);
    table[i]->SetVisible(false);
    table[i]->SetEnabled(false);
    Controls.Add(*table[i]);
  }
  for (int k = 0; k < 4; ++k) {
    TMemo& memo = *static_cast<TMemo*>(table[15 + k]);
    for (const std::string& line : AircraftMemoLines(k)) memo.Add(line);
  }
  Memo5.SetBounds(456, 72, 189, 170);
  Memo5.SetEnabled(false);
  Memo6.SetBounds(32, 208, 209, 281);
  Memo7.SetBounds(193, 560, 640, 105);
  Edit1.SetBounds(840, 728, 177, 32);
  for (TMemo* memo : {&Memo1, &Memo2, &Memo3, &Memo4, &Memo5, &Memo6, &Memo7}) {
    memo->SetFont(kMemoFont);
    memo->SetColor(clBlack);
    memo->SetVisible(false);
  }
  Controls.Add(Memo5);
  Controls.Add(Memo6);
  Controls.Add(Memo7);
  Edit1.SetFont(kCreditFont);
  Edit1.SetColor(clBlack);
  Edit1.SetVisible(false);
  Controls.Add(Edit1);
  // Beyond the form's own controls: the main menu's fifth entry, and the buttons of the
  // records' grid and of a page of recorded flights.
  Button17.SetBounds(888, 520, 130, 30);
  for (size_t i = 0; i < ListButtons.size(); ++i) {
    ListButtons[i] = std::make_unique<TButton>("ListButton" + std::to_string(i + 1));
  }
  Controls.Add(Button17);
  for (auto& b : ListButtons) Controls.Add(*b);
  HideFifthEntry();
  HideListButtons();
  Media.Window.AddLayer(ViewerHud);
}

TForm1::~TForm1() {
  // Closing the window in flight ends the mission as leaving it would; its replay is kept.
  QuitRecording();
  viewer_.reset();
  Media.Window.RemoveLayer(ViewerHud);
  world_.Tap = nullptr;
  world_.Events = nullptr;
  App.OnDeactivate = nullptr;
  App.OnPadLost = nullptr;
  App.OnFullScreenLeft = nullptr;
  App.OnPreview = nullptr;
}

void TForm1::WindowDeactivated() {
  // A mission in flight pauses as the pause key pauses it, so the aircraft is not shot down
  // while the player looks elsewhere; coming back leaves the pause to the player.
  if (PauseOnFocusLoss && screen_ == TScreen::Mission && UpdateTimer.Enabled()) PauseScreen();
}

void TForm1::FormCreate() {
  // The choice window: just the radio group and its button in view.
  Media.Window.SetCaption("Starvelkhorn");
  Media.Window.SetOuterBounds(158, 95, 141, 127);
  TControl* const table[kMenuControlCount] = {&Button2,  &Button3,  &Button4,  &Button5,  &Button6,
                                              &Button7,  &Button8,  &Button9,  &Button10, &Button16,
                                              &Button11, &Button12, &Button13, &Button14, &Button15,
                                              &Memo1,    &Memo2,    &Memo3,    &Memo4};
  std::copy(std::begin(table), std::end(table), MenuControls.begin());
  // The shop lists every kind at the price its purchase charges: the kind's own.
  for (size_t k = 0; k < WeaponPrices.size(); ++k) {
    WeaponPrices[k] = MakeWeapon(world_, static_cast<uint8_t>(k))->Price;
  }
  for (size_t k = 0; k < CannonPrices.size(); ++k) {
    CannonPrices[k] = MakeCannon(world_, static_cast<uint8_t>(k))->Price;
  }
  for (size_t k = 0; k < WeaponTexts.size(); ++k) {
    WeaponTexts[k] = WeaponDescription(static_cast<int>(k)) + std::to_string(WeaponPrices[k]);
  }
  for (size_t k = 0; k < CannonTexts.size(); ++k) {
    CannonTexts[k] = CannonDescription(static_cast<int>(k)) + std::to_string(CannonPrices[k]);
  }
  ScreenState = {};
  // The choice is on the screen before the catalog loads, so the game answers its start at
  // once; nothing can be clicked before the load is over, since it runs before the loop.
  Media.Window.Show();
  Media.Window.Present(false);
  // A file that cannot be read is reported over the choice, and start-up goes on without
  // the rest.
  App.Guard([this] {
    LoadAssets(Media);
    LoadSounds(Media);
    LoadMusic(Media);
  });
  Controls.ScreenChanged();
}

void TForm1::FirstButtonClick() {
  if (Zobrazovani.ItemIndex() != 0) {
    Media.DXDraw1.Options |= doFullScreen;
    Media.Window.SetBorderless(true);
  } else {
    Media.DXDraw1.Options &= ~static_cast<uint32_t>(doFullScreen);
    Media.Window.SetBounds(0, 0, TDXDraw::kWidth, TDXDraw::kHeight);
  }
  FirstButton.SetEnabled(false);
  FirstButton.SetVisible(false);
  Zobrazovani.SetVisible(false);
  Zobrazovani.SetEnabled(false);
  Media.DXDraw1.Initialize();
}

void TForm1::MenuTimerTimer() {
  if (!Media.DXDraw1.CanDraw()) return;
  ShowMainMenu();
  Media.DXDraw1.Surface().Canvas().Release();
  Media.DXDraw1.Flip();
  MenuTimer.SetEnabled(false);
  // Read now, so a records file that cannot be read is reported as the game starts.
  Records();
}

TButton& TForm1::MenuButton(int index) {
  return *static_cast<TButton*>(MenuControls.at(static_cast<size_t>(index)));
}

int TForm1::MenuIndexOf(const TControl& control) const {
  for (int i = 0; i < kMenuControlCount; ++i) {
    if (MenuControls[static_cast<size_t>(i)] == &control) return i;
  }
  return -1;
}

const char* TForm1::ScreenName(TScreen screen) {
  switch (screen) {
    case TScreen::DisplayChoice:
      return "display-choice";
    case TScreen::MainMenu:
      return "main-menu";
    case TScreen::Difficulty:
      return "difficulty";
    case TScreen::Intro:
      return "intro";
    case TScreen::Hangar:
      return "hangar";
    case TScreen::Briefing:
      return "briefing";
    case TScreen::Mission:
      return "mission";
    case TScreen::Paused:
      return "paused";
    case TScreen::Won:
      return "won";
    case TScreen::ShotDown:
      return "shot-down";
    case TScreen::CampaignWon:
      return "campaign-won";
    case TScreen::ShopMenu:
      return "shop-menu";
    case TScreen::PlaneShop:
      return "plane-shop";
    case TScreen::WeaponShop:
      return "weapon-shop";
    case TScreen::WeaponBrowser:
      return "weapon-browser";
    case TScreen::CannonBrowser:
      return "cannon-browser";
    case TScreen::Records:
      return "records";
    case TScreen::Recordings:
      return "recordings";
    case TScreen::DeleteRecording:
      return "delete-recording";
    case TScreen::Viewer:
      return "viewer";
    case TScreen::TitleFlight:
      return "title-flight";
  }
  return "unknown";
}

void TForm1::EnterScreen(TScreen screen) {
  screen_ = screen;
  // The controls beyond the form's own belong to the screens that show them.
  if (screen != TScreen::MainMenu) HideFifthEntry();
  if (screen != TScreen::Records && screen != TScreen::Recordings) HideListButtons();
  // Only the title waits for the player to leave it alone.
  IdleTimer.SetEnabled(false);
  if (screen == TScreen::MainMenu && TitleFlightAfterMs > 0) {
    IdleTimer.SetInterval(TitleFlightAfterMs);
    IdleTimer.SetEnabled(true);
  }
  Controls.ScreenChanged();
  CueMusic();
}

void TForm1::CueMusic() {
  // A recorded flight plays its own mission's music, whatever the campaign's mission is.
  const bool watching = screen_ == TScreen::Viewer && viewer_;
  const int mission = watching ? viewer_->Replay().Start.Campaign.Mission : State().Mission;
  const bool boss = watching ? viewer_->BossCame() : bossAppeared_;
  if (const char* theme = ThemeForScreen(screen_, mission, boss)) {
    Media.DXSound1.PlayMusic(theme);
  }
  Media.DXSound1.SetMusicPaused(screen_ == TScreen::Paused || (watching && viewer_->Paused()));
}

void TForm1::BossAppeared() {
  bossAppeared_ = true;
  if (screen_ == TScreen::Mission) CueMusic();
}

void TForm1::BlankSurface() {
  TDirectDrawSurfaceCanvas& canvas = Media.DXDraw1.Surface().Canvas();
  canvas.Brush.SetColor(clBlack);
  canvas.Rectangle(0, 0, TDXDraw::kWidth, TDXDraw::kHeight);
  Present();
}

void TForm1::DrawMenuPicture(int item, int32_t x, int32_t y, int pattern) {
  auto& items = Media.DXMenuImageList.Items;
  if (item < items.Count()) items[item].Draw(Media.DXDraw1.Surface(), x, y, pattern);
}

void TForm1::Present() {
  Media.DXDraw1.Surface().Canvas().Release();
  Media.DXDraw1.Flip();
}

void TForm1::DrawTimerTimer() {
  if (viewer_) {
    ViewerFrame();
    return;
  }
  // The fraction comes from the tick timer's schedule, not from when its last tick happened
  // to run, so frames at an even rate show even steps.
  const TFramePhase phase{SmoothMotion, SmoothMotion ? UpdateTimer.Phase() : 1.0};
  const TFrameDrawn drawn = DrawFrame(world_, phase);
  if (drawn.Drawn) FrameStats.Presented(App.Backend().NowMicros(), drawn.Terrain);
}

void TForm1::RunGameTimers(bool on) {
  if (on) {
    // Nothing moved while the timers were off: the first frames show things where they stand.
    CutMotion(world_);
    FrameStats.StretchStarted();
    DrawTimer.SetEnabled(true);
    UpdateTimer.SetEnabled(true);
  } else {
    DrawTimer.SetEnabled(false);
    UpdateTimer.SetEnabled(false);
  }
}

void TForm1::SetButton(int index, const std::string& caption,
                       std::function<void(TControl&)> action) {
  TButton& b = MenuButton(index);
  b.SetCaption(caption);
  b.OnClick = std::move(action);
  b.SetEnabled(true);
  b.SetVisible(true);
}

void TForm1::HideButtons(int first, int last) {
  for (int i = first; i <= last; ++i) {
    MenuControls[static_cast<size_t>(i)]->SetVisible(false);
    MenuControls[static_cast<size_t>(i)]->SetEnabled(false);
  }
}

void TForm1::HideFifthEntry() {
  Button17.SetVisible(false);
  Button17.SetEnabled(false);
}

void TForm1::HideListButtons() {
  for (auto& b : ListButtons) {
    b->SetVisible(false);
    b->SetEnabled(false);
    b->SetColumns({});
  }
}

void TForm1::ShowListButton(int index, const std::string& caption,
                            std::function<void(TControl&)> action) {
  TButton& b = ListButton(index);
  b.SetCaption(caption);
  b.OnClick = std::move(action);
  b.SetEnabled(true);
  b.SetVisible(true);
}

// --- What a mission tells the screens -------------------------------------------------------

void TForm1::StopTimers() {
  RunGameTimers(false);
}

void TForm1::StopEngineSound() {
  if (Media.DXEnginesWaveList.Items.Count() > 0) Media.DXEnginesWaveList.Items[0].Stop();
}

void TForm1::ReportError(const std::string& message) {
  App.ShowException(EGameError(message));
}
