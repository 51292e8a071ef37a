// --render-music: one theme of the soundtrack rendered by the game's synthesizer to a WAV
// file, with the numbers to judge it by.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "options.h"
#include "platform/score.h"

struct TThemeRender {
  std::vector<float> Samples;  // interleaved stereo
  double Seconds = 0.0;        // one pass (a sting: to its end, its last notes ringing out)
  double RmsDb = 0.0;          // dBFS of both sides together
  double PeakDb = 0.0;
  uint64_t Digest = 0;  // FNV-1a of the samples' bytes
};

// One pass through the order list at the rate, the way the mixer plays it (at full volume).
TThemeRender RenderTheme(const platform::Score& score, int32_t rate);
// 32-bit float stereo WAV; raises EInOutError when it cannot be written.
void WriteFloatWav(const std::string& path, const std::vector<float>& samples, int32_t rate);
// Reads the theme from the data folder, writes the WAV and prints one line:
// "NAME: 96.0 s, D minor, 132 bpm, RMS -20.1 dBFS, peak -6.3 dBFS, digest 0123456789abcdef".
int RenderMusic(const TSimOptions& options, std::ostream& out, std::ostream& err);
