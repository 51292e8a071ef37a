#include "gen.h"

namespace gen {
void MakeAliens(Out&) {}
}  // namespace gen
