#include <vector>

#include "base/call_form.h"
#include "base/critical_error_mode.h"
#include "base/encoding.h"
#include "base/filesystem.h"
#include "base/filesystem_platform.h"
#include "base/path.h"
#include "base/platform_win.h"

namespace Ostra {

namespace {

std::string ansi(const String& text) { return defaultEncoding().encode(text); }

}  // namespace

unsigned fileAttributes(const String& path) {
  if (useWideCalls()) return GetFileAttributesW(wide(path));
  return GetFileAttributesA(ansi(path).c_str());
}

PathPresence pathPresence(const String& path) {
  if (fileAttributes(path) != kInvalidAttributes) return PathPresence::Present;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return PathPresence::Missing;
  return PathPresence::Unknown;
}

void clearFileAttributes(const String& path) {
  if (useWideCalls()) {
    SetFileAttributesW(wide(path), FILE_ATTRIBUTE_NORMAL);
  } else {
    SetFileAttributesA(ansi(path).c_str(), FILE_ATTRIBUTE_NORMAL);
  }
}

bool isDirectory(const String& path) {
  // No "insert a disk" box for an empty removable drive.
  const CriticalErrorBoxesOff quiet;
  // "\" alone would otherwise become the empty path.
  const String stripped = stripTrailingSeparator(path);
  const unsigned attributes = fileAttributes(stripped.empty() ? path : stripped);
  return attributes != kInvalidAttributes && (attributes & kDirectoryAttribute) != 0;
}

String currentDirectory() {
  // Sized again when the first buffer is too small, so a long folder is not
  // returned as garbage.
  if (useWideCalls()) {
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n >= buffer.size()) {
      buffer.resize(n + 1);
      n = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    }
    if (n == 0 || n >= buffer.size()) return emptyString();
    return fromWide(buffer.data(), static_cast<int>(n));
  }
  std::vector<char> buffer(MAX_PATH);
  DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  if (n >= buffer.size()) {
    buffer.resize(n + 1);
    n = GetCurrentDirectoryA(static_cast<DWORD>(buffer.size()), buffer.data());
  }
  if (n == 0 || n >= buffer.size()) return emptyString();
  return defaultEncoding().decode(std::string(buffer.data(), n));
}

bool setCurrentDirectory(const String& path) {
  if (useWideCalls()) return SetCurrentDirectoryW(wide(path)) != FALSE;
  return SetCurrentDirectoryA(ansi(path).c_str()) != FALSE;
}

String fullPathName(const String& path) {
  if (path.empty()) return path;
  if (useWideCalls()) {
    std::vector<wchar_t> buffer(MAX_PATH);
    DWORD n = GetFullPathNameW(wide(path), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n >= buffer.size()) {
      buffer.resize(n + 1);
      n = GetFullPathNameW(wide(path), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    }
    if (n == 0 || n >= buffer.size()) return path;
    return fromWide(buffer.data(), static_cast<int>(n));
  }
  const std::string narrow = defaultEncoding().encode(path);
  std::vector<char> buffer(MAX_PATH);
  DWORD n = GetFullPathNameA(narrow.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (n >= buffer.size()) {
    buffer.resize(n + 1);
    n = GetFullPathNameA(narrow.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  }
  if (n == 0 || n >= buffer.size()) return path;
  return defaultEncoding().decode(std::string(buffer.data(), n));
}

namespace platform {

bool copyFile(const String& source, const String& target, bool failIfExists) {
  if (useWideCalls()) return CopyFileW(wide(source), wide(target), failIfExists) != FALSE;
  return CopyFileA(ansi(source).c_str(), ansi(target).c_str(), failIfExists) != FALSE;
}

bool deleteFile(const String& path) {
  if (useWideCalls()) return DeleteFileW(wide(path)) != FALSE;
  return DeleteFileA(ansi(path).c_str()) != FALSE;
}

bool removeDirectory(const String& path) {
  if (useWideCalls()) return RemoveDirectoryW(wide(path)) != FALSE;
  return RemoveDirectoryA(ansi(path).c_str()) != FALSE;
}

bool createDirectory(const String& path) {
  if (useWideCalls()) return CreateDirectoryW(wide(path), nullptr) != FALSE;
  return CreateDirectoryA(ansi(path).c_str(), nullptr) != FALSE;
}

}  // namespace platform

}  // namespace Ostra
