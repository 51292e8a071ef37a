#include "platform/mixer.h"

#include <algorithm>
#include <cmath>

namespace platform {

Mixer::Mixer(int32_t rate) : rate_(rate) {}

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
  const Voice* m = Find(main);
  if (!m) return -1;
  Voice v;
  v.live = true;
  v.main = main;
  v.sound = m->sound;
  voices_.push_back(std::move(v));
  return static_cast<VoiceId>(voices_.size() - 1);
}

void Mixer::SetSound(VoiceId voice, std::shared_ptr<const Sound> sound) {
  std::shared_ptr<const Sound> old;  // freed outside the lock
  std::lock_guard lock(mutex_);
  if (Voice* v = Find(voice)) {
    old = std::move(v->sound);
    v->sound = std::move(sound);
    v->playing = false;
  }
}

void Mixer::ReleaseVoice(VoiceId voice) {
  std::shared_ptr<const Sound> old;
  std::lock_guard lock(mutex_);
  if (Voice* v = Find(voice)) {
    old = std::move(v->sound);
    *v = Voice{};
  }
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
  v->playing = v->sound && v->sound->Frames() > 0;
}

void Mixer::Stop(VoiceId voice) {
  std::lock_guard lock(mutex_);
  if (Voice* v = Find(voice)) v->playing = false;
}

bool Mixer::Playing(VoiceId voice) const {
  std::lock_guard lock(mutex_);
  const Voice* v = Find(voice);
  return v && v->playing;
}

Mixer::VoiceId Mixer::FirstIdle(std::span<const VoiceId> voices) const {
  std::lock_guard lock(mutex_);
  for (VoiceId id : voices) {
    const Voice* v = Find(id);
    if (!v || !v->playing) return id;
  }
  return -1;
}

void Mixer::Step(Voice& v, int64_t frames) {
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
  for (Voice& v : voices_) {
    if (v.live && v.playing) Step(v, frames);
  }
}

void Mixer::Mix(float* out, int32_t frames) {
  if (frames <= 0) return;
  std::lock_guard lock(mutex_);
  std::fill(out, out + 2 * frames, 0.0f);
  for (Voice& v : voices_) {
    if (!v.live || !v.playing) continue;
    const float* s = v.sound->Samples.data();
    const int64_t length = v.sound->Frames();
    int32_t done = 0;
    while (done < frames && v.playing) {
      const int64_t run = std::min<int64_t>(frames - done, length - v.position);
      const float* src = s + 2 * v.position;
      float* dst = out + 2 * done;
      for (int64_t i = 0; i < 2 * run; ++i) dst[i] += src[i];
      done += static_cast<int32_t>(run);
      Step(v, run);
    }
  }
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
