#include "file_dialog_driver.h"

#include <chrono>

#include "base/platform_win.h"
#include "tests/support/win/window_driving_win.h"

namespace Ostra::testing {

namespace {

constexpr auto kLimit = std::chrono::seconds(30);
constexpr DWORD kPollMilliseconds = 10;

HWND findDialog(const String& title) {
  HWND dialog = FindWindowW(L"#32770", wide(title));
  DWORD process = 0;
  GetWindowThreadProcessId(dialog, &process);
  return dialog != nullptr && process == GetCurrentProcessId() && IsWindowVisible(dialog) ? dialog : nullptr;
}

}  // namespace

FileDialogDriver::FileDialogDriver(const String& title, std::vector<String> answers)
    : title_(title), answers_(std::move(answers)), thread_([this] { drive(); }) {}

FileDialogDriver::~FileDialogDriver() {
  stop_ = true;
  thread_.join();
}

std::vector<String> FileDialogDriver::suggested() {
  std::lock_guard<std::mutex> lock(mutex_);
  return suggested_;
}

void FileDialogDriver::drive() {
  const auto deadline = std::chrono::steady_clock::now() + kLimit;
  size_t answered = 0;
  HWND last = nullptr;
  while (!stop_ && std::chrono::steady_clock::now() < deadline) {
    Sleep(kPollMilliseconds);
    HWND dialog = findDialog(title_);
    if (dialog == nullptr || dialog == last) continue;
    HWND field = fileNameField(dialog);
    if (field == nullptr) continue;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      suggested_.push_back(windowText(field));
    }
    last = dialog;
    if (answered >= answers_.size() || answers_[answered].empty()) {
      pressButton(dialog, IDCANCEL);
    } else {
      answerFileDialog(dialog, answers_[answered]);
    }
    ++answered;
  }
  // Past the limit: nothing may stay open.
  if (HWND dialog = findDialog(title_)) pressButton(dialog, IDCANCEL);
}

}  // namespace Ostra::testing
