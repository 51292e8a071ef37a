// Wave lists on the headless device: voices made, reused, rotated, looped and stopped as the
// game expects, timed by the virtual clock (the mixer's own output is tested in tests/platform).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>

#include "base/random.h"
#include "platform/copy_order.h"
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

// What the mixer says of a voice; a voice it does not know fails the test.
platform::Mixer::VoiceInfo InfoOf(const platform::Mixer& mixer, int32_t voice) {
  for (const auto& v : mixer.Voices()) {
    if (v.Id == voice) return v;
  }
  ADD_FAILURE() << "no voice " << voice;
  return {-1, false, false, -1, -1, -1};
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
  platform::Mixer::VoiceInfo InfoOf(int32_t voice) const { return ::InfoOf(mixer, voice); }
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

// The mixer keeps the idle copies of a sound in their own order, so that a play finds one
// at once. Whatever the copies did before, the play must take the voice a walk down the
// item's list would take: the first silent one, else a new copy, else the front one moved
// to the back.
TEST_F(SoundTest, EveryPlayTakesTheVoiceTheListWalkWouldTake) {
  TRandom r(11);
  for (const int32_t max : {0, 3, 7}) {
    auto& item = Appended(40);
    item.MaxPlayingCount = max;
    for (int step = 0; step < 600; ++step) {
      const auto before = item.PlayVoices();
      const auto idle =
          std::find_if(before.begin(), before.end(), [&](int32_t v) { return !mixer.Playing(v); });
      item.Play(false);
      const auto after = item.PlayVoices();
      int32_t chosen = -1;
      if (idle != before.end()) {
        chosen = *idle;
        EXPECT_EQ(after, before);
      } else if (max == 0 || static_cast<int32_t>(before.size()) < max) {
        ASSERT_EQ(after.size(), before.size() + 1);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
        chosen = after.back();
      } else {
        auto rotated = before;
        std::rotate(rotated.begin(), rotated.begin() + 1, rotated.end());
        EXPECT_EQ(after, rotated);
        chosen = before.front();
      }
      const auto info = InfoOf(chosen);
      EXPECT_TRUE(info.Playing) << "step " << step;
      EXPECT_EQ(info.FramesPlayed, 0) << "step " << step;
      if (r.Random(60) == 0) item.Stop();
      backend.AdvanceMillis(static_cast<uint64_t>(r.Random(r.Random(4) == 0 ? 45 : 8)));
    }
    // Busy stretches made many copies where nothing limits them.
    if (max == 0) {
      EXPECT_GT(item.PlayVoiceCount(), 5);
    }
  }
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

// The copies' order under many moves to the back, which leave gaps that are closed now and
// then: the first silent copy is always the one a walk down the list finds.
TEST(Mixer, CopyOrderFindsTheFirstSilentCopyThroughEveryMove) {
  platform::CopyOrder order;
  std::deque<int32_t> list;
  std::map<int32_t, uint32_t> place;
  std::map<int32_t, bool> silent;
  TRandom r(8);
  for (int step = 0; step < 20000; ++step) {
    const int32_t op = r.Random(10);
    if (op == 0 && list.size() < 200) {
      const auto id = static_cast<int32_t>(place.size());
      place[id] = order.Append(id);
      list.push_back(id);
      silent[id] = false;
    } else if (op < 4 && !list.empty()) {
      const int32_t id = list[static_cast<size_t>(r.Random(static_cast<int32_t>(list.size())))];
      std::erase(list, id);
      list.push_back(id);
      order.Vacate(place[id]);
      place[id] = order.Append(id);
      if (silent[id]) order.SetSilent(place[id], true);
      order.CloseGaps([&](int32_t moved, uint32_t at) { place[moved] = at; });
    } else if (!list.empty()) {
      const int32_t id = list[static_cast<size_t>(r.Random(static_cast<int32_t>(list.size())))];
      silent[id] = r.Random(3) == 0;
      order.SetSilent(place[id], silent[id]);
    }
    const auto first =
        std::find_if(list.begin(), list.end(), [&](int32_t id) { return silent[id]; });
    ASSERT_EQ(order.FirstSilent(), first == list.end() ? -1 : *first) << "step " << step;
  }
}

// However a voice's sound and position stand, a block of mixing ends: a one-shot that runs
// out inside the block, an empty sound, a loop one frame long.
TEST(Mixer, EveryBlockEndsWhateverTheVoicesHold) {
  platform::Mixer mixer(8000);
  auto sound = [](size_t frames, float value) {
    auto s = std::make_shared<platform::Sound>();
    s->Samples.assign(2 * frames, value);
    return s;
  };
  const auto shot = mixer.CreateVoice(sound(100, 0.5f));
  const auto empty = mixer.CreateVoice(sound(0, 0.0f));
  const auto tick = mixer.CreateVoice(sound(1, 0.25f));
  mixer.Start(shot, false);
  mixer.Start(empty, true);
  mixer.Start(tick, true);
  EXPECT_FALSE(mixer.Playing(empty));
  std::vector<float> out(2 * 256);
  mixer.Mix(out.data(), 256);
  EXPECT_FLOAT_EQ(out[2 * 99], 0.75f);
  EXPECT_FLOAT_EQ(out[2 * 100], 0.25f);
  EXPECT_FLOAT_EQ(out[2 * 255 + 1], 0.25f);
  EXPECT_FALSE(mixer.Playing(shot));
  EXPECT_EQ(mixer.PlayingCount(), 1);
  mixer.Advance(12345);
  mixer.Mix(out.data(), 256);
  EXPECT_TRUE(mixer.Playing(tick));
  EXPECT_EQ(InfoOf(mixer, tick).Position, 0);
  EXPECT_EQ(InfoOf(mixer, shot).Position, 100);
  // A copy of the empty sound is silent too, and a silent copy is the first idle one.
  const auto copy = mixer.CloneVoice(empty);
  mixer.Start(copy, false);
  EXPECT_FALSE(mixer.Playing(copy));
  EXPECT_EQ(mixer.FirstIdleCopy(empty), copy);
}

}  // namespace
