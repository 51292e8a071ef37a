// The main window on the headless backend in a minimal content tree, past the display choice
// and on the main menu: what the shop and saved-game tests start from. Message boxes are
// answered with OK and recorded.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/world.h"
#include "flyers/aircraft.h"
#include "platform/headless/headless_backend.h"
#include "presentation/application.h"
#include "presentation/form_components.h"
#include "shell/form1.h"
#include "support/content_files.h"
#include "support/temp_dir.h"

struct ShopForm : ::testing::Test {
  ScopedTempDir dir;
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  TApplication app{backend, media.Window};
  std::unique_ptr<TForm1> form;

  using TScreen = TForm1::TScreen;

  void SetUp() override {
    testcontent::WriteMinimalContent();
    form = std::make_unique<TForm1>(media, app, 1);
    form->FormCreate();
    form->Zobrazovani.SetItemIndex(0);
    form->FirstButtonClick();
    form->MenuTimerTimer();
    ASSERT_EQ(form->Screen(), TScreen::MainMenu);
  }

  World& W() { return form->GameWorld(); }
  GameState& S() { return form->State(); }
  TButton& Button(int menuIndex) { return form->MenuButton(menuIndex); }

  // Clicks a menu button as the mouse would; fails the test if it is hidden or disabled.
  void Click(int menuIndex) {
    ASSERT_TRUE(form->Controls.Click(Button(menuIndex))) << Button(menuIndex).Caption();
  }

  // Main menu -> new game at the difficulty (0, 2 or 4) -> hangar.
  void StartNewGame(int difficulty = 0) {
    Click(0);
    Click(difficulty / 2);
    Click(3);  // "Pokračuj"
    ASSERT_EQ(form->Screen(), TScreen::Hangar);
  }
  // Hangar -> shop menu -> aircraft screen -> buy the aircraft of that kind.
  void BuyAircraft(int kind) {
    Click(1);
    Click(0);
    Click(10 + kind);
  }
  // A new game with a Jaguar bought, back in the hangar with 10000 credits.
  void NewGameWithJaguar(int difficulty = 0) {
    StartNewGame(difficulty);
    BuyAircraft(0);
    Click(3);  // "Zpět" to the shop menu
    Click(2);  // "Zpět" to the hangar
  }

  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : backend.Messages()) texts.push_back(m.Text);
    return texts;
  }
  // The captions of the shown buttons among MenuControls [first, last].
  std::vector<std::string> ShownCaptions(int first, int last) {
    std::vector<std::string> captions;
    for (int i = first; i <= last; ++i) {
      if (Button(i).Visible()) captions.push_back(Button(i).Caption());
    }
    return captions;
  }
};
