#include "platform/synth.h"

#include <algorithm>
#include <cmath>

namespace platform {
namespace {

constexpr int32_t kBlock = 256;     // frames rendered between looks at the step clock
constexpr int32_t kControl = 32;    // frames between updates of pitch and filter
constexpr float kSilent = 1.0e-5f;  // an envelope below this has ended
constexpr float kPi = 3.14159265f;
// Octaves of -60 dB: an envelope's decay or release is over in its stated time.
constexpr float kFadeOctaves = 9.97f;
constexpr int64_t kTailSeconds = 3;  // a theme played once rings on this long after its end

float Sine(float phase) {
  // A parabola per half wave, corrected towards the sine: within 0.1 % of it.
  const bool second = phase >= 0.5f;
  const float x = (second ? phase - 0.5f : phase) * 2.0f;
  float y = 4.0f * x * (1.0f - x);
  y = 0.225f * (y * y - y) + y;
  return second ? -y : y;
}

// The step of a band-limited edge near a wave's jump (polyBLEP), so high notes do not alias.
float Blep(float t, float dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0f;
  }
  if (t > 1.0f - dt) {
    t = (t - 1.0f) / dt;
    return t * t + t + t + 1.0f;
  }
  return 0.0f;
}

float Triangle(float phase) {
  return phase < 0.5f ? 4.0f * phase - 1.0f : 3.0f - 4.0f * phase;
}

// Every change of level takes at least a millisecond: a note never starts or stops with a click.
float Frames(float ms, int32_t rate) {
  return std::max(ms, 1.0f) * static_cast<float>(rate) / 1000.0f;
}

float Coefficient(float ms, int32_t rate) {
  return Exp2(-kFadeOctaves / Frames(ms, rate));
}

}  // namespace

float Exp2(float x) {
  // The integer part exactly (ldexp only moves the exponent), the rest within half an
  // octave of it by its Taylor series: within a part in ten million.
  const float n = std::floor(x + 0.5f);
  const float f = x - n;
  const float p =
      1.0f +
      f * (0.69314718f +
           f * (0.24022651f +
                f * (0.05550411f + f * (0.00961813f + f * (0.00133336f + f * 0.00015404f)))));
  return std::ldexp(p, static_cast<int>(n));
}

Synth::Synth(int32_t rate)
    : rate_(rate),
      send_(kBlock),
      echoLeft_(static_cast<size_t>(kMaxEchoMs * static_cast<float>(rate) / 1000.0f) + 1),
      echoRight_(echoLeft_.size()) {}

void Synth::Start(const Score* score) {
  score_ = score;
  played_ = frame_ = 0;
  step_ = 0;
  ended_ = false;
  tail_ = 0;
  noise_ = 0x12345u;
  voiceCount_ = 0;
  voices_.fill(VoiceState{});
  std::fill(echoLeft_.begin(), echoLeft_.end(), 0.0f);
  std::fill(echoRight_.begin(), echoRight_.end(), 0.0f);
  echoAt_ = 0;
  echoDampLeft_ = echoDampRight_ = 0.0f;
  if (!score_ || score_->Steps == 0) {
    score_ = nullptr;
    return;
  }
  echoLength_ =
      std::clamp<size_t>(static_cast<size_t>(score_->EchoMs * static_cast<float>(rate_) / 1000.0f),
                         1, echoLeft_.size());
  voiceCount_ = std::min<int32_t>(kMaxVoices, static_cast<int32_t>(score_->Voices.size()));
  for (int32_t i = 0; i < voiceCount_; ++i) {
    VoiceState& v = voices_[static_cast<size_t>(i)];
    v.Voice = &score_->Voices[static_cast<size_t>(i)];
    v.Ins = &score_->Instruments.at(v.Voice->Instrument);
    const auto& notes = v.Voice->Notes;
    v.LoopNext = static_cast<size_t>(
        std::lower_bound(notes.begin(), notes.end(), score_->LoopStep,
                         [](const ScoreNote& n, uint32_t s) { return n.Start < s; }) -
        notes.begin());
    v.AttackStep = 1.0f / Frames(v.Ins->AttackMs, rate_);
    v.DecayCoef = Coefficient(v.Ins->DecayMs, rate_);
    v.ReleaseCoef = Coefficient(v.Ins->ReleaseMs, rate_);
    v.PanLeft = std::min(1.0f, 1.0f - v.Ins->Pan);
    v.PanRight = std::min(1.0f, 1.0f + v.Ins->Pan);
    v.Damp = 1.4f * (1.0f - v.Ins->Resonance) + 0.1f;
  }
  stepFrame_ = 0;
  BeginStep();
}

bool Synth::Finished() const {
  return !score_ || (ended_ && tail_ >= kTailSeconds * rate_);
}

void Synth::NoteOn(VoiceState& v, const ScoreNote& note) {
  v.Note = &note;
  v.Gate = true;
  v.OffStep = note.Start + note.Length;
  v.NoteFrames = 0;
  v.Env = Stage::Attack;  // from where the last note left the level: no click
  v.VibratoPhase = 0.0f;
  const int chord = v.Ins->ArpMs > 0.0f ? 1 : note.Count;
  const int per = v.Ins->DetuneCents > 0.0f ? 2 : 1;
  v.Count = chord * per;
  static constexpr float kMix[kOscillators + 1] = {0.0f,  1.0f,  0.7f,  0.58f, 0.5f,
                                                   0.45f, 0.41f, 0.38f, 0.35f};
  v.Mix = kMix[v.Count];
  Control(v);
}

// What happens as step_ begins: gates close, notes start.
void Synth::BeginStep() {
  for (int32_t i = 0; i < voiceCount_; ++i) {
    VoiceState& v = voices_[static_cast<size_t>(i)];
    if (v.Gate && step_ >= v.OffStep) {
      v.Gate = false;
      v.Env = Stage::Release;
    }
    const auto& notes = v.Voice->Notes;
    if (!ended_ && v.Next < notes.size() && notes[v.Next].Start == step_) {
      NoteOn(v, notes[v.Next]);
      ++v.Next;
    }
  }
  stepFrame_ = score_->FrameOfStep(step_ + 1, rate_);
}

// Past the last step: a looping theme goes back to its loop step, the frame count moved back
// by exactly the looped part, so every pass is as long as the first; a theme played once
// lets its last notes ring out.
void Synth::EndOfSteps() {
  if (!score_->Loops) {
    ended_ = true;
    for (int32_t i = 0; i < voiceCount_; ++i) {
      VoiceState& v = voices_[static_cast<size_t>(i)];
      v.Gate = false;
      if (v.Env != Stage::Off) v.Env = Stage::Release;
    }
    stepFrame_ = INT64_MAX;
    return;
  }
  frame_ -=
      score_->FrameOfStep(score_->Steps, rate_) - score_->FrameOfStep(score_->LoopStep, rate_);
  step_ = score_->LoopStep;
  for (int32_t i = 0; i < voiceCount_; ++i) {
    voices_[static_cast<size_t>(i)].Next = voices_[static_cast<size_t>(i)].LoopNext;
  }
  BeginStep();
}

// Pitch (sweep, vibrato, arpeggio) and filter, once every kControl frames.
void Synth::Control(VoiceState& v) {
  if (!v.Note) return;
  const Instrument& ins = *v.Ins;
  const float ms = static_cast<float>(v.NoteFrames) * 1000.0f / static_cast<float>(rate_);
  float bend = 0.0f;  // semitones
  if (ins.SweepSemitones != 0.0f && ms < ins.SweepMs) {
    bend += ins.SweepSemitones * (1.0f - ms / ins.SweepMs);
  }
  if (ins.VibratoCents > 0.0f && ms >= ins.VibratoDelayMs) {
    bend += ins.VibratoCents / 100.0f * Triangle(v.VibratoPhase);
    v.VibratoPhase += ins.VibratoHz * kControl / static_cast<float>(rate_);
    if (v.VibratoPhase >= 1.0f) v.VibratoPhase -= 1.0f;
  }
  const ScoreNote& n = *v.Note;
  const int per = ins.DetuneCents > 0.0f ? 2 : 1;
  const int chord = v.Count / per;
  for (int c = 0; c < chord; ++c) {
    int pitch = n.Pitch[static_cast<size_t>(c)];
    if (ins.ArpMs > 0.0f) {
      const auto arpFrames = static_cast<int64_t>(ins.ArpMs * static_cast<float>(rate_) / 1000.0f);
      pitch =
          n.Pitch[static_cast<size_t>((v.NoteFrames / std::max<int64_t>(1, arpFrames)) % n.Count)];
    }
    if (ins.FixedNote >= 0) pitch = ins.FixedNote;
    const float hz = 440.0f * Exp2((static_cast<float>(pitch - 69) + bend) / 12.0f);
    for (int d = 0; d < per; ++d) {
      const float detune = d == 0 ? 1.0f : Exp2(ins.DetuneCents / 1200.0f);
      const float inc = hz * detune / static_cast<float>(rate_);
      // Noise draws a new value 16 times a cycle, up to every frame: c6 is a dull hiss, c8
      // and above white. Tones stay below Nyquist.
      v.Inc[static_cast<size_t>(c * per + d)] =
          ins.Shape == Wave::Noise ? std::min(16.0f * inc, 1.0f) : std::min(inc, 0.45f);
    }
  }
  if (ins.CutoffHz > 0.0f) {
    const float hz =
        std::min(ins.CutoffHz + ins.EnvCutoffHz * v.Level, 0.16f * static_cast<float>(rate_));
    const float x = kPi * hz / static_cast<float>(rate_);
    v.FilterF = 2.0f * (x - x * x * x / 6.0f + x * x * x * x * x / 120.0f);
  }
}

float Synth::Oscillator(VoiceState& v, int k) {
  const auto i = static_cast<size_t>(k);
  float& p = v.Phase[i];
  const float dt = v.Inc[i];
  float s = 0.0f;
  switch (v.Ins->Shape) {
    case Wave::Square:
    case Wave::Pulse25:
    case Wave::Pulse12: {
      const float width =
          v.Ins->Shape == Wave::Square ? 0.5f : (v.Ins->Shape == Wave::Pulse25 ? 0.25f : 0.125f);
      float q = p - width;
      if (q < 0.0f) q += 1.0f;
      s = (p < width ? 1.0f : -1.0f) + Blep(p, dt) - Blep(q, dt);
      break;
    }
    case Wave::Saw:
      s = 2.0f * p - 1.0f - Blep(p, dt);
      break;
    case Wave::Triangle:
      s = Triangle(p);
      break;
    case Wave::Sine:
      s = Sine(p);
      break;
    case Wave::Noise:
      s = v.Hold[i];
      break;
  }
  p += dt;
  if (p >= 1.0f) {
    p -= 1.0f;
    if (v.Ins->Shape == Wave::Noise) {
      noise_ ^= noise_ << 13;
      noise_ ^= noise_ >> 17;
      noise_ ^= noise_ << 5;
      v.Hold[i] = static_cast<float>(noise_ >> 8) * (2.0f / 16777216.0f) - 1.0f;
    }
  }
  return s;
}

void Synth::RenderVoice(VoiceState& v, float* out, int32_t frames) {
  if (v.Env == Stage::Off) return;
  const Instrument& ins = *v.Ins;
  const float amp = ins.Volume * v.Note->Velocity * score_->Gain * v.Mix;
  const float sustain = ins.Sustain;
  for (int32_t i = 0; i < frames; ++i) {
    if (v.NoteFrames % kControl == 0) Control(v);
    ++v.NoteFrames;
    switch (v.Env) {
      case Stage::Attack:
        v.Level += v.AttackStep;
        if (v.Level >= 1.0f) {
          v.Level = 1.0f;
          v.Env = Stage::Decay;
        }
        break;
      case Stage::Decay:
        v.Level = sustain + (v.Level - sustain) * v.DecayCoef;
        break;
      case Stage::Release:
        v.Level *= v.ReleaseCoef;
        if (v.Level < kSilent) {
          v.Level = 0.0f;
          v.Env = Stage::Off;
        }
        break;
      case Stage::Off:
        break;
    }
    float s = 0.0f;
    for (int k = 0; k < v.Count; ++k) s += Oscillator(v, k);
    if (ins.CutoffHz > 0.0f) {
      v.Low += v.FilterF * v.Band;
      const float high = s - v.Low - v.Damp * v.Band;
      v.Band += v.FilterF * high;
      s = ins.Filter == FilterMode::Low ? v.Low : (ins.Filter == FilterMode::High ? high : v.Band);
    }
    s *= amp * v.Level;
    out[2 * i] += s * v.PanLeft;
    out[2 * i + 1] += s * v.PanRight;
    send_[static_cast<size_t>(i)] += s * ins.EchoSend;
    if (v.Env == Stage::Off) break;
  }
}

// A ping-pong echo: what is sent comes back on the left, then on the right, and so on, each
// time quieter and a little duller.
void Synth::RenderEcho(float* out, int32_t frames) {
  const float fb = score_->EchoFeedback;
  const float mix = score_->EchoMix;
  for (int32_t i = 0; i < frames; ++i) {
    const float dl = echoLeft_[echoAt_];
    const float dr = echoRight_[echoAt_];
    echoDampLeft_ += 0.45f * (dr - echoDampLeft_);
    echoDampRight_ += 0.45f * (dl - echoDampRight_);
    echoLeft_[echoAt_] = send_[static_cast<size_t>(i)] + fb * echoDampLeft_;
    echoRight_[echoAt_] = fb * echoDampRight_;
    out[2 * i] += mix * dl;
    out[2 * i + 1] += mix * dr;
    if (++echoAt_ == echoLength_) echoAt_ = 0;
  }
}

void Synth::Render(float* out, int32_t frames) {
  if (!score_) return;
  while (frames > 0) {
    const int64_t toStep = stepFrame_ - frame_;
    const auto run = static_cast<int32_t>(std::min<int64_t>({frames, kBlock, toStep}));
    std::fill(send_.begin(), send_.begin() + run, 0.0f);
    for (int32_t i = 0; i < voiceCount_; ++i)
      RenderVoice(voices_[static_cast<size_t>(i)], out, run);
    if (score_->EchoMs > 0.0f) RenderEcho(out, run);
    out += 2 * run;
    frames -= run;
    Skip(run);
  }
}

void Synth::Skip(int64_t frames) {
  if (!score_) return;
  played_ += frames;
  if (ended_) {
    tail_ += frames;
    return;
  }
  frame_ += frames;
  while (!ended_ && frame_ >= stepFrame_) {
    ++step_;
    if (step_ >= score_->Steps) {
      const int64_t over = frame_ - score_->FrameOfStep(score_->Steps, rate_);
      EndOfSteps();
      if (ended_) tail_ = over;
    } else {
      BeginStep();
    }
  }
}

}  // namespace platform
