#include "ui/msg_hooker.h"

#include <algorithm>
#include <atomic>
#include <exception>

namespace Ostra {

namespace {

std::atomic<int> liveChains{0};

}  // namespace

IMsgHooker::~IMsgHooker() {
  while (!registrations_.empty()) {
    CMsgHookerChain* chain = registrations_.front();
    registrations_.pop_front();
    chain->deactivate(*this);
    chain->compact();
  }
}

CMsgHookerChain::CMsgHookerChain() : lock_(std::make_shared<std::recursive_mutex>()) { ++liveChains; }

CMsgHookerChain::~CMsgHookerChain() { --liveChains; }

int CMsgHookerChain::liveCount() { return liveChains.load(); }

void CMsgHookerChain::add(IMsgHooker& h) {
  std::lock_guard<std::recursive_mutex> guard(*lock_);
  entries_.push_back({&h, true});
  h.registrations_.push_front(this);
}

bool CMsgHookerChain::dispatch(WindowMessage& m) {
  bool handled = false;
  std::exception_ptr failure;
  {
    std::lock_guard<std::recursive_mutex> guard(*lock_);
    ++depth_;
    try {
      // Indexed, not iterated: a hooker may add to the vector and so move it.
      const size_t n = entries_.size();
      for (size_t i = 0; i < n; ++i) {
        if (!entries_[i].active) continue;
        if (entries_[i].hooker->onMessage(m)) handled = true;
      }
    } catch (...) {
      failure = std::current_exception();
    }
    --depth_;
  }
  // Also after a throw: a chain whose last hooker went during this dispatch
  // would otherwise never be erased.  `this` may be gone from here on.
  compact();
  if (failure) std::rethrow_exception(failure);
  return handled;
}

void CMsgHookerChain::deactivate(const IMsgHooker& h) {
  // The first entry still active: a hooker added twice has a node for each
  // entry, and every node must switch one of them off.
  auto it = std::find_if(entries_.begin(), entries_.end(), [&h](const Entry& e) { return e.active && e.hooker == &h; });
  if (it == entries_.end()) return;
  it->active = false;
  dirty_ = true;
}

void CMsgHookerChain::compact() {
  if (!dirty_ || depth_ != 0) return;
  const std::shared_ptr<std::recursive_mutex> keep = lock_;
  std::lock_guard<std::recursive_mutex> guard(*keep);
  entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.active; }),
                 entries_.end());
  dirty_ = false;
  if (entries_.empty()) delete this;
}

}  // namespace Ostra
