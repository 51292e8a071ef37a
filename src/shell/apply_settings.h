// The player's settings put to work: the flight keys and gamepad buttons into the input
// component, the dead zone, the mixer's volume and the pause on losing focus.
#pragma once

#include "shell/settings.h"

class TForm1;
class TDXInput;

void ApplySettings(const TSettings& settings, TForm1& form);
// The keys, buttons and dead zone alone.
void ApplyInputSettings(const TSettings& settings, TDXInput& input);
