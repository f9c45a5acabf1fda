#include "ui/file_dialog_calls.h"

#include "base/call_form.h"

namespace Ostra {

FileDialogCalls systemFileDialogCalls() {
  return {&useWideCalls,     &GetOpenFileNameA, &GetSaveFileNameA,
          &GetOpenFileNameW, &GetSaveFileNameW, &CommDlgExtendedError};
}

FileDialogCalls& fileDialogCalls() {
  static FileDialogCalls calls = systemFileDialogCalls();
  return calls;
}

}  // namespace Ostra
