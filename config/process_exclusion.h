#pragma once

#include <memory>

#include "base/string.h"

namespace Ostra {

// A lock shared by every process of the user's session.
class IExclusion {
 public:
  IExclusion() = default;
  IExclusion(const IExclusion&) = delete;
  IExclusion& operator=(const IExclusion&) = delete;
  virtual ~IExclusion() = default;

  // Waits as long as it takes.  When the system cannot provide the lock the
  // caller goes on without it.
  virtual void lock() = 0;
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
  void lock() override;
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
  explicit ExclusionScope(IExclusion& exclusion) : exclusion_(exclusion) { exclusion_.lock(); }
  ~ExclusionScope() { exclusion_.unlock(); }
  ExclusionScope(const ExclusionScope&) = delete;
  ExclusionScope& operator=(const ExclusionScope&) = delete;

 private:
  IExclusion& exclusion_;
};

}  // namespace Ostra
