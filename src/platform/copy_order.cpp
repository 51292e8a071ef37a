#include "platform/copy_order.h"

namespace platform {

uint32_t CopyOrder::Append(Id id) {
  const auto place = static_cast<uint32_t>(ids_.size());
  ids_.push_back(id);
  if (place / 64 >= silent_.size()) silent_.push_back(0);
  if (place / 4096 >= words_.size()) words_.push_back(0);
  return place;
}

void CopyOrder::Vacate(uint32_t place) {
  if (place >= ids_.size() || ids_[place] < 0) return;
  SetSilent(place, false);
  ids_[place] = -1;
  ++vacant_;
}

void CopyOrder::SetSilent(uint32_t place, bool silent) {
  if (place >= ids_.size()) return;
  const uint32_t word = place / 64;
  const uint64_t bit = uint64_t{1} << (place % 64);
  const uint64_t wordBit = uint64_t{1} << (word % 64);
  if (silent) {
    silent_[word] |= bit;
    words_[word / 64] |= wordBit;
  } else {
    silent_[word] &= ~bit;
    if (silent_[word] == 0) words_[word / 64] &= ~wordBit;
  }
}

CopyOrder::Id CopyOrder::FirstSilent() const {
  for (size_t k = 0; k < words_.size(); ++k) {
    if (words_[k] == 0) continue;
    const size_t word = k * 64 + static_cast<size_t>(std::countr_zero(words_[k]));
    return ids_[word * 64 + static_cast<size_t>(std::countr_zero(silent_[word]))];
  }
  return -1;
}

}  // namespace platform
