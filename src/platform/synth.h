// The soundtrack's synthesizer: plays one theme (a Score) at the mixer's rate. Each voice is
// an oscillator (square, pulse, saw, triangle, sine or noise; with chords, up to four, or an
// arpeggio), an envelope and a state-variable filter; the theme's voices then pass a stereo
// echo. All the room it needs is taken at construction, so Start, Render and Skip never
// allocate: they run on the audio thread. The arithmetic is plain float in a fixed order with
// no library maths (the one exponential is a polynomial here), so a render is the same to the
// bit with either compiler and in the browser.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/score.h"

namespace platform {

class Synth {
 public:
  explicit Synth(int32_t rate);
  int32_t Rate() const { return rate_; }

  // The theme from its beginning; null is silence. The score must outlive its playing.
  void Start(const Score* score);
  const Score* Playing() const { return score_; }
  // A theme played once has reached its end and died away (a looping one never does).
  bool Finished() const;
  // Adds the next frames of the theme into out (interleaved stereo).
  void Render(float* out, int32_t frames);
  // Moves the theme on by that many frames without sound (the headless clock).
  void Skip(int64_t frames);
  // Frames played since Start.
  int64_t Position() const { return played_; }

 private:
  static constexpr int kOscillators = 2 * kMaxChord;
  enum class Stage : uint8_t { Off, Attack, Decay, Release };
  struct VoiceState {
    const ScoreVoice* Voice = nullptr;
    const Instrument* Ins = nullptr;
    size_t Next = 0;                  // the next note to start
    size_t LoopNext = 0;              // the note a loop starts with
    const ScoreNote* Note = nullptr;  // sounding (or releasing), the last started
    uint32_t OffStep = 0;             // the gate closes as this step begins
    bool Gate = false;
    int64_t NoteFrames = 0;
    Stage Env = Stage::Off;
    float Level = 0.0f;
    float AttackStep = 1.0f, DecayCoef = 0.0f, ReleaseCoef = 0.0f;
    float PanLeft = 1.0f, PanRight = 1.0f;
    int Count = 0;  // oscillators in use
    std::array<float, kOscillators> Phase{};
    std::array<float, kOscillators> Inc{};
    std::array<float, kOscillators> Hold{};  // noise: the value held until the phase wraps
    float Mix = 1.0f;                        // per oscillator, by how many sound together
    float VibratoPhase = 0.0f;
    float FilterF = 0.0f, Damp = 1.0f;
    float Low = 0.0f, Band = 0.0f;
  };

  void NoteOn(VoiceState& v, const ScoreNote& note);
  void BeginStep();
  void EndOfSteps();
  void Control(VoiceState& v);
  void RenderVoice(VoiceState& v, float* out, int32_t frames);
  float Oscillator(VoiceState& v, int k);
  void RenderEcho(float* out, int32_t frames);

  int32_t rate_;
  const Score* score_ = nullptr;
  int64_t played_ = 0;
  int64_t frame_ = 0;      // frames into the pass through the steps
  int64_t stepFrame_ = 0;  // where the next step begins
  uint32_t step_ = 0;      // the step sounding now
  bool ended_ = false;     // a theme played once has passed its last step
  int64_t tail_ = 0;       // frames since the end
  uint32_t noise_ = 1;
  int32_t voiceCount_ = 0;
  std::array<VoiceState, kMaxVoices> voices_{};
  std::vector<float> send_;  // the voices' echo send of the block being rendered
  std::vector<float> echoLeft_, echoRight_;
  size_t echoLength_ = 0, echoAt_ = 0;
  float echoDampLeft_ = 0.0f, echoDampRight_ = 0.0f;
};

// 2 to the x, by a polynomial: the same bits everywhere, unlike the libraries' exp2.
float Exp2(float x);

}  // namespace platform
