#include "platform/mixer.h"

#include <algorithm>
#include <cmath>

namespace platform {

Mixer::Mixer(int32_t rate) : rate_(rate), music_(rate) {}

std::shared_ptr<const Sound> Mixer::MakeSound(const PcmFormat& format, const uint8_t* data,
                                              size_t size) const {
  auto sound = std::make_shared<Sound>();
  sound->Samples = ToStereoFloat(format, data, size, rate_);
  return sound;
}

Mixer::Voice* Mixer::Find(VoiceId id) {
  if (id < 0 || static_cast<size_t>(id) >= voices_.size()) return nullptr;
  Voice& v = voices_[static_cast<size_t>(id)];
  return v.live ? &v : nullptr;
}

const Mixer::Voice* Mixer::Find(VoiceId id) const {
  return const_cast<Mixer*>(this)->Find(id);
}

Mixer::VoiceId Mixer::CreateVoice(std::shared_ptr<const Sound> sound) {
  std::lock_guard lock(mutex_);
  Voice v;
  v.live = true;
  v.sound = std::move(sound);
  voices_.push_back(std::move(v));
  return static_cast<VoiceId>(voices_.size() - 1);
}

Mixer::VoiceId Mixer::CloneVoice(VoiceId main) {
  std::lock_guard lock(mutex_);
  Voice* m = Find(main);
  if (!m || m->main >= 0) return -1;
  Voice v;
  v.live = true;
  v.main = main;
  v.sound = m->sound;
  const auto id = static_cast<VoiceId>(voices_.size());
  v.place = m->copies.Append(id);
  voices_.push_back(std::move(v));
  MarkSilent(id);
  return id;
}

void Mixer::SetSound(VoiceId voice, std::shared_ptr<const Sound> sound) {
  std::shared_ptr<const Sound> old;  // freed outside the lock
  std::lock_guard lock(mutex_);
  if (Voice* v = Find(voice)) {
    old = std::move(v->sound);
    v->sound = std::move(sound);
    SetSilent(voice, *v);
  }
}

void Mixer::ReleaseVoice(VoiceId voice) {
  std::shared_ptr<const Sound> old;
  CopyOrder copies;
  std::lock_guard lock(mutex_);
  Voice* v = Find(voice);
  if (!v) return;
  SetSilent(voice, *v);
  UnmarkSilent(voice);
  if (v->main >= 0) {
    if (Voice* m = Find(v->main)) m->copies.Vacate(v->place);
  }
  // The play voices of a released main voice keep no marks anywhere.
  if (v->main < 0) {
    for (Voice& copy : voices_) {
      if (copy.main == voice) copy.silentMarked = false;
    }
  }
  copies = std::move(v->copies);
  old = std::move(v->sound);
  *v = Voice{};
}

void Mixer::Start(VoiceId voice, bool looped) {
  std::lock_guard lock(mutex_);
  Voice* v = Find(voice);
  if (!v) return;
  if (v->main >= 0) {
    if (const Voice* m = Find(v->main)) v->sound = m->sound;
  }
  v->position = 0;
  v->played = 0;
  v->looped = looped;
  if (v->sound && v->sound->Frames() > 0) {
    SetPlaying(voice, *v);
  } else {
    SetSilent(voice, *v);
  }
}

void Mixer::Stop(VoiceId voice) {
  std::lock_guard lock(mutex_);
  if (Voice* v = Find(voice)) SetSilent(voice, *v);
}

bool Mixer::Playing(VoiceId voice) const {
  std::lock_guard lock(mutex_);
  const Voice* v = Find(voice);
  return v && v->playing;
}

Mixer::VoiceId Mixer::FirstIdleCopy(VoiceId main) const {
  std::lock_guard lock(mutex_);
  const Voice* m = Find(main);
  return m ? m->copies.FirstSilent() : -1;
}

void Mixer::MoveToBack(VoiceId copy) {
  std::lock_guard lock(mutex_);
  Voice* v = Find(copy);
  if (!v || v->main < 0) return;
  Voice* m = Find(v->main);
  if (!m) return;
  const bool silent = v->silentMarked;
  m->copies.Vacate(v->place);
  v->place = m->copies.Append(copy);
  if (silent) m->copies.SetSilent(v->place, true);
  m->copies.CloseGaps(
      [this](VoiceId id, uint32_t place) { voices_[static_cast<size_t>(id)].place = place; });
}

void Mixer::SetPlaying(VoiceId id, Voice& v) {
  v.playing = true;
  if (v.activeSlot < 0) {
    v.activeSlot = static_cast<int32_t>(active_.size());
    active_.push_back(id);
  }
  UnmarkSilent(id);
}

void Mixer::SetSilent(VoiceId id, Voice& v) {
  if (v.activeSlot >= 0) {
    const VoiceId last = active_.back();
    active_[static_cast<size_t>(v.activeSlot)] = last;
    voices_[static_cast<size_t>(last)].activeSlot = v.activeSlot;
    active_.pop_back();
    v.activeSlot = -1;
  }
  v.playing = false;
  MarkSilent(id);
}

void Mixer::DropSilentFromActive() {
  size_t kept = 0;
  for (VoiceId id : active_) {
    Voice& v = voices_[static_cast<size_t>(id)];
    if (v.playing) {
      v.activeSlot = static_cast<int32_t>(kept);
      active_[kept++] = id;
    } else {
      v.activeSlot = -1;
    }
  }
  active_.resize(kept);
}

void Mixer::MarkSilent(VoiceId id) {
  Voice& v = voices_[static_cast<size_t>(id)];
  if (v.main < 0 || v.silentMarked || v.playing || !v.live) return;
  Voice* m = Find(v.main);
  if (!m) return;
  m->copies.SetSilent(v.place, true);
  v.silentMarked = true;
}

void Mixer::UnmarkSilent(VoiceId id) {
  Voice& v = voices_[static_cast<size_t>(id)];
  if (!v.silentMarked) return;
  v.silentMarked = false;
  if (Voice* m = Find(v.main)) m->copies.SetSilent(v.place, false);
}

// Brings a voice's position into its sound and says whether it still sounds: a voice whose
// sound is empty, or a one-shot at or past its end, is finished.
bool Mixer::Playable(Voice& v) {
  const int64_t length = v.sound ? v.sound->Frames() : 0;
  if (length <= 0) {
    v.position = 0;
    v.playing = false;
  } else if (v.position < 0) {
    v.position = 0;
  } else if (v.position >= length) {
    if (v.looped) {
      v.position %= length;
    } else {
      v.position = length;
      v.playing = false;
    }
  }
  return v.playing;
}

void Mixer::Step(Voice& v, int64_t frames) {
  if (!Playable(v)) return;
  const int64_t length = v.sound->Frames();
  v.played += frames;
  if (v.looped) {
    v.position = (v.position + frames) % length;
  } else {
    v.position += frames;
    if (v.position >= length) {
      v.position = length;
      v.playing = false;
    }
  }
}

void Mixer::Advance(int64_t frames) {
  if (frames <= 0) return;
  std::lock_guard lock(mutex_);
  bool ended = false;
  for (VoiceId id : active_) {
    Voice& v = voices_[static_cast<size_t>(id)];
    Step(v, frames);
    if (!v.playing) {
      MarkSilent(id);
      ended = true;
    }
  }
  if (ended) DropSilentFromActive();
  music_.Advance(frames);
}

// Adds one voice into the block. Every pass of the loop moves the voice on by at least one
// frame or ends it, so no position or length can hold Mix here.
void Mixer::MixVoice(Voice& v, float* out, int32_t frames) {
  int32_t done = 0;
  while (done < frames && Playable(v)) {
    const int64_t run = std::min<int64_t>(frames - done, v.sound->Frames() - v.position);
    const float* src = v.sound->Samples.data() + 2 * v.position;
    float* dst = out + 2 * done;
    for (int64_t i = 0; i < 2 * run; ++i) dst[i] += src[i];
    done += static_cast<int32_t>(run);
    Step(v, run);
  }
}

void Mixer::Mix(float* out, int32_t frames) {
  if (frames <= 0) return;
  std::lock_guard lock(mutex_);
  std::fill(out, out + 2 * frames, 0.0f);
  bool ended = false;
  for (VoiceId id : active_) {
    Voice& v = voices_[static_cast<size_t>(id)];
    MixVoice(v, out, frames);
    if (!v.playing) {
      MarkSilent(id);
      ended = true;
    }
  }
  if (ended) DropSilentFromActive();
  music_.Mix(out, frames);
  // The limiter: the gain drops at once to keep the loudest sample of the block at full
  // scale and recovers over about a quarter of a second, so a burst of explosions gets
  // quieter instead of clipping, and the change is never a click.
  float peak = 0.0f;
  for (int32_t i = 0; i < 2 * frames; ++i) peak = std::max(peak, std::fabs(out[i]));
  const float needed = peak > 1.0f ? 1.0f / peak : 1.0f;
  const float start = gain_;
  const float target =
      std::min(needed, start + static_cast<float>(frames) * 4.0f / static_cast<float>(rate_));
  const float end = std::min(target, 1.0f);
  for (int32_t i = 0; i < frames; ++i) {
    // Ramp within the block, but never above what this block needs.
    float g = start + (end - start) * static_cast<float>(i + 1) / static_cast<float>(frames);
    g = std::min(g, needed);
    out[2 * i] = std::clamp(out[2 * i] * g, -1.0f, 1.0f);
    out[2 * i + 1] = std::clamp(out[2 * i + 1] * g, -1.0f, 1.0f);
  }
  gain_ = std::min(end, needed);
  if (volume_ < 100) {
    const float v = static_cast<float>(volume_) / 100.0f;
    for (int32_t i = 0; i < 2 * frames; ++i) out[i] *= v * v;
  }
}

void Mixer::SetVolume(int32_t percent) {
  std::lock_guard lock(mutex_);
  volume_ = std::clamp(percent, 0, 100);
}

int32_t Mixer::Volume() const {
  std::lock_guard lock(mutex_);
  return volume_;
}

void Mixer::AddTheme(std::shared_ptr<const Score> score) {
  std::lock_guard lock(mutex_);
  music_.AddTheme(std::move(score));
}

void Mixer::PlayMusic(const std::string& name) {
  std::lock_guard lock(mutex_);
  music_.Play(name);
}

void Mixer::SetMusicPaused(bool paused) {
  std::lock_guard lock(mutex_);
  music_.SetPaused(paused);
}

void Mixer::SetMusicVolume(int32_t percent) {
  std::lock_guard lock(mutex_);
  music_.SetVolume(percent);
}

int32_t Mixer::MusicVolume() const {
  std::lock_guard lock(mutex_);
  return music_.Volume();
}

std::string Mixer::MusicPlaying() const {
  std::lock_guard lock(mutex_);
  return music_.Current();
}

float Mixer::MusicLevel(const std::string& name) const {
  std::lock_guard lock(mutex_);
  return music_.Level(name);
}

std::vector<Mixer::VoiceInfo> Mixer::Voices() const {
  std::lock_guard lock(mutex_);
  std::vector<VoiceInfo> info;
  for (size_t i = 0; i < voices_.size(); ++i) {
    const Voice& v = voices_[i];
    if (!v.live) continue;
    info.push_back({static_cast<VoiceId>(i), v.playing, v.looped, v.position,
                    v.sound ? v.sound->Frames() : 0, v.played});
  }
  return info;
}

int32_t Mixer::PlayingCount() const {
  std::lock_guard lock(mutex_);
  int32_t n = 0;
  for (const Voice& v : voices_) n += v.live && v.playing;
  return n;
}

}  // namespace platform
