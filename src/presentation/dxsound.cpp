#include "presentation/dxsound.h"

#include <deque>
#include <vector>

#include "base/error.h"
#include "platform/backend.h"
#include "platform/mixer.h"
#include "platform/pcm.h"

struct TWaveCollectionItem::State {
  platform::Mixer* mixer = nullptr;
  bool initialized = false;
  int32_t mainVoice = -1;
  // The play voices in list order; the mixer keeps the same order for its idle copies.
  std::deque<int32_t> playVoices;

  ~State() {
    if (!mixer) return;
    for (int32_t v : playVoices) mixer->ReleaseVoice(v);
    if (mainVoice >= 0) mixer->ReleaseVoice(mainVoice);
  }
};

// A missing device is not an error: the game runs silently.
TDXSound::TDXSound(platform::Backend& backend) : backend_(backend), mixer_(backend.Audio()) {}

void TDXSound::AddTheme(std::shared_ptr<const platform::Score> score) {
  if (mixer_) mixer_->AddTheme(std::move(score));
}

void TDXSound::PlayMusic(const std::string& name) {
  music_ = name;
  if (mixer_) mixer_->PlayMusic(name);
}

void TDXSound::SetMusicPaused(bool paused) {
  musicPaused_ = paused;
  if (mixer_) mixer_->SetMusicPaused(paused);
}

bool TWaveCollectionItem::Initialized() const {
  return state_ && state_->initialized;
}

bool TWaveCollectionItem::Initialize() {
  if (state_->initialized) return true;
  platform::Mixer* mixer = owner_.DXSound.Mixer();
  if (!mixer) return false;
  state_->mixer = mixer;
  state_->initialized = true;
  return true;
}

void TWaveCollectionItem::BuildMainVoice() {
  State& s = *state_;
  if (Wave.Empty()) return;
  const auto format = platform::ParsePcmFormat(Wave.Format.data(), Wave.Format.size());
  if (!format) return;
  // Converted once, here; play voices share it.
  auto sound = s.mixer->MakeSound(*format, Wave.Data.data(), Wave.Data.size());
  if (s.mainVoice < 0) {
    s.mainVoice = s.mixer->CreateVoice(std::move(sound));
  } else {
    s.mixer->SetSound(s.mainVoice, std::move(sound));
  }
}

void TWaveCollectionItem::Restore() {
  if (Wave.Empty()) return;
  if (!Initialize()) return;
  BuildMainVoice();
}

void TWaveCollectionItem::Play(bool wait) {
  if (!Initialized() || owner_.DXSound.Muted) return;
  State& s = *state_;
  if (s.mainVoice < 0) BuildMainVoice();
  if (s.mainVoice < 0) return;
  platform::Mixer& m = *s.mixer;
  if (Looped) {
    m.Stop(s.mainVoice);
    m.Start(s.mainVoice, true);
    return;
  }
  int32_t voice = m.FirstIdleCopy(s.mainVoice);
  if (voice < 0) {
    if (MaxPlayingCount <= 0 || static_cast<int32_t>(s.playVoices.size()) < MaxPlayingCount) {
      voice = m.CloneVoice(s.mainVoice);
      if (voice < 0) return;
      s.playVoices.push_back(voice);
    } else {
      // All copies are sounding: the oldest one starts over and goes to the end of the list.
      voice = s.playVoices.front();
      s.playVoices.pop_front();
      s.playVoices.push_back(voice);
      m.MoveToBack(voice);
    }
  }
  m.Stop(voice);
  m.Start(voice, false);
  if (wait) {
    // Checked every 10 ms until the copy has finished; a clock that stands still (a headless
    // driver with input waiting) ends the wait rather than hanging.
    platform::Backend& backend = owner_.DXSound.Backend();
    while (m.Playing(voice)) {
      const uint64_t before = backend.NowMicros();
      backend.WaitUntil(before + 10000);
      if (backend.NowMicros() == before) break;
    }
  }
}

void TWaveCollectionItem::Stop() {
  if (!Initialized() || state_->mainVoice < 0) return;
  state_->mixer->Stop(state_->mainVoice);
  for (int32_t v : state_->playVoices) state_->mixer->Stop(v);
}

int32_t TWaveCollectionItem::PlayVoiceCount() const {
  return state_ ? static_cast<int32_t>(state_->playVoices.size()) : 0;
}

int32_t TWaveCollectionItem::PlayingCount() const {
  if (!Initialized() || state_->mainVoice < 0) return 0;
  int32_t n = state_->mixer->Playing(state_->mainVoice) ? 1 : 0;
  for (int32_t v : state_->playVoices) n += state_->mixer->Playing(v);
  return n;
}

bool TWaveCollectionItem::HasMainVoice() const {
  return state_ && state_->mainVoice >= 0;
}

int32_t TWaveCollectionItem::MainVoice() const {
  return state_ ? state_->mainVoice : -1;
}

std::vector<int32_t> TWaveCollectionItem::PlayVoices() const {
  if (!state_) return {};
  return {state_->playVoices.begin(), state_->playVoices.end()};
}

TWaveCollectionItem& TWaveCollection::Add() {
  auto& item = items_.emplace_back(owner_);
  item.state_ = std::make_shared<TWaveCollectionItem::State>();
  return item;
}

void TWaveCollection::Restore() {
  for (auto& item : items_) item.Restore();
}

void TWaveCollection::InitializeItems() {
  for (auto& item : items_) item.Initialize();
}
