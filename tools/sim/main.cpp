// starvelkhorn-sim: runs the game's mission code headless, for tests and for looking at it.
#include <iostream>
#include <string>
#include <vector>

#include "sim.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return SimMain(args, std::cout, std::cerr);
}
