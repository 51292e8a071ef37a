#include "core/player_control.h"

#include "core/world.h"
#include "flyers/aircraft.h"
#include "presentation/form_components.h"

TDXInputStates CommandStates() {
  TDXInputStates states;
  states.set();
  for (TDXInputState steer : {InputUp, InputDown, InputLeft, InputRight}) states.reset(steer);
  return states;
}

void PlayerControl(World& w) {
  PlayerControl(w, w.Media.DXInput1.States());
}

void PlayerControl(World& w, const TDXInputStates& states) {
  // The pause screen stops the timers; the rest of this tick still runs.
  if (states[InputButton32]) w.Events->PauseScreen();
  TAircraft* player = w.Player;
  if (!player) return;

  // Strictly more than the price; holding the key buys one repair, the next needs new damage.
  if (states[InputButton31] && w.State.Credits > kRepairPrice &&
      player->Health < player->MaxHealth) {
    w.State.Credits -= kRepairPrice;
    player->Health = player->MaxHealth;
  }

  // Up wins over down, left over right.
  if (states[InputUp]) {
    player->Accelerate(0, -kSteer);
  } else if (states[InputDown]) {
    player->Accelerate(0, kSteer);
  }
  if (states[InputLeft]) {
    player->Accelerate(-kSteer, 0);
  } else if (states[InputRight]) {
    player->Accelerate(kSteer, 0);
  }

  if (states[InputButton1]) player->FireCannon();
  if (states[InputButton2]) player->FireWeapon();

  // Held ticks add up across presses; only a switch resets the count.
  if (states[InputButton3] && ++w.SwitchHoldTicks >= kSwitchRepeatTicks) {
    player->NextWeapon();
    w.SwitchHoldTicks = 0;
  }
}
