// The sound device feeding the software mixer. The mixer is there from the start; the device
// opens late (looking for a sound server and driver can take as long as making the window), and
// without any device the voices are moved on by the clock, so they still end.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

#include "platform/mixer.h"

namespace platform {

class SdlAudio {
 public:
  static constexpr int32_t kRate = 44100;

  SdlAudio() = default;
  ~SdlAudio();
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // The mixer, made at the first call for the rate asked of the device (SDL converts to what
  // the device takes).
  Mixer* Get();
  // Called whenever the loop drains its events or is about to wait: opens the device once a
  // picture has been presented, and without a device moves the voices on to `now`.
  void Tend(bool presented, uint64_t now);
  // Closes the device (the callback stops before the mixer goes) and drops the mixer.
  void Close();

 private:
  void Open(uint64_t now);
  static void Callback(void* user, Uint8* stream, int len);

  bool tried_ = false;
  SDL_AudioDeviceID device_ = 0;
  std::unique_ptr<Mixer> mixer_;
  uint64_t silentFrom_ = 0;  // without a device: the time the mixer was last moved on
};

}  // namespace platform
