#include "base/rounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/random.h"

namespace {

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(Round(0.5), 0);
  EXPECT_EQ(Round(1.5), 2);
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-0.5), 0);
  EXPECT_EQ(Round(-1.5), -2);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(-9.5), -10);
  EXPECT_EQ(Round(16.5), 16);
}

TEST(Rounding, EverythingElseGoesToTheNearest) {
  EXPECT_EQ(Round(1.4), 1);
  EXPECT_EQ(Round(1.6), 2);
  EXPECT_EQ(Round(-1.4), -1);
  EXPECT_EQ(Round(-1.6), -2);
  EXPECT_EQ(Round(2.4999999), 2);
  EXPECT_EQ(Round(7.0), 7);
}

TEST(Rounding, RunawayValuesClampInsteadOfOverflowing) {
  EXPECT_EQ(Round(1e12), INT32_MAX);
  EXPECT_EQ(Round(-1e12), INT32_MIN);
  EXPECT_EQ(Round(std::numeric_limits<double>::infinity()), INT32_MAX);
  EXPECT_EQ(Round(std::nan("")), 0);
}

TEST(Sign, OfIntegers) {
  EXPECT_EQ(Sign(-7), -1);
  EXPECT_EQ(Sign(0), 0);
  EXPECT_EQ(Sign(42), 1);
  EXPECT_EQ(Sign(INT64_MIN), -1);
}

TEST(RandomGenerator, IsUniformInRangeAndReproducible) {
  TRandom a(42), b(42), c(43);
  int counts[6] = {};
  bool differs = false;
  for (int i = 0; i < 60000; ++i) {
    int32_t v = a.Random(6);
    ASSERT_GE(v, 0);
    ASSERT_LT(v, 6);
    ++counts[v];
    EXPECT_EQ(v, b.Random(6));
    differs |= (v != c.Random(6));
  }
  for (int n : counts) EXPECT_NEAR(n, 10000, 600);
  EXPECT_TRUE(differs);
  EXPECT_EQ(a.Random(0), 0);
  EXPECT_EQ(a.Random(-3), 0);
}

}  // namespace
