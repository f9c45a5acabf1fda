#include "config/file_commit.h"

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/exception.h"
#include "base/platform_win.h"

namespace Ostra {

namespace {

bool moveReplacing(const String& source, const String& target) {
  constexpr DWORD kFlags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
  if (useWideCalls()) return MoveFileExW(wide(source), wide(target), kFlags) != 0;
  const std::string from = defaultEncoding().encode(source);
  const std::string to = defaultEncoding().encode(target);
  if (MoveFileExA(from.c_str(), to.c_str(), kFlags)) return true;
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  // Windows 9x has no MoveFileEx.  Between the two calls the target is
  // missing, but the source already holds the whole new text.
  DeleteFileA(to.c_str());
  return MoveFileA(from.c_str(), to.c_str()) != 0;
}

}  // namespace

bool moveFileOver(const String& source, const String& target) {
  if (moveReplacing(source, target)) return true;
  // A target open without FILE_SHARE_DELETE gives access denied; a source
  // that a scanner is reading, a sharing violation.
  const DWORD error = GetLastError();
  if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) return false;
  throw IOException(u"ファイルの置き換えに失敗しました (" + source + u" → " + target + u")");
}

}  // namespace Ostra
