#pragma once

#include <chrono>
#include <memory>

#include "base/string.h"

namespace Ostra {

// How long a lock held by another is waited for: a copy that hangs, or any
// program that made a mutex of the same name, must not freeze the dialog.
constexpr std::chrono::milliseconds kExclusionPatience{10000};

// Replaces kExclusionPatience for every later lock() of the process, so that a
// test of a lock that stays held need not wait ten seconds.
void setExclusionPatienceForTesting(std::chrono::milliseconds patience);
// The wait lock() allows: kExclusionPatience, or what a test set.
std::chrono::milliseconds exclusionPatience();

// A lock shared by every process of the user's session.
class IExclusion {
 public:
  IExclusion() = default;
  IExclusion(const IExclusion&) = delete;
  IExclusion& operator=(const IExclusion&) = delete;
  virtual ~IExclusion() = default;

  // Waits while another holds the lock, at most kExclusionPatience: false when
  // it is still held then, and the caller gives up.  True without a lock when
  // the system cannot provide one at all: the caller goes on without it.
  // On Windows the waiting thread's messages are dispatched meanwhile, so its
  // windows paint and their timers run (a caller that is a window must expect
  // its own messages while it waits).
  virtual bool lock() = 0;
  // Releases the lock if it is held.
  virtual void unlock() = 0;
};

// The lock of one configuration file, keyed by its path as written: '\' and '/'
// are the same, letter case and relative forms are not.  Windows: the named
// mutex of that name (a holder that ends without unlocking gives it up).
// POSIX: an exclusive flock on a file named after it in the user's runtime
// folder, which the system drops when the holder ends.
class CProcessExclusion : public IExclusion {
 public:
  explicit CProcessExclusion(const String& path);
  ~CProcessExclusion() override;

  // Releases a lock held from an earlier call first.
  bool lock() override;
  void unlock() override;

  // The path with '\' turned into '/', cut to its first 259 units.
  const String& name() const { return name_; }
  bool held() const { return held_ != nullptr; }

 private:
  class Held;  // the platform's handle of a held lock; releases it when destroyed
  struct HeldDeleter {
    void operator()(Held* held) const;
  };

  const String name_;
  std::unique_ptr<Held, HeldDeleter> held_;
};

// Holds an exclusion for one scope, also when an exception passes.
class ExclusionScope {
 public:
  explicit ExclusionScope(IExclusion& exclusion) : exclusion_(exclusion), acquired_(exclusion.lock()) {}
  ~ExclusionScope() { exclusion_.unlock(); }
  ExclusionScope(const ExclusionScope&) = delete;
  ExclusionScope& operator=(const ExclusionScope&) = delete;

  // What lock() gave: false when another kept the lock for the whole wait.
  bool acquired() const { return acquired_; }

 private:
  IExclusion& exclusion_;
  const bool acquired_;
};

}  // namespace Ostra
