// Sound: the device component, wave lists and their items with main and play voices.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

namespace platform {
class Backend;
class Mixer;
struct Score;
}  // namespace platform

// A wave file's format record ("fmt " chunk) and samples ("data" chunk).
struct TWave {
  std::vector<uint8_t> Format;
  std::vector<uint8_t> Data;
  bool Empty() const { return Data.empty() || Format.empty(); }
  // Throws EGameError "Cannot open file %s" (previous wave kept) or "Wave is invalid"
  // (wave left empty).
  void LoadFromFile(const std::string& path);
};

class TDXSound {
 public:
  // Opens the platform's sound device; without one the game runs silently.
  explicit TDXSound(platform::Backend& backend);
  TDXSound(const TDXSound&) = delete;
  TDXSound& operator=(const TDXSound&) = delete;
  bool Ready() const { return mixer_ != nullptr; }
  platform::Backend& Backend() { return backend_; }
  // The device's mixer; null when there is no device.
  platform::Mixer* Mixer() { return mixer_; }
  // While muted, Play starts nothing (sounds already playing go on to their end): a flight
  // flown faster than it is shown would only make a din.
  bool Muted = false;

  // The soundtrack: the themes the game has, and the one the screen asks for (by name; ""
  // or an unknown name is silence). Without a device the choice is still kept.
  void AddTheme(std::shared_ptr<const platform::Score> score);
  void PlayMusic(const std::string& name);
  void SetMusicPaused(bool paused);
  const std::string& MusicPlaying() const { return music_; }
  bool MusicPaused() const { return musicPaused_; }

 private:
  platform::Backend& backend_;
  platform::Mixer* mixer_ = nullptr;
  std::string music_;
  bool musicPaused_ = false;
};

class TDXWaveList;

class TWaveCollectionItem {
 public:
  explicit TWaveCollectionItem(TDXWaveList& owner) : owner_(owner) {}

  TWave Wave;
  bool Looped = false;
  int32_t MaxPlayingCount = 0;  // 0 = no limit
  int32_t Frequency = 0;        // 0 = the wave's own rate
  int32_t Pan = 0;
  int32_t Volume = 0;

  bool Initialized() const;
  void Play(bool wait = false);
  void Stop();

  // Bookkeeping visible to tests and the headless driver.
  int32_t PlayVoiceCount() const;
  int32_t PlayingCount() const;  // play voices sounding, plus the main voice if looping
  bool HasMainVoice() const;
  // The mixer's voices of this item: the main voice, then the play voices in list order
  // (-1 for none).
  int32_t MainVoice() const;
  std::vector<int32_t> PlayVoices() const;

 private:
  friend class TWaveCollection;
  void Restore();     // the list's Restore for this item
  bool Initialize();  // true when the device is ready
  void BuildMainVoice();
  TDXWaveList& owner_;
  // Voice handles and state belong to the implementation.
  struct State;
  std::shared_ptr<State> state_;
};

class TWaveCollection {
 public:
  explicit TWaveCollection(TDXWaveList& owner) : owner_(owner) {}
  TWaveCollectionItem& Add();
  TWaveCollectionItem& operator[](int32_t index) { return items_.at(static_cast<size_t>(index)); }
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Initialises (when the device is ready) and (re)builds the main voice of every item
  // whose wave is not empty.
  void Restore();
  // Initialises every item when the device is ready, building no voice: what happens to the
  // items the form defines when the window is created.
  void InitializeItems();

 private:
  TDXWaveList& owner_;
  std::deque<TWaveCollectionItem> items_;
};

class TDXWaveList {
 public:
  explicit TDXWaveList(TDXSound& sound) : DXSound(sound) {}
  TDXWaveList(const TDXWaveList&) = delete;
  TDXWaveList& operator=(const TDXWaveList&) = delete;
  TDXSound& DXSound;
  TWaveCollection Items{*this};
};
