// The soundtrack in the mixer: crossfades between themes, the pause, the music's own volume
// (at 0 the output is the effects' to the bit), and mixing that never allocates.
#include "platform/music_player.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "allocation_count.h"
#include "platform/mixer.h"
#include "platform/score_reader.h"

namespace {

using platform::MusicPlayer;

// A sustained chord on a square wave: loud and steady, easy to measure.
std::shared_ptr<const platform::Score> Theme(const std::string& name, bool once = false) {
  return std::make_shared<const platform::Score>(platform::ReadScore(
      std::string("tempo 120\ninstrument s square attack 0 sustain 100 volume 50\n") +
          "channel a s\npattern p c4+g4:16\nsection A\n  a p\norder A\n" + (once ? "once\n" : ""),
      "music/" + name + ".txt"));
}

std::vector<float> MixFrames(platform::Mixer& mixer, int32_t frames) {
  std::vector<float> out(static_cast<size_t>(2 * frames));
  for (int32_t at = 0; at < frames; at += 512) {
    mixer.Mix(out.data() + 2 * at, std::min(512, frames - at));
  }
  return out;
}

double Rms(const std::vector<float>& v, size_t from, size_t to) {
  double sum = 0.0;
  for (size_t i = from; i < to; ++i) sum += static_cast<double>(v[i]) * v[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

TEST(MusicPlayer, CrossfadesOverASecondAndAStingComesInAtOnce) {
  MusicPlayer music(1000);  // a rate of 1000: a frame is a millisecond
  for (const char* name : {"a", "b"}) music.AddTheme(Theme(name));
  music.AddTheme(Theme("sting", true));
  music.Play("a");
  music.Advance(2000);
  EXPECT_FLOAT_EQ(music.Level("a"), 1.0f);
  music.Play("b");
  music.Advance(500);
  EXPECT_NEAR(music.Level("a"), 0.5f, 0.01f);
  EXPECT_NEAR(music.Level("b"), 0.5f, 0.01f);
  // Asked for again while it fades out, a theme turns back from where it is.
  music.Play("a");
  music.Advance(100);
  EXPECT_NEAR(music.Level("a"), 0.6f, 0.01f);
  EXPECT_NEAR(music.Level("b"), 0.4f, 0.01f);
  music.Play("a");  // what plays goes on
  music.Advance(500);
  EXPECT_FLOAT_EQ(music.Level("b"), 0.0f);
  music.Play("sting");
  music.Advance(150);
  EXPECT_FLOAT_EQ(music.Level("sting"), 1.0f);
  EXPECT_EQ(music.Current(), "sting");
  // A sting plays once: after its two seconds and three of ringing out it is gone.
  music.Advance(6000);
  EXPECT_FLOAT_EQ(music.Level("sting"), 0.0f);
  music.Play("no such theme");
  EXPECT_EQ(music.Current(), "no such theme");
  EXPECT_FLOAT_EQ(music.Level("a"), 0.0f);
}

TEST(MusicPlayer, AtMusicVolumeZeroTheOutputIsTheEffectsAloneToTheBit) {
  // Effects loud enough for the limiter to work, and a theme playing under them.
  auto loud = std::make_shared<platform::Sound>();
  for (int i = 0; i < 20000; ++i) loud->Samples.insert(loud->Samples.end(), {0.9f, -0.7f});
  platform::Mixer plain(44100), withMusic(44100);
  for (platform::Mixer* m : {&plain, &withMusic}) {
    const auto a = m->CreateVoice(loud);
    const auto b = m->CreateVoice(loud);
    m->Start(a, true);
    m->Start(b, false);
    m->SetVolume(70);
  }
  withMusic.AddTheme(Theme("a"));
  withMusic.PlayMusic("a");
  withMusic.SetMusicVolume(0);
  const std::vector<float> x = MixFrames(plain, 60000);
  const std::vector<float> y = MixFrames(withMusic, 60000);
  EXPECT_EQ(std::memcmp(x.data(), y.data(), x.size() * sizeof(float)), 0);
  // Turned up, the music is there and the limiter still keeps the sum within full scale.
  withMusic.SetMusicVolume(100);
  const std::vector<float> z = MixFrames(withMusic, 60000);
  EXPECT_NE(std::memcmp(x.data(), z.data(), x.size() * sizeof(float)), 0);
  for (float s : z) ASSERT_LE(std::fabs(s), 1.0f);
}

TEST(MusicPlayer, APauseLowersTheMusicAndMixingNeverAllocates) {
  platform::Mixer mixer(44100);
  mixer.AddTheme(Theme("a"));
  mixer.AddTheme(Theme("b"));
  mixer.PlayMusic("a");
  std::vector<float> out(2 * 512);
  alloc_count::Start();
  for (int i = 0; i < 200; ++i) mixer.Mix(out.data(), 512);  // the fade in, two seconds
  int allocations = alloc_count::Stop();
  const std::vector<float> before = MixFrames(mixer, 44100);
  mixer.SetMusicPaused(true);
  const std::vector<float> paused = MixFrames(mixer, 44100);
  // From 0.3 s on the pause holds the music about 10 dB down.
  EXPECT_NEAR(Rms(paused, 2 * 22050, paused.size()) / Rms(before, 0, before.size()), 0.3, 0.02);
  mixer.SetMusicPaused(false);
  mixer.PlayMusic("b");  // a crossfade renders both themes: still nothing allocated
  alloc_count::Start();
  for (int i = 0; i < 200; ++i) mixer.Mix(out.data(), 512);
  allocations += alloc_count::Stop();
  if (alloc_count::kAvailable) {
    EXPECT_EQ(allocations, 0);
  }
  EXPECT_EQ(mixer.MusicPlaying(), "b");
}

}  // namespace
