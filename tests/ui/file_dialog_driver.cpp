#include "file_dialog_driver.h"

#include <chrono>

#include "base/platform_win.h"
#include "box_watcher.h"

namespace Ostra::testing {

namespace {

constexpr auto kLimit = std::chrono::seconds(30);
constexpr DWORD kPollMilliseconds = 10;
// The file-name field: cmb13 in the Explorer-style dialog, edt1 in the old one.
constexpr int kExplorerNameId = 0x47c;
constexpr int kOldStyleNameId = 0x480;

// The edit control that holds the file name, once the dialog has made it.
HWND nameField(HWND dialog) {
  struct Search {
    HWND found = nullptr;
  } search;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM context) CALLBACK -> BOOL {
        wchar_t className[32] = {};
        GetClassNameW(child, className, static_cast<int>(std::size(className)));
        const int id = GetDlgCtrlID(child);
        if (lstrcmpiW(className, L"Edit") != 0 || (id != kExplorerNameId && id != kOldStyleNameId)) return TRUE;
        reinterpret_cast<Search*>(context)->found = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND findDialog(const String& title) {
  HWND dialog = FindWindowW(L"#32770", wide(title));
  DWORD process = 0;
  GetWindowThreadProcessId(dialog, &process);
  return dialog != nullptr && process == GetCurrentProcessId() && IsWindowVisible(dialog) ? dialog : nullptr;
}

void press(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
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
    HWND field = nameField(dialog);
    if (field == nullptr) continue;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      suggested_.push_back(windowText(field));
    }
    last = dialog;
    if (answered >= answers_.size() || answers_[answered].empty()) {
      press(dialog, IDCANCEL);
    } else {
      SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide(answers_[answered])), SMTO_ABORTIFHUNG,
                          5000, nullptr);
      press(dialog, IDOK);
    }
    ++answered;
  }
  // Past the limit: nothing may stay open.
  if (HWND dialog = findDialog(title_)) press(dialog, IDCANCEL);
}

}  // namespace Ostra::testing
