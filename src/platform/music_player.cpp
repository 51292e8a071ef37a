#include "platform/music_player.h"

#include <algorithm>

namespace platform {
namespace {

constexpr float kFadeSeconds = 1.0f;
constexpr float kStingFadeSeconds = 0.15f;  // a sting answers the moment: it comes in at once
constexpr float kPausedLevel = 0.3f;        // about 10 dB down
constexpr float kDuckSeconds = 0.3f;

float Towards(float level, float target, float step) {
  return level < target ? std::min(target, level + step) : std::max(target, level - step);
}

}  // namespace

MusicPlayer::MusicPlayer(int32_t rate) : rate_(rate), scratch_(2 * kBlock) {
  for (int i = 0; i < kSlots; ++i) slots_.push_back(std::make_unique<Slot>(Slot{Synth(rate)}));
}

void MusicPlayer::AddTheme(std::shared_ptr<const Score> score) {
  themes_.push_back(std::move(score));
}

int MusicPlayer::Find(const std::string& name) const {
  for (size_t i = 0; i < themes_.size(); ++i) {
    if (!name.empty() && themes_[i]->Name == name) return static_cast<int>(i);
  }
  return -1;
}

void MusicPlayer::Play(const std::string& name) {
  if (name == current_) return;
  current_ = name;
  const float out = 1.0f / (kFadeSeconds * static_cast<float>(rate_));
  for (auto& s : slots_) {
    s->Target = 0.0f;
    s->Step = out;
  }
  const int theme = Find(name);
  if (theme < 0) return;
  const Score& score = *themes_[static_cast<size_t>(theme)];
  const float in =
      1.0f / ((score.Loops ? kFadeSeconds : kStingFadeSeconds) * static_cast<float>(rate_));
  // A theme still fading out comes back where it is rather than from its start.
  for (auto& s : slots_) {
    if (s->Theme == theme && !s->Sound.Finished()) {
      s->Target = 1.0f;
      s->Step = in;
      return;
    }
  }
  Slot* slot = nullptr;
  for (auto& s : slots_) {
    if (s->Theme < 0) slot = s.get();
  }
  if (!slot) {  // all busy: the quietest gives way
    slot = std::min_element(slots_.begin(), slots_.end(), [](const auto& a, const auto& b) {
             return a->Level < b->Level;
           })->get();
  }
  slot->Theme = theme;
  slot->Sound.Start(&score);
  slot->Level = 0.0f;
  slot->Target = 1.0f;
  slot->Step = in;
}

void MusicPlayer::SetPaused(bool paused) {
  paused_ = paused;
}

void MusicPlayer::SetVolume(int32_t percent) {
  volume_ = std::clamp(percent, 0, 100);
}

float MusicPlayer::Level(const std::string& name) const {
  const int theme = Find(name);
  float level = 0.0f;
  for (const auto& s : slots_) {
    if (theme >= 0 && s->Theme == theme && !s->Sound.Finished()) level = std::max(level, s->Level);
  }
  return level;
}

void MusicPlayer::Fade(int32_t frames) {
  for (auto& s : slots_) {
    if (s->Theme >= 0)
      s->Level = Towards(s->Level, s->Target, s->Step * static_cast<float>(frames));
  }
  const float duckStep = static_cast<float>(frames) / (kDuckSeconds * static_cast<float>(rate_));
  duck_ = Towards(duck_, paused_ ? kPausedLevel : 1.0f, duckStep);
}

void MusicPlayer::Release() {
  for (auto& s : slots_) {
    if (s->Theme >= 0 && ((s->Target == 0.0f && s->Level == 0.0f) || s->Sound.Finished())) {
      s->Theme = -1;
      s->Sound.Start(nullptr);
    }
  }
}

void MusicPlayer::Advance(int64_t frames) {
  while (frames > 0) {
    const auto run = static_cast<int32_t>(std::min<int64_t>(frames, 1 << 20));
    for (auto& s : slots_) {
      if (s->Theme >= 0) s->Sound.Skip(run);
    }
    Fade(run);
    Release();
    frames -= run;
  }
}

void MusicPlayer::Mix(float* out, int32_t frames) {
  if (volume_ == 0) {
    Advance(frames);
    return;
  }
  const float v = static_cast<float>(volume_) / 100.0f;
  const float volume = v * v;
  const float duckStep = 1.0f / (kDuckSeconds * static_cast<float>(rate_));
  while (frames > 0) {
    const int32_t run = std::min(frames, kBlock);
    const float duckTarget = paused_ ? kPausedLevel : 1.0f;
    for (auto& s : slots_) {
      if (s->Theme < 0) continue;
      std::fill(scratch_.begin(), scratch_.begin() + 2 * run, 0.0f);
      s->Sound.Render(scratch_.data(), run);
      float level = s->Level;
      float duck = duck_;
      for (int32_t i = 0; i < run; ++i) {
        level = Towards(level, s->Target, s->Step);
        duck = Towards(duck, duckTarget, duckStep);
        const float g = level * duck * volume;
        out[2 * i] += scratch_[static_cast<size_t>(2 * i)] * g;
        out[2 * i + 1] += scratch_[static_cast<size_t>(2 * i + 1)] * g;
      }
      s->Level = level;
    }
    duck_ = Towards(duck_, duckTarget, duckStep * static_cast<float>(run));
    Release();
    out += 2 * run;
    frames -= run;
  }
}

}  // namespace platform
