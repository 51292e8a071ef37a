#include "replay/replay_file.h"

#include <cmath>
#include <cstring>

#include "base/bit_cast.h"
#include "base/byte_stream.h"
#include "base/crc32.h"
#include "base/error.h"
#include "base/file_io.h"

namespace {

class TWriter : public TByteWriter {
 public:
  void F64(double v) { U64(BitCast<uint64_t>(v)); }
};

class TReader : public TByteReader {
 public:
  TReader(const uint8_t* data, size_t size, const std::string& name)
      : TByteReader(data, size, name, "the replay is cut short") {}

  double F64() {
    const double v = BitCast<double>(U64());
    if (!std::isfinite(v)) Fail("a speed that is not a number");
    return v;
  }
  // A count of entries of at least `minBytes` each: never more than the bytes left can hold,
  // so nothing is allocated for entries the file does not have.
  size_t Count(size_t minBytes, size_t limit, const char* what) {
    const uint32_t n = U32();
    if (n > limit) Fail(std::string("too many ") + what);
    if (n > Left() / minBytes) Fail(std::string("the replay is cut short (") + what + ")");
    return n;
  }
  // A tick after `previous`, written as the distance from it.
  int64_t NextTick(int64_t previous, const char* what) {
    const uint64_t delta = Var();
    if (delta == 0 || delta > static_cast<uint64_t>(kMaxReplayTicks - previous))
      Fail(std::string(what) + " out of order or beyond a day of flight");
    return previous + static_cast<int64_t>(delta);
  }
};

bool ValidKind(uint8_t kind, int count) {
  return kind == kNoKind || kind < count;
}

void PutCharge(TWriter& w, const TWeaponCharge& c) {
  w.I32(c.Counter);
  w.U8(c.Ready ? 1 : 0);
  w.U8(c.Alternate);
}

TWeaponCharge GetCharge(TReader& r) {
  TWeaponCharge c;
  c.Counter = r.I32();
  const uint8_t ready = r.U8();
  c.Alternate = r.U8();
  if (ready > 1 || c.Alternate > 1) r.Fail("a weapon's charge is out of range");
  c.Ready = ready == 1;
  return c;
}

void PutStart(TWriter& w, const TReplayStart& s) {
  const GameState& g = s.Campaign;
  w.U8(g.Mission);
  w.U8(g.Difficulty);
  w.I64(g.Credits);
  w.U8(g.AircraftKind);
  w.U8(g.CannonKind);
  for (uint8_t k : g.SlotKinds) w.U8(k);
  w.U64(s.RandomState);
  w.U64(s.RandomIncrement);
  w.I32(s.X);
  w.I32(s.Y);
  w.F64(s.Dx);
  w.F64(s.Dy);
  w.I32(s.Health);
  w.U8(s.CurrentSlot);
  w.I32(s.SwitchHoldTicks);
  w.I32(s.ScrollTicks);
  PutCharge(w, s.Cannon);
  for (const TWeaponCharge& c : s.Slots) PutCharge(w, c);
  w.U32(static_cast<uint32_t>(s.Bonuses.size()));
  for (const TCarriedBonus& b : s.Bonuses) {
    w.U8(static_cast<uint8_t>(b.Kind));
    w.I32(b.X);
    w.I32(b.Y);
    w.F64(b.Dx);
    w.F64(b.Dy);
    w.I32(b.AnimTicks);
  }
}

constexpr size_t kBonusBytes = 1 + 4 + 4 + 8 + 8 + 4;

TReplayStart GetStart(TReader& r) {
  TReplayStart s;
  GameState& g = s.Campaign;
  g.Mission = r.U8();
  g.Difficulty = r.U8();
  g.Credits = r.I64();
  g.AircraftKind = r.U8();
  g.CannonKind = r.U8();
  for (uint8_t& k : g.SlotKinds) k = r.U8();
  if (g.Mission >= 6 || g.Difficulty > 4 || g.Difficulty % 2 != 0)
    r.Fail("no such mission or difficulty");
  if (g.AircraftKind >= 4 || !ValidKind(g.CannonKind, 4)) r.Fail("no such aircraft or cannon");
  for (uint8_t k : g.SlotKinds) {
    if (!ValidKind(k, 6)) r.Fail("no such weapon");
  }
  s.RandomState = r.U64();
  s.RandomIncrement = r.U64();
  if (s.RandomIncrement % 2 == 0) r.Fail("the generator's state is impossible");
  s.X = r.I32();
  s.Y = r.I32();
  s.Dx = r.F64();
  s.Dy = r.F64();
  s.Health = r.I32();
  s.CurrentSlot = r.U8();
  if (s.CurrentSlot >= s.Slots.size()) r.Fail("no such weapon slot");
  s.SwitchHoldTicks = r.I32();
  s.ScrollTicks = r.I32();
  s.Cannon = GetCharge(r);
  for (TWeaponCharge& c : s.Slots) c = GetCharge(r);
  const size_t bonuses = r.Count(kBonusBytes, kMaxCarriedBonuses, "bonuses");
  s.Bonuses.reserve(bonuses);
  for (size_t i = 0; i < bonuses; ++i) {
    TCarriedBonus b;
    const uint8_t kind = r.U8();
    if (kind > 1) r.Fail("no such bonus");
    b.Kind = static_cast<TBonusKind>(kind);
    b.X = r.I32();
    b.Y = r.I32();
    b.Dx = r.F64();
    b.Dy = r.F64();
    b.AnimTicks = r.I32();
    s.Bonuses.push_back(b);
  }
  return s;
}

constexpr uint64_t kStateMask = (uint64_t{1} << 36) - 1;
constexpr size_t kCheckpointBytes = 1 + 8 * 4 + 4 * 4;

}  // namespace

std::vector<uint8_t> EncodeReplay(const TReplay& replay) {
  TWriter w;
  for (uint8_t b : kReplayMagic) w.U8(b);
  w.U16(kReplayFormat);
  const std::string version = replay.GameVersion.substr(0, kMaxVersionBytes);
  w.U8(static_cast<uint8_t>(version.size()));
  for (char c : version) w.U8(static_cast<uint8_t>(c));
  PutStart(w, replay.Start);

  w.U32(static_cast<uint32_t>(replay.Inputs.size()));
  int64_t previous = 0;
  for (const TInputRun& run : replay.Inputs) {
    w.Var(static_cast<uint64_t>(run.Tick - previous));
    w.Var(run.States);
    previous = run.Tick;
  }
  w.U32(static_cast<uint32_t>(replay.Checkpoints.size()));
  previous = 0;
  for (const TCheckpoint& c : replay.Checkpoints) {
    w.Var(static_cast<uint64_t>(c.Tick - previous));
    w.U64(c.Positions);
    w.U64(c.Health);
    w.I64(c.Credits);
    w.U64(c.Random);
    for (uint32_t n : c.Lengths) w.U32(n);
    previous = c.Tick;
  }
  w.U8(static_cast<uint8_t>(replay.End.Outcome));
  w.Var(static_cast<uint64_t>(replay.End.Tick));
  w.I64(replay.End.Credits);
  std::vector<uint8_t>& bytes = w.Bytes();
  w.U32(Crc32(bytes.data(), bytes.size()));
  return bytes;
}

TReplay DecodeReplay(const uint8_t* data, size_t size, const std::string& fileName) {
  TReader r(data, size, fileName);
  if (size < kReplayMagic.size() || std::memcmp(data, kReplayMagic.data(), kReplayMagic.size()))
    r.Fail("not a replay file");
  r.Take(kReplayMagic.size());
  TReplay replay;
  replay.Format = r.U16();
  if (replay.Format > kReplayFormat)
    r.Fail("the replay was made by a newer version of the game (format " +
           std::to_string(replay.Format) + "; this one reads format " +
           std::to_string(kReplayFormat) + ")");
  if (replay.Format == 0) r.Fail("no such replay format 0");
  // The checksum first: a damaged file is refused as such, not by a field it happened to spoil.
  if (size < kMinReplayBytes) r.Fail("the replay is cut short");
  if (Crc32(data, size - 4) != fileio::U32(data + size - 4))
    r.Fail("the replay is damaged or cut short (its checksum does not match)");
  const size_t versionBytes = r.U8();
  if (versionBytes > kMaxVersionBytes) r.Fail("the game version is too long");
  const uint8_t* version = r.Take(versionBytes);
  replay.GameVersion.assign(reinterpret_cast<const char*>(version), versionBytes);
  replay.Start = GetStart(r);

  const size_t runs = r.Count(2, static_cast<size_t>(kMaxReplayTicks), "input runs");
  replay.Inputs.reserve(runs);
  int64_t previous = 0;
  for (size_t i = 0; i < runs; ++i) {
    TInputRun run;
    run.Tick = r.NextTick(previous, "an input run");
    run.States = r.Var();
    if (run.States & ~kStateMask) r.Fail("an input state that does not exist");
    replay.Inputs.push_back(run);
    previous = run.Tick;
  }
  const size_t checkpoints =
      r.Count(kCheckpointBytes, static_cast<size_t>(kMaxReplayTicks), "checkpoints");
  replay.Checkpoints.reserve(checkpoints);
  previous = 0;
  for (size_t i = 0; i < checkpoints; ++i) {
    TCheckpoint c;
    c.Tick = r.NextTick(previous, "a checkpoint");
    c.Positions = r.U64();
    c.Health = r.U64();
    c.Credits = r.I64();
    c.Random = r.U64();
    for (uint32_t& n : c.Lengths) n = r.U32();
    replay.Checkpoints.push_back(c);
    previous = c.Tick;
  }
  const uint8_t outcome = r.U8();
  if (outcome > 2) r.Fail("no such outcome");
  replay.End.Outcome = static_cast<TFlightOutcome>(outcome);
  const uint64_t endTick = r.Var();
  if (endTick > static_cast<uint64_t>(kMaxReplayTicks)) r.Fail("the flight is too long");
  replay.End.Tick = static_cast<int64_t>(endTick);
  if (replay.End.Tick < previous) r.Fail("a checkpoint after the flight's end");
  if (!replay.Inputs.empty() && replay.Inputs.back().Tick > replay.End.Tick)
    r.Fail("input after the flight's end");
  replay.End.Credits = r.I64();
  r.Take(4);  // the checksum, checked above
  if (r.Left() != 0) r.Fail("unexpected bytes after the replay's end");
  return replay;
}

TReplay ReadReplayFile(const std::string& path) {
  const fileio::ReadResult file = fileio::ReadPrefix(path, kMaxReplayFileBytes + 1);
  if (!file.Opened) throw EInOutError(path + ": cannot open the file");
  if (file.FileSize > kMaxReplayFileBytes) throw EInOutError(path + ": too large for a replay");
  return DecodeReplay(file.Bytes.data(), file.Bytes.size(), path);
}

const char* OutcomeName(TFlightOutcome outcome) {
  switch (outcome) {
    case TFlightOutcome::Won:
      return "won";
    case TFlightOutcome::Lost:
      return "lost";
    case TFlightOutcome::Quit:
      break;
  }
  return "quit";
}
