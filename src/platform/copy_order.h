// The play voices of one main voice in their list order, and which of them are silent. The
// first silent one is found by looking at a few words, however many copies there are and
// however many of them sound.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {

class CopyOrder {
 public:
  using Id = int32_t;

  // Appends a copy at the end, sounding; returns its place.
  uint32_t Append(Id id);
  // The copy at this place leaves the list (it moved to the end, or it was released).
  void Vacate(uint32_t place);
  void SetSilent(uint32_t place, bool silent);
  // The silent copy nearest the front, or -1.
  Id FirstSilent() const;

  // Copies that moved to the end leave gaps behind. Once the gaps outnumber the copies,
  // closes them, keeping the order: moved(id, place) tells each copy its new place.
  template <class F>
  void CloseGaps(F&& moved) {
    if (vacant_ <= ids_.size() / 2 + 64) return;
    const std::vector<Id> ids = std::move(ids_);
    const std::vector<uint64_t> silent = std::move(silent_);
    ids_.clear();
    silent_.clear();
    words_.clear();
    vacant_ = 0;
    for (uint32_t place = 0; place < ids.size(); ++place) {
      if (ids[place] < 0) continue;
      const uint32_t now = Append(ids[place]);
      if (silent[place / 64] >> (place % 64) & 1) SetSilent(now, true);
      moved(ids[place], now);
    }
  }

 private:
  std::vector<Id> ids_;           // by place; -1 where a copy left
  std::vector<uint64_t> silent_;  // a bit per place
  std::vector<uint64_t> words_;   // a bit per word of silent_ that has a bit set
  uint32_t vacant_ = 0;
};

}  // namespace platform
