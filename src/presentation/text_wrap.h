// Breaks a paragraph of UTF-8 text into rows no wider than a width, at spaces where it can
// and inside a word only when the word alone is wider than the row.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// measure gives a string's width in pixels. An empty paragraph is one empty row. The
// paragraph's leading spaces indent its first row (dropped only where they leave no room for
// the first word); spaces at the end of a row hang past the width, as in a desktop text box.
std::vector<std::string> WrapParagraph(const std::string& paragraph, int32_t maxWidth,
                                       const std::function<int32_t(const std::string&)>& measure);
