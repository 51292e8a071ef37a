// The mixer's exact output on small buffers: one-shots that end inside a block, loops that
// wrap across blocks, the limiter turning a loud sum down and coming back to full gain.
#include "platform/mixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace {

using platform::Mixer;

std::shared_ptr<platform::Sound> SoundOf(std::vector<float> interleaved) {
  auto s = std::make_shared<platform::Sound>();
  s->Samples = std::move(interleaved);
  return s;
}

// A constant stereo sound of `frames` frames.
std::shared_ptr<platform::Sound> Constant(int64_t frames, float left, float right) {
  std::vector<float> samples;
  for (int64_t i = 0; i < frames; ++i) {
    samples.push_back(left);
    samples.push_back(right);
  }
  return SoundOf(samples);
}

// One block of `frames` frames. Mix runs on the audio thread holding the mixer's lock, so a
// Mix that never returns would hang the whole program: here it ends the test run at once.
std::vector<float> MixBlock(Mixer& mixer, int32_t frames) {
  std::vector<float> out(2 * static_cast<size_t>(frames), -9.0f);
  auto done = std::make_shared<std::atomic<bool>>(false);
  std::thread([&mixer, &out, frames, done] {
    mixer.Mix(out.data(), frames);
    *done = true;
  }).detach();
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!*done) {
    if (std::chrono::steady_clock::now() > deadline) {
      std::fprintf(stderr, "Mix() did not return within 20 s\n");
      std::abort();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return out;
}

std::optional<Mixer::VoiceInfo> InfoOf(const Mixer& mixer, Mixer::VoiceId id) {
  for (const auto& v : mixer.Voices()) {
    if (v.Id == id) return v;
  }
  return std::nullopt;
}

TEST(Mixer, AOneShotShorterThanABlockPlaysThenSilenceThenStops) {
  Mixer mixer(8000);
  const auto voice = mixer.CreateVoice(SoundOf({0.1f, -0.2f, 0.3f, -0.4f, 0.5f, -0.6f}));
  mixer.Start(voice, false);
  EXPECT_EQ(MixBlock(mixer, 5),
            (std::vector<float>{0.1f, -0.2f, 0.3f, -0.4f, 0.5f, -0.6f, 0.0f, 0.0f, 0.0f, 0.0f}));
  auto info = InfoOf(mixer, voice);
  ASSERT_TRUE(info);
  EXPECT_FALSE(info->Playing);
  EXPECT_EQ(info->Position, 3);
  EXPECT_EQ(mixer.PlayingCount(), 0);
  EXPECT_EQ(MixBlock(mixer, 2), (std::vector<float>(4, 0.0f)));

  // Ending exactly at a block's end, and moved on without output by exactly its length.
  mixer.Start(voice, false);
  EXPECT_EQ(MixBlock(mixer, 3), (std::vector<float>{0.1f, -0.2f, 0.3f, -0.4f, 0.5f, -0.6f}));
  EXPECT_FALSE(mixer.Playing(voice));
  mixer.Start(voice, false);
  mixer.Advance(3);
  info = InfoOf(mixer, voice);
  ASSERT_TRUE(info);
  EXPECT_FALSE(info->Playing);
  EXPECT_EQ(mixer.PlayingCount(), 0);
}

TEST(Mixer, ALoopWrapsAcrossTheBlockBoundary) {
  Mixer mixer(8000);
  const auto voice = mixer.CreateVoice(SoundOf({0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f}));
  mixer.Start(voice, true);
  EXPECT_EQ(MixBlock(mixer, 4),
            (std::vector<float>{0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.1f, 0.2f}));
  EXPECT_EQ(MixBlock(mixer, 4),
            (std::vector<float>{0.3f, 0.4f, 0.5f, 0.6f, 0.1f, 0.2f, 0.3f, 0.4f}));
  // A block many times the loop's length.
  const auto long_block = MixBlock(mixer, 301);
  EXPECT_EQ(long_block[0], 0.5f);    // frame 2 of the sound
  EXPECT_EQ(long_block[600], 0.5f);  // 300 frames on: frame 2 again
  const auto info = InfoOf(mixer, voice);
  ASSERT_TRUE(info);
  EXPECT_TRUE(info->Playing);
  EXPECT_EQ(info->Position, 0);  // 8 + 301 frames = 103 whole loops
  EXPECT_EQ(info->FramesPlayed, 309);
}

TEST(Mixer, ALoudSumIsScaledDownNotClipped) {
  Mixer mixer(8000);
  // Two voices: left sums to 2, right to 1. Scaled, right keeps half the left's level;
  // clipped, both would be at full scale.
  const auto sound = Constant(100, 1.0f, 0.5f);
  mixer.Start(mixer.CreateVoice(sound), false);
  mixer.Start(mixer.CreateVoice(sound), false);
  const auto out = MixBlock(mixer, 8);
  for (size_t i = 0; i < out.size(); i += 2) {
    EXPECT_EQ(out[i], 1.0f) << i;
    EXPECT_EQ(out[i + 1], 0.5f) << i;
  }
  // Forty voices: 36 and 18 become 1 and 0.5, every block.
  Mixer crowd(8000);
  const auto loud = Constant(4000, 0.9f, 0.45f);
  for (int i = 0; i < 40; ++i) crowd.Start(crowd.CreateVoice(loud), false);
  for (int block = 0; block < 10; ++block) {
    const auto mixed = MixBlock(crowd, 256);
    for (size_t i = 0; i < mixed.size(); i += 2) {
      ASSERT_NEAR(mixed[i], 1.0f, 1e-5) << block << " " << i;
      ASSERT_NEAR(mixed[i + 1], 0.5f, 1e-5) << block << " " << i;
    }
  }
}

TEST(Mixer, AfterALoudBurstTheGainRisesBackToUnityWithinAnEighthOfASecond) {
  // A burst at twice full scale halves the gain; then one quiet voice plays alone. The gain
  // rises by 4 per second, so from one half it is back at unity after 1000 frames at
  // 8000 Hz: by the end of the tenth block of 100 frames (float steps may take an eleventh).
  Mixer mixer(8000);
  const auto burst = Constant(50, 1.0f, 1.0f);
  mixer.Start(mixer.CreateVoice(burst), false);
  mixer.Start(mixer.CreateVoice(burst), false);
  const auto loud = MixBlock(mixer, 50);
  ASSERT_EQ(loud[98], 1.0f);
  ASSERT_EQ(mixer.PlayingCount(), 0);

  mixer.Start(mixer.CreateVoice(Constant(8000, 0.25f, 0.25f)), true);
  std::vector<float> lefts;
  for (int block = 0; block < 12; ++block) {
    const auto out = MixBlock(mixer, 100);
    for (size_t i = 0; i < out.size(); i += 2) lefts.push_back(out[i]);
  }
  EXPECT_NEAR(lefts[0], 0.25f * 0.5005f, 1e-6);  // still turned down: gain 0.5 + 4 / 8000
  EXPECT_NEAR(lefts[99], 0.25f * 0.55f, 1e-6);   // 0.55 after the first block
  EXPECT_NEAR(lefts[499], 0.25f * 0.75f, 1e-6);  // half way
  for (size_t i = 1; i < lefts.size(); ++i) {
    ASSERT_GE(lefts[i], lefts[i - 1]) << i;  // rising smoothly, never overshooting
    ASSERT_LE(lefts[i], 0.25f) << i;
  }
  for (size_t i = 1100; i < lefts.size(); ++i) ASSERT_EQ(lefts[i], 0.25f) << i;
}

TEST(Mixer, ThePlayersVolumeScalesTheLimitedOutputByItsSquare) {
  // The same loud pair at full volume, at 50 (a quarter of the amplitude), at 10 and at 0;
  // the limiter hears the game the same at every volume, so the shapes match exactly.
  const auto sound = Constant(400, 1.0f, 0.5f);
  std::vector<std::vector<float>> outs;
  for (int32_t volume : {100, 50, 10, 0, 250}) {
    Mixer mixer(8000);
    mixer.SetVolume(volume);
    mixer.Start(mixer.CreateVoice(sound), false);
    mixer.Start(mixer.CreateVoice(sound), false);
    std::vector<float> out;
    for (int block = 0; block < 3; ++block) {
      const auto mixed = MixBlock(mixer, 64);
      out.insert(out.end(), mixed.begin(), mixed.end());
    }
    outs.push_back(out);
  }
  ASSERT_EQ(outs[0][0], 1.0f);
  ASSERT_EQ(outs[0][1], 0.5f);
  for (size_t i = 0; i < outs[0].size(); ++i) {
    ASSERT_FLOAT_EQ(outs[1][i], 0.25f * outs[0][i]) << i;
    ASSERT_FLOAT_EQ(outs[2][i], 0.01f * outs[0][i]) << i;
    ASSERT_EQ(outs[3][i], 0.0f) << i;
    ASSERT_EQ(outs[4][i], outs[0][i]) << i;  // above 100 is full volume
  }
}

}  // namespace
