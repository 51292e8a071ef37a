// Turns the input states of a tick into operations of the player's aircraft.
#pragma once

class World;

void PlayerControl(World& w);
