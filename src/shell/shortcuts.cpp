// The form's own keys and pad buttons, which act on whatever screen is up: the full-screen
// switch, the pad's Back on a screen's "Zpět", Start, a pulled-out pad and a full screen left
// behind the game's back pausing a flight.
#include <algorithm>
#include <string_view>

#include "shell/form1.h"
#include "shell/settings.h"

namespace {

bool IsBackCaption(std::string_view caption) {
  return caption.starts_with("Zpět") || caption.starts_with("Zpet");
}

}  // namespace

bool TForm1::FullScreenKey(const platform::Event& e) {
  if (e.Kind != platform::EventKind::KeyDown || e.Repeat) return false;
  platform::KeyboardState keys{};
  Media.Window.Backend().ReadKeyboard(keys);
  const bool alt = e.Alt || keys[platform::vk::Menu];
  const bool match = std::any_of(FullScreenKeys.begin(), FullScreenKeys.end(), [&](uint16_t k) {
    return (k & 0xFF) == e.Key && (!(k & kAltChord) || alt);
  });
  if (!match) return false;
  // The key was not meant for the flight (Enter fires the weapon) nor a focused button.
  Media.DXInput1.HoldBackUntilReleased(Media.DXInput1.BoundTo(e.Key));
  ToggleFullScreen();
  return true;
}

bool TForm1::PreviewEvent(const platform::Event& e) {
  using platform::EventKind;
  NoteInput(e);
  const bool modal = App.ModalDepth() > 0;
  // The title's flight gives way to any input at all, the full-screen keys included.
  if (screen_ == TScreen::TitleFlight && !modal) return TitleFlightInput(e);
  if (FullScreenKey(e)) return true;
  if (screen_ == TScreen::Viewer && viewer_ && !modal && ViewerInput(e)) return true;
  // On the screens of records and recorded flights, Esc goes back as "Zpět" does.
  const bool listScreen = screen_ == TScreen::Records || screen_ == TScreen::Recordings ||
                          screen_ == TScreen::DeleteRecording;
  if (listScreen && !modal && e.Kind == EventKind::KeyDown && !e.Repeat &&
      e.Key == platform::vk::Escape) {
    TControl* back = BackButton();
    return back && Controls.Click(*back);
  }
  // Start pauses a flight, as the pause key does, and resumes it as "Zpět od hry".
  if (e.Kind != EventKind::PadDown || e.Pad != platform::PadButton::Start || App.ModalDepth() > 0)
    return false;
  if (screen_ == TScreen::Mission && UpdateTimer.Enabled()) {
    PauseScreen();
    return true;
  }
  TControl* back = BackButton();
  return screen_ == TScreen::Paused && back && Controls.Click(*back);
}

void TForm1::ToggleFullScreen() {
  // A flight goes on as it was: the timers keep running, only the picture moves.
  TDXDraw& draw = Media.DXDraw1;
  if (!draw.SetFullScreen(!draw.FullScreen())) return;
  if (!DrawTimer.Enabled()) draw.Repaint();
}

void TForm1::PadLost() {
  // As losing focus: the aircraft is not left flying on its last input until shot down.
  if (PauseOnPadLoss && screen_ == TScreen::Mission && UpdateTimer.Enabled()) PauseScreen();
}

void TForm1::FullScreenLeft() {
  // A browser takes the first Esc in its full screen for itself: the pause the player asked
  // for comes from here, and the next switch goes back into the full screen.
  Media.DXDraw1.FullScreenLeft();
  if (screen_ == TScreen::Mission && UpdateTimer.Enabled()) PauseScreen();
}

TControl* TForm1::BackButton() {
  for (TControl* c : MenuControls) {
    auto* b = dynamic_cast<TButton*>(c);
    if (b && b->Visible() && b->Enabled() && IsBackCaption(b->Caption())) return b;
  }
  return nullptr;
}
