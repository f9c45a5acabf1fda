#pragma once

#include <windows.h>

#include <forward_list>
#include <memory>
#include <mutex>
#include <vector>

namespace Ostra {

class CMsgHookerChain;

// One window message as it travels along a hook chain.  result is what the
// dialog procedure returns when some hooker handled the message.
struct WindowMessage {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  LRESULT result;
};

// A hook on a window's messages.  A hooker leaves every chain it was added to
// when it is destroyed, also in the middle of a dispatch.
class IMsgHooker {
 public:
  IMsgHooker() = default;
  IMsgHooker(const IMsgHooker&) = delete;
  IMsgHooker& operator=(const IMsgHooker&) = delete;
  virtual ~IMsgHooker();

  // True when the hooker handled the message; it may set m.result.
  virtual bool onMessage(WindowMessage& m) = 0;

 private:
  friend class CMsgHookerChain;
  // The chains this hooker was added to, the newest first.
  std::forward_list<CMsgHookerChain*> registrations_;
};

// The hookers of one window, called in the order they were added.  Create it
// with new: it deletes itself when its last hooker has gone and no dispatch
// runs.  Not copyable; used on one thread, re-entrantly.
class CMsgHookerChain {
 public:
  CMsgHookerChain();
  CMsgHookerChain(const CMsgHookerChain&) = delete;
  CMsgHookerChain& operator=(const CMsgHookerChain&) = delete;

  // Appends h; from the next message on it is called after those before it.
  void add(IMsgHooker& h);
  // Calls every active hooker present when the dispatch began, even after one
  // returned true; true when any did.  An exception from a hooker skips the
  // rest and passes on.
  bool dispatch(WindowMessage& m);

  // Entries including those whose hooker has gone but are not yet erased
  // (erasing waits for the outermost dispatch to end).
  int entryCount() const { return static_cast<int>(entries_.size()); }
  // Chains alive in the process.
  static int liveCount();

 private:
  struct Entry {
    IMsgHooker* hooker;
    bool active;
  };
  friend class IMsgHooker;

  ~CMsgHookerChain();
  void deactivate(const IMsgHooker& h);
  // Erases the inactive entries when no dispatch runs; deletes the chain when
  // none is left.  `this` may be gone afterwards.
  void compact();

  std::vector<Entry> entries_;
  bool dirty_ = false;
  int depth_ = 0;
  // Shared so that compaction can keep the mutex alive while the chain deletes itself.
  std::shared_ptr<std::recursive_mutex> lock_;
};

}  // namespace Ostra
