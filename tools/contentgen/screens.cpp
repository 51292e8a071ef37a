#include "gen.h"

namespace gen {
void MakeScreens(Out&) {}
}  // namespace gen
