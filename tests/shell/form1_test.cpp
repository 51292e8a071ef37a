// The main window's creation, its display choice and its menu timer, on the headless backend
// with minimal content written by the test.
#include "shell/form1.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless/headless_backend.h"
#include "support/content_files.h"
#include "support/temp_dir.h"

namespace {

struct Form1Test : ::testing::Test {
  ScopedTempDir dir;
  platform::HeadlessBackend backend;
  std::unique_ptr<TFormComponents> media;
  std::unique_ptr<TApplication> app;
  std::unique_ptr<TForm1> form;

  void Create() {
    media = std::make_unique<TFormComponents>(backend);
    app = std::make_unique<TApplication>(backend, media->Window);
    form = std::make_unique<TForm1>(*media, *app, 3);
    form->FormCreate();
  }
  void SetUp() override { testcontent::WriteMinimalContent(); }
  void TearDown() override {
    form.reset();
    app.reset();
    media.reset();
  }
};

TEST_F(Form1Test, MenuControlsHoldTheFormsControlsInTheirFixedOrder) {
  Create();
  const char* names[kMenuControlCount] = {
      "Button2",  "Button3",  "Button4",  "Button5",  "Button6",  "Button7",  "Button8",
      "Button9",  "Button10", "Button16", "Button11", "Button12", "Button13", "Button14",
      "Button15", "Memo1",    "Memo2",    "Memo3",    "Memo4"};
  for (int i = 0; i < kMenuControlCount; ++i) {
    ASSERT_NE(form->MenuControls[i], nullptr);
    EXPECT_EQ(form->MenuControls[i]->Name, names[i]) << i;
    EXPECT_FALSE(form->MenuControls[i]->Visible()) << i;
    EXPECT_FALSE(form->MenuControls[i]->Enabled()) << i;
  }
  EXPECT_EQ(form->MenuControls[9]->Left(), 456);
  EXPECT_EQ(form->MenuControls[9]->Top(), 448);
  EXPECT_EQ(form->MenuIndexOf(form->Button16), 9);
  EXPECT_EQ(form->MenuIndexOf(form->Memo7), -1);
}

TEST_F(Form1Test, TheMenuTimerPaintsTheMenuOnlyOnceTheSurfaceCanDraw) {
  Create();
  app->RunFor(1000);
  EXPECT_EQ(form->Screen(), TForm1::TScreen::DisplayChoice);
  EXPECT_TRUE(form->MenuTimer.Enabled());

  // The display cannot be had: the error is shown, the choice is gone, the timer idles.
  backend.FailDisplay(platform::DisplayResult::ModeUnavailable);
  backend.PushClick(form->FirstButton.Left() + 5, form->FirstButton.Top() + 5);
  app->RunFor(1000);
  ASSERT_EQ(backend.Messages().size(), 1u);
  EXPECT_EQ(backend.Messages()[0].Text, "Display mode cannot be changed (1024x768 32bit)");
  EXPECT_FALSE(form->FirstButton.Visible());
  EXPECT_FALSE(form->Zobrazovani.Visible());
  EXPECT_EQ(form->Screen(), TForm1::TScreen::DisplayChoice);
  EXPECT_TRUE(form->MenuTimer.Enabled());
}

TEST_F(Form1Test, AMissingPictureIsReportedAndStartUpGoesOn) {
  std::filesystem::remove("res/other/hangar.jpg");
  Create();
  ASSERT_EQ(backend.Messages().size(), 1u);
  EXPECT_NE(backend.Messages()[0].Text.find("hangar.jpg"), std::string::npos);
  // The failing item was appended before its file was read; the ones after it were not,
  // and the sounds were not loaded.
  EXPECT_EQ(media->DXMenuImageList.Items.Count(), 8);
  EXPECT_EQ(media->DXWeaponWaveList.Items.Count(), 0);
  EXPECT_TRUE(form->FirstButton.Visible());
}

}  // namespace
