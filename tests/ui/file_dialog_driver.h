#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "base/string.h"

namespace Ostra::testing {

// Answers, from a thread of its own, the common file dialogs titled `title`
// that this process shows, one answer per showing: a name typed into the
// file-name field and confirmed with OK, or Cancel for an empty answer.  It
// notes the name each showing suggested.  It gives up after a time limit and
// then cancels whatever is still open, so a test never hangs on a dialog.
class FileDialogDriver {
 public:
  FileDialogDriver(const String& title, std::vector<String> answers);
  ~FileDialogDriver();
  FileDialogDriver(const FileDialogDriver&) = delete;
  FileDialogDriver& operator=(const FileDialogDriver&) = delete;

  // The names suggested by the showings answered so far.
  std::vector<String> suggested();

 private:
  void drive();

  const String title_;
  const std::vector<String> answers_;
  std::mutex mutex_;
  std::vector<String> suggested_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace Ostra::testing
