#include "gen.h"

namespace gen {
void MakeAircraft(Out&) {}
}  // namespace gen
