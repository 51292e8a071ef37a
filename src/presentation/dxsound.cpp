#include "presentation/dxsound.h"

#include "base/error.h"

struct TWaveCollectionItem::State {
  bool initialized = false;
  bool mainVoice = false;
  int32_t playVoices = 0;
};

TDXSound::TDXSound(platform::Backend& backend) : backend_(backend) {}

bool TWaveCollectionItem::Initialized() const {
  return state_ && state_->initialized;
}
void TWaveCollectionItem::Play(bool) {}
void TWaveCollectionItem::Stop() {}
int32_t TWaveCollectionItem::PlayVoiceCount() const {
  return state_ ? state_->playVoices : 0;
}
int32_t TWaveCollectionItem::PlayingCount() const {
  return 0;
}
bool TWaveCollectionItem::HasMainVoice() const {
  return state_ && state_->mainVoice;
}

TWaveCollectionItem& TWaveCollection::Add() {
  auto& item = items_.emplace_back(owner_);
  item.state_ = std::make_shared<TWaveCollectionItem::State>();
  return item;
}

void TWaveCollection::Restore() {}
