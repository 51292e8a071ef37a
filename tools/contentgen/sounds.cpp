#include "gen.h"

namespace gen {
void MakeSounds(Out&) {}
}  // namespace gen
