// Every caption and fixed text of the game laid out with the real font at the real size in the
// control the form gives it. A tour walks every screen through the form's own operations and
// checks whatever each shows, so the texts are the game's own and cannot drift from it; a
// font or a text that no longer fits its control fails here.
#include <gtest/gtest.h>

#include <set>

#include "core/level.h"
#include "flyers/weapon.h"
#include "platform/text.h"
#include "presentation/control_paint.h"
#include "shell/flight_texts.h"
#include "shell/list_screens.h"
#include "shell/replay_viewer.h"
#include "shell/shop_form.h"
#include "shell/story.h"
#include "shell/viewer_hud.h"

namespace {

// A caption keeps clear of the button's frames and of its dotted focus mark, 3 pixels in.
constexpr int32_t kCaptionMargin = 4;
// An edit's text starts 3 pixels in and is clipped 2 pixels before the right edge.
constexpr int32_t kEditInset = 5;
// A radio item's text starts after the disc, 26 pixels in.
constexpr int32_t kRadioTextLeft = 26;

int32_t Width(const std::string& text, const TControl& c) {
  return control_paint::TextWidth(text, c.Font().Points);
}

size_t Indent(const std::string& line) {
  const size_t n = line.find_first_not_of(' ');
  return n == std::string::npos ? line.size() : n;
}

struct TextFit : ShopForm {
  std::set<std::string> captions;  // every caption met, for the count at the end
  int memoTexts = 0;

  void SetUp() override {
    ASSERT_TRUE(platform::TextRasterizer::Shared().Available()) << "no interface font";
    ShopForm::SetUp();
  }

  // Whatever the screen shows must fit; `where` names the screen in a failure.
  void CheckScreen(const std::string& where) {
    for (TControl* c : form->Controls.All()) {
      if (!c->Visible()) continue;
      if (auto* b = dynamic_cast<TButton*>(c)) CheckCaption(*b, where);
      if (auto* e = dynamic_cast<TEdit*>(c)) {
        EXPECT_LE(Width(e->Text(), *e), e->Width() - kEditInset) << where << ": " << e->Text();
      }
      if (auto* m = dynamic_cast<TMemo*>(c)) CheckMemo(*m, where);
    }
  }

  void CheckCaption(const TButton& b, const std::string& where) {
    captions.insert(b.Caption());
    EXPECT_LE(Width(b.Caption(), b), b.Width() - 2 * kCaptionMargin)
        << where << ": \"" << b.Caption() << "\" in " << b.Name << " (" << b.Width() << " wide)";
  }

  void CheckMemo(TMemo& m, const std::string& where) {
    ++memoTexts;
    const auto& rows = m.Rows();
    const std::string name = where + ", " + m.Name;
    if (&m == &form->Memo5) {
      // A browser's description: one paragraph, all of it in view, its price whole on a row.
      ASSERT_EQ(m.Lines().size(), 1u) << name;
      const std::string& text = m.Lines()[0];
      EXPECT_FALSE(m.ScrollBarShown()) << name << ": " << text;
      EXPECT_LE(rows.size(), static_cast<size_t>(m.PageRows())) << name << ": " << text;
      const std::string price = text.substr(text.rfind("Cena : "));
      ASSERT_FALSE(rows.empty());
      EXPECT_EQ(rows.back().substr(rows.back().size() - std::min(rows.back().size(), price.size())),
                price)
          << name << ": the price is split";
    } else if (&m == &form->Memo7) {
      // Story, briefing and closing texts: paragraphs that wrap, each keeping its indent.
      for (const std::string& line : m.Lines()) {
        const size_t indent = Indent(line);
        if (indent == 0 || indent == line.size()) continue;
        const std::string head = line.substr(0, line.find(' ', indent));
        bool found = false;
        for (const auto& row : rows) found = found || row.rfind(head, 0) == 0;
        EXPECT_TRUE(found) << name << ": the indent of \"" << head << "\" is lost";
      }
    } else {
      // The aircraft descriptions and the stock list: every line one row, all in view.
      EXPECT_FALSE(m.ScrollBarShown()) << name;
      EXPECT_EQ(rows, m.Lines()) << name << ": a line wraps";
      EXPECT_LE(rows.size(), static_cast<size_t>(m.PageRows())) << name;
    }
  }

  // The browser's kinds, each shown and checked once.
  void StepThroughBrowser(const std::string& where, int kinds) {
    for (int k = 0; k < kinds; ++k) {
      CheckScreen(where + " " + std::to_string(k));
      Click(4);  // "Další ..."
    }
  }
};

TEST_F(TextFit, EveryCaptionAndFixedTextFitsItsControl) {
  CheckCaption(form->FirstButton, "display choice");
  for (const std::string& item : form->Zobrazovani.Items()) {
    EXPECT_LE(Width(item, form->Zobrazovani), form->Zobrazovani.Width() - kRadioTextLeft - 2)
        << item;
  }
  CheckScreen("main menu");
  Click(0);
  CheckScreen("difficulty");
  Click(0);
  ASSERT_EQ(form->Screen(), TScreen::Intro);
  CheckScreen("intro");
  EXPECT_EQ(form->Memo7.Lines(), IntroStoryLines());
  Click(3);
  ASSERT_EQ(form->Screen(), TScreen::Hangar);
  CheckScreen("hangar");

  // The shop with everything on offer and money for all of it.
  SetOffers(W().Level.Offers, 5);
  S().Credits = 9'999'999;
  Click(1);
  CheckScreen("shop menu");
  Click(0);
  CheckScreen("plane shop");
  Click(10 + 3);  // the F16: five slots
  ASSERT_NE(W().Player, nullptr);
  CheckScreen("plane shop, F16 owned");
  Click(3);
  Click(1);
  ASSERT_EQ(form->Screen(), TScreen::WeaponShop);
  CheckScreen("weapon shop");
  Click(4);  // "Slot 0 : Koupit"
  ASSERT_EQ(form->Screen(), TScreen::WeaponBrowser);
  StepThroughBrowser("weapon browser", kWeaponKinds);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (form->Screen() != TScreen::WeaponBrowser) Click(4 + slot);
    ASSERT_EQ(form->Screen(), TScreen::WeaponBrowser);
    for (int k = 0; k < slot; ++k) Click(4);  // each slot a kind of its own
    Click(9);                                 // "Koupit"
  }
  Click(9);  // "Kanón : Koupit"
  ASSERT_EQ(form->Screen(), TScreen::CannonBrowser);
  StepThroughBrowser("cannon browser", kCannonKinds);
  Click(9);
  ASSERT_NE(W().Player->Cannon, nullptr);
  CheckScreen("weapon shop, all slots and the cannon sold back at their value");
  Click(0);
  Click(2);

  for (int m = 0; m < 6; ++m) {
    S().Mission = static_cast<uint8_t>(m);
    form->ShowBriefing();
    ASSERT_EQ(form->Screen(), TScreen::Briefing);
    CheckScreen("briefing " + std::to_string(m + 1));
    // A briefing fits the memo without scrolling.
    EXPECT_FALSE(form->Memo7.ScrollBarShown()) << "briefing " << m + 1;
  }
  S().Mission = 0;
  Click(0);
  ASSERT_EQ(form->Screen(), TScreen::Mission);
  form->PauseScreen();
  CheckScreen("pause");
  Click(0);  // "Zpět od hry"
  ASSERT_EQ(form->Screen(), TScreen::Mission);
  form->ShowDefeat();
  CheckScreen("shot down");
  form->ShowVictory();
  CheckScreen("won");
  form->ShowCampaignWon();
  CheckScreen("campaign won");

  // The screens of records and recorded flights, empty as a new player finds them.
  form->ShowMainMenu();
  CheckScreen("main menu");
  Click(2);
  ASSERT_EQ(form->Screen(), TScreen::Records);
  CheckScreen("records");
  Click(3);
  Click(3);
  ASSERT_EQ(form->Screen(), TScreen::Recordings);
  CheckScreen("recordings");

  // The tour met the game's texts: every menu, shop and flight caption, and the memos.
  EXPECT_GE(captions.size(), 43u);
  EXPECT_TRUE(captions.count("Návrat do hlavní nabídky"));
  EXPECT_TRUE(captions.count("Obchodovat se zbraněmi"));
  EXPECT_GE(memoTexts, 30);
}

// The texts drawn on the screens of records and recorded flights, at their widest, each within
// its place: a record's figures in its cell, a row's parts between their columns, the
// viewer's bar across the play area.
TEST(TextFitRecords, TheWidestRecordsRowsAndBarFitTheirPlaces) {
  ASSERT_TRUE(platform::TextRasterizer::Shared().Available()) << "no interface font";
  auto width = [](const std::string& text, int32_t points) {
    return control_paint::TextWidth(text, points);
  };
  TRecord widest;
  widest.Credits = 9'999'999;
  widest.Kills = 9'999;
  widest.ArmourLost = 99'999;
  widest.Ticks = 100 * 60 * 59 + 5999;  // 59:59,9
  widest.Aircraft = 0;                  // "Jaguar", the longest name
  widest.Date = 1893455940;             // 31. 12. 2029
  const std::vector<std::string> cell = RecordCellLines(widest);
  const int32_t room = records_layout::kCellWidth - 8;
  EXPECT_LE(width(cell[0], 12), room) << cell[0];
  EXPECT_LE(width(cell[1], 8), room) << cell[1];
  EXPECT_LE(width(cell[2], 8), room) << cell[2];
  EXPECT_LE(width("Střední obtížnost", 10), room);
  for (int m = 0; m < 6; ++m) {
    EXPECT_LE(width(MissionName(m), 8), records_layout::kLabelWidth) << MissionName(m);
  }
  EXPECT_LE(width(kRecordsFoot, 8), 1024 - 2 * records_layout::kLabelLeft);

  // A row's parts: each ends before the next column begins, the last within the row.
  const std::vector<int32_t>& columns = recordings_layout::kColumns;
  TRecordingEntry entry;
  entry.When.tm_mday = 28;
  entry.When.tm_mon = 11;
  entry.When.tm_year = 127;
  entry.When.tm_hour = 23;
  entry.When.tm_min = 59;
  entry.Mission = 5;
  entry.Difficulty = 2;
  entry.Aircraft = 0;
  entry.Outcome = TFlightOutcome::Lost;
  entry.Ticks = 100 * 60 * 60 + 5999;
  for (const std::string& row : {RecordingRowText(entry), RecordingHeadingText()}) {
    size_t start = 0;
    for (size_t c = 0; start <= row.size(); ++c) {
      const size_t tab = std::min(row.find('\t', start), row.size());
      const std::string part = row.substr(start, tab - start);
      const int32_t end =
          c + 1 < columns.size() ? columns[c + 1] - 6 : recordings_layout::kRowWidth - 8;
      EXPECT_LE(columns[c] + width(part, 8), end) << part;
      start = tab + 1;
    }
  }
  entry.Problem = "z jiné verze hry (10.20.30-beta), nelze přehrát";
  const std::string broken = RecordingRowText(entry);
  EXPECT_LE(columns[1] + width(broken.substr(broken.find('\t') + 1), 8),
            recordings_layout::kRowWidth - 8);

  // The bar: its two legends side by side, and the status at its widest.
  const std::vector<std::string>& legend = TViewerHud::LegendLines();
  EXPECT_LE(width(legend[0], TViewerHud::kLegendPoints) + 24 +
                width(legend[1], TViewerHud::kLegendPoints),
            TViewerHud::kTrackWidth);
  const std::string status = "Rekord: Mise 5, střední obtížnost · Jaguar · 28. 12. 2027 23:59" +
                             std::string("Konec záznamu0,25×59:59,9 / 59:59,9");
  EXPECT_LE(width(status, 10) + 100 + 3 * 24, TViewerHud::kTrackWidth);
}

}  // namespace
