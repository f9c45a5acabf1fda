#include "ui/file_dialog_calls.h"

#include "base/platform_win.h"

namespace Ostra {

FileDialogCalls systemFileDialogCalls() {
  return {&isNtPlatform,     &GetOpenFileNameA, &GetSaveFileNameA,
          &GetOpenFileNameW, &GetSaveFileNameW, &CommDlgExtendedError};
}

FileDialogCalls& fileDialogCalls() {
  static FileDialogCalls calls = systemFileDialogCalls();
  return calls;
}

}  // namespace Ostra
