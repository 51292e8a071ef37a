// The generator's parts. Each writes its files into the output tree through Out.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "files.h"
#include "raster.h"

namespace gen {

class Out {
 public:
  explicit Out(std::filesystem::path root) : root_(std::move(root)) {}
  void Bmp(const std::string& path, const Image& img);
  // Encodes, decodes again and returns what the game will see.
  Image Jpeg(const std::string& path, const Image& img, int quality);
  void Wav(const std::string& path, const std::vector<int16_t>& samples, int rate);
  void Raw(const std::string& path, const Bytes& data);
  int files = 0;

 private:
  std::filesystem::path root_;
};

void MakeAircraft(Out& out);
void MakeAliens(Out& out);
void MakeEffects(Out& out);  // explosions, smoke, projectiles, bonuses
void MakeScreens(Out& out);  // menu pictures, shop pictures, status bar
void MakeTerrainSheets(Out& out);
void MakeLevels(Out& out, const std::filesystem::path& contentDir);
void MakeSounds(Out& out);

}  // namespace gen
