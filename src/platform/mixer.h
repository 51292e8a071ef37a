// The software mixer behind the sound device: voices play shared sounds (stereo float at the
// mixer's rate) once or looped, and are summed into the device's buffer. The sdl backend calls
// Mix from its audio thread; the headless backend calls Advance as its virtual clock moves, so
// voices finish at the same moments without any output. Every method may be called from any
// thread: one mutex guards the voices, held only for short, bounded work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/copy_order.h"
#include "platform/music_player.h"
#include "platform/pcm.h"

namespace platform {

struct Sound {
  std::vector<float> Samples;  // interleaved stereo
  int64_t Frames() const { return static_cast<int64_t>(Samples.size() / 2); }
};

class Mixer {
 public:
  using VoiceId = int32_t;

  explicit Mixer(int32_t rate);
  int32_t Rate() const { return rate_; }

  // Converts a wave's samples to the mixer's format (outside any lock).
  std::shared_ptr<const Sound> MakeSound(const PcmFormat& format, const uint8_t* data,
                                         size_t size) const;

  // A voice with its own sound (a main voice) or sharing another voice's (a play voice):
  // a play voice takes whatever sound its main voice holds each time it starts. A main
  // voice keeps its play voices in a list: a clone joins at the end.
  VoiceId CreateVoice(std::shared_ptr<const Sound> sound);
  VoiceId CloneVoice(VoiceId main);
  void SetSound(VoiceId voice, std::shared_ptr<const Sound> sound);
  void ReleaseVoice(VoiceId voice);

  // From the beginning, once or as an endless loop; a voice already playing restarts.
  void Start(VoiceId voice, bool looped);
  void Stop(VoiceId voice);
  bool Playing(VoiceId voice) const;
  // The first play voice of the main voice's list that is not playing, or -1. Silent
  // copies are marked in list order, so the answer costs the same however many copies
  // there are and however many of them sound.
  VoiceId FirstIdleCopy(VoiceId main) const;
  // Moves a play voice to the end of its main voice's list.
  void MoveToBack(VoiceId copy);

  // Adds every playing voice into out (frames x stereo) and limits the sum: many loud voices
  // are turned down smoothly and never clip past full scale. The player's volume scales the
  // limited sum last, so it never changes how the limiter hears the game.
  void Mix(float* out, int32_t frames);
  // The player's volume, 0 (silent) to 100 (full, the default); values outside are clamped.
  // The gain follows the square of the setting, close to how loud it sounds: 50 is a quarter
  // of the amplitude, about 12 dB down.
  void SetVolume(int32_t percent);
  int32_t Volume() const;
  // Moves every playing voice on by this many frames without output.
  void Advance(int64_t frames);

  // The soundtrack, mixed in under the effects before the limiter, so together they never
  // clip; at music volume 0 the output is exactly that of the effects alone.
  void AddTheme(std::shared_ptr<const Score> score);
  void PlayMusic(const std::string& name);
  void SetMusicPaused(bool paused);
  void SetMusicVolume(int32_t percent);
  int32_t MusicVolume() const;
  // The theme last asked for, and how far a theme has faded in (0 to 1).
  std::string MusicPlaying() const;
  float MusicLevel(const std::string& name) const;

  struct VoiceInfo {
    VoiceId Id;
    bool Playing;
    bool Looped;
    int64_t Position;      // frames into the sound
    int64_t Length;        // frames of the sound
    int64_t FramesPlayed;  // since the voice last started
  };
  std::vector<VoiceInfo> Voices() const;
  int32_t PlayingCount() const;

 private:
  struct Voice {
    bool live = false;
    VoiceId main = -1;  // -1 for a main voice
    std::shared_ptr<const Sound> sound;
    bool playing = false;
    bool looped = false;
    int64_t position = 0;
    int64_t played = 0;
    uint32_t place = 0;         // a play voice's place in its main voice's copies
    bool silentMarked = false;  // a play voice: marked silent in its main voice's copies
    int32_t activeSlot = -1;    // the voice's place in active_ while it plays
    CopyOrder copies;           // a main voice: its play voices
  };
  Voice* Find(VoiceId id);
  const Voice* Find(VoiceId id) const;
  // Every change of a voice's playing goes through these, so that active_ and the silent
  // marks always say which voices sound.
  void SetPlaying(VoiceId id, Voice& v);
  void SetSilent(VoiceId id, Voice& v);
  static bool Playable(Voice& v);
  static void Step(Voice& v, int64_t frames);
  static void MixVoice(Voice& v, float* out, int32_t frames);
  void DropSilentFromActive();
  // Keep a play voice's silent mark in its main voice's copies in step with its playing.
  void MarkSilent(VoiceId id);
  void UnmarkSilent(VoiceId id);

  int32_t rate_;
  mutable std::mutex mutex_;
  std::vector<Voice> voices_;
  std::vector<VoiceId> active_;  // the voices that play, the only ones Mix and Advance visit
  float gain_ = 1.0f;            // the limiter's current gain
  int32_t volume_ = 100;         // the player's volume, percent
  MusicPlayer music_;
};

}  // namespace platform
