// A minimal JSON writer for the trace and the summary: objects and arrays written in order,
// numbers exactly (doubles in their shortest round-trip form), strings escaped.
#pragma once

#include <charconv>
#include <concepts>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <version>

#include "shortest_double.h"

class TJson {
 public:
  TJson& Open(char bracket) {
    Comma();
    out_ += bracket;
    first_ = true;
    return *this;
  }
  TJson& Close(char bracket) {
    out_ += bracket;
    first_ = false;
    return *this;
  }
  TJson& Key(std::string_view key) {
    Comma();
    String(key);
    out_ += ':';
    first_ = true;  // the value follows without a comma
    return *this;
  }
  template <std::integral T>
  requires(!std::same_as<T, bool>) TJson& Value(T v) {
    Comma();
    out_ += std::to_string(v);
    return *this;
  }
  TJson& Value(double v) {
    Comma();
#if defined(__cpp_lib_to_chars)
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    out_.append(buf, ec == std::errc() ? end : buf);
#else
    out_ += ShortestDouble(v);
#endif
    return *this;
  }
  TJson& Value(bool v) {
    Comma();
    out_ += v ? "true" : "false";
    return *this;
  }
  TJson& Value(std::string_view v) {
    Comma();
    String(v);
    return *this;
  }
  TJson& Value(const char* v) {
    return Value(std::string_view(v));
  }
  TJson& Value(const std::string& v) {
    return Value(std::string_view(v));
  }
  TJson& Null() {
    Comma();
    out_ += "null";
    return *this;
  }
  template <class T>
  TJson& Field(std::string_view key, T v) {
    Key(key);
    return Value(v);
  }
  const std::string& Text() const {
    return out_;
  }

 private:
  void Comma() {
    if (!first_) out_ += ',';
    first_ = false;
  }
  void String(std::string_view s) {
    out_ += '"';
    for (char c : s) {
      switch (c) {
        case '"':
          out_ += "\\\"";
          break;
        case '\\':
          out_ += "\\\\";
          break;
        case '\n':
          out_ += "\\n";
          break;
        case '\r':
          out_ += "\\r";
          break;
        case '\t':
          out_ += "\\t";
          break;
        default:
          if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
            out_ += buf;
          } else {
            out_ += c;  // UTF-8 passes through
          }
      }
    }
    out_ += '"';
  }
  std::string out_;
  bool first_ = true;
};
