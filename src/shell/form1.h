// The main window TForm1: the display-mode choice, the controls the screens reconfigure, the
// timers, the world, and every screen of the campaign (menus, briefings, pause, mission end,
// the hangar shop, the saved game). The screens are its operations; each sets, for the
// buttons it uses, the caption, click action, visibility and enabled state.
//
// Its operations live in several files, one concept each: form1.cpp (creation, the display
// choice, the menu timer, the mission's callbacks), screens.cpp (menus and mission flow),
// shop.cpp (the hangar shop), saved_game.cpp (saving and loading), flight_recording.cpp
// (recording flights and keeping records), records_screen.cpp, recordings_screen.cpp,
// viewer_screen.cpp (watching a recorded flight) and title_flight.cpp (the idle title's
// flight).
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/world.h"
#include "presentation/application.h"
#include "presentation/controls.h"
#include "presentation/form_components.h"
#include "replay/flight_tally.h"
#include "shell/frame_stats.h"
#include "shell/record_book.h"
#include "shell/recording_list.h"
#include "shell/viewer_hud.h"

class TAircraft;
class TFlightRecorder;
class TReplayViewer;

// The small record every screen handler receives as its context.
struct TScreenState {
  uint8_t WeaponChoice = 0;  // the weapon kind shown in the weapon browser
  uint8_t CannonChoice = 0;  // the cannon kind shown in the cannon browser
  uint8_t TargetSlot = 0;    // the slot a weapon purchase goes into
};

// The form's controls that the screens address by index, in the form's fixed order.
inline constexpr int kMenuControlCount = 19;
// The buttons of the records' grid and of a page of the recorded flights.
inline constexpr int kListButtonCount = 18;
// How long the title waits without input before a recorded flight plays behind it.
inline constexpr uint32_t kTitleFlightAfterMs = 60000;

class TForm1 final : public TMissionEvents {
 public:
  // Builds the window's components (controls, timers, world). Nothing is loaded yet.
  TForm1(TFormComponents& media, TApplication& app, uint64_t seed);
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // --- Start-up ------------------------------------------------------------------------
  // The creation handler: the choice window's size, MenuControls, the price and text tables,
  // ScreenState, then the catalog. A load error reaches the standard error message box.
  void FormCreate();
  void FirstButtonClick();
  void MenuTimerTimer();

  // --- Screens (screens.cpp) -----------------------------------------------------------
  void ShowMainMenu();
  void ShowDifficultyMenu();
  void ChooseDifficulty(TControl& sender);
  void ShowIntroStory();
  void NewGame();
  void ResetWorld();
  void ShowHangar();
  void ShowBriefing();
  void StartMission();
  void ResumeMission();
  void QuitToMainMenu();
  void NextMission();
  void ShowCampaignWon();
  void ExitProg();

  // --- The hangar shop (shop.cpp) ------------------------------------------------------
  void ShowCredits();
  void ShowShopMenu();
  void ShowPlaneShop();
  void BuyAircraft(TControl& sender);
  void SellAircraft();
  void ShowWeaponShop();
  void SellWeapon(TControl& sender);
  void OpenBrowser(TControl& sender);
  void ShowWeaponBrowser(TControl* sender);
  void ShowCannonBrowser();
  void ShowWeaponInfo(uint8_t kind);
  void ShowCannonInfo(uint8_t kind);
  void NextWeaponChoice();
  void PrevWeaponChoice();
  void NextCannonChoice();
  void PrevCannonChoice();
  void BuyWeapon();
  void BuyCannon();

  // --- The saved game (saved_game.cpp) -------------------------------------------------
  void SaveGame();
  void LoadGame();

  // --- Recorded flights and records (flight_recording.cpp) ------------------------------
  // Where every mission flown is recorded; empty records nothing (tests, the tools).
  std::filesystem::path ReplayFolder;
  // The player's records; empty keeps none (tests, the tools).
  std::filesystem::path RecordsPath;
  // The time a flight is dated with.
  std::function<std::time_t()> WallClock = [] { return std::time(nullptr); };
  // The records, read from RecordsPath the first time they are needed (an unreadable file is
  // put aside and reported then).
  const TRecordBook& Records();
  // The last flight won set a record.
  bool NewRecord() const { return newRecord_; }
  // Shows a recorded flight in the viewer; leaving it ends the program (`--replay FILE`).
  // Raises EGameError for content that cannot be read.
  void PlayReplay(const TReplay& replay);
  // The viewer is showing a flight, and has come to its end (or where it drifted).
  bool Replaying() const { return viewer_ != nullptr; }
  bool ReplayDone() const;
  TReplayViewer* Viewer() { return viewer_.get(); }
  // A developer's aid for comparing a flight with its replay: right after the mission's tick
  // Tick (counted as the recording counts), a frame is drawn and the picture saved as PNG,
  // the terrain at the place the ticks alone would scroll it to.
  struct TTickShot {
    int64_t Tick = -1;
    std::string File;
  };
  TTickShot TickShot;

  // --- The records and the recorded flights (records_screen.cpp, recordings_screen.cpp) --
  void ShowRecords();
  void ShowRecordings(int page = 0);
  void ChooseRecording(int index);
  void AskDeleteRecording(int index);
  void DeleteRecording(size_t index);
  // The flights listed on the recordings screen, newest first.
  const std::vector<TRecordingEntry>& RecordingList() const { return recordings_; }

  // --- The viewer (viewer_screen.cpp) and the idle title's flight (title_flight.cpp) ----
  // Shows a flight in the viewer; `back` is where leaving it goes. The title's flight has no
  // bar, only a line saying what it is, and no sound. EGameError as PlayReplay.
  void OpenViewer(TReplay replay, const std::string& title, std::function<void()> back,
                  bool titleFlight = false);
  void LeaveViewer();
  // How long the title waits without input before a flight plays behind it; 0: never.
  uint32_t TitleFlightAfterMs = kTitleFlightAfterMs;
  // The flight shipped with the game's data, played when the player has no record.
  std::filesystem::path ShippedFlight = "demo/flight.replay";
  void StartTitleFlight();
  TViewerHud ViewerHud;

  // --- What a mission tells the screens (TMissionEvents) -------------------------------
  void StopTimers() override;
  void ShowDefeat() override;
  void ShowVictory() override;
  void PauseScreen() override;
  void StopEngineSound() override;
  void BossAppeared() override;
  void ReportError(const std::string& message) override;
  // The window lost the keyboard to another window.
  void WindowDeactivated();

  // The player's setting: losing the window's focus during a mission opens the pause screen.
  bool PauseOnFocusLoss = true;
  // The player's setting: frames draw moving things between their last two tick positions
  // by the time since the last tick; off, each frame shows the last tick's state.
  bool SmoothMotion = true;
  // How evenly the flights were shown (`--frame-stats` prints it at exit).
  TFrameStats FrameStats;

  // --- The form's own keys and the pad (shortcuts.cpp) ---------------------------------
  // The player's keys that switch between the window and the full screen at any time (with
  // kAltChord: while Alt is held).
  std::vector<uint16_t> FullScreenKeys;
  // The player's setting: pulling out the pad that steers a mission opens the pause screen.
  bool PauseOnPadLoss = true;
  void ToggleFullScreen();
  void PadLost();
  // The full screen was left without the game asking (a browser's Esc).
  void FullScreenLeft();

  // --- State ---------------------------------------------------------------------------
  TFormComponents& Media;
  TApplication& App;
  World& GameWorld() { return world_; }
  GameState& State() { return world_.State; }
  TScreenState ScreenState;

  // The form's controls, by their form names.
  TRadioGroup Zobrazovani{"Zobrazovani"};
  TButton FirstButton{"FirstButton"};
  TButton Button2{"Button2"}, Button3{"Button3"}, Button4{"Button4"}, Button5{"Button5"};
  TButton Button6{"Button6"}, Button7{"Button7"}, Button8{"Button8"}, Button9{"Button9"};
  TButton Button10{"Button10"}, Button11{"Button11"}, Button12{"Button12"};
  TButton Button13{"Button13"}, Button14{"Button14"}, Button15{"Button15"};
  TButton Button16{"Button16"};
  TMemo Memo1{"Memo1"}, Memo2{"Memo2"}, Memo3{"Memo3"}, Memo4{"Memo4"};
  TMemo Memo5{"Memo5"}, Memo6{"Memo6"}, Memo7{"Memo7"};
  TEdit Edit1{"Edit1"};
  TButton Button17{"Button17"};  // the main menu's fifth entry, under the column of four
  std::array<std::unique_ptr<TButton>, kListButtonCount> ListButtons;
  TButton& ListButton(int index) { return *ListButtons.at(static_cast<size_t>(index)); }
  TControls Controls;  // after the controls: it is destroyed before them

  // Filled by FormCreate: Button2..Button5, Button6..Button10, Button16, Button11..Button15,
  // Memo1..Memo4. Index 9 is Button16.
  std::array<TControl*, kMenuControlCount> MenuControls{};
  // MenuControls[i] as the button it is (indexes 0..14).
  TButton& MenuButton(int index);
  // Which MenuControls index a control has; -1 for none.
  int MenuIndexOf(const TControl& control) const;

  TTimer MenuTimer;    // 100 ms, on from the start: paints the main menu once it can
  TTimer UpdateTimer;  // 10 ms: the logic tick while a mission runs
  TDXTimer DrawTimer;  // the frame while a mission runs
  TTimer IdleTimer;    // the title's wait for input before its flight

  std::array<int64_t, 6> WeaponPrices{};
  std::array<int64_t, 4> CannonPrices{};
  std::array<std::string, 6> WeaponTexts;
  std::array<std::string, 4> CannonTexts;

  // The screen the player is on, for the driver and the tests.
  enum class TScreen {
    DisplayChoice,
    MainMenu,
    Difficulty,
    Intro,
    Hangar,
    Briefing,
    Mission,
    Paused,
    Won,
    ShotDown,
    CampaignWon,
    ShopMenu,
    PlaneShop,
    WeaponShop,
    WeaponBrowser,
    CannonBrowser,
    Records,
    Recordings,
    DeleteRecording,
    Viewer,
    TitleFlight,
  };
  TScreen Screen() const { return screen_; }
  static const char* ScreenName(TScreen screen);
  // Sets the current screen, tells the controls a new screen appeared and cues its music.
  void EnterScreen(TScreen screen);

  // Drawing helpers the screens share: blank the surface (black, released, flipped), draw
  // a picture of DXMenuImageList at a place, present.
  void BlankSurface();
  void DrawMenuPicture(int item, int32_t x, int32_t y, int pattern = 0);
  void Present();

 private:
  void RunGameTimers(bool on);
  // The theme the screen and the mission call for (shell/music_cues.h).
  void CueMusic();
  void UpdateTimerTimer();
  void DrawTimerTimer();
  void BeginRecording();
  void NoteFlightOutcome(bool won);
  void StoreRecording();
  void QuitRecording();  // the mission left between ticks: its replay ends there
  void OfferFlightRecord(const TReplay& replay);
  void ShootTick(World& w, int64_t flown);
  void SetButton(int index, const std::string& caption, std::function<void(TControl&)> action);
  bool PreviewEvent(const platform::Event& e);
  bool FullScreenKey(const platform::Event& e);
  TControl* BackButton();
  void HideButtons(int first, int last);
  void HideFifthEntry();
  void HideListButtons();
  void ShowListButton(int index, const std::string& caption, std::function<void(TControl&)> action);
  void DrawScreenTitle(const std::string& title);
  void ShowRecordingsPage(int page, bool deleting);
  void PlayRecordOf(size_t slot);
  void NoteInput(const platform::Event& e);
  bool ViewerInput(const platform::Event& e);
  bool TitleFlightInput(const platform::Event& e);
  void ViewerTimer();
  void ViewerFrame();
  void ViewerChanged();
  void RunViewerTimers();
  uint64_t Now();

  World world_;
  std::unique_ptr<TFlightRecorder> recorder_;  // the mission being recorded, if any
  bool bossAppeared_ = false;                  // in the mission flying: its mother ship has come
  TFlightTally tally_;                         // what the recorded mission destroyed and cost
  std::optional<TRecordBook> records_;         // read on first use
  bool recordsWritable_ = true;
  bool newRecord_ = false;
  std::vector<TRecordingEntry> recordings_;
  int recordingsPage_ = 0;
  std::unique_ptr<TReplayViewer> viewer_;
  std::function<void()> viewerBack_;
  TScreen screen_ = TScreen::DisplayChoice;
};
