// The error every layer raises for a failure the player did not cause (a missing or broken
// file, a device that cannot be set up). The window's error handler shows its text in the
// standard error message box and the program goes on.
#pragma once

#include <stdexcept>
#include <string>

class EGameError : public std::runtime_error {
 public:
  explicit EGameError(const std::string& message) : std::runtime_error(message) {}
};

// An input/output failure of a file the game reads or writes; the text names the file.
class EInOutError : public EGameError {
 public:
  using EGameError::EGameError;
};
