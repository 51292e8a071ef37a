// std::bit_cast where the C++ library has it; otherwise the same reinterpretation of an
// object's bytes, written out (some C++ libraries, such as the one the browser build uses,
// do not offer it yet).
#pragma once

#include <version>

#if defined(__cpp_lib_bit_cast)
#include <bit>
#else
#include <cstring>
#include <type_traits>
#endif

template <class To, class From>
To BitCast(const From& from) noexcept {
#if defined(__cpp_lib_bit_cast)
  return std::bit_cast<To>(from);
#else
  static_assert(sizeof(To) == sizeof(From));
  static_assert(std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>);
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
#endif
}
