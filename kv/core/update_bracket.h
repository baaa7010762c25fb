#pragma once
// The update bracket shared by the library's control bases: BeginUpdate adds
// one, EndUpdate takes one away but never goes below 0, and reports when the
// last bracket closed so that the control runs its closing action. An
// unmatched EndUpdate therefore still closes.

#include <cstdint>

class TUpdateBracket {
 public:
  void Begin() { ++count_; }
  // True when no bracket is open any more (the closing action is due).
  bool End() {
    if (--count_ < 0) count_ = 0;
    return count_ == 0;
  }
  bool Open() const { return count_ > 0; }
  int32_t Count() const { return count_; }

 private:
  int32_t count_ = 0;
};
