// Keys by SDL's names, without a window: every key the game reads has a name that reads back
// as it, names are read in any case, and names SDL does not know or keys the game does not
// read are told apart.
#include "platform/key_names.h"

#include <gtest/gtest.h>

#include "platform/backend.h"

namespace {

namespace vk = platform::vk;
using platform::KeyNameOf;
using platform::LookUpKeyName;

TEST(KeyNames, EveryReadableKeyHasANameThatReadsBackAsIt) {
  int named = 0;
  for (int code = 1; code < 256; ++code) {
    const std::string name = KeyNameOf(static_cast<uint8_t>(code));
    if (name.empty()) continue;
    ++named;
    const platform::KeyLookup back = LookUpKeyName(name);
    EXPECT_TRUE(back.Known) << name;
    EXPECT_EQ(back.Code, code) << name;
  }
  // Letters, digits, F1..F12, keypad 0..9 and the 27 other keys the backend reads.
  EXPECT_EQ(named, 26 + 10 + 12 + 10 + 27);
  EXPECT_EQ(KeyNameOf(vk::Shift), "Left Shift");
  EXPECT_EQ(KeyNameOf(vk::Numpad0 + 8), "Keypad 8");
  EXPECT_EQ(KeyNameOf(vk::Return), "Return");
}

TEST(KeyNames, NamesInAnyCaseAndTheKeysBehindThem) {
  EXPECT_EQ(LookUpKeyName("left ctrl").Code, vk::Control);
  EXPECT_EQ(LookUpKeyName("RIGHT CTRL").Code, vk::Control);
  EXPECT_EQ(LookUpKeyName("space").Code, vk::Space);
  EXPECT_EQ(LookUpKeyName("k").Code, 'K');
  EXPECT_EQ(LookUpKeyName("Keypad Enter").Code, vk::Return);
  EXPECT_EQ(LookUpKeyName("F12").Code, vk::F1 + 11);
  EXPECT_EQ(LookUpKeyName("7").Code, '7');
  // Known to SDL, but no key the game reads.
  EXPECT_TRUE(LookUpKeyName("F13").Known);
  EXPECT_EQ(LookUpKeyName("F13").Code, 0);
  EXPECT_EQ(LookUpKeyName(",").Code, 0);
  // Not SDL's names at all.
  for (const char* name : {"Enter", "Spacebar", "", "Left  Ctrl"})
    EXPECT_FALSE(LookUpKeyName(name).Known) << name;
}

}  // namespace
