// A theme of the soundtrack as the synthesizer plays it: its instruments, and for each voice
// the notes in time order, laid out from a score's patterns, sections and order list
// (platform/score_reader.h reads the text a musician writes).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

enum class Wave : uint8_t { Square, Pulse25, Pulse12, Saw, Triangle, Sine, Noise };
enum class FilterMode : uint8_t { Low, High, Band };

struct Instrument {
  std::string Name;
  Wave Shape = Wave::Square;
  float AttackMs = 2.0f;
  float DecayMs = 150.0f;
  float Sustain = 0.7f;  // 0..1 of the peak
  float ReleaseMs = 80.0f;
  float Volume = 0.7f;  // 0..1
  float Pan = 0.0f;     // -1 left .. 1 right
  FilterMode Filter = FilterMode::Low;
  float CutoffHz = 0.0f;        // 0: no filter
  float Resonance = 0.0f;       // 0..0.9
  float EnvCutoffHz = 0.0f;     // added to the cutoff at the envelope's peak
  float SweepSemitones = 0.0f;  // the pitch starts this far above the note and falls to it
  float SweepMs = 0.0f;
  float DetuneCents = 0.0f;  // a second oscillator this far sharp, for width
  float VibratoCents = 0.0f;
  float VibratoHz = 5.0f;
  float VibratoDelayMs = 0.0f;
  float ArpMs = 0.0f;      // a chord's notes in turn, each this long; 0: together
  int32_t FixedNote = -1;  // a drum's own pitch (MIDI number); -1: the written note
  float EchoSend = 0.0f;   // 0..1 of the voice into the theme's echo
};

inline constexpr int kMaxChord = 4;

// One note (or chord) of a voice.
struct ScoreNote {
  uint32_t Start = 0;                      // step
  uint32_t Length = 1;                     // steps it is held
  uint8_t Count = 1;                       // pitches of the chord, 1..kMaxChord
  std::array<uint8_t, kMaxChord> Pitch{};  // MIDI note numbers
  float Velocity = 1.0f;
};

struct ScoreVoice {
  std::string Channel;      // the channel (or kit letter) it comes from, for messages
  uint32_t Instrument = 0;  // index into Score::Instruments
  std::vector<ScoreNote> Notes;
};

struct Score {
  std::string Name;  // the file's name without its folder and extension
  std::string Title;
  std::string Key;
  int32_t Tempo = 120;  // beats per minute
  int32_t StepsPerBeat = 4;
  float Gain = 1.0f;
  float EchoMs = 0.0f;  // 0: no echo
  float EchoFeedback = 0.0f;
  float EchoMix = 0.0f;
  bool Loops = true;
  uint32_t LoopStep = 0;  // where a loop goes back to
  uint32_t Steps = 0;     // the whole order list
  std::vector<Instrument> Instruments;
  std::vector<ScoreVoice> Voices;

  // The frame at the mixer's rate where step s begins; exact integer arithmetic, so every
  // pass through a loop is the same length to the frame.
  int64_t FrameOfStep(int64_t step, int32_t rate) const {
    return step * rate * 60 / (static_cast<int64_t>(Tempo) * StepsPerBeat);
  }
};

// What a score may ask of the synthesizer, checked by the reader: the synthesizer keeps room
// for this much from its construction on, so playing never allocates.
inline constexpr int kMaxVoices = 16;
inline constexpr int kMaxScoreSteps = 1 << 16;
inline constexpr float kMaxEchoMs = 750.0f;

}  // namespace platform
