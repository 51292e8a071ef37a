#include "presentation/dxinput.h"

TDXInput::TDXInput(platform::Backend& backend) : backend_(backend) {}

void TDXInput::Update() {
  TDXInputStates s;  // devices are read by the platform backend
  states_ = s;
  previous_ = s;
}
