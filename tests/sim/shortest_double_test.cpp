// The browser build's float formatter must write every double exactly as std::to_chars does
// here, or the driver's JSON would differ between the two builds.
#include "shortest_double.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>

namespace {

std::string ToChars(double v) {
  char buf[64];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
  return ec == std::errc() ? std::string(buf, end) : std::string();
}

double FromBits(uint64_t bits) {
  double v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

TEST(ShortestDouble, WritesWhatToCharsWrites) {
  using L = std::numeric_limits<double>;
  for (double v : {0.0,
                   -0.0,
                   1.0,
                   -1.0,
                   0.1,
                   0.0001,
                   0.001,
                   1e-5,
                   123456.0,
                   1e15,
                   1e16,
                   1e21,
                   1e22,
                   1e23,
                   5e-324,
                   L::denorm_min(),
                   L::min(),
                   L::max(),
                   L::lowest(),
                   L::epsilon(),
                   9007199254740993.0,
                   1.0 / 3.0,
                   2.5e-7,
                   100.0,
                   1234.5678,
                   L::infinity(),
                   -L::infinity()}) {
    EXPECT_EQ(ShortestDouble(v), ToChars(v)) << ToChars(v);
  }
  // Random bit patterns reach every exponent; the sums and quotients of small integers are
  // what a game's counters and ratios are made of.
  std::mt19937_64 gen(25);
  for (int i = 0; i < 20000; ++i) {
    const double v = FromBits(gen());
    if (v != v) continue;
    ASSERT_EQ(ShortestDouble(v), ToChars(v)) << ToChars(v);
  }
  for (int a = -100; a <= 100; ++a) {
    for (int b = 1; b <= 32; ++b) {
      const double v = static_cast<double>(a) / b;
      ASSERT_EQ(ShortestDouble(v), ToChars(v)) << a << "/" << b;
      ASSERT_EQ(ShortestDouble(v * 1e-3), ToChars(v * 1e-3)) << a << "/" << b;
    }
  }
}

}  // namespace
