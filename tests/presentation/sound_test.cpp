// Wave lists on the headless device: voices made, reused, rotated, looped and stopped as the
// game expects, timed by the virtual clock (the mixer's own output is tested in tests/platform).
#include <gtest/gtest.h>

#include "platform/headless/headless_backend.h"
#include "platform/mixer.h"
#include "presentation/form_components.h"
#include "support/sample_files.h"

namespace {

// A mono 16-bit wave lasting `ms` at 22050 Hz (twice as many frames on the 44.1 kHz mixer).
TWave WaveOf(int ms) {
  const auto data = samples::Pcm16(std::vector<int16_t>(static_cast<size_t>(22.05 * ms), 1000));
  const auto file = samples::Wav(1, 22050, 16, data);
  TWave w;
  w.Format.assign(file.begin() + 20, file.begin() + 36);
  w.Data = data;
  return w;
}

struct SoundTest : ::testing::Test {
  platform::HeadlessBackend backend;
  TFormComponents media{backend};
  platform::Mixer& mixer = *backend.Audio();

  TWaveCollectionItem& Appended(int ms) {
    auto& item = media.DXWeaponWaveList.Items.Add();
    item.Wave = WaveOf(ms);
    media.DXWeaponWaveList.Items.Restore();
    return item;
  }
  // What the mixer says of a voice; a voice it does not know fails the test.
  platform::Mixer::VoiceInfo InfoOf(int32_t voice) const {
    for (const auto& v : mixer.Voices()) {
      if (v.Id == voice) return v;
    }
    ADD_FAILURE() << "no voice " << voice;
    return {-1, false, false, -1, -1, -1};
  }
  int64_t LengthOf(int32_t voice) const { return InfoOf(voice).Length; }
};

TEST_F(SoundTest, OverlappingPlaysGetTheirOwnVoicesWhichAreThenReused) {
  auto& cannon = Appended(200);
  for (int i = 0; i < 3; ++i) {
    cannon.Play(false);
    backend.AdvanceMillis(3);
  }
  EXPECT_EQ(cannon.PlayVoiceCount(), 3);
  EXPECT_EQ(cannon.PlayingCount(), 3);
  const auto voices = cannon.PlayVoices();
  backend.AdvanceMillis(192);  // at 201 ms the first copy has finished, the others not
  EXPECT_EQ(cannon.PlayingCount(), 2);
  backend.AdvanceMillis(10);
  EXPECT_EQ(cannon.PlayingCount(), 0);
  cannon.Play(false);
  EXPECT_EQ(cannon.PlayVoiceCount(), 3);  // no new voice
  EXPECT_TRUE(mixer.Playing(voices[0]));  // the first one was reused
  EXPECT_FALSE(mixer.Playing(voices[1]));
}

TEST_F(SoundTest, AtMaxPlayingCountTheOldestCopyStartsOver) {
  auto& item = Appended(500);
  item.MaxPlayingCount = 2;
  item.Play(false);
  backend.AdvanceMillis(100);
  item.Play(false);
  const auto before = item.PlayVoices();
  ASSERT_EQ(before.size(), 2u);
  backend.AdvanceMillis(100);
  item.Play(false);  // both sound: the first restarts and moves to the end
  const auto after = item.PlayVoices();
  ASSERT_EQ(after.size(), 2u);
  EXPECT_EQ(after[0], before[1]);
  EXPECT_EQ(after[1], before[0]);
  EXPECT_EQ(InfoOf(before[0]).Position, 0);
  backend.AdvanceMillis(450);  // the restarted copy outlives the other
  EXPECT_FALSE(mixer.Playing(before[1]));
  EXPECT_TRUE(mixer.Playing(before[0]));
}

TEST_F(SoundTest, LoopedItemRestartsAndStopSilencesEveryCopy) {
  auto& engine = media.DXEnginesWaveList.Items[0];
  engine.Wave = WaveOf(100);
  media.DXEnginesWaveList.Items.Restore();
  engine.Play(false);
  backend.AdvanceMillis(250);  // well past its length: a loop never ends
  EXPECT_TRUE(mixer.Playing(engine.MainVoice()));
  engine.Play(false);
  EXPECT_EQ(InfoOf(engine.MainVoice()).FramesPlayed, 0);  // from the beginning
  EXPECT_EQ(engine.PlayVoiceCount(), 0);

  auto& shot = Appended(300);
  shot.Play(false);
  shot.Play(false);
  ASSERT_EQ(shot.PlayingCount(), 2);
  shot.Stop();
  engine.Stop();
  EXPECT_EQ(shot.PlayingCount(), 0);
  EXPECT_EQ(mixer.PlayingCount(), 0);
}

TEST_F(SoundTest, NewWavesReachTheDeviceAtFirstPlayOrAtRestore) {
  // A form item loaded after the device was set up plays at its first Play, without Restore.
  auto& laser = media.DXLaserWaveList.Items[0];
  laser.Wave = WaveOf(100);
  EXPECT_FALSE(laser.HasMainVoice());
  laser.Play(false);
  ASSERT_TRUE(laser.HasMainVoice());
  const int64_t oldLength = LengthOf(laser.PlayVoices()[0]);
  EXPECT_EQ(oldLength, 4410);

  // Once it has played, a new wave stays unheard until Restore.
  laser.Wave = WaveOf(300);
  backend.AdvanceMillis(200);
  laser.Play(false);
  EXPECT_EQ(LengthOf(laser.PlayVoices()[0]), oldLength);
  media.DXLaserWaveList.Items.Restore();
  backend.AdvanceMillis(200);
  laser.Play(false);
  EXPECT_EQ(LengthOf(laser.PlayVoices()[0]), 13230);

  // An appended item stays silent until its list is restored.
  auto& added = media.DXWeaponWaveList.Items.Add();
  added.Wave = WaveOf(100);
  added.Play(false);
  EXPECT_FALSE(added.Initialized());
  EXPECT_EQ(added.PlayingCount(), 0);
  media.DXWeaponWaveList.Items.Restore();
  added.Play(false);
  EXPECT_EQ(added.PlayingCount(), 1);
}

TEST_F(SoundTest, PlayWithWaitReturnsOnceTheCopyHasFinished) {
  auto& item = Appended(100);
  const uint64_t t0 = backend.NowMillis();
  item.Play(true);
  EXPECT_EQ(item.PlayingCount(), 0);
  EXPECT_GE(backend.NowMillis() - t0, 100u);
  EXPECT_LE(backend.NowMillis() - t0, 110u);
}

TEST(SoundWithoutDevice, EverythingIsSilentAndNothingFails) {
  platform::HeadlessBackend backend;
  backend.SetAudioAvailable(false);
  TFormComponents media{backend};
  EXPECT_FALSE(media.DXSound1.Ready());
  auto& item = media.DXExplWaveList.Items[0];
  item.Wave = WaveOf(100);
  media.DXExplWaveList.Items.Restore();
  item.Play(false);
  item.Stop();
  EXPECT_FALSE(item.Initialized());
  EXPECT_EQ(item.PlayingCount(), 0);
}

}  // namespace
