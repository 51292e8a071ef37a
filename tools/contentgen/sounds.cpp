// Sound recipes. Everything is synthesised at 22050 Hz, mono, 16-bit PCM. One-shots start and
// end at silence (short fades, no clicks); engine loops repeat seamlessly because every tone
// completes whole cycles in the loop and the noise is filtered around the loop.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/asset_catalog.h"
#include "gen.h"

namespace gen {

namespace {

constexpr int kRate = 22050;
constexpr double kTau = 6.283185307179586;

using Wave = std::vector<double>;

Wave Noise(size_t n, uint64_t seed) {
  Rng rng(seed);
  Wave w(n);
  for (auto& v : w) v = rng.Uniform() * 2 - 1;
  return w;
}

// One-pole low-pass with a cutoff that may change over time.
template <class Cutoff>
Wave LowPass(const Wave& in, Cutoff cutoff) {
  Wave out(in.size());
  double y = 0;
  for (size_t i = 0; i < in.size(); ++i) {
    double fc = cutoff(double(i) / kRate);
    double a = 1 - std::exp(-kTau * fc / kRate);
    y += a * (in[i] - y);
    out[i] = y;
  }
  return out;
}
Wave LowPassAt(const Wave& in, double fc) {
  return LowPass(in, [fc](double) { return fc; });
}

// Low-pass run around a loop twice, so the end flows into the start.
Wave LoopLowPass(const Wave& in, double fc) {
  double a = 1 - std::exp(-kTau * fc / kRate), y = 0;
  for (double v : in) y += a * (v - y);
  Wave out(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    y += a * (in[i] - y);
    out[i] = y;
  }
  return out;
}

// Sine whose frequency follows f(t).
template <class Freq>
Wave Sweep(size_t n, Freq f) {
  Wave w(n);
  double ph = 0;
  for (size_t i = 0; i < n; ++i) {
    w[i] = std::sin(ph);
    ph += kTau * f(double(i) / kRate) / kRate;
  }
  return w;
}

void Envelope(Wave& w, double attack, double decayRate) {
  for (size_t i = 0; i < w.size(); ++i) {
    double t = double(i) / kRate;
    double a = attack > 0 ? std::min(1.0, t / attack) : 1;
    w[i] *= a * std::exp(-decayRate * t);
  }
}

void Add(Wave& a, const Wave& b, double gain) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) a[i] += gain * b[i];
}

// Fades the ends to silence and scales to a peak level in dBFS.
std::vector<int16_t> Finish(Wave w, double peakDb, bool fades = true) {
  if (fades) {
    size_t in = kRate / 500, out = kRate / 60;
    for (size_t i = 0; i < in && i < w.size(); ++i) w[i] *= double(i) / double(in);
    for (size_t i = 0; i < out && i < w.size(); ++i) w[w.size() - 1 - i] *= double(i) / double(out);
  }
  double peak = 1e-9;
  for (double v : w) peak = std::max(peak, std::fabs(v));
  double gain = std::pow(10, peakDb / 20) / peak;
  std::vector<int16_t> s(w.size());
  for (size_t i = 0; i < w.size(); ++i)
    s[i] = int16_t(std::lround(std::clamp(w[i] * gain, -1.0, 1.0) * 32767));
  return s;
}

size_t Len(double seconds) {
  return size_t(seconds * kRate);
}

std::vector<int16_t> Cannon() {
  size_t n = Len(0.18);
  Wave crack = LowPass(Noise(n, 11), [](double t) { return 5000 * std::exp(-t * 18) + 400; });
  Envelope(crack, 0.001, 38);
  Wave thump = Sweep(n, [](double t) { return 60 + 90 * std::exp(-t * 30); });
  Envelope(thump, 0.002, 22);
  Add(crack, thump, 0.8);
  return Finish(crack, -8);
}

std::vector<int16_t> Launch(double seconds, double body, uint64_t seed, double peak) {
  size_t n = Len(seconds);
  // a rising rush of air that falls away as the missile leaves
  Wave rush = LowPass(Noise(n, seed), [&](double t) { return body * (0.6 + 2.5 * t / seconds); });
  Wave low = LowPassAt(rush, 300);
  for (size_t i = 0; i < n; ++i) {
    double t = double(i) / kRate, u = t / seconds;
    double env = std::min(1.0, t / 0.03) * std::pow(1 - u, 1.6);
    rush[i] = (rush[i] - 0.5 * low[i]) * env;
  }
  Wave ignite = LowPassAt(Noise(n, seed + 1), 2500);
  Envelope(ignite, 0.001, 30);
  Add(rush, ignite, 0.5);
  return Finish(rush, peak);
}

std::vector<int16_t> Laser() {
  size_t n = Len(0.26);
  Wave w = Sweep(
      n, [](double t) { return 260 + 1500 * std::exp(-t * 14) + 30 * std::sin(kTau * 38 * t); });
  Wave h = Sweep(n, [](double t) { return 2 * (260 + 1500 * std::exp(-t * 14)); });
  Add(w, h, 0.25);
  w = LowPassAt(w, 3500);
  Envelope(w, 0.004, 9);
  return Finish(w, -10);
}

std::vector<int16_t> Explosion(double seconds, double bright, double sub, uint64_t seed,
                               double peak) {
  size_t n = Len(seconds);
  Wave w =
      LowPass(Noise(n, seed), [&](double t) { return bright * std::exp(-t * 5 / seconds) + 90; });
  w = LowPass(w, [&](double t) { return bright * 0.8 * std::exp(-t * 4 / seconds) + 70; });
  for (size_t i = 0; i < n; ++i) {
    double t = double(i) / kRate, u = t / seconds;
    w[i] *= std::min(1.0, t / 0.004) * std::pow(1 - u, 2.2) * 3;
  }
  Wave boom = Sweep(n, [&](double t) { return sub * (0.6 + 0.6 * std::exp(-t * 8)); });
  Envelope(boom, 0.003, 6 / seconds);
  Add(w, boom, 0.7);
  // crackle of debris
  Rng rng(seed + 7);
  for (int k = 0; k < int(seconds * 30); ++k) {
    size_t at = size_t(rng.Uniform() * double(n) * 0.7);
    double amp = rng.F(0.1f, 0.35f) * (1 - double(at) / double(n));
    for (size_t j = 0; j < 60 && at + j < n; ++j)
      w[at + j] += amp * std::exp(-double(j) / 12) * (rng.Uniform() * 2 - 1);
  }
  return Finish(w, peak);
}

struct EngineRecipe {
  double whine;   // turbine tone, Hz
  double detune;  // a second engine's offset, Hz (0: one engine)
  double rumble;  // low-pass of the jet roar
  double whineGain;
  uint64_t seed;
};

// Two seconds that loop: roar plus turbine whine, with a slow swell.
std::vector<int16_t> Engine(const EngineRecipe& r) {
  const double seconds = 2.0;
  size_t n = Len(seconds);
  auto cycles = [&](double f) { return std::round(f * seconds) / seconds; };  // whole cycles
  Wave roar = LoopLowPass(LoopLowPass(Noise(n, r.seed), r.rumble), r.rumble * 1.5);
  Wave hiss = LoopLowPass(Noise(n, r.seed + 3), 2200);
  Wave hissLow = LoopLowPass(hiss, 700);
  double f1 = cycles(r.whine), f2 = cycles(r.whine + r.detune), sw = cycles(1.0);
  Wave w(n);
  double roarPeak = 1e-9;
  for (double v : roar) roarPeak = std::max(roarPeak, std::fabs(v));
  for (size_t i = 0; i < n; ++i) {
    double t = double(i) / kRate;
    double swell = 1 + 0.12 * std::sin(kTau * sw * t);
    double whine = std::sin(kTau * f1 * t) + 0.35 * std::sin(kTau * 2 * f1 * t);
    if (r.detune != 0) whine = 0.6 * whine + 0.6 * std::sin(kTau * f2 * t);
    w[i] = swell * (roar[i] / roarPeak + r.whineGain * whine) + 0.25 * (hiss[i] - hissLow[i]) * 4;
  }
  // calm under the action: about -26 dBFS average, peaks well below full scale
  double sum = 0;
  for (double v : w) sum += v * v;
  double rms = std::sqrt(sum / double(n));
  double gain = std::pow(10, -26.0 / 20) / rms;
  std::vector<int16_t> s(n);
  for (size_t i = 0; i < n; ++i)
    s[i] = int16_t(std::lround(std::clamp(w[i] * gain, -0.9, 0.9) * 32767));
  return s;
}

}  // namespace

void MakeSounds(Out& out) {
  out.Wav("sounds/weapons/Cannon01.WAV", Cannon(), kRate);
  out.Wav("sounds/weapons/MissileLaunchSmall.WAV", Launch(0.45, 900, 21, -9), kRate);
  out.Wav("sounds/weapons/MissileLaunchBig.WAV", Launch(0.9, 600, 31, -6), kRate);
  out.Wav("sounds/weapons/laser.wav", Laser(), kRate);
  out.Wav("sounds/expl/Expsdirt.wav", Explosion(0.5, 3500, 90, 41, -7), kRate);
  out.Wav("sounds/expl/Explmed.wav", Explosion(1.4, 2200, 50, 51, -3), kRate);
  static const EngineRecipe engines[4] = {
      {520, 0, 160, 0.10, 61},  // Jaguar: low, rough
      {610, 0, 200, 0.08, 62},  // F5F
      {700, 3, 240, 0.07, 63},  // F15: two engines beating slowly
      {820, 0, 260, 0.06, 64},  // F16: smooth and high
  };
  for (int k = 0; k < 4; ++k)
    out.Wav(catalog::kAircraft[size_t(k)].Engine, Engine(engines[k]), kRate);
}

}  // namespace gen
