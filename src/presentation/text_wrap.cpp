#include "presentation/text_wrap.h"

namespace {

// The byte length of the UTF-8 character starting at s[i] (1 for a stray byte).
size_t CharLength(const std::string& s, size_t i) {
  const auto c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  if (i + n > s.size()) n = s.size() - i;
  return n;
}

}  // namespace

std::vector<std::string> WrapParagraph(const std::string& paragraph, int32_t maxWidth,
                                       const std::function<int32_t(const std::string&)>& measure) {
  std::vector<std::string> rows;
  std::string row;
  size_t i = 0;
  while (i < paragraph.size()) {
    size_t end = paragraph.find(' ', i);
    if (end == std::string::npos) end = paragraph.size();
    std::string word = paragraph.substr(i, end - i);
    i = end + 1;
    std::string candidate = row.empty() ? word : row + " " + word;
    if (measure(candidate) <= maxWidth) {
      row = std::move(candidate);
      continue;
    }
    if (!row.empty()) rows.push_back(std::move(row));
    row.clear();
    // A word wider than the row is cut where it no longer fits, at least one character a row.
    while (measure(word) > maxWidth) {
      size_t cut = CharLength(word, 0);
      while (cut < word.size()) {
        const size_t next = cut + CharLength(word, cut);
        if (measure(word.substr(0, next)) > maxWidth) break;
        cut = next;
      }
      rows.push_back(word.substr(0, cut));
      word.erase(0, cut);
    }
    row = std::move(word);
  }
  // (A row emptied by cutting the last word's last character is no row.)
  if (!row.empty() || rows.empty()) rows.push_back(std::move(row));
  return rows;
}
