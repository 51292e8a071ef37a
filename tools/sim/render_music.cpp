#include "render_music.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iomanip>
#include <ostream>

#include "base/asset_catalog.h"
#include "base/error.h"
#include "platform/headless/headless_backend.h"
#include "platform/score_reader.h"
#include "platform/synth.h"

namespace {

constexpr int64_t kStingTailSeconds = 3;

void Put(std::vector<uint8_t>& b, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

double Decibels(double amplitude) {
  return amplitude > 0.0 ? 20.0 * std::log10(amplitude) : -200.0;
}

}  // namespace

TThemeRender RenderTheme(const platform::Score& score, int32_t rate) {
  TThemeRender r;
  int64_t frames = score.FrameOfStep(score.Steps, rate);
  if (!score.Loops) frames += kStingTailSeconds * rate;
  platform::Synth synth(rate);
  synth.Start(&score);
  r.Samples.assign(static_cast<size_t>(2 * frames), 0.0f);
  synth.Render(r.Samples.data(), static_cast<int32_t>(frames));
  r.Seconds = static_cast<double>(frames) / rate;
  double sum = 0.0, peak = 0.0;
  for (float s : r.Samples) {
    sum += static_cast<double>(s) * s;
    peak = std::max(peak, static_cast<double>(std::fabs(s)));
  }
  r.RmsDb = Decibels(std::sqrt(sum / static_cast<double>(std::max<size_t>(1, r.Samples.size()))));
  r.PeakDb = Decibels(peak);
  uint64_t h = 14695981039346656037ull;
  for (float s : r.Samples) {
    uint32_t bits = 0;
    std::memcpy(&bits, &s, sizeof bits);
    for (int i = 0; i < 4; ++i) {
      h ^= (bits >> (8 * i)) & 0xFF;
      h *= 1099511628211ull;
    }
  }
  r.Digest = h;
  return r;
}

void WriteFloatWav(const std::string& path, const std::vector<float>& samples, int32_t rate) {
  const auto dataBytes = static_cast<uint32_t>(samples.size() * sizeof(float));
  std::vector<uint8_t> b;
  b.insert(b.end(), {'R', 'I', 'F', 'F'});
  Put(b, 38 + dataBytes, 4);
  b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put(b, 18, 4);
  Put(b, 3, 2);  // IEEE float
  Put(b, 2, 2);
  Put(b, static_cast<uint32_t>(rate), 4);
  Put(b, static_cast<uint32_t>(rate) * 8, 4);
  Put(b, 8, 2);
  Put(b, 32, 2);
  Put(b, 0, 2);  // no extension: a plain float format
  b.insert(b.end(), {'d', 'a', 't', 'a'});
  Put(b, dataBytes, 4);
  const size_t header = b.size();
  b.resize(header + dataBytes);
  std::memcpy(b.data() + header, samples.data(), dataBytes);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  const bool ok = f && std::fwrite(b.data(), 1, b.size(), f) == b.size();
  if (f && std::fclose(f) != 0) throw EInOutError("Cannot write " + path);
  if (!ok) throw EInOutError("Cannot write " + path);
}

int RenderMusic(const TSimOptions& options, std::ostream& out, std::ostream& err) {
  try {
    const std::filesystem::path file =
        std::filesystem::path(options.DataDir) / catalog::MusicPath(options.RenderMusic.c_str());
    const platform::Score score = platform::LoadScoreFile(file.string());
    const int32_t rate = platform::HeadlessBackend::kAudioRate;
    const TThemeRender r = RenderTheme(score, rate);
    WriteFloatWav(options.RenderMusicFile, r.Samples, rate);
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016llx", static_cast<unsigned long long>(r.Digest));
    out << std::fixed << std::setprecision(1) << score.Name << ": " << r.Seconds << " s, "
        << score.Key << ", " << score.Tempo << " bpm, RMS " << r.RmsDb << " dBFS, peak " << r.PeakDb
        << " dBFS, digest " << digest << '\n';
    return 0;
  } catch (const std::exception& e) {
    err << "starvelkhorn-sim: " << e.what() << '\n';
    return 1;
  }
}
