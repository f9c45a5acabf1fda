#include "config/file_commit.h"

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/exception.h"
#include "base/platform_win.h"

namespace Ostra {

namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() {
    if (valid()) CloseHandle(handle_);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

HANDLE openForWriting(const String& path) {
  constexpr DWORD kShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
  if (useWideCalls())
    return CreateFileW(wide(path), GENERIC_WRITE, kShare, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return CreateFileA(defaultEncoding().encode(path).c_str(), GENERIC_WRITE, kShare, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

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

void syncFileToDisk(const String& path) {
  const FileHandle file(openForWriting(path));
  if (!file.valid() || !FlushFileBuffers(file.get())) throw IOException(path + u" への書き込みに失敗しました");
}

void moveFileOver(const String& source, const String& target) {
  if (!moveReplacing(source, target))
    throw IOException(u"ファイルの置き換えに失敗しました (" + source + u" → " + target + u")");
}

}  // namespace Ostra
