// The records screen: the six missions by the three difficulties, each cell with its record's
// figures or a dash, and a button to watch the flight that set it.
#include "base/error.h"
#include "presentation/form_components.h"
#include "replay/game_version.h"
#include "shell/flight_texts.h"
#include "shell/form1.h"
#include "shell/list_screens.h"

namespace {

using namespace records_layout;

constexpr int kBackButton = 3;  // "Zpět" at the foot of the menu column

// Colours 0x00BBGGRR.
constexpr TColor kTitleColor = 0x60D060;
constexpr TColor kHeadingColor = 0xB4B4B4;
constexpr TColor kFigureColor = 0x40E040;
constexpr TColor kTextColor = 0xE0E0E0;
constexpr TColor kQuietColor = 0x909090;

const char* const kDifficultyHeadings[] = {"Lehká obtížnost", "Střední obtížnost",
                                           "Těžká obtížnost"};

}  // namespace

const char* const kRecordsFoot =
    "Rekord mise je její nejlepší vyhraný let: nejvíc získaných kreditů, při shodě nejmenší "
    "ztráta pancíře, pak nejkratší čas.";

std::vector<std::string> RecordCellLines(const TRecord& r) {
  return {CountText(r.Credits, "kredit", "kredity", "kreditů"),
          CountText(r.Kills, "sestřel", "sestřely", "sestřelů") + ", pancíř −" +
              GroupedNumber(r.ArmourLost),
          FlightTimeText(r.Ticks) + " · " + AircraftText(r.Aircraft) + " · " +
              DayText(static_cast<std::time_t>(r.Date))};
}

bool RecordFromThisVersion(const TRecord& r) {
  try {
    return DecodeReplay(r.Replay.data(), r.Replay.size(), "record").GameVersion == GameVersion();
  } catch (const EGameError&) {
    return false;
  }
}

void TForm1::DrawScreenTitle(const std::string& title) {
  // The title picture, dimmed far down, behind the lists.
  TDirectDrawSurface& s = Media.DXDraw1.Surface();
  s.Fill(clBlack);
  DrawMenuPicture(0, 0, 0);
  for (int32_t y = 0; y < s.Height(); ++y) {
    uint32_t* row = s.Row(y);
    for (int32_t x = 0; x < s.Width(); ++x) row[x] = (row[x] >> 4) & 0x0F0F0F;
  }
  DrawText(s, 24, 18, title, 20, kTitleColor);
}

void TForm1::ShowRecords() {
  const TRecordBook& book = Records();
  Memo7.SetVisible(false);
  DrawScreenTitle("Rekordy");
  TDirectDrawSurface& s = Media.DXDraw1.Surface();
  for (int d = 0; d < kRecordDifficulties; ++d) {
    DrawText(s, kGridLeft + d * kCellWidth, kHeadingTop, kDifficultyHeadings[d], 10, kHeadingColor);
  }
  HideButtons(0, kBackButton - 1);
  HideListButtons();
  TControl* first = nullptr;
  for (size_t slot = 0; slot < kRecordSlots; ++slot) {
    const int mission = SlotMission(slot);
    const int32_t top = kGridTop + mission * kRowHeight;
    if (slot % kRecordDifficulties == 0) {
      DrawText(s, kLabelLeft, top, "Mise " + std::to_string(mission + 1), 12, kTextColor);
      DrawText(s, kLabelLeft, top + 22, MissionName(mission), 8, kQuietColor);
    }
    const int32_t left = kGridLeft + static_cast<int32_t>(slot % kRecordDifficulties) * kCellWidth;
    const std::optional<TRecord>& record = book.Slots[slot];
    if (!record) {
      DrawText(s, left, top, "—", 12, kQuietColor);
      continue;
    }
    const std::vector<std::string> lines = RecordCellLines(*record);
    DrawText(s, left, top, lines[0], 12, kFigureColor);
    DrawText(s, left, top + 22, lines[1], 8, kTextColor);
    DrawText(s, left, top + 38, lines[2], 8, kTextColor);
    if (!RecordFromThisVersion(*record)) {
      DrawText(s, left, top + kButtonOffset + 4, "let z jiné verze hry", 8, kQuietColor);
      continue;
    }
    TButton& b = ListButton(static_cast<int>(slot));
    b.SetBounds(left, top + kButtonOffset, kButtonWidth, kButtonHeight);
    ShowListButton(static_cast<int>(slot), "Přehrát",
                   [this, slot](TControl&) { PlayRecordOf(slot); });
    if (!first) first = &b;
  }
  DrawText(s, kLabelLeft, kFootTop, kRecordsFoot, 8, kQuietColor);
  SetButton(kBackButton, "Zpět", [this](TControl&) { ShowMainMenu(); });
  Present();
  EnterScreen(TScreen::Records);
  if (first) Controls.SetFocus(first);
}

void TForm1::PlayRecordOf(size_t slot) {
  const std::optional<TRecord>& record = Records().Slots.at(slot);
  if (!record) return;
  TReplay replay;
  try {
    replay = DecodeReplay(record->Replay.data(), record->Replay.size(), RecordsPath.string());
  } catch (const EGameError& e) {
    App.ShowException(e);
    return;
  }
  const std::string title = "Rekord: " + MissionText(SlotMission(slot), SlotDifficulty(slot)) +
                            " · " + AircraftText(record->Aircraft);
  App.Guard([&] { OpenViewer(std::move(replay), title, [this] { ShowRecords(); }); });
}
