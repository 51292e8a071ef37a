// A theme's score: any bytes are either refused with a message naming the file and line, or
// give a score within the synthesizer's bounds, whose first moments it then plays with only
// finite samples.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "platform/score_reader.h"
#include "platform/synth.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  platform::Score score;
  try {
    score = platform::ReadScore(text, "f.txt");
  } catch (const EGameError& e) {
    if (std::string_view(e.what()).rfind("f.txt", 0) != 0) std::abort();
    return 0;
  }
  if (score.Voices.size() > static_cast<size_t>(platform::kMaxVoices)) std::abort();
  if (score.Steps == 0 || score.Steps > static_cast<uint32_t>(platform::kMaxScoreSteps)) {
    std::abort();
  }
  if (score.LoopStep >= score.Steps) std::abort();
  for (const platform::ScoreVoice& v : score.Voices) {
    if (v.Instrument >= score.Instruments.size()) std::abort();
    for (size_t i = 1; i < v.Notes.size(); ++i) {
      if (v.Notes[i].Start < v.Notes[i - 1].Start + v.Notes[i - 1].Length) std::abort();
    }
  }
  // A low rate and a short while, so thousands of inputs run a second.
  platform::Synth synth(8000);
  synth.Start(&score);
  std::vector<float> out(2 * 4000, 0.0f);
  synth.Render(out.data(), 4000);
  for (const float s : out) {
    if (!std::isfinite(s)) std::abort();
  }
  return 0;
}
