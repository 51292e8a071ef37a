// The desktop icon: the player's first jet over the sky it flies in, drawn at every size the
// desktop's icon theme asks for so that small sizes are drawn, not scaled down.
#pragma once

#include <filesystem>

namespace gen {

// Writes DIR/NxN/apps/starvelkhorn.png for each hicolor size.
void MakeIcons(const std::filesystem::path& dir);

}  // namespace gen
