// The records on the disk: written whole or not at all, however the process dies; a file that
// cannot be read as records is put aside (never written over), the player is told once, and
// the game starts with no records.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "platform/headless/headless_backend.h"
#include "presentation/application.h"
#include "presentation/form_components.h"
#include "shell/form1.h"
#include "shell/record_store.h"
#include "support/content_files.h"
#include "support/failing_file_system.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Contents(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The records after round n: mission 1 at easy won with n credits earned.
TRecordBook Round(int64_t n) {
  TReplay r;
  r.Start.Campaign.AircraftKind = 0;
  r.End = {TFlightOutcome::Won, 100 + n, r.Start.Campaign.Credits + n};
  TRecordBook book;
  book.Slots[0] = RecordOfFlight(r, n, 0, 1800000000 + n);
  return book;
}

int64_t RoundOf(const fs::path& path) {
  const std::vector<uint8_t> bytes = Contents(path);
  const TRecordBook book = DecodeRecordBook(bytes.data(), bytes.size(), path.string());
  return book.Slots[0] ? book.Slots[0]->Credits : -1;
}

TEST(RecordStore, KilledAtAnyStepOfAWriteTheRecordsAreTheOldOrTheNew) {
  ScopedTempDir dir;
  const fs::path path = dir.Path() / "records.dat";
  SaveRecords(path, Round(0));
  // A write is seven calls (see the saved game's test); the kills go through each of them.
  constexpr int64_t kCalls = 7;
  int64_t last = 0;
  for (int64_t at = 0; at < 2 * kCalls; ++at) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      FailingFileSystem files;
      files.KillAt = at;
      for (int64_t n = last + 1;; ++n) {
        try {
          SaveRecords(path, Round(n), files);
        } catch (...) {
          _exit(3);
        }
      }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    const int64_t step = at % kCalls;
    const int64_t round = last + at / kCalls + (step == 6 ? 1 : 0);
    ASSERT_EQ(RoundOf(path), round) << "killed at step " << step;
    fs::remove(TemporaryPathFor(path));
    last = round;
  }
}

TEST(RecordStore, AnUnreadableFileIsPutAsideAndNeverWrittenOver) {
  ScopedTempDir dir;
  const fs::path path = dir.Path() / "records.dat";
  EXPECT_EQ(LoadRecords(path).Book, TRecordBook{});  // none yet: nothing to say
  EXPECT_TRUE(LoadRecords(path).Message.empty());

  SaveRecords(path, Round(5));
  EXPECT_EQ(LoadRecords(path).Book, Round(5));

  // Two damaged files in turn: the second may not take the first one's place.
  const std::vector<uint8_t> damaged = {'S', 'V', 'K', 'R', 'E', 'C', 'R', 'D', 1, 0, 18, 7};
  for (const char* aside : {"records.dat.bad", "records.dat.bad-2"}) {
    dir.Write("records.dat", damaged);
    const TRecordsLoad load = LoadRecords(path);
    EXPECT_EQ(load.Book, TRecordBook{});
    EXPECT_TRUE(load.Writable);
    EXPECT_EQ(load.Message,
              "Soubor s rekordy records.dat je poškozený nebo pochází z jiné verze "
              "hry. Hra ho odložila jako " +
                  std::string(aside) + " a rekordy začínají znovu.");
    EXPECT_NE(load.Problem.find("checksum"), std::string::npos) << load.Problem;
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(Contents(dir.Path() / aside), damaged);
  }

  // Where it cannot be put aside, it stays as it is and the game will not write over it.
  dir.Write("records.dat", damaged);
  FailingFileSystem files;
  files.FailAt = FailingFileSystem::TCall::Rename;
  files.Error = EACCES;
  const TRecordsLoad stuck = LoadRecords(path, files);
  EXPECT_FALSE(stuck.Writable);
  EXPECT_NE(stuck.Message.find("nezapíše"), std::string::npos);
  EXPECT_EQ(Contents(path), damaged);
}

// The game as it starts with a records file of another game: the box says so once, the file
// is kept aside and the main menu is there with no records.
TEST(RecordStore, AForeignRecordsFileIsReportedOnceAndTheGameStarts) {
  ScopedTempDir dir;
  testcontent::WriteMinimalContent();
  dir.Write("records.dat", {'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0});
  for (int start = 0; start < 2; ++start) {
    platform::HeadlessBackend backend;
    TFormComponents media(backend);
    TApplication app(backend, media.Window);
    TForm1 form(media, app, 1);
    form.RecordsPath = dir.Path() / "records.dat";
    form.FormCreate();
    form.Zobrazovani.SetItemIndex(0);
    form.FirstButtonClick();
    form.MenuTimerTimer();
    EXPECT_EQ(form.Screen(), TForm1::TScreen::MainMenu);
    EXPECT_EQ(form.Records(), TRecordBook{});
    std::vector<std::string> texts;
    for (const auto& m : backend.Messages()) texts.push_back(m.Text);
    if (start == 0) {
      ASSERT_EQ(texts.size(), 1u);
      EXPECT_NE(texts[0].find("records.dat.bad"), std::string::npos) << texts[0];
    } else {
      EXPECT_TRUE(texts.empty());
    }
  }
  EXPECT_EQ(Contents(dir.Path() / "records.dat.bad").size(), 12u);
}

}  // namespace
