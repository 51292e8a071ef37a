// The synthesizer on small scores: notes start and stop on the exact frame of their step, at
// their pitch; a loop is exactly as long as its steps, every pass; a theme played once ends;
// two renders are the same bits, and the same bits as every other build's.
#include "platform/synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "platform/score_reader.h"

namespace {

using platform::Score;
using platform::Synth;

constexpr int32_t kRate = 44100;

Score Read(const std::string& text) {
  return platform::ReadScore(text, "test.txt");
}

std::vector<float> Render(const Score& score, int64_t frames, int32_t rate = kRate) {
  Synth synth(rate);
  synth.Start(&score);
  std::vector<float> out(static_cast<size_t>(2 * frames), 0.0f);
  // Blocks of an awkward size, as a sound device asks for them.
  for (int64_t at = 0; at < frames; at += 1000) {
    synth.Render(out.data() + 2 * at, static_cast<int32_t>(std::min<int64_t>(1000, frames - at)));
  }
  return out;
}

// The frames where sound starts after at least `gap` frames of silence.
std::vector<int64_t> Onsets(const std::vector<float>& out, int64_t gap) {
  std::vector<int64_t> onsets;
  int64_t quiet = gap;
  for (size_t i = 0; i < out.size() / 2; ++i) {
    if (out[2 * i] != 0.0f) {
      if (quiet >= gap) onsets.push_back(static_cast<int64_t>(i));
      quiet = 0;
    } else {
      ++quiet;
    }
  }
  return onsets;
}

constexpr const char* kBeep =
    "tempo 120\n"
    "instrument s triangle attack 0 decay 0 sustain 100 release 0 volume 100\n"
    "channel a s\n";

TEST(Synth, ANoteSoundsFromItsStepsFrameToItsEndAtItsPitch) {
  // A step at 120 bpm, four a beat, is 5512.5 frames: the note starts at frame 11025 and its
  // gate closes at 33075; a release of a millisecond is silent soon after.
  const Score s =
      Read(std::string(kBeep) + "pattern p r:2 a4:4 r:2\nsection A\n  a p\norder A\nonce\n");
  const std::vector<float> out = Render(s, kRate);
  EXPECT_EQ(out[2 * 11024], 0.0f);
  EXPECT_NE(out[2 * 11025], 0.0f);
  EXPECT_NE(out[2 * 33074], 0.0f);
  EXPECT_EQ(out[2 * 33075 + 2 * 441], 0.0f);
  // a4 is 440 Hz: 110 cycles, 220 sign changes in a quarter of a second, at full level.
  int changes = 0;
  float peak = 0.0f;
  for (int64_t i = 12000; i < 12000 + kRate / 4; ++i) {
    changes += (out[2 * i] > 0.0f) != (out[2 * i - 2] > 0.0f);
    peak = std::max(peak, std::fabs(out[2 * i]));
  }
  EXPECT_NEAR(changes, 220, 1);
  EXPECT_NEAR(peak, 1.0f, 0.01f);
  EXPECT_EQ(out[2 * 20000], out[2 * 20000 + 1]);  // centred: both sides alike
}

TEST(Synth, EveryPassOfALoopIsAsLongAsItsStepsToTheFrame) {
  // A one-step intro, then a three-step loop with a note on its first step: the loop is
  // 22050 - 5512 = 16538 frames (steps 1..4 begin at frames 5512, 11025, 16537, 22050).
  const Score s = Read(std::string(kBeep) +
                       "pattern in r\npattern p c5 r:2\nsection I\n  a in\nsection L\n  a p\n"
                       "order I |: L\n");
  const std::vector<float> out = Render(s, 60000);
  EXPECT_EQ(Onsets(out, 1000), (std::vector<int64_t>{5512, 22050, 38588, 55126}));
}

TEST(Synth, AThemePlayedOnceEndsAndRingsOutWhileALoopNeverEnds) {
  const Score once = Read(std::string(kBeep) + "pattern p c5:4\nsection A\n  a p\norder A\nonce\n");
  Synth synth(kRate);
  synth.Start(&once);
  std::vector<float> block(2 * 1000);
  int64_t rendered = 0;
  while (!synth.Finished() && rendered < 10 * kRate) {
    synth.Render(block.data(), 1000);
    rendered += 1000;
  }
  // Four steps (22050 frames), then three seconds of tail.
  EXPECT_EQ(rendered, 155000);
  const Score loop = Read(std::string(kBeep) + "pattern p c5:4\nsection A\n  a p\norder A\n");
  synth.Start(&loop);
  synth.Skip(100 * kRate);
  EXPECT_FALSE(synth.Finished());
  synth.Start(nullptr);
  EXPECT_TRUE(synth.Finished());
}

// Every wave, filter, chord, arpeggio, detune, vibrato, sweep, accent and the echo.
constexpr const char* kEverything =
    "tempo 150\nsteps 4\ngain 0.5\necho 200 40 30\n"
    "instrument sq square cutoff 2000 resonance 40 envcutoff 3000 vibrato 30 vibratodelay 50\n"
    "instrument p1 pulse25 arp 30 echo 50 pan -50\n"
    "instrument p2 pulse12 filter band cutoff 1500 detune 10 pan 60\n"
    "instrument sw saw attack 40 decay 300 sustain 40 release 200 detune 12\n"
    "instrument tr triangle filter high cutoff 500\n"
    "instrument si sine pitch a1 sweep 24 sweeptime 40 decay 200 sustain 0\n"
    "instrument no noise pitch c8 filter high cutoff 6000 decay 40 sustain 0\n"
    "channel a sq\nchannel b p1\nchannel c p2\nchannel d sw\nchannel e tr\n"
    "kit k k=si h=no\n"
    "pattern m c5:2 e5! g5? - r\npattern ch c4+e4+g4:6\npattern lo c2:3 g2:3\n"
    "pattern dr k+h h k h:3\n"
    "section A\n  a m\n  b ch\n  c ch-12\n  d lo\n  e m-24\n  k dr\n"
    "order A A+5 A-3 A\n";

uint64_t Digest(const std::vector<float>& out) {
  uint64_t h = 14695981039346656037ull;
  for (float s : out) {
    uint32_t bits = 0;
    std::memcpy(&bits, &s, sizeof bits);
    for (int i = 0; i < 4; ++i) {
      h ^= (bits >> (8 * i)) & 0xFF;
      h *= 1099511628211ull;
    }
  }
  return h;
}

TEST(Synth, RendersTheSameBitsEveryTimeAndInEveryBuild) {
  const Score s = Read(kEverything);
  const std::vector<float> a = Render(s, 3 * kRate);
  const std::vector<float> b = Render(s, 3 * kRate);
  ASSERT_EQ(a.size(), b.size());
  EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(float)), 0);
  // The same digest from GCC, clang and the browser's wasm: plain float arithmetic in a fixed
  // order and no library maths. A deliberate change of the synthesizer's sound changes it.
  EXPECT_EQ(Digest(a), 5339233596304069472ull);
}

TEST(Synth, TwoToThePowerFollowsTheOctavesAndSemitones) {
  EXPECT_EQ(platform::Exp2(0.0f), 1.0f);
  EXPECT_EQ(platform::Exp2(-1.0f), 0.5f);
  EXPECT_EQ(platform::Exp2(3.0f), 8.0f);
  EXPECT_NEAR(platform::Exp2(0.5f), 1.4142136f, 3e-7f);
  EXPECT_NEAR(platform::Exp2(1.0f / 12.0f), 1.0594631f, 3e-7f);
  EXPECT_NEAR(platform::Exp2(-2.75f), 0.1486509f, 3e-8f);
  EXPECT_NEAR(platform::Exp2(6.49f), 89.88444f, 3e-5f);
}

}  // namespace
