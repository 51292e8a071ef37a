// guide: writes the player's guide (guide.md) and its pictures (guide/*.png) from the game's
// own tables and content. Usage: guide --data DIR --out DIR
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "core/world.h"
#include "enemies/enemy.h"
#include "flyers/aircraft.h"
#include "flyers/weapon.h"
#include "guide_facts.h"
#include "guide_markdown.h"
#include "guide_pictures.h"
#include "platform/headless/headless_backend.h"
#include "presentation/form_components.h"
#include "shell/asset_loader.h"

namespace fs = std::filesystem;

namespace {

void WriteGuide(const fs::path& data, const fs::path& out) {
  fs::create_directories(out / "guide");
  fs::current_path(data);
  platform::HeadlessBackend backend;
  TFormComponents media(backend);
  LoadAssets(media);
  LoadSounds(media);
  media.DXDraw1.Options &= ~static_cast<uint32_t>(doFullScreen);
  media.DXDraw1.Initialize();

  const TGuideFacts facts = GatherFacts(media, data.string());
  World w(media);
  auto png = [&](const std::string& name, int kind) {
    return (out / "guide" / (name + "-" + std::to_string(kind) + ".png")).string();
  };
  for (uint8_t k = 0; k < kAircraftKinds; ++k) SaveAircraftPicture(media, k, png("aircraft", k));
  for (uint8_t k = 0; k < kWeaponKinds; ++k) SaveWeaponIcon(w, k, png("weapon", k));
  for (uint8_t k = 0; k < kCannonKinds; ++k) SaveCannonSalvo(w, k, png("cannon", k));
  for (uint8_t k = 0; k < kEnemyKinds; ++k) SaveEnemyPicture(media, k, png("enemy", k));
  std::ofstream md(out / "guide.md", std::ios::binary);
  md << GuideMarkdown(facts);
  md.close();
  if (!md) throw std::runtime_error("cannot write " + (out / "guide.md").string());
}

}  // namespace

int main(int argc, char** argv) {
  fs::path data, out;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string a = argv[i];
    if (a == "--data") data = fs::absolute(argv[i + 1]);
    if (a == "--out") out = fs::absolute(argv[i + 1]);
  }
  if (data.empty() || out.empty() || argc != 5) {
    std::cerr << "usage: guide --data DIR --out DIR\n";
    return 2;
  }
  try {
    WriteGuide(data, out);
  } catch (const std::exception& e) {
    std::cerr << "guide: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
