// Which font the interface uses: Liberation Sans (or its twin Arimo) wherever a distribution
// puts it, else a DejaVu face with a warning that names the package to install.
#include <gtest/gtest.h>

#include <set>

#include "platform/text.h"

namespace {

platform::FontChoice ChooseAmong(const std::set<std::string>& files) {
  return platform::ChooseInterfaceFont([&](const std::string& p) { return files.count(p) > 0; });
}

TEST(InterfaceFont, LiberationSansComesFirstThenItsTwinThenTheNarrowerDejaVu) {
  const std::string liberation2 =
      "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
  const std::string liberation = "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf";
  const std::string arimo = "/usr/share/fonts/truetype/croscore/Arimo-Regular.ttf";
  const std::string condensed = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed.ttf";
  const std::string dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

  auto all = ChooseAmong({dejavu, condensed, arimo, liberation, liberation2});
  EXPECT_EQ(all.Path, liberation2);
  EXPECT_TRUE(all.Intended);
  EXPECT_EQ(platform::FontWarning(all), "");
  EXPECT_EQ(ChooseAmong({dejavu, arimo, liberation}).Path, liberation);
  EXPECT_EQ(ChooseAmong({dejavu, condensed, arimo}).Path, arimo);
  EXPECT_EQ(ChooseAmong({"/usr/share/fonts/TTF/LiberationSans-Regular.ttf", dejavu}).Path,
            "/usr/share/fonts/TTF/LiberationSans-Regular.ttf");

  auto fallback = ChooseAmong({dejavu, condensed});
  EXPECT_EQ(fallback.Path, condensed);
  EXPECT_FALSE(fallback.Intended);
  EXPECT_NE(platform::FontWarning(fallback).find(condensed), std::string::npos);
  EXPECT_NE(platform::FontWarning(fallback).find("fonts-liberation2"), std::string::npos);

  auto none = ChooseAmong({});
  EXPECT_EQ(none.Path, "");
  EXPECT_FALSE(none.Intended);
  EXPECT_NE(platform::FontWarning(none).find(liberation2), std::string::npos);
}

}  // namespace
