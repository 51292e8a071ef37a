#include "shell/apply_settings.h"

#include <algorithm>

#include "platform/mixer.h"
#include "presentation/dxinput.h"
#include "shell/form1.h"

namespace {

// The input state each action holds while its key is down.
constexpr std::array<TDXInputState, kActionCount> kActionStates = {
    InputUp,      InputDown,    InputLeft,     InputRight,   InputButton1,
    InputButton2, InputButton3, InputButton31, InputButton32};

}  // namespace

void ApplyInputSettings(const TSettings& s, TDXInput& input) {
  for (int a = 0; a < kActionCount; ++a) {
    auto& places = input.Bindings[kActionStates[static_cast<size_t>(a)]];
    places.fill(0);
    const std::vector<uint8_t>& keys = s.Keys[static_cast<size_t>(a)];
    std::copy_n(keys.begin(), std::min<size_t>(keys.size(), places.size()), places.begin());
  }
  // Buttons not named keep their own states; a button named moves to its action, and the
  // buttons that held that action before let go of it.
  input.PadButtonStates = TDXInput::IdentityPadButtons();
  for (int p = 0; p < kPadActionCount; ++p) {
    const uint8_t state = kActionStates[static_cast<size_t>(static_cast<int>(TAction::Cannon) + p)];
    for (uint8_t& held : input.PadButtonStates) {
      if (held == state) held = TDXInput::kNoState;
    }
  }
  for (int p = 0; p < kPadActionCount; ++p) {
    const uint8_t state = kActionStates[static_cast<size_t>(static_cast<int>(TAction::Cannon) + p)];
    for (const uint8_t button : s.PadButtons[static_cast<size_t>(p)]) {
      if (button >= 1 && button <= input.PadButtonStates.size())
        input.PadButtonStates[button - 1u] = state;
    }
  }
  input.DeadZonePercent = s.DeadZone;
}

void ApplySettings(const TSettings& s, TForm1& form) {
  ApplyInputSettings(s, form.Media.DXInput1);
  if (platform::Mixer* mixer = form.Media.DXSound1.Mixer()) {
    mixer->SetVolume(s.Volume);
    mixer->SetMusicVolume(s.MusicVolume);
  }
  form.PauseOnFocusLoss = s.PauseOnFocusLoss;
  form.SmoothMotion = s.SmoothMotion;
  form.FullScreenKeys = s.FullScreenKeys;
  form.PauseOnPadLoss = s.PauseOnPadLoss;
}
