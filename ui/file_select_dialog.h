#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/string.h"

namespace Ostra {

// The system's Open and Save dialogs for choosing one file.  Settings persist
// between shows, except the file name (used by one show) and the initial
// directory (replaced by the chosen file's folder after a success).  The
// process's current directory is the same after a show as before it.
class CFileSelectDialog {
 public:
  CFileSelectDialog();
  CFileSelectDialog(const CFileSelectDialog&) = delete;
  CFileSelectDialog& operator=(const CFileSelectDialog&) = delete;

  void setOwner(HWND owner);
  // Empty: the system's own title.
  void setTitle(const String& title);
  // No filters: the dialog shows every file.
  void clearFilters();
  // Appends "description (pattern)" showing the files that match pattern.
  void addFilter(const String& description, const String& pattern);
  // Starts in path if it is a folder, else in its nearest existing parent;
  // when none exists the system chooses.
  void setInitialDirectory(const String& path);
  // "wav" and ".wav" are the same; empty: none is added.
  void setDefaultExtension(const String& extension);
  // The name the next show suggests (cut to the 8191 units or bytes the
  // dialog's field holds); a name the system rejects is repaired once.
  void setFileName(const String& name);

  // True when the user chose a file (in results()), false when cancelled.
  // RuntimeException "なんかエラーっぽいです。エラーコード：<decimal>" when the dialog fails.
  bool showOpen();
  bool showSave();
  // The chosen path of the last successful show; kept across cancels.
  const std::vector<String>& results() const { return results_; }
  const String& initialDirectory() const { return initialDirectory_; }

 private:
  enum class Kind { open, save };
  bool show(Kind kind);
  std::optional<String> runWide(Kind kind, const String& fileName);
  std::optional<String> runAnsi(Kind kind, const String& fileName);

  HWND owner_ = nullptr;
  String initialDirectory_;
  String title_;
  String defaultExtension_;
  String fileName_;
  std::vector<String> results_;
  // Pairs of description and pattern, each ended by a NUL, and a NUL that
  // ends the list: the form lpstrFilter takes.
  std::u16string filters_;
};

}  // namespace Ostra
