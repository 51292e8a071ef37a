// contentgen --content DIR --out DIR | --icons DIR
// Makes the game's whole content tree (res/, sounds/, levels/) from the sources in DIR, or the
// desktop icons in a hicolor tree.
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "base/asset_catalog.h"
#include "gen.h"
#include "icons.h"
#include "levels.h"
#include "platform/score_reader.h"
#include "terrain.h"

namespace gen {

void Out::Bmp(const std::string& path, const Image& img) {
  Raw(path, EncodeBmp(img));
}

Image Out::Jpeg(const std::string& path, const Image& img, int quality) {
  Bytes data = EncodeJpeg(img, quality);
  Raw(path, data);
  return DecodeJpeg(data);
}

void Out::Wav(const std::string& path, const std::vector<int16_t>& samples, int rate) {
  Raw(path, EncodeWav(samples, rate));
}

void Out::Raw(const std::string& path, const Bytes& data) {
  WriteFile(root_ / path, data);
  ++files;
}

void MakeTerrainSheets(Out& out) {
  for (int s = 0; s < 3; ++s) out.Jpeg(catalog::kTerrain[size_t(s)], terrain::RenderSheet(s), 90);
}

void MakeLevels(Out& out, const std::filesystem::path& contentDir) {
  for (int m = 0; m < catalog::kMissions; ++m) {
    auto path = contentDir / "levels" / ("level0" + std::to_string(m) + ".txt");
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::stringstream text;
    text << in.rdbuf();
    Mission mission = ParseMission(text.str(), path.filename().string());
    if (mission.number != m) throw std::runtime_error(path.string() + ": wrong mission number");
    out.Raw(catalog::LevelMapPath(m), terrain::BuildMap(mission.map));
    out.Raw(catalog::LevelSchedulePath(m), ScheduleBytes(mission.rows));
    int enemies = int(mission.rows.size()) - 1;
    std::printf(
        "  mission %d: %d enemies, boss at %.0f s, bounty at medium %lld (easy %lld, hard %lld)\n",
        m, enemies, double(mission.rows.back().time) / kStepsPerSecond,
        static_cast<long long>(ScheduleBounty(mission.rows, 2, true)),
        static_cast<long long>(ScheduleBounty(mission.rows, 0, true)),
        static_cast<long long>(ScheduleBounty(mission.rows, 4, true)));
  }
}

// The scores are the game's own text: checked here with the game's reader, so a bad note
// fails the build with its file and line, then copied as they are.
void MakeMusic(Out& out, const std::filesystem::path& contentDir) {
  for (const char* theme : catalog::kMusicThemes) {
    auto path = contentDir / "music" / (std::string(theme) + ".txt");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::stringstream text;
    text << in.rdbuf();
    const std::string bytes = text.str();
    const platform::Score score = platform::ReadScore(bytes, path.string());
    out.Raw(catalog::MusicPath(theme), Bytes(bytes.begin(), bytes.end()));
    std::printf("  %-10s %5.1f s, %s, %d bpm\n", theme,
                static_cast<double>(score.FrameOfStep(score.Steps, 1000)) / 1000.0,
                score.Key.c_str(), score.Tempo);
  }
}

}  // namespace gen

int main(int argc, char** argv) {
  std::filesystem::path content, outDir, iconDir;
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string a = argv[i];
    if (a == "--content")
      content = argv[i + 1];
    else if (a == "--out")
      outDir = argv[i + 1];
    else if (a == "--icons")
      iconDir = argv[i + 1];
    else if (a == "--only")
      only = argv[i + 1];  // one part, while drawing
  }
  if (!iconDir.empty()) {
    try {
      gen::MakeIcons(iconDir);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "contentgen: %s\n", e.what());
      return 1;
    }
    return 0;
  }
  if (content.empty() || outDir.empty()) {
    std::fprintf(stderr,
                 "usage: contentgen --content DIR --out DIR [--only PART]\n"
                 "       contentgen --icons DIR\n");
    return 2;
  }
  try {
    gen::Out out(outDir);
    auto start = std::chrono::steady_clock::now();
    auto run = [&](const char* name, auto&& fn) {
      if (!only.empty() && only != name) return;
      auto t0 = std::chrono::steady_clock::now();
      fn();
      double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
      std::printf("contentgen: %-9s %.2f s\n", name, s);
    };
    run("levels", [&] { gen::MakeLevels(out, content); });
    run("terrain", [&] { gen::MakeTerrainSheets(out); });
    run("aircraft", [&] { gen::MakeAircraft(out); });
    run("aliens", [&] { gen::MakeAliens(out); });
    run("effects", [&] { gen::MakeEffects(out); });
    run("screens", [&] { gen::MakeScreens(out); });
    run("sounds", [&] { gen::MakeSounds(out); });
    run("music", [&] { gen::MakeMusic(out, content); });
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("contentgen: %d files in %.1f s\n", out.files, s);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "contentgen: %s\n", e.what());
    return 1;
  }
  return 0;
}
