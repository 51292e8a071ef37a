#include "presentation/text_wrap.h"

#include <algorithm>

namespace {

// The byte length of the UTF-8 character starting at s[i] (1 for a stray byte).
size_t CharLength(const std::string& s, size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  if (i + n > s.size()) n = s.size() - i;
  return n;
}

// The text after the indent in units no row breaks inside: words, except that a colon standing
// alone between spaces ties the words on both sides ("Cena : 5000", "Rychlost : 1"), so a label
// never ends a row without its value and no row starts with a colon. Runs of spaces give empty
// units, so the spacing between words is kept.
std::vector<std::string> Units(const std::string& text) {
  std::vector<std::string> units;
  bool tieNext = false;
  size_t i = 0;
  while (true) {
    const size_t end = std::min(text.find(' ', i), text.size());
    std::string word = text.substr(i, end - i);
    const bool colon = word == ":" && !units.empty() && !units.back().empty();
    if (colon || tieNext) {
      units.back() += " " + word;
    } else {
      units.push_back(std::move(word));
    }
    tieNext = colon && end < text.size();
    if (end >= text.size()) break;
    i = end + 1;
  }
  return units;
}

}  // namespace

std::vector<std::string> WrapParagraph(const std::string& paragraph, int32_t maxWidth,
                                       const std::function<int32_t(const std::string&)>& measure) {
  auto fits = [&](const std::string& row) {
    const size_t end = row.find_last_not_of(' ');
    return measure(end == std::string::npos ? std::string() : row.substr(0, end + 1)) <= maxWidth;
  };
  std::vector<std::string> rows;
  const size_t indent = std::min(paragraph.find_first_not_of(' '), paragraph.size());
  std::string row = paragraph.substr(0, indent);
  bool hasUnit = false;  // whether the row holds more than its indent
  for (std::string unit : Units(paragraph.substr(indent))) {
    std::string candidate = hasUnit ? row + " " + unit : row + unit;
    if (fits(candidate)) {
      row = std::move(candidate);
      hasUnit = true;
      continue;
    }
    if (hasUnit) rows.push_back(std::move(row));
    row.clear();
    // A unit wider than the row is cut where it no longer fits, at least one character a row.
    while (measure(unit) > maxWidth) {
      size_t cut = CharLength(unit, 0);
      while (cut < unit.size()) {
        const size_t next = cut + CharLength(unit, cut);
        if (measure(unit.substr(0, next)) > maxWidth) break;
        cut = next;
      }
      rows.push_back(unit.substr(0, cut));
      unit.erase(0, cut);
    }
    row = std::move(unit);
    hasUnit = !row.empty();
  }
  // (A row emptied by cutting the last unit's last character is no row.)
  if (!row.empty() || rows.empty()) rows.push_back(std::move(row));
  return rows;
}
