#include "box_watcher.h"

#include <chrono>
#include <iterator>
#include <vector>

#include "base/platform_win.h"

namespace Ostra::testing {

namespace {

constexpr auto kLimit = std::chrono::seconds(30);
constexpr DWORD kPollMilliseconds = 10;

}  // namespace

BoxWatcher::BoxWatcher(const String& caption, DWORD processId)
    : caption_(caption), processId_(processId), thread_([this] { watch(); }) {}

BoxWatcher::~BoxWatcher() {
  stop_ = true;
  thread_.join();
}

std::vector<SeenBox> BoxWatcher::waitFor(size_t count) {
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [&] { return finished_ || boxes_.size() >= count; });
  return boxes_;
}

std::vector<SeenBox> BoxWatcher::boxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

void BoxWatcher::watch() {
  const auto deadline = std::chrono::steady_clock::now() + kLimit;
  while (!stop_ && std::chrono::steady_clock::now() < deadline) {
    look();
    Sleep(kPollMilliseconds);
  }
  std::lock_guard<std::mutex> lock(mutex_);
  finished_ = true;
  changed_.notify_all();
}

void BoxWatcher::look() {
  const std::vector<HWND> found = dialogsTitled(processId_, caption_);
  {
    // A handle whose box has gone may come back for a new one.
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = dismissed_.begin(); it != dismissed_.end();)
      it = IsWindow(*it) ? std::next(it) : dismissed_.erase(it);
  }
  for (HWND box : found) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!dismissed_.insert(box).second) continue;
    }
    SeenBox seen{messageBoxText(box), GetWindow(box, GW_OWNER)};
    pressButton(box, IDOK);
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.push_back(seen);
    changed_.notify_all();
  }
}

}  // namespace Ostra::testing
