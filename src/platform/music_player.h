// The soundtrack beside the effects: the themes the game has, the one that plays, and the
// crossfade from one to the next. The mixer owns one and holds its lock around every call,
// so the game thread chooses while the audio thread renders. Mixing never allocates: the
// synthesizers and their buffers are made with the player.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/score.h"
#include "platform/synth.h"

namespace platform {

class MusicPlayer {
 public:
  explicit MusicPlayer(int32_t rate);

  // Themes are kept for the player's whole life, so a synthesizer never outlives its score.
  void AddTheme(std::shared_ptr<const Score> score);
  // The theme of that name, faded in over about a second while what played fades out; an
  // empty or unknown name fades to silence. The theme already playing goes on undisturbed.
  void Play(const std::string& name);
  // The name of the theme last asked for ("" for silence).
  const std::string& Current() const { return current_; }
  // Paused, the music goes on a good deal quieter.
  void SetPaused(bool paused);
  // The player's music volume, 0 to 100, on the square-law curve of the effects' volume.
  void SetVolume(int32_t percent);
  int32_t Volume() const { return volume_; }
  // Adds the music into out (interleaved stereo). At volume 0 it adds nothing at all.
  void Mix(float* out, int32_t frames);
  // Moves the music on without sound (the headless clock).
  void Advance(int64_t frames);
  // The fade level of the named theme, 0 (not heard) to 1, for tests and the driver.
  float Level(const std::string& name) const;

 private:
  static constexpr int kSlots = 3;  // one fading in, up to two fading out
  static constexpr int32_t kBlock = 512;
  struct Slot {
    Synth Sound;
    int Theme = -1;
    float Level = 0.0f;   // the fade's level
    float Target = 0.0f;  // where it is heading
    float Step = 0.0f;    // per frame
  };
  int Find(const std::string& name) const;
  void Fade(int32_t frames);
  void Release();  // slots faded out or whose theme ended are free again

  int32_t rate_;
  std::vector<std::shared_ptr<const Score>> themes_;
  std::vector<std::unique_ptr<Slot>> slots_;
  std::string current_;
  bool paused_ = false;
  float duck_ = 1.0f;  // the pause's level, ramped
  int32_t volume_ = 100;
  std::vector<float> scratch_;
};

}  // namespace platform
