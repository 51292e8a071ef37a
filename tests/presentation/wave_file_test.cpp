// Reading wave files: the chunk walk, the error texts, and hostile lengths.
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "base/error.h"
#include "platform/pcm.h"
#include "presentation/dxsound.h"
#include "presentation/wave_reader.h"
#include "support/sample_files.h"
#include "support/temp_dir.h"

namespace {

using wave_codec::ParseWave;

const std::vector<uint8_t> kSamples = samples::Pcm16({0, 1000, -1000, 32767});

TEST(WaveReader, TakesFormatAndSamplesAndSkipsOtherChunks) {
  const auto file =
      samples::Wav(1, 22050, 16, kSamples, {{"LIST", {'a', 'b', 'c'}}, {"fact", {1, 2, 3, 4}}});
  TWave w;
  ASSERT_TRUE(ParseWave(file.data(), file.size(), w));
  EXPECT_EQ(w.Format.size(), 16u);
  EXPECT_EQ(w.Data, kSamples);
  auto format = platform::ParsePcmFormat(w.Format.data(), w.Format.size());
  ASSERT_TRUE(format);
  EXPECT_EQ(format->Rate, 22050);
  EXPECT_EQ(format->Channels, 1);
}

TEST(WaveReader, RejectsWrongHeadersAndLyingLengths) {
  const auto good = samples::Wav(2, 44100, 16, kSamples);
  TWave w;
  auto with = [&](size_t at, const std::string& bytes) {
    auto f = good;
    std::copy(bytes.begin(), bytes.end(), f.begin() + static_cast<long>(at));
    return f;
  };
  auto length = [&](size_t at, uint32_t v) {
    auto f = good;
    samples::Set32(f, at, v);
    return f;
  };
  const std::vector<std::vector<uint8_t>> bad = {
      with(0, "RIFX"),         // first four bytes
      with(8, "AVI "),         // bytes 8 to 11
      length(16, 0xFFFFFFFF),  // a format chunk claiming 4 GB
      length(16, 17),          // a format chunk overrunning into the data header
      length(40, 9),           // data one byte longer than the file
      with(12, "junk"),        // no format chunk left
      length(20, 2),           // compressed format tag (ADPCM)
  };
  for (size_t i = 0; i < bad.size(); ++i) {
    EXPECT_FALSE(ParseWave(bad[i].data(), bad[i].size(), w)) << i;
    EXPECT_TRUE(w.Empty()) << i;
  }
  // Every truncation cuts a chunk short or leaves out the data: each one fails, leaving the
  // wave empty; only the whole file parses.
  for (size_t n = 0; n < good.size(); ++n) {
    EXPECT_FALSE(ParseWave(good.data(), n, w)) << n;
    EXPECT_TRUE(w.Empty()) << n;
  }
  ASSERT_TRUE(ParseWave(good.data(), good.size(), w));
  EXPECT_EQ(w.Data, kSamples);
}

TEST(WaveLoadFromFile, FilesUpTo64MiBAreReadLargerOnesRefused) {
  // A data chunk of silence filling the file to the cap; the file is sparse.
  ScopedTempDir dir;
  const uint64_t cap = uint64_t{64} << 20;
  for (uint64_t size : {cap, cap + 1}) {
    auto head = samples::Wav(1, 22050, 16, {});
    samples::Set32(head, 40, static_cast<uint32_t>(size - head.size()));
    samples::Set32(head, 4, static_cast<uint32_t>(size - 8));
    dir.Write("big.wav", head);
    ASSERT_EQ(truncate("big.wav", static_cast<off_t>(size)), 0);
    TWave w;
    if (size == cap) {
      w.LoadFromFile("big.wav");
      EXPECT_EQ(w.Data.size(), cap - 44);
    } else {
      EXPECT_THROW(w.LoadFromFile("big.wav"), EGameError);
    }
  }
}

TEST(WaveLoadFromFile, ErrorTextsAndWhatIsLeftBehind) {
  ScopedTempDir dir;
  dir.Write("good.wav", samples::Wav(1, 22050, 16, kSamples));
  auto riff = samples::Wav(1, 22050, 16, kSamples);
  riff[8] = 'X';
  dir.Write("notwave.wav", riff);
  TWave w;
  w.LoadFromFile("good.wav");
  try {
    w.LoadFromFile("missing.wav");
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_STREQ(e.what(), "Cannot open file missing.wav");
  }
  EXPECT_EQ(w.Data, kSamples);  // a file that cannot be opened leaves the wave in place
  try {
    w.LoadFromFile("notwave.wav");
    FAIL();
  } catch (const EGameError& e) {
    EXPECT_STREQ(e.what(), "Wave is invalid");
  }
  EXPECT_TRUE(w.Empty());  // a file that is not a wave leaves it empty
}

TEST(PcmConversion, FormatsBecomeStereoFloatAtTheDeviceRate) {
  // 8-bit unsigned mono, 24-bit stereo and float: the same half-scale value everywhere.
  platform::PcmFormat u8{platform::SampleKind::UInt8, 1, 8000, 1};
  const uint8_t half8[] = {192, 64};
  auto out = platform::ToStereoFloat(u8, half8, 2, 8000);
  ASSERT_EQ(out.size(), 4u);
  EXPECT_FLOAT_EQ(out[0], 0.5f);
  EXPECT_FLOAT_EQ(out[1], 0.5f);
  EXPECT_FLOAT_EQ(out[3], -0.5f);

  platform::PcmFormat s24{platform::SampleKind::Int24, 2, 8000, 6};
  const uint8_t frame24[] = {0, 0, 0x40, 0, 0, 0xC0};
  out = platform::ToStereoFloat(s24, frame24, 6, 8000);
  ASSERT_EQ(out.size(), 2u);
  EXPECT_FLOAT_EQ(out[0], 0.5f);
  EXPECT_FLOAT_EQ(out[1], -0.5f);

  // 11025 Hz doubled to 22050 Hz: twice the frames, midpoints interpolated.
  platform::PcmFormat s16{platform::SampleKind::Int16, 1, 11025, 2};
  const auto ramp = samples::Pcm16({0, 16384, 0, -16384});
  out = platform::ToStereoFloat(s16, ramp.data(), ramp.size(), 22050);
  ASSERT_EQ(out.size(), 16u);
  EXPECT_FLOAT_EQ(out[2], 0.25f);
  EXPECT_FLOAT_EQ(out[4], 0.5f);

  // A NaN in a float file is silence, not poison for the mixer.
  platform::PcmFormat f32{platform::SampleKind::Float32, 1, 8000, 4};
  const uint8_t nan[] = {0, 0, 0xC0, 0x7F};
  out = platform::ToStereoFloat(f32, nan, 4, 8000);
  EXPECT_EQ(out[0], 0.0f);
  // A trailing part of a frame is dropped.
  EXPECT_EQ(platform::ToStereoFloat(s24, frame24, 5, 8000).size(), 0u);
}

}  // namespace
