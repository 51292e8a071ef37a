// Reading a score: how patterns, sections and the order list become each voice's notes, and
// that a fault is named by its file and line and a hostile score costs only bounded work.
#include "platform/score_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/error.h"

namespace {

using platform::ReadScore;
using platform::Score;

constexpr const char* kHeader =
    "tempo 120\n"
    "instrument lead square volume 50\n"
    "instrument kick sine pitch a1 sweep 12 sweeptime 30\n"
    "instrument hat noise filter high cutoff 6000\n"
    "channel lead lead   # a comment after a directive\n"
    "kit drums k=kick h=hat\n";

std::string Message(const std::string& body) {
  try {
    ReadScore(std::string(kHeader) + body, "music/t.txt");
  } catch (const EGameError& e) {
    return e.what();
  }
  return "no error";
}

struct Laid {
  uint32_t Start, Length;
  std::vector<int> Pitches;
};

std::vector<Laid> NotesOf(const Score& s, size_t voice) {
  std::vector<Laid> out;
  for (const auto& n : s.Voices.at(voice).Notes) {
    out.push_back({n.Start, n.Length, {n.Pitch.begin(), n.Pitch.begin() + n.Count}});
  }
  return out;
}

std::vector<uint32_t> StartsOf(const Score& s, size_t voice) {
  std::vector<uint32_t> out;
  for (const auto& n : s.Voices.at(voice).Notes) out.push_back(n.Start);
  return out;
}

TEST(ScoreReader, LaysOutPatternsSectionsAndTheOrderWithTranspositionsAndHolds) {
  const Score s = ReadScore(std::string(kHeader) +
                                "key A minor\n"
                                "pattern up a4 c5:2 - r e4+g#4:3!\n"
                                "pattern beat k+h h:2 . k:4\n"
                                "section A\n"
                                "  lead  up\n"
                                "  drums beat \n"
                                "section B\n"
                                "  drums beat*2\n"
                                "order A |: B\n"
                                "  A-2\n",
                            "content/music/tune.txt");
  EXPECT_EQ(s.Name, "tune");
  EXPECT_EQ(s.Key, "A minor");
  EXPECT_TRUE(s.Loops);
  EXPECT_EQ(s.Steps, 32u);  // A 8, B 16, A 8
  EXPECT_EQ(s.LoopStep, 8u);
  ASSERT_EQ(s.Voices.size(), 3u);  // the lead, then one voice a kit letter
  EXPECT_EQ(s.Voices[1].Channel, "drums.k");
  // The hold makes c5 three steps long; the rest is no note; a chord keeps its sharp; the
  // second A is a tone lower.
  const std::vector<Laid> lead = NotesOf(s, 0);
  ASSERT_EQ(lead.size(), 6u);
  EXPECT_EQ(lead[0].Start, 0u);
  EXPECT_EQ(lead[0].Pitches, std::vector<int>{69});
  EXPECT_EQ(lead[1].Start, 1u);
  EXPECT_EQ(lead[1].Length, 3u);
  EXPECT_EQ(lead[2].Start, 5u);
  EXPECT_EQ(lead[2].Length, 3u);
  EXPECT_EQ(lead[2].Pitches, (std::vector<int>{64, 68}));
  EXPECT_FLOAT_EQ(s.Voices[0].Notes[2].Velocity, 1.3f);
  EXPECT_EQ(lead[3].Start, 24u);
  EXPECT_EQ(lead[3].Pitches, std::vector<int>{67});
  EXPECT_EQ(lead[4].Pitches, std::vector<int>{70});
  EXPECT_EQ(lead[5].Pitches, (std::vector<int>{62, 66}));
  // Drums are not transposed; each letter is its own voice.
  EXPECT_EQ(StartsOf(s, 1), (std::vector<uint32_t>{0, 4, 8, 12, 16, 20, 24, 28}));
  EXPECT_EQ(StartsOf(s, 2), (std::vector<uint32_t>{0, 1, 8, 9, 16, 17, 24, 25}));
  EXPECT_EQ(s.Voices[1].Notes[1].Length, 4u);
  EXPECT_EQ(s.Voices[1].Notes[1].Pitch[0], 60);
}

TEST(ScoreReader, NamesTheFileAndLineOfEveryFault) {
  // The header takes lines 1 to 6.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"pattern p h9\n", "music/t.txt:7: 'h9' is not a note"},
      {"pattern p c4 c#9\n", "music/t.txt:7: 'c#9' is not a note"},
      {"pattern p c4:0\n", "music/t.txt:7: length 0 is outside 1..256"},
      {"pattern p c4+e4+g4+b4+d5\n", "music/t.txt:7: 'c4+e4+g4+b4+d5' has more than 4 notes"},
      {"pattern p c4+k\n", "music/t.txt:7: 'c4+k' mixes notes and hits"},
      {"pattern p c4\n\n  c4 -:2\n", "music/t.txt:9: a hold '-' takes no length or accent"},
      {"pattern p c4:2\npattern q k\nsection A\n  lead p\n  drums q\n",
       "music/t.txt:11: channel 'drums' has 1 steps, the section 2"},
      {"pattern p c4\nsection A\n  drums p\n",
       "music/t.txt:9: pattern 'p' has notes but 'drums' is a kit"},
      {"pattern p k\nsection A\n  lead p\n",
       "music/t.txt:9: pattern 'p' has drum hits but channel 'lead' plays notes"},
      {"pattern p x\nsection A\n  drums p\n", "music/t.txt:9: kit 'drums' has no letter x"},
      {"section A\n  lead nothing\n", "music/t.txt:8: no pattern 'nothing'"},
      {"pattern p\nsection A\n  lead p*9\n", "music/t.txt:9: channel 'lead' plays no steps here"},
      {"section A\norder A\n", "music/t.txt:7: the section plays nothing"},
      {"pattern p c4\nsection A\n  lead p\norder A B\n", "music/t.txt:10: no section 'B'"},
      {"pattern p c4\nsection A\n  lead p\norder A |:\n",
       "music/t.txt:10: nothing follows the loop mark '|:'"},
      {"pattern p c8\nsection A\n  lead p+36\norder A\n",
       "music/t.txt:7: a note is transposed out of range"},
      {"instrument x organ\n", "music/t.txt:7: 'organ' is not a wave"},
      {"instrument x saw attack\n", "music/t.txt:7: 'attack' has no value"},
      {"instrument x saw attack 1e9\n", "music/t.txt:7: '1e9' is not a number"},
      {"instrument x saw colour 3\n", "music/t.txt:7: 'colour' is not an instrument setting"},
      {"channel bass nothing\n", "music/t.txt:7: no instrument 'nothing'"},
      {"tempo 1000\n", "music/t.txt:7: tempo 1000 is outside 40..300"},
      {"  c4\n", "music/t.txt:7: an indented line belongs to a pattern, section or order"},
      {"melody c4\n", "music/t.txt:7: 'melody' is not a score directive"},
      {"pattern p c4\n" + std::string(1100, ' ') + "x\n",
       "music/t.txt:8: the line is longer than 1024 characters"},
      {"", "music/t.txt:6: the score has no order"},
  };
  for (const auto& [body, message] : cases) EXPECT_EQ(Message(body), message) << body;
}

TEST(ScoreReader, RefusesScoresThatWouldGrowBeyondItsBoundsBeforeLayingThemOut) {
  // 64 x 64 x 256 steps a section, ordered 1024 times: refused as it is read, not after
  // laying out billions of notes.
  std::string big = "pattern p c4:256\nsection A\n  lead p*64\norder";
  for (int i = 0; i < 1000; ++i) big += i % 100 == 99 ? " A*64\n " : " A*64";
  EXPECT_EQ(Message(big + "\n"), "music/t.txt:10: the order is too long");
  std::string voices;
  for (int i = 0; i < 15; ++i) voices += "channel c" + std::to_string(i) + " lead\n";
  EXPECT_EQ(Message(voices), "music/t.txt:20: more than 16 voices (each kit letter is one)");
  EXPECT_EQ(Message(std::string(platform::kMaxScoreBytes, '#')),
            "music/t.txt: larger than 256 KiB");
  EXPECT_EQ(Message(std::string("title a\0b\n", 10)), "music/t.txt:7: the line holds a zero byte");
}

}  // namespace
