#pragma once

namespace Ostra {

// While it lives, the system shows no critical-error box (such as "insert a
// disk") for this process; the earlier mode comes back afterwards.  Nothing on POSIX.
class CriticalErrorBoxesOff {
 public:
  CriticalErrorBoxesOff();
  ~CriticalErrorBoxesOff();
  CriticalErrorBoxesOff(const CriticalErrorBoxesOff&) = delete;
  CriticalErrorBoxesOff& operator=(const CriticalErrorBoxesOff&) = delete;

 private:
  unsigned saved_ = 0;
};

}  // namespace Ostra
