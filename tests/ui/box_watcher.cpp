#include "box_watcher.h"

#include <chrono>
#include <iterator>

#include "base/platform_win.h"

namespace Ostra::testing {

namespace {

constexpr auto kLimit = std::chrono::seconds(30);
constexpr DWORD kPollMilliseconds = 10;
constexpr int kMessageBoxTextId = 0xFFFF;

}  // namespace

String windowText(HWND window) {
  wchar_t buffer[1024] = {};
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                      &copied);
  return fromWide(buffer);
}

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
  struct Search {
    BoxWatcher* self;
    std::vector<HWND> found;
  } search{this, {}};
  EnumWindows(
      [](HWND window, LPARAM context) noexcept CALLBACK -> BOOL {
        auto* search = reinterpret_cast<Search*>(context);
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t className[64] = {};
        GetClassNameW(window, className, static_cast<int>(std::size(className)));
        if (process == search->self->processId_ && std::wstring(className) == L"#32770" &&
            windowText(window) == search->self->caption_)
          search->found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  {
    // A handle whose box has gone may come back for a new one.
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = dismissed_.begin(); it != dismissed_.end();)
      it = IsWindow(*it) ? std::next(it) : dismissed_.erase(it);
  }
  for (HWND box : search.found) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!dismissed_.insert(box).second) continue;
    }
    SeenBox seen{windowText(GetDlgItem(box, kMessageBoxTextId)), GetWindow(box, GW_OWNER)};
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.push_back(seen);
    changed_.notify_all();
  }
}

}  // namespace Ostra::testing
