#include "platform/score_reader.h"

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "base/error.h"
#include "base/file_io.h"

namespace platform {
namespace {

constexpr size_t kMaxNameLength = 32;
constexpr size_t kMaxInstruments = 32;
constexpr size_t kMaxPatterns = 512;
constexpr size_t kMaxSections = 256;
constexpr size_t kMaxOrderItems = 1024;
constexpr int kMaxRepeat = 64;
constexpr int kMaxTokenSteps = 256;

// 'text' for messages, built by appending: GCC 12 at -O3 reports a false -Wrestrict inside the
// inlined operator+ of a one-character literal and a temporary string.
std::string Quoted(std::string_view text) {
  std::string out = "'";
  out += text;
  out += '\'';
  return out;
}

enum class TokenKind : uint8_t { Rest, Notes, Hits, Hold };

struct Token {
  TokenKind Kind = TokenKind::Rest;
  uint32_t Length = 1;
  uint8_t Count = 0;
  std::array<uint8_t, kMaxChord> Pitch{};  // notes
  std::array<char, kMaxChord> Hit{};       // kit letters
  float Velocity = 1.0f;
};

struct Pattern {
  int Line = 0;
  std::vector<Token> Tokens;
  uint32_t Steps = 0;
};

// A pattern or section named in a section or the order list: transposed, repeated.
struct Use {
  std::string Name;
  int Transpose = 0;
  int Repeat = 1;
};

struct Section {
  int Line = 0;
  std::vector<std::pair<std::string, std::vector<Use>>> Channels;
  uint32_t Steps = 0;
};

struct Channel {
  std::string Name;
  bool Kit = false;
  std::vector<std::pair<char, uint32_t>> Letters;  // a kit: letter and instrument
  uint32_t Instrument = 0;                         // a melodic channel
  size_t FirstVoice = 0;  // its voices in Score::Voices: one, or one a kit letter
};

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

std::string Rest(std::string_view line, std::string_view first) {
  std::string_view rest = line.substr(line.find(first) + first.size());
  const size_t a = rest.find_first_not_of(" \t");
  if (a == std::string_view::npos) return {};
  const size_t b = rest.find_last_not_of(" \t");
  return std::string(rest.substr(a, b - a + 1));
}

class Reader {
 public:
  explicit Reader(const std::string& file) : file_(file) {}
  Score Read(std::string_view text);

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EGameError(file_ + ":" + std::to_string(line_) + ": " + what);
  }
  [[noreturn]] void FailAt(int line, const std::string& what) const {
    throw EGameError(file_ + ":" + std::to_string(line) + ": " + what);
  }
  void Line(std::string_view line, bool indented);
  void Directive(const std::vector<std::string_view>& w, std::string_view line);
  void Continue(const std::vector<std::string_view>& w);
  double Number(std::string_view s, double lo, double hi, const char* what) const;
  int Integer(std::string_view s, int lo, int hi, const char* what) const;
  std::string Name(std::string_view s, const char* what) const;
  int NoteNumber(std::string_view s) const;
  void ReadInstrument(const std::vector<std::string_view>& w);
  void InstrumentParam(Instrument& ins, std::string_view key, std::string_view value) const;
  uint32_t InstrumentIndex(std::string_view name) const;
  void ReadChannel(const std::vector<std::string_view>& w, bool kit);
  void CheckNewVoices(size_t more) const;
  Token ReadToken(std::string_view s) const;
  Use ReadUse(std::string_view s) const;
  void SectionLine(const std::vector<std::string_view>& w);
  void OrderWords(const std::vector<std::string_view>& w, size_t first);
  void CloseSection();
  void Finish();
  void Lay(const Section& section, int transpose, uint32_t at);
  void LayChannel(const Channel& ch, const std::vector<Use>& uses, int transpose, uint32_t at);
  void AddNote(ScoreVoice& voice, ScoreNote note);

  std::string file_;
  int line_ = 0;
  Score score_;
  std::vector<Channel> channels_;
  size_t voiceCount_ = 0;
  std::map<std::string, Pattern, std::less<>> patterns_;
  std::map<std::string, Section, std::less<>> sections_;
  std::vector<std::pair<Use, int>> order_;  // with its line
  std::optional<size_t> loopAt_;            // the order item the loop goes back to
  enum class Block { None, Pattern, Section, Order } block_ = Block::None;
  Pattern* pattern_ = nullptr;
  Section* section_ = nullptr;
  size_t notes_ = 0;
};

double Reader::Number(std::string_view s, double lo, double hi, const char* what) const {
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
  double value = 0.0;
  int digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < 9) {
    value = value * 10.0 + (s[i++] - '0');
    ++digits;
  }
  if (i < s.size() && s[i] == '.') {
    ++i;
    double scale = 0.1;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && digits < 9) {
      value += (s[i++] - '0') * scale;
      scale *= 0.1;
      ++digits;
    }
  }
  if (digits == 0 || i != s.size()) Fail(Quoted(s) + " is not a number");
  if (negative) value = -value;
  if (value < lo || value > hi) {
    Fail(std::string(what) + " " + std::string(s) + " is outside " +
         std::to_string(static_cast<int>(lo)) + ".." + std::to_string(static_cast<int>(hi)));
  }
  return value;
}

int Reader::Integer(std::string_view s, int lo, int hi, const char* what) const {
  const double v = Number(s, lo, hi, what);
  if (v != static_cast<double>(static_cast<int>(v))) {
    Fail(std::string(what) + " " + std::string(s) + " is not a whole number");
  }
  return static_cast<int>(v);
}

std::string Reader::Name(std::string_view s, const char* what) const {
  const bool ok =
      !s.empty() && s.size() <= kMaxNameLength && std::all_of(s.begin(), s.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '.';
      });
  if (!ok) Fail(Quoted(s) + " is not a " + what + " name");
  return std::string(s);
}

// c4 is middle C (MIDI 60); a sharp is '#', a flat 'b'.
int Reader::NoteNumber(std::string_view s) const {
  static constexpr int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // a b c d e f g
  const auto bad = [&] { Fail(Quoted(s) + " is not a note"); };
  if (s.size() < 2 || s.size() > 3 || s[0] < 'a' || s[0] > 'g') bad();
  int n = kSemitone[s[0] - 'a'];
  size_t i = 1;
  if (s.size() == 3) {
    if (s[1] == '#') {
      ++n;
    } else if (s[1] == 'b') {
      --n;
    } else {
      bad();
    }
    i = 2;
  }
  if (s[i] < '0' || s[i] > '8') bad();
  return 12 * (s[i] - '0' + 1) + n;
}

uint32_t Reader::InstrumentIndex(std::string_view name) const {
  for (size_t i = 0; i < score_.Instruments.size(); ++i) {
    if (score_.Instruments[i].Name == name) return static_cast<uint32_t>(i);
  }
  Fail("no instrument " + Quoted(name));
}

void Reader::ReadInstrument(const std::vector<std::string_view>& w) {
  if (w.size() < 3) Fail("an instrument needs a name and a wave");
  if (score_.Instruments.size() >= kMaxInstruments) Fail("too many instruments");
  Instrument ins;
  ins.Name = Name(w[1], "instrument");
  for (const Instrument& other : score_.Instruments) {
    if (other.Name == ins.Name) Fail("instrument '" + ins.Name + "' is defined twice");
  }
  static constexpr std::pair<std::string_view, Wave> kWaves[] = {
      {"square", Wave::Square}, {"pulse25", Wave::Pulse25},   {"pulse12", Wave::Pulse12},
      {"saw", Wave::Saw},       {"triangle", Wave::Triangle}, {"sine", Wave::Sine},
      {"noise", Wave::Noise}};
  const auto wave = std::find_if(std::begin(kWaves), std::end(kWaves),
                                 [&](const auto& k) { return k.first == w[2]; });
  if (wave == std::end(kWaves)) Fail(Quoted(w[2]) + " is not a wave");
  ins.Shape = wave->second;
  if (w.size() % 2 != 1) Fail(Quoted(w.back()) + " has no value");
  for (size_t i = 3; i + 1 < w.size(); i += 2) InstrumentParam(ins, w[i], w[i + 1]);
  score_.Instruments.push_back(std::move(ins));
}

void Reader::InstrumentParam(Instrument& ins, std::string_view key, std::string_view v) const {
  const auto num = [&](double lo, double hi) {
    return static_cast<float>(Number(v, lo, hi, std::string(key).c_str()));
  };
  if (key == "attack") {
    ins.AttackMs = num(0, 5000);
  } else if (key == "decay") {
    ins.DecayMs = num(0, 10000);
  } else if (key == "sustain") {
    ins.Sustain = num(0, 100) / 100.0f;
  } else if (key == "release") {
    ins.ReleaseMs = num(0, 10000);
  } else if (key == "volume") {
    ins.Volume = num(0, 100) / 100.0f;
  } else if (key == "pan") {
    ins.Pan = num(-100, 100) / 100.0f;
  } else if (key == "cutoff") {
    ins.CutoffHz = num(0, 20000);
  } else if (key == "resonance") {
    ins.Resonance = num(0, 90) / 100.0f;
  } else if (key == "envcutoff") {
    ins.EnvCutoffHz = num(0, 20000);
  } else if (key == "sweep") {
    ins.SweepSemitones = num(-48, 48);
  } else if (key == "sweeptime") {
    ins.SweepMs = num(0, 2000);
  } else if (key == "detune") {
    ins.DetuneCents = num(0, 100);
  } else if (key == "vibrato") {
    ins.VibratoCents = num(0, 200);
  } else if (key == "vibratorate") {
    ins.VibratoHz = num(0.1, 20);
  } else if (key == "vibratodelay") {
    ins.VibratoDelayMs = num(0, 5000);
  } else if (key == "arp") {
    ins.ArpMs = num(0, 500);
  } else if (key == "echo") {
    ins.EchoSend = num(0, 100) / 100.0f;
  } else if (key == "pitch") {
    ins.FixedNote = NoteNumber(v);
  } else if (key == "filter") {
    if (v == "low") {
      ins.Filter = FilterMode::Low;
    } else if (v == "high") {
      ins.Filter = FilterMode::High;
    } else if (v == "band") {
      ins.Filter = FilterMode::Band;
    } else {
      Fail("filter " + Quoted(v) + " is not low, high or band");
    }
  } else {
    Fail(Quoted(key) + " is not an instrument setting");
  }
}

void Reader::CheckNewVoices(size_t more) const {
  if (voiceCount_ + more > static_cast<size_t>(kMaxVoices)) {
    Fail("more than " + std::to_string(kMaxVoices) + " voices (each kit letter is one)");
  }
}

void Reader::ReadChannel(const std::vector<std::string_view>& w, bool kit) {
  if (w.size() < 3)
    Fail(kit ? "a kit needs a name and letter=instrument pairs"
             : "a channel needs a name and an instrument");
  Channel ch;
  ch.Name = Name(w[1], kit ? "kit" : "channel");
  for (const Channel& other : channels_) {
    if (other.Name == ch.Name) Fail("channel '" + ch.Name + "' is defined twice");
  }
  ch.Kit = kit;
  if (!kit) {
    if (w.size() != 3) Fail("a channel has one instrument");
    CheckNewVoices(1);
    ch.Instrument = InstrumentIndex(w[2]);
  } else {
    for (size_t i = 2; i < w.size(); ++i) {
      const std::string_view pair = w[i];
      if (pair.size() < 3 || pair[1] != '=' || pair[0] < 'a' || pair[0] > 'z') {
        Fail(Quoted(pair) + " is not letter=instrument");
      }
      for (const auto& [letter, _] : ch.Letters) {
        if (letter == pair[0]) Fail(std::string("letter ") + pair[0] + " is used twice");
      }
      CheckNewVoices(ch.Letters.size() + 1);
      ch.Letters.emplace_back(pair[0], InstrumentIndex(pair.substr(2)));
    }
  }
  ch.FirstVoice = voiceCount_;
  voiceCount_ += kit ? ch.Letters.size() : 1;
  channels_.push_back(std::move(ch));
}

// BODY[:LENGTH][!|?]: BODY is a note or chord (c4, f#3+a3+c4), kit letters (k, k+h), a rest
// (r or .) or a hold (-), which lengthens what came before by a step.
Token Reader::ReadToken(std::string_view s) const {
  Token t;
  const std::string_view whole = s;
  if (!s.empty() && (s.back() == '!' || s.back() == '?')) {
    t.Velocity = s.back() == '!' ? 1.3f : 0.6f;
    s.remove_suffix(1);
  }
  const size_t colon = s.find(':');
  if (colon != std::string_view::npos) {
    t.Length = static_cast<uint32_t>(Integer(s.substr(colon + 1), 1, kMaxTokenSteps, "length"));
    s = s.substr(0, colon);
  }
  if (s == "r" || s == ".") return t;
  if (s == "-") {
    if (colon != std::string_view::npos || t.Velocity != 1.0f) {
      Fail("a hold '-' takes no length or accent");
    }
    t.Kind = TokenKind::Hold;
    return t;
  }
  size_t start = 0;
  while (start <= s.size()) {
    size_t plus = s.find('+', start);
    if (plus == std::string_view::npos) plus = s.size();
    const std::string_view part = s.substr(start, plus - start);
    if (t.Count == kMaxChord) Fail(Quoted(whole) + " has more than 4 notes");
    const bool letter = part.size() == 1 && part[0] >= 'a' && part[0] <= 'z' && part[0] != 'r';
    const TokenKind kind = letter ? TokenKind::Hits : TokenKind::Notes;
    if (t.Count > 0 && kind != t.Kind) Fail(Quoted(whole) + " mixes notes and hits");
    t.Kind = kind;
    if (letter) {
      t.Hit[t.Count++] = part[0];
    } else {
      t.Pitch[t.Count++] = static_cast<uint8_t>(NoteNumber(part));
    }
    start = plus + 1;
  }
  return t;
}

// NAME[+N|-N][*R]
Use Reader::ReadUse(std::string_view s) const {
  Use u;
  const size_t star = s.find('*');
  if (star != std::string_view::npos) {
    u.Repeat = Integer(s.substr(star + 1), 1, kMaxRepeat, "repeat");
    s = s.substr(0, star);
  }
  const size_t sign = s.find_first_of("+-");
  if (sign != std::string_view::npos) {
    u.Transpose = Integer(s.substr(sign), -36, 36, "transposition");
    s = s.substr(0, sign);
  }
  u.Name = Name(s, "pattern or section");
  return u;
}

void Reader::SectionLine(const std::vector<std::string_view>& w) {
  const std::string channel(w[0]);
  const auto ch = std::find_if(channels_.begin(), channels_.end(),
                               [&](const Channel& c) { return c.Name == channel; });
  if (ch == channels_.end()) Fail("no channel '" + channel + "'");
  for (const auto& [name, _] : section_->Channels) {
    if (name == channel) Fail("channel '" + channel + "' twice in one section");
  }
  if (w.size() < 2) Fail("channel '" + channel + "' plays nothing here");
  std::vector<Use> uses;
  uint64_t steps = 0;
  for (size_t i = 1; i < w.size(); ++i) {
    Use u = ReadUse(w[i]);
    const auto p = patterns_.find(u.Name);
    if (p == patterns_.end()) Fail("no pattern '" + u.Name + "'");
    for (const Token& t : p->second.Tokens) {
      if (t.Kind == TokenKind::Hits && !ch->Kit) {
        Fail("pattern '" + u.Name + "' has drum hits but channel '" + channel + "' plays notes");
      }
      if (t.Kind == TokenKind::Notes && ch->Kit) {
        Fail("pattern '" + u.Name + "' has notes but '" + channel + "' is a kit");
      }
      for (uint8_t k = 0; t.Kind == TokenKind::Hits && k < t.Count; ++k) {
        const bool known = std::any_of(ch->Letters.begin(), ch->Letters.end(),
                                       [&](const auto& l) { return l.first == t.Hit[k]; });
        if (!known) Fail(std::string("kit '") + channel + "' has no letter " + t.Hit[k]);
      }
    }
    steps += static_cast<uint64_t>(p->second.Steps) * static_cast<uint64_t>(u.Repeat);
    uses.push_back(std::move(u));
  }
  if (steps > static_cast<uint64_t>(kMaxScoreSteps)) Fail("the section is too long");
  // A section of no time would let a loop go round without the clock moving on.
  if (steps == 0) Fail("channel '" + channel + "' plays no steps here");
  if (!section_->Channels.empty() && steps != section_->Steps) {
    Fail("channel '" + channel + "' has " + std::to_string(steps) + " steps, the section " +
         std::to_string(section_->Steps));
  }
  section_->Steps = static_cast<uint32_t>(steps);
  section_->Channels.emplace_back(channel, std::move(uses));
}

void Reader::OrderWords(const std::vector<std::string_view>& w, size_t first) {
  for (size_t i = first; i < w.size(); ++i) {
    if (w[i] == "|:") {
      if (loopAt_) Fail("the order has two loop marks '|:'");
      loopAt_ = order_.size();
      continue;
    }
    if (order_.size() >= kMaxOrderItems) Fail("the order list is too long");
    Use u = ReadUse(w[i]);
    if (sections_.find(u.Name) == sections_.end()) Fail("no section '" + u.Name + "'");
    order_.emplace_back(std::move(u), line_);
  }
}

void Reader::CloseSection() {
  if (block_ == Block::Section && section_->Channels.empty()) {
    FailAt(section_->Line, "the section plays nothing");
  }
}

void Reader::Continue(const std::vector<std::string_view>& w) {
  switch (block_) {
    case Block::Pattern:
      for (std::string_view s : w) {
        Token t = ReadToken(s);
        if (pattern_->Steps + t.Length > static_cast<uint32_t>(kMaxScoreSteps)) {
          Fail("the pattern is too long");
        }
        pattern_->Steps += t.Length;
        pattern_->Tokens.push_back(t);
      }
      break;
    case Block::Section:
      SectionLine(w);
      break;
    case Block::Order:
      OrderWords(w, 0);
      break;
    case Block::None:
      Fail("an indented line belongs to a pattern, section or order");
  }
}

void Reader::Directive(const std::vector<std::string_view>& w, std::string_view line) {
  CloseSection();
  block_ = Block::None;
  const std::string_view d = w[0];
  const auto one = [&](const char* what) {
    if (w.size() != 2) Fail(std::string(what) + " takes one value");
    return w[1];
  };
  if (d == "title") {
    score_.Title = Rest(line, d);
  } else if (d == "key") {
    score_.Key = Rest(line, d);
  } else if (d == "tempo") {
    score_.Tempo = Integer(one("tempo"), 40, 300, "tempo");
  } else if (d == "steps") {
    score_.StepsPerBeat = Integer(one("steps"), 1, 16, "steps");
  } else if (d == "gain") {
    score_.Gain = static_cast<float>(Number(one("gain"), 0, 4, "gain"));
  } else if (d == "once") {
    if (w.size() != 1) Fail("once takes no value");
    score_.Loops = false;
  } else if (d == "echo") {
    if (w.size() != 4) Fail("echo takes a time (ms), a feedback and a mix (%)");
    score_.EchoMs = static_cast<float>(Number(w[1], 1, kMaxEchoMs, "echo time"));
    score_.EchoFeedback = static_cast<float>(Number(w[2], 0, 90, "feedback") / 100.0);
    score_.EchoMix = static_cast<float>(Number(w[3], 0, 100, "mix") / 100.0);
  } else if (d == "instrument") {
    ReadInstrument(w);
  } else if (d == "channel" || d == "kit") {
    ReadChannel(w, d == "kit");
  } else if (d == "pattern") {
    if (w.size() < 2) Fail("a pattern needs a name");
    const std::string name = Name(w[1], "pattern");
    if (patterns_.count(name)) Fail("pattern '" + name + "' is defined twice");
    if (patterns_.size() >= kMaxPatterns) Fail("too many patterns");
    pattern_ = &patterns_[name];
    pattern_->Line = line_;
    block_ = Block::Pattern;
    Continue({w.begin() + 2, w.end()});
  } else if (d == "section") {
    if (w.size() != 2) Fail("a section has a name and its channels on the lines below");
    const std::string name = Name(w[1], "section");
    if (sections_.count(name)) Fail("section '" + name + "' is defined twice");
    if (sections_.size() >= kMaxSections) Fail("too many sections");
    section_ = &sections_[name];
    section_->Line = line_;
    block_ = Block::Section;
  } else if (d == "order") {
    block_ = Block::Order;
    OrderWords(w, 1);
  } else {
    Fail(Quoted(d) + " is not a score directive");
  }
}

void Reader::Line(std::string_view line, bool indented) {
  // A comment is a word starting with '#'; inside a word '#' is a sharp (f#4).
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
      line = line.substr(0, i);
      break;
    }
  }
  const std::vector<std::string_view> w = Words(line);
  if (w.empty()) return;
  if (indented) {
    Continue(w);
  } else {
    Directive(w, line);
  }
}

void Reader::AddNote(ScoreVoice& voice, ScoreNote note) {
  if (++notes_ > kMaxScoreNotes) Fail("the score has too many notes");
  voice.Notes.push_back(note);
}

void Reader::LayChannel(const Channel& ch, const std::vector<Use>& uses, int transpose,
                        uint32_t at) {
  for (const Use& u : uses) {
    const Pattern& p = patterns_.find(u.Name)->second;
    for (int r = 0; r < u.Repeat; ++r) {
      // A hold reaches back only within the pattern: what was before it is another phrase.
      std::vector<size_t> held;  // voices whose last note the next hold lengthens
      for (const Token& t : p.Tokens) {
        if (t.Kind == TokenKind::Hold) {
          for (size_t v : held) ++score_.Voices[v].Notes.back().Length;
        } else {
          held.clear();
        }
        if (t.Kind == TokenKind::Notes) {
          ScoreNote n{at, t.Length, t.Count, {}, t.Velocity};
          for (uint8_t k = 0; k < t.Count; ++k) {
            const int pitch = t.Pitch[k] + transpose + u.Transpose;
            if (pitch < 12 || pitch > 120) FailAt(p.Line, "a note is transposed out of range");
            n.Pitch[k] = static_cast<uint8_t>(pitch);
          }
          AddNote(score_.Voices[ch.FirstVoice], n);
          held.push_back(ch.FirstVoice);
        } else if (t.Kind == TokenKind::Hits) {
          for (uint8_t k = 0; k < t.Count; ++k) {
            size_t slot = 0;
            while (ch.Letters[slot].first != t.Hit[k]) ++slot;
            AddNote(score_.Voices[ch.FirstVoice + slot],
                    ScoreNote{at, t.Length, 1, {60, 0, 0, 0}, t.Velocity});
            held.push_back(ch.FirstVoice + slot);
          }
        }
        at += t.Length;
      }
    }
  }
}

void Reader::Lay(const Section& section, int transpose, uint32_t at) {
  for (const auto& entry : section.Channels) {
    const auto ch = std::find_if(channels_.begin(), channels_.end(),
                                 [&](const Channel& c) { return c.Name == entry.first; });
    LayChannel(*ch, entry.second, ch->Kit ? 0 : transpose, at);
  }
}

void Reader::Finish() {
  if (channels_.empty()) Fail("the score has no channel");
  if (order_.empty()) Fail("the score has no order");
  for (const Channel& ch : channels_) {
    if (ch.Kit) {
      for (const auto& [letter, instrument] : ch.Letters) {
        score_.Voices.push_back({ch.Name + "." + letter, instrument, {}});
      }
    } else {
      score_.Voices.push_back({ch.Name, ch.Instrument, {}});
    }
  }
  uint64_t at = 0;
  for (size_t i = 0; i < order_.size(); ++i) {
    const auto& [use, line] = order_[i];
    line_ = line;
    if (loopAt_ && *loopAt_ == i) score_.LoopStep = static_cast<uint32_t>(at);
    const Section& s = sections_.find(use.Name)->second;
    for (int r = 0; r < use.Repeat; ++r) {
      if (at + s.Steps > static_cast<uint64_t>(kMaxScoreSteps)) Fail("the order is too long");
      Lay(s, use.Transpose, static_cast<uint32_t>(at));
      at += s.Steps;
    }
  }
  if (loopAt_ && *loopAt_ >= order_.size()) Fail("nothing follows the loop mark '|:'");
  if (loopAt_ && !score_.Loops) Fail("a score played once has no loop mark '|:'");
  score_.Steps = static_cast<uint32_t>(at);
}

Score Reader::Read(std::string_view text) {
  if (text.size() > kMaxScoreBytes) {
    throw EGameError(file_ + ": larger than " + std::to_string(kMaxScoreBytes / 1024) + " KiB");
  }
  size_t pos = 0;
  while (pos < text.size()) {
    ++line_;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxScoreLine) Fail("the line is longer than 1024 characters");
    if (line.find('\0') != std::string_view::npos) Fail("the line holds a zero byte");
    Line(line, !line.empty() && (line[0] == ' ' || line[0] == '\t'));
  }
  CloseSection();
  Finish();
  return std::move(score_);
}

}  // namespace

Score ReadScore(std::string_view text, const std::string& name) {
  Reader reader(name);
  Score score = reader.Read(text);
  std::string base = name.substr(name.find_last_of('/') + 1);
  score.Name = base.substr(0, base.find('.'));
  return score;
}

Score LoadScoreFile(const std::string& path) {
  const fileio::ReadResult file = fileio::ReadPrefix(path, kMaxScoreBytes + 1);
  if (!file.Opened) throw EInOutError("Cannot open file " + path);
  const std::string_view text(reinterpret_cast<const char*>(file.Bytes.data()), file.Bytes.size());
  return ReadScore(text, path);
}

}  // namespace platform
