// Saving the campaign in the hangar and loading it from the main menu. A save replaces the
// file whole or not at all; a load either takes the game over completely or changes nothing.
#include <array>
#include <filesystem>
#include <memory>

#include "base/error.h"
#include "base/file_io.h"
#include "core/level.h"
#include "core/world.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "shell/atomic_file.h"
#include "shell/flight_setup.h"
#include "shell/form1.h"
#include "shell/game_paths.h"
#include "shell/save_record.h"

namespace {

constexpr const char* kNoSavedGame = "Soubor s uloženou hrou neexistuje!";

// Where a loaded aircraft waits for its next mission.
constexpr int32_t kLoadedAircraftX = 400;
constexpr int32_t kLoadedAircraftY = 600;

// The aircraft a record describes, fitted with its cannon and weapons; null for an aircraft
// code that names none (the other codes are then not built either).
std::unique_ptr<TAircraft> BuildAircraft(World& w, const TSaveRecord& record) {
  auto aircraft = MakeAircraft(w, record.AircraftKind, kLoadedAircraftX, kLoadedAircraftY);
  if (!aircraft) return nullptr;
  aircraft->Cannon = MakeCannon(w, record.CannonKind);
  // All five slots, whatever the aircraft's slot count: a consistent record names no weapon
  // beyond it, and an inconsistent one is kept as it is.
  for (size_t i = 0; i < record.SlotKinds.size(); ++i) {
    aircraft->Slots[i] = MakeWeapon(w, record.SlotKinds[i]);
  }
  return aircraft;
}

// The first kind the offers allow; kind 0 is always among them.
template <size_t N>
uint8_t FirstOffered(const std::array<bool, N>& offered) {
  for (size_t k = 0; k < N; ++k) {
    if (offered[k]) return static_cast<uint8_t>(k);
  }
  return 0;
}

}  // namespace

void TForm1::SaveGame() {
  const TSaveBytes bytes = EncodeSaveRecord(RecordOf(State()));
  try {
    const std::filesystem::path path = SaveGamePath();
    EnsureSaveDirectory(path);  // an installed game's folder in the user's data directory
    ReplaceFileContents(path, bytes.data(), bytes.size());
  } catch (const EGameError& e) {
    App.ShowException(e);  // the hangar stays; the previous save is intact
  }
}

void TForm1::LoadGame() {
  const std::string path = SaveGamePath().string();
  // Opened for reading only, so a save the player made read-only still loads. Something
  // that is not a file (a folder of that name) is no saved game either.
  std::error_code ec;
  fileio::ReadResult file;
  if (std::filesystem::is_regular_file(path, ec)) file = fileio::ReadPrefix(path, kSaveRecordBytes);
  if (!file.Opened) {
    App.ShowMessage(kNoSavedGame);
    return;
  }
  try {
    const TSaveRecord record = DecodeSaveRecord(file.Bytes.data(), file.Bytes.size(), path);
    // Everything that can fail happens before the game changes: the aircraft reads its
    // sprite and sound, the level checks both its files before it replaces the old one.
    std::unique_ptr<TAircraft> aircraft = BuildAircraft(world_, record);
    LoadLevel(world_, record.Mission);  // also the shop's offers and VictoryCountdown

    GameState& s = State();
    ApplyRecord(record, s);  // codes no object is built for stay as read
    world_.StepTicks = 0;
    world_.StepClock = 0;
    SetGameCanvas(Media.DXDraw1.Surface().Canvas());
    if (aircraft) {
      world_.SetPlayer(std::move(aircraft));
    } else {
      world_.ReleasePlayer();
    }
    s.GameOver = false;
    // The browsers may have been left on a kind of a later mission of an earlier game; they
    // open on what this mission offers, so nothing beyond it is shown, sold or bought.
    ScreenState.WeaponChoice = FirstOffered(world_.Level.Offers.WeaponOffered);
    ScreenState.CannonChoice = FirstOffered(world_.Level.Offers.CannonOffered);
  } catch (const EGameError& e) {
    App.ShowException(e);  // the main menu stays as it was
    return;
  }
  ShowHangar();
}
