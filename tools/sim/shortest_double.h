// A double in its shortest round-trip form, as std::to_chars(first, last, value) writes it:
// the fewest significant digits that read back as the same value, then plain or scientific
// notation, whichever is shorter (plain on a tie), a whole number in plain notation exactly. For
// C++ libraries that do not yet format floating point with std::to_chars (such as the one the
// browser build uses).
#pragma once

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

inline std::string ShortestDouble(double v) {
  if (std::isnan(v)) return std::signbit(v) ? "-nan" : "nan";
  if (std::isinf(v)) return v < 0 ? "-inf" : "inf";
  const std::string sign = std::signbit(v) ? "-" : "";
  if (v == 0) return sign + "0";
  // The shortest correctly rounded digits that read back exactly; 17 always do.
  char buf[40];
  for (int precision = 0; precision < 17; ++precision) {
    std::snprintf(buf, sizeof buf, "%.*e", precision, std::fabs(v));
    if (std::strtod(buf, nullptr) == std::fabs(v)) break;
  }
  // buf is "d.ddde[+-]xx": split it into the digits and the decimal exponent.
  std::string digits;
  const char* p = buf;
  for (; *p != 'e'; ++p) {
    if (*p != '.') digits += *p;
  }
  const int exponent = std::atoi(p + 1);
  const auto count = static_cast<int>(digits.size());

  std::string plain;
  if (exponent < 0) {
    // Appends throughout: GCC 12 at -O3 mistakes literal + temporary for an overlapping copy.
    plain = "0.";
    plain.append(static_cast<size_t>(-exponent - 1), '0');
    plain += digits;
  } else if (count <= exponent + 1) {
    // A whole number: written out exactly, as many digits as the shortest form pads to.
    char whole[320];
    std::snprintf(whole, sizeof whole, "%.0f", std::fabs(v));
    plain = whole;
  } else {
    plain = digits.substr(0, static_cast<size_t>(exponent + 1));
    plain += '.';
    plain += digits.substr(static_cast<size_t>(exponent + 1));
  }
  std::string scientific = digits.substr(0, 1);
  if (count > 1) {
    scientific += '.';
    scientific += digits.substr(1);
  }
  char tail[16];
  std::snprintf(tail, sizeof tail, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  scientific += tail;
  std::string out = sign;
  out += scientific.size() < plain.size() ? scientific : plain;
  return out;
}
