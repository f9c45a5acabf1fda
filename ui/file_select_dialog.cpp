#include "ui/file_select_dialog.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <vector>

#include "base/encoding.h"
#include "base/exception.h"
#include "base/filesystem.h"
#include "base/path.h"
#include "base/platform_win.h"
#include "ui/file_dialog_calls.h"
#include "ui/file_name_repair.h"

namespace Ostra {

namespace {

// One file, the path must exist, overwrite prompt for Save, no read-only box.
constexpr DWORD kFlags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_LONGNAMES | OFN_ENABLESIZING;
// Cleared before each show so that the dialog always gives a single path.
constexpr DWORD kClearedFlags = OFN_ALLOWMULTISELECT | OFN_EXPLORER;
// Units of the file-name field (bytes for the ANSI dialog), terminator included.
constexpr DWORD kFileBufferSize = 8192;

// The file must exist only for Open: Save As does not take the flag, and the
// newer dialog may refuse a new name with it.
DWORD flagsFor(bool open) { return (open ? kFlags | OFN_FILEMUSTEXIST : kFlags) & ~kClearedFlags; }

// The cursor stays visible over the dialog even when the program hid it.
class CursorShown {
 public:
  CursorShown() {
    ShowCursor(TRUE);
    ShowCursor(TRUE);
  }
  ~CursorShown() {
    ShowCursor(FALSE);
    ShowCursor(FALSE);
  }
  CursorShown(const CursorShown&) = delete;
  CursorShown& operator=(const CursorShown&) = delete;
};

String chosenPath(const wchar_t* units) { return fromWide(units); }
String chosenPath(const char* bytes) { return defaultEncoding().decode(bytes); }

// Runs the dialog, repairing a rejected name and showing it once more; the
// path, or nothing when the user cancelled.
template <typename Record, typename Unit>
std::optional<String> runDialog(BOOL(WINAPI* call)(Record*), Record& record, std::vector<Unit>& file) {
  bool retried = false;
  for (;;) {
    BOOL chosen;
    {
      CursorShown cursor;
      chosen = call(&record);
    }
    if (chosen) return chosenPath(file.data());
    const DWORD code = fileDialogCalls().commDlgExtendedError();
    if (code == FNERR_INVALIDFILENAME && !retried) {
      repairFileName(file.data());
      retried = true;
      continue;
    }
    if (code == 0) return std::nullopt;
    throw RuntimeException(u"なんかエラーっぽいです。エラーコード：" + String::fromInt(static_cast<int>(code)));
  }
}

}  // namespace

CFileSelectDialog::CFileSelectDialog() : filters_(1, u'\0') {}

void CFileSelectDialog::setOwner(HWND owner) { owner_ = owner; }

void CFileSelectDialog::setTitle(const String& title) { title_ = title; }

void CFileSelectDialog::clearFilters() { filters_.assign(1, u'\0'); }

void CFileSelectDialog::addFilter(const String& description, const String& pattern) {
  filters_.pop_back();
  filters_ += description.str() + u" (" + pattern.str() + u")";
  filters_ += u'\0';
  filters_ += pattern.str();
  filters_ += u'\0';
  filters_ += u'\0';
}

void CFileSelectDialog::setInitialDirectory(const String& path) { initialDirectory_ = nearestExistingDirectory(path); }

void CFileSelectDialog::setDefaultExtension(const String& extension) {
  defaultExtension_ = !extension.empty() && extension[0] == u'.' ? extension.substring(1) : extension;
}

void CFileSelectDialog::setFileName(const String& name) { fileName_ = name; }

bool CFileSelectDialog::showOpen() { return show(Kind::open); }

bool CFileSelectDialog::showSave() { return show(Kind::save); }

bool CFileSelectDialog::show(Kind kind) {
  // The dialogs move the current directory as the user browses.
  CurrentDirectoryScope keep;
  if (!initialDirectory_.empty()) setCurrentDirectory(stripTrailingSeparator(initialDirectory_));
  const String fileName = fileName_;
  fileName_ = emptyString();
  const std::optional<String> chosen =
      fileDialogCalls().wideCalls() ? runWide(kind, fileName) : runAnsi(kind, fileName);
  if (!chosen) return false;
  results_.assign(1, *chosen);
  // Stored as it is: the folder was just chosen, so it exists.
  initialDirectory_ = directoryPart(*chosen);
  return true;
}

std::optional<String> CFileSelectDialog::runWide(Kind kind, const String& fileName) {
  std::vector<wchar_t> file(kFileBufferSize, L'\0');
  const String name = fileName.wholeCharacterPrefix(static_cast<int>(kFileBufferSize) - 1);
  std::copy_n(wide(name), name.length(), file.begin());

  const String filters(filters_);
  OPENFILENAMEW record{};
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;
  record.hwndOwner = owner_;
  record.lpstrFilter = filters_.size() > 1 ? wide(filters) : nullptr;
  record.lpstrFile = file.data();
  record.nMaxFile = kFileBufferSize;
  record.lpstrInitialDir = initialDirectory_.empty() ? nullptr : wide(initialDirectory_);
  record.lpstrTitle = title_.empty() ? nullptr : wide(title_);
  record.lpstrDefExt = defaultExtension_.empty() ? nullptr : wide(defaultExtension_);
  record.Flags = flagsFor(kind == Kind::open);
  const FileDialogCalls& calls = fileDialogCalls();
  return runDialog(kind == Kind::open ? calls.getOpenFileNameW : calls.getSaveFileNameW, record, file);
}

std::optional<String> CFileSelectDialog::runAnsi(Kind kind, const String& fileName) {
  std::vector<char> file(kFileBufferSize, '\0');
  fileName.copyToBuffer(file.data(), static_cast<int>(kFileBufferSize));

  // The narrow texts live until the dialog returns.
  Encoding& encoding = defaultEncoding();
  const std::string filters = encoding.encode(String(filters_));
  const std::string initialDirectory = encoding.encode(initialDirectory_);
  const std::string title = encoding.encode(title_);
  const std::string defaultExtension = encoding.encode(defaultExtension_);
  OPENFILENAMEA record{};
  record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  record.hwndOwner = owner_;
  record.lpstrFilter = filters.size() > 1 ? filters.c_str() : nullptr;
  record.lpstrFile = file.data();
  record.nMaxFile = kFileBufferSize;
  record.lpstrInitialDir = initialDirectory_.empty() ? nullptr : initialDirectory.c_str();
  record.lpstrTitle = title_.empty() ? nullptr : title.c_str();
  record.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension.c_str();
  record.Flags = flagsFor(kind == Kind::open);
  const FileDialogCalls& calls = fileDialogCalls();
  return runDialog(kind == Kind::open ? calls.getOpenFileNameA : calls.getSaveFileNameA, record, file);
}

}  // namespace Ostra
