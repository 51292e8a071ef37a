// The recordings screen: every recorded flight, newest first, a page of rows at a time. A row
// plays its flight in the viewer; "Smazat záznam" turns the rows into a choice of the one to
// delete, which is asked once more before its file goes. A file that cannot be played is
// listed as such, and greyed out except for deleting.
#include <algorithm>
#include <system_error>

#include "base/error.h"
#include "presentation/form_components.h"
#include "replay/game_version.h"
#include "shell/flight_texts.h"
#include "shell/form1.h"
#include "shell/list_screens.h"

namespace {

using namespace recordings_layout;

constexpr int kNextPage = 0, kPreviousPage = 1, kDeleteMode = 2, kBackButton = 3;
constexpr TColor kHeadingColor = 0xB4B4B4;  // 0x00BBGGRR
constexpr TColor kTextColor = 0xE0E0E0;

std::string Spelled(std::string row) {
  std::string text;
  for (char c : row) {
    if (c == '\t') {
      text += " · ";
    } else {
      text += c;
    }
  }
  return text;
}

}  // namespace

void TForm1::ShowRecordings(int page) {
  recordings_ = ReplayFolder.empty() ? std::vector<TRecordingEntry>{}
                                     : ListRecordings(ReplayFolder, GameVersion());
  ShowRecordingsPage(page, false);
}

void TForm1::ShowRecordingsPage(int page, bool deleting) {
  const int count = static_cast<int>(recordings_.size());
  const int pages = std::max(1, (count + kRowsPerPage - 1) / kRowsPerPage);
  page = std::clamp(page, 0, pages - 1);
  recordingsPage_ = page;
  Memo7.SetVisible(false);
  DrawScreenTitle(deleting ? "Který záznam smazat?" : "Záznamy letů");
  TDirectDrawSurface& s = Media.DXDraw1.Surface();
  const std::string heading = RecordingHeadingText();
  size_t start = 0;
  for (size_t column = 0; column < kColumns.size() && start <= heading.size(); ++column) {
    const size_t tab = std::min(heading.find('\t', start), heading.size());
    DrawText(s, kRowLeft + kColumns[column], kHeadingTop, heading.substr(start, tab - start), 8,
             kHeadingColor);
    start = tab + 1;
  }
  HideListButtons();
  TControl* first = nullptr;
  for (int row = 0; row < kRowsPerPage && page * kRowsPerPage + row < count; ++row) {
    const int index = page * kRowsPerPage + row;
    const TRecordingEntry& entry = recordings_[static_cast<size_t>(index)];
    TButton& b = ListButton(row);
    b.SetBounds(kRowLeft, kFirstRowTop + row * kRowStep, kRowWidth, kRowHeight);
    b.SetColumns(kColumns);
    ShowListButton(row, RecordingRowText(entry), [this, index, deleting](TControl&) {
      if (deleting) {
        AskDeleteRecording(index);
      } else {
        ChooseRecording(index);
      }
    });
    b.SetEnabled(deleting || entry.Playable());
    if (!first && b.Enabled()) first = &b;
  }
  std::string foot;
  if (count == 0) {
    foot = "Zatím tu nejsou žádné záznamy. Každá odlétaná mise se zaznamená sama.";
  } else if (deleting) {
    foot = "Vyberte záznam, který chcete smazat.";
  } else {
    foot = "Strana " + std::to_string(page + 1) + " z " + std::to_string(pages) + " · " +
           CountText(count, "záznam", "záznamy", "záznamů") + " · uchovává se posledních 50 letů";
  }
  DrawText(s, kRowLeft, kFootTop, foot, 8, kTextColor);

  SetButton(kNextPage, "Další strana",
            [this, deleting](TControl&) { ShowRecordingsPage(recordingsPage_ + 1, deleting); });
  MenuButton(kNextPage).SetEnabled(page + 1 < pages);
  SetButton(kPreviousPage, "Předchozí strana",
            [this, deleting](TControl&) { ShowRecordingsPage(recordingsPage_ - 1, deleting); });
  MenuButton(kPreviousPage).SetEnabled(page > 0);
  if (deleting) {
    HideButtons(kDeleteMode, kDeleteMode);
    SetButton(kBackButton, "Zpět",
              [this](TControl&) { ShowRecordingsPage(recordingsPage_, false); });
  } else {
    SetButton(kDeleteMode, "Smazat záznam",
              [this](TControl&) { ShowRecordingsPage(recordingsPage_, true); });
    MenuButton(kDeleteMode).SetEnabled(count > 0);
    SetButton(kBackButton, "Zpět", [this](TControl&) { ShowMainMenu(); });
  }
  Present();
  EnterScreen(TScreen::Recordings);
  if (first) Controls.SetFocus(first);
}

void TForm1::ChooseRecording(int index) {
  const TRecordingEntry entry = recordings_.at(static_cast<size_t>(index));
  const int page = recordingsPage_;
  TReplay replay;
  try {
    replay = ReadReplayFile(entry.Path.string());
    if (replay.GameVersion != GameVersion()) throw EGameError("another version of the game");
  } catch (const EGameError&) {
    // It changed since the list was read: the list is read again and says what it is now.
    App.ShowMessage("Tento záznam nelze přehrát.");
    ShowRecordings(page);
    return;
  }
  const std::string title = MissionText(entry.Mission, entry.Difficulty) + " · " +
                            AircraftText(entry.Aircraft) + " · " + DateText(entry.When);
  App.Guard([&] { OpenViewer(std::move(replay), title, [this, page] { ShowRecordings(page); }); });
}

void TForm1::AskDeleteRecording(int index) {
  const TRecordingEntry& entry = recordings_.at(static_cast<size_t>(index));
  HideListButtons();
  DrawScreenTitle("Smazat záznam letu?");
  DrawText(Media.DXDraw1.Surface(), 24, 200, Spelled(RecordingRowText(entry)), 12, kTextColor);
  Memo7.SetBounds(193, 560, 640, 105);
  Memo7.Clear();
  Memo7.Add("Smazaný záznam už nepůjde vrátit. Rekordy zůstanou, jak jsou.");
  Memo7.SetVisible(true);
  SetButton(0, "Smazat", [this, index](TControl&) { DeleteRecording(static_cast<size_t>(index)); });
  HideButtons(1, 2);
  SetButton(kBackButton, "Zpět", [this](TControl&) { ShowRecordingsPage(recordingsPage_, true); });
  Present();
  EnterScreen(TScreen::DeleteRecording);
  // A slip of the Enter key keeps the flight.
  Controls.SetFocus(&MenuButton(kBackButton));
}

void TForm1::DeleteRecording(size_t index) {
  const int page = recordingsPage_;
  std::error_code ec;
  const bool removed = std::filesystem::remove(recordings_.at(index).Path, ec);
  if (!removed) App.ShowMessage("Záznam se nepodařilo smazat.");
  ShowRecordings(page);
}
