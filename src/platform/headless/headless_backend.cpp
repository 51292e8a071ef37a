#include "platform/headless/headless_backend.h"

#include "platform/png.h"

namespace platform {

HeadlessBackend::HeadlessBackend() = default;
HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::AdvanceMicros(uint64_t micros) {
  const uint64_t before = now_;
  now_ += micros;
  if (mixer_) {
    // Whole frames since the clock's zero, so no rounding error builds up.
    const auto frames = [](uint64_t t) {
      return static_cast<int64_t>(t / 1000000 * kAudioRate + t % 1000000 * kAudioRate / 1000000);
    };
    const int64_t n = frames(now_) - frames(before);
    if (audioOut_) {
      const size_t at = audioOut_->size();
      audioOut_->resize(at + static_cast<size_t>(2 * n));
      mixer_->Mix(audioOut_->data() + at, static_cast<int32_t>(n));
    } else {
      mixer_->Advance(n);
    }
  }
}

void HeadlessBackend::SetRefreshRate(int32_t hz) {
  refreshPeriod_ = hz > 0 ? 1000000 / static_cast<uint64_t>(hz) : 16667;
}

void HeadlessBackend::SetKey(uint8_t virtualKey, bool down) {
  keys_[virtualKey] = down;
}

void HeadlessBackend::ReleaseAllKeys() {
  keys_.fill(false);
}

void HeadlessBackend::PushKeyPress(uint8_t virtualKey) {
  Event down;
  down.Kind = EventKind::KeyDown;
  down.Key = virtualKey;
  events_.push_back(down);
  Event up = down;
  up.Kind = EventKind::KeyUp;
  events_.push_back(up);
}

void HeadlessBackend::PushClick(int32_t x, int32_t y) {
  Event e;
  e.X = x;
  e.Y = y;
  e.Kind = EventKind::MouseMove;
  events_.push_back(e);
  e.Button = 1;
  e.Kind = EventKind::MouseDown;
  events_.push_back(e);
  e.Kind = EventKind::MouseUp;
  events_.push_back(e);
}

void HeadlessBackend::PushDoubleClick(int32_t x, int32_t y) {
  PushClick(x, y);
  Event e;
  e.X = x;
  e.Y = y;
  e.Button = 1;
  e.Clicks = 2;
  e.Kind = EventKind::MouseDown;
  events_.push_back(e);
  e.Kind = EventKind::MouseUp;
  events_.push_back(e);
}

void HeadlessBackend::PushQuit() {
  Event e;
  e.Kind = EventKind::Quit;
  events_.push_back(e);
}

void HeadlessBackend::WaitUntil(uint64_t when) {
  if (!events_.empty()) return;
  if (when == kForever) {
    // Nothing is scheduled and nobody will ever type: the program would sleep forever.
    PushQuit();
    return;
  }
  if (when > now_) AdvanceMicros(when - now_);
}

bool HeadlessBackend::PollEvent(Event& e) {
  if (events_.empty()) return false;
  e = std::move(events_.front());
  events_.pop_front();
  return true;
}

void HeadlessBackend::SetWindowBounds(int32_t x, int32_t y, int32_t width, int32_t height) {
  window_.X = x;
  window_.Y = y;
  window_.Width = width;
  window_.Height = height;
}

void HeadlessBackend::SetWindowFrame(const FrameExtents& frame) {
  frame_ = frame;
  Event e;
  e.Kind = EventKind::FrameChanged;
  events_.push_back(e);
}

DisplayResult HeadlessBackend::OpenDisplay(bool fullscreen) {
  const DisplayResult r = displayFailure_;
  displayFailure_ = DisplayResult::Ok;
  if (r != DisplayResult::Ok) return r;
  window_.DisplayOpen = true;
  window_.Fullscreen = fullscreen;
  window_.Visible = true;
  return DisplayResult::Ok;
}

void HeadlessBackend::Present(const PixelView& picture, bool) {
  if (!picture.Pixels || picture.Width <= 0 || picture.Height <= 0) return;
  pictureWidth_ = picture.Width;
  pictureHeight_ = picture.Height;
  picture_.resize(static_cast<size_t>(picture.Width) * static_cast<size_t>(picture.Height));
  for (int32_t y = 0; y < picture.Height; ++y) {
    const uint32_t* src = picture.Pixels + static_cast<size_t>(y) * picture.Pitch;
    std::copy(src, src + picture.Width,
              picture_.begin() + static_cast<ptrdiff_t>(y) * picture.Width);
  }
  ++presents_;
}

PixelView HeadlessBackend::Picture() const {
  return {picture_.data(), pictureWidth_, pictureHeight_, pictureWidth_};
}

uint32_t HeadlessBackend::PixelAt(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= pictureWidth_ || y >= pictureHeight_) return 0;
  return picture_[static_cast<size_t>(y) * static_cast<size_t>(pictureWidth_) +
                  static_cast<size_t>(x)];
}

bool HeadlessBackend::SavePng(const std::string& path) const {
  return WritePng(path, Picture());
}

platform::Mixer* HeadlessBackend::Audio() {
  if (!audioAvailable_) return nullptr;
  if (!mixer_) mixer_ = std::make_unique<platform::Mixer>(kAudioRate);
  return mixer_.get();
}

void HeadlessBackend::MessageShown(const std::string& caption, const std::string& text) {
  messages_.push_back({caption, text, now_});
  const size_t before = events_.size();
  if (messageScript_) messageScript_(*this, messages_.back());
  if (events_.size() == before) PushKeyPress(vk::Return);
}

}  // namespace platform
