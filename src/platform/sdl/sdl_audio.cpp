#include "platform/sdl/sdl_audio.h"

namespace platform {

SdlAudio::~SdlAudio() {
  Close();
}

Mixer* SdlAudio::Get() {
  if (!mixer_) mixer_ = std::make_unique<Mixer>(kRate);
  return mixer_.get();
}

void SdlAudio::Close() {
  if (device_) SDL_CloseAudioDevice(device_);
  device_ = 0;
  mixer_.reset();
}

void SdlAudio::Callback(void* user, Uint8* stream, int len) {
  static_cast<Mixer*>(user)->Mix(reinterpret_cast<float*>(stream),
                                 len / static_cast<int>(2 * sizeof(float)));
}

// Without a usable sound device SDL may still offer its silent dummy driver; either way the
// game keeps going.
void SdlAudio::Open(uint64_t now) {
  tried_ = true;
  silentFrom_ = now;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 && SDL_AudioInit("dummy") != 0) return;
  SDL_AudioSpec want{};
  want.freq = kRate;
  want.format = AUDIO_F32SYS;
  want.channels = 2;
  want.samples = 1024;
  want.callback = Callback;
  want.userdata = mixer_.get();
  SDL_AudioSpec have{};
  SDL_AudioDeviceID dev = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  if (dev == 0 && SDL_AudioInit("dummy") == 0) {
    dev = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
  }
  if (dev == 0) return;
  device_ = dev;
  SDL_PauseAudioDevice(dev, 0);
}

// With no device at all the voices still finish in time, as the game's sounds would, so copies
// of a sound never pile up unheard.
void SdlAudio::Tend(bool presented, uint64_t now) {
  if (!mixer_) return;
  if (!tried_) {
    if (presented) Open(now);
    return;
  }
  if (device_) return;
  const auto frames = static_cast<int64_t>((now - silentFrom_) * kRate / 1000000);
  if (frames <= 0) return;
  mixer_->Advance(frames);
  silentFrom_ += static_cast<uint64_t>(frames) * 1000000 / kRate;
}

}  // namespace platform
