#include "gen.h"

namespace gen {
void MakeEffects(Out&) {}
}  // namespace gen
